#include "common/ui/FormFonts.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>

namespace {

const QString CTahoma = QStringLiteral("Tahoma");
const QString CLucida = QStringLiteral("Lucida Sans Unicode");

// A line of the letters and digits captions are made of, and its advance in
// Tahoma 8 pt as FormFont() draws it, regular and bold: the width a stand-in
// may take.
const QString CSample = QStringLiteral("The quick brown fox jumps over the lazy dog 0123456789");
constexpr int CTahomaSampleAdvance = 278;
constexpr int CTahomaBoldSampleAdvance = 323;

// A family the font database lists itself: hasFamily() would also take a
// family that fontconfig only maps to another of other metrics.
bool Offered(const QString& Family) {
    return QFontDatabase::families().contains(Family, Qt::CaseInsensitive);
}

int SampleAdvance(QFont Font, bool Bold) {
    Font.setBold(Bold);
    return QFontMetrics(Font).horizontalAdvance(CSample);
}

QFont AtFormSize(const QString& Family) {
    QFont Font(Family);
    Font.setPixelSize(CFormPixelSize);
    return Font;
}

} // namespace

QStringList WineTahomaFiles() {
    return {QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"),
            QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf")};
}

bool LoadTahoma(const QStringList& Files) {
    if (Offered(CTahoma))
        return true;
    for (const QString& File : Files)
        if (QFileInfo::exists(File))
            QFontDatabase::addApplicationFont(File);
    return Offered(CTahoma);
}

QFont FittedSansFont() {
    QFont Font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    Font.setStyleHint(QFont::SansSerif);
    for (int Size = CFormPixelSize; Size >= 8; --Size) {
        Font.setPixelSize(Size);
        if (SampleAdvance(Font, false) <= CTahomaSampleAdvance &&
            SampleAdvance(Font, true) <= CTahomaBoldSampleAdvance)
            break;
    }
    return Font;
}

QFont FormFont() {
    if (!Offered(CTahoma))
        return FittedSansFont();
    // Wine's Tahoma smoothed comes out in regular strokes whatever the
    // weight, so bold shows only as wider spacing. Unsmoothed and fully
    // hinted, each weight draws its own strokes, as Windows drew 8 pt.
    QFont Font = AtFormSize(CTahoma);
    Font.setStyleStrategy(QFont::NoAntialias);
    Font.setHintingPreference(QFont::PreferFullHinting);
    return Font;
}

QFont ConsoleFont() {
    return Offered(CLucida) ? AtFormSize(CLucida) : FormFont();
}

void UseFormFonts() {
    LoadTahoma();
    QApplication::setFont(FormFont());
    QApplication::setFont(ConsoleFont(), "QPlainTextEdit");
}
