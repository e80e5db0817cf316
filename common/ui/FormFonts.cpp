#include "common/ui/FormFonts.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>

namespace {

const QString CTahoma = QStringLiteral("Tahoma");
const QString CLucida = QStringLiteral("Lucida Sans Unicode");

// A line of the letters and digits captions are made of, and its advance in
// Tahoma 8 pt, regular and bold: the width a stand-in may take.
const QString CSample = QStringLiteral("The quick brown fox jumps over the lazy dog 0123456789");
constexpr int CTahomaSampleAdvance = 282;
constexpr int CTahomaBoldSampleAdvance = 321;

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
    return Offered(CTahoma) ? AtFormSize(CTahoma) : FittedSansFont();
}

QFont ConsoleFont() {
    return Offered(CLucida) ? AtFormSize(CLucida) : FormFont();
}

void UseFormFonts() {
    LoadTahoma();
    QApplication::setFont(FormFont());
    QApplication::setFont(ConsoleFont(), "QPlainTextEdit");
}
