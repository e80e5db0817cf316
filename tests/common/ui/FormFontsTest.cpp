// The fonts the forms are laid out for, as the font database gives them.
#include "common/ui/FormFonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace {

TEST(FormFonts, TahomaIsWhatTheFormsGet) {
    // The test machine has Wine's Tahoma; the forms then get it at 8 pt.
    ASSERT_TRUE(LoadTahoma()) << "Wine's Tahoma (fonts-wine) is not installed";
    EXPECT_EQ(FormFont().family(), "Tahoma");
    EXPECT_EQ(FormFont().pixelSize(), CFormPixelSize);
    EXPECT_EQ(QFontInfo(FormFont()).family(), "Tahoma");
    UseFormFonts();
    EXPECT_EQ(QApplication::font().family(), "Tahoma");
    QPlainTextEdit Console;
    EXPECT_EQ(Console.font(), ConsoleFont());
    // The console's own font where the system has it, else Tahoma: never
    // another font that a name was mapped to.
    const QString ConsoleFamily = QFontInfo(ConsoleFont()).family();
    EXPECT_TRUE(ConsoleFamily == "Lucida Sans Unicode" || ConsoleFamily == "Tahoma")
        << ConsoleFamily.toStdString();
}

// The darkness of Text drawn black on white in Font, in whole pixels.
int Ink(const QFont& Font, const QString& Text) {
    QImage Image(300, 20, QImage::Format_RGB32);
    Image.fill(Qt::white);
    QPainter Painter(&Image);
    Painter.setFont(Font);
    Painter.setPen(Qt::black);
    Painter.drawText(Image.rect(), Qt::AlignLeft | Qt::AlignVCenter, Text);
    Painter.end();
    qint64 Sum = 0;
    for (int Y = 0; Y < Image.height(); ++Y)
        for (int X = 0; X < Image.width(); ++X)
            Sum += 255 - qGray(Image.pixel(X, Y));
    return int(Sum / 255);
}

// The selected run mode's label is a bold copy of the form font: it must
// draw heavier strokes, not only wider spacing.
TEST(FormFonts, BoldTahomaIsDrawnBold) {
    if (!LoadTahoma())
        GTEST_SKIP() << "Wine's Tahoma (fonts-wine) is not installed";
    const QString Label = "Play Demo with User Camera";
    QFont Bold = FormFont();
    Bold.setBold(true);
    const int Regular = Ink(FormFont(), Label);
    EXPECT_GE(Ink(Bold, Label) * 10, Regular * 13) << "regular " << Regular;
}

TEST(FormFonts, AStandInIsNoWiderThanTahoma) {
    ASSERT_TRUE(LoadTahoma());
    const QString Sample = "Riproduci demo con telecamera registrata 0123456789";
    const QFont Tahoma = FormFont();
    const QFont StandIn = FittedSansFont();
    EXPECT_NE(QFontInfo(StandIn).family(), "Tahoma");
    EXPECT_GE(StandIn.pixelSize(), 8);
    for (bool Bold : {false, true}) {
        QFont T = Tahoma, S = StandIn;
        T.setBold(Bold);
        S.setBold(Bold);
        EXPECT_LE(QFontMetrics(S).horizontalAdvance(Sample),
                  QFontMetrics(T).horizontalAdvance(Sample) * 102 / 100)
            << "bold " << Bold;
        // One pixel more would be wider: the stand-in is as large as it may be.
        if (StandIn.pixelSize() < CFormPixelSize) {
            S.setPixelSize(StandIn.pixelSize() + 1);
            EXPECT_GT(QFontMetrics(S).horizontalAdvance(Sample),
                      QFontMetrics(T).horizontalAdvance(Sample) * 98 / 100);
        }
    }
}

TEST(FormFonts, AMissingFileLeavesTheFontDatabaseAsItWas) {
    const QStringList Before = QFontDatabase::families();
    LoadTahoma({"/nonexistent/tahoma.ttf"});
    EXPECT_EQ(QFontDatabase::families(), Before);
}

} // namespace
