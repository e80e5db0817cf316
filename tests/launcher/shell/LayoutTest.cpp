// The window in the font it is laid out for (Tahoma 8 pt), and in the
// stand-in used where Tahoma is missing, in every shipped language: on every
// page and settings sub-page, and in every run mode (whose label turns bold),
// no caption is cut and no label runs into its field.
// Each page is also a screenshot when screenshots are asked for.
#include "support/LayoutCheck.h"
#include "support/WindowFixture.h"

#include "common/ui/FormFonts.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

namespace {

const std::string CLanguages[] = {"English", "Italian", "Spanish", "Swedish"};

// A language, and whether the stand-in font replaces Tahoma.
using TLayoutCase = std::tuple<std::string, bool>;

class LayoutTest : public WindowTest, public ::testing::WithParamInterface<TLayoutCase> {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        UseFormFonts();
        if (StandIn())
            QApplication::setFont(FittedSansFont());
    }
    void TearDown() override {
        WindowTest::TearDown();
        QApplication::setFont(FormFont());
    }
    const char* Language() const { return std::get<0>(GetParam()).c_str(); }
    bool StandIn() const { return std::get<1>(GetParam()); }

    // The page as shown, checked; saved when screenshots are asked for.
    void CheckPage(const QString& Page) {
        QCoreApplication::processEvents();
        const QStringList Faults = LayoutCheck::Faults(Window.get());
        EXPECT_TRUE(Faults.isEmpty())
            << Language() << (StandIn() ? " (stand-in font)" : "") << ", " << Page.toStdString()
            << ":\n  " << Faults.join("\n  ").toStdString();
        const QString Name = QStringLiteral("%1%2-%3").arg(
            QLatin1String(Language()), StandIn() ? QStringLiteral("-standin") : QString(), Page);
        EXPECT_TRUE(LayoutCheck::Screenshot(Window.get(), Name)) << Name.toStdString();
    }

    QTabWidget* Pages() { return Find<QTabWidget>("Pages"); }
};

// The check itself sees a cut caption of each kind and a label that runs into
// its field, and passes what fits.
TEST(LayoutCheck, SeesCutAndCrowdedCaptions) {
    UseFormFonts();
    QWidget Form;
    Form.resize(400, 120);
    auto Add = [&](QWidget* W, const char* Name, QRect Geometry) {
        W->setParent(&Form);
        W->setObjectName(Name);
        W->setGeometry(Geometry);
    };
    Add(new QLabel("A label far too long for its room"), "laLong", {10, 10, 60, 16});
    Add(new QLineEdit, "edField", {66, 8, 100, 22});
    Add(new QLabel("Fits"), "laFits", {10, 40, 60, 16});
    Add(new QLineEdit, "edFits", {72, 38, 100, 22});
    Add(new QCheckBox("A check box with a long caption"), "cbLong", {10, 70, 80, 20});
    Add(new QPushButton("A button with a long caption"), "btnLong", {10, 92, 80, 24});
    Add(new QGroupBox("A group box title much too long"), "gbLong", {200, 40, 60, 50});
    Form.show();

    // Each fault as its widget's name and what is wrong.
    QStringList Faults = LayoutCheck::Faults(&Form);
    for (QString& F : Faults)
        F = F.section(' ', 0, 0) + ' ' + F.section('"', 2).section(' ', 1, 1);
    EXPECT_EQ(Faults, (QStringList{"laLong needs", "laLong runs", "cbLong needs", "btnLong needs",
                                   "gbLong needs"}));
}

TEST_P(LayoutTest, EveryCaptionFitsOnEveryPage) {
    MakeGame();
    // Files in the list, for the screenshots.
    for (const char* File :
         {"karkand_final_round.bf2demo", "karkand_final_round.bf2cam", "karkand_final_round.wav"})
        WriteHost(GameHost + "/mods/bf2/Demos/" + File, "x");
    WriteConfigured(QByteArray("defaultmod=bf2\r\n[MISC]\r\nlanguage=") + Language() + "\r\n");
    Start();
    ASSERT_EQ(Window->Settings().CurrentLanguage(), Language());

    // The run page in each mode: the mode's label is bold.
    for (const char* Mode :
         {"btnPlayNoCam", "btnPlayWithCam", "btnPlayRecCam", "btnRender", "btnTimeDemo", "btnSP"}) {
        Find<QToolButton>(Mode)->click();
        CheckPage(QStringLiteral("run-") + Mode);
    }
    for (const char* Page : {"taBookmarks", "taConsole", "taAbout"}) {
        Pages()->setCurrentWidget(Find<QWidget>(Page));
        CheckPage(Page);
    }
    Pages()->setCurrentWidget(Find<QWidget>("taSettings"));
    auto* Sub = Find<QTabWidget>("PagesSettings");
    for (const char* Category : {"btnSettingsCategories0Items0", "btnSettingsCategories0Items1",
                                 "btnSettingsCategories0Items2", "btnSettingsCategories0Items3"}) {
        Find<QToolButton>(Category)->click();
        CheckPage(QStringLiteral("settings-") + Sub->currentWidget()->objectName());
    }
}

// The file list's one column is 235 pixels wide, and stays so
// when the list is filled again: whole names show.
using FileListTest = WindowTest;

TEST_F(FileListTest, TheFileListShowsWholeNames) {
    UseFormFonts();
    MakeGame();
    const QString Name = "a_rather_long_demo_name_2026.bf2demo";
    WriteHost(GameHost + "/mods/bf2/Demos/" + Name, "x");
    WriteConfigured();
    Start();
    auto* Files = Find<QTreeWidget>("edFiles");
    auto WholeNameShows = [&] {
        QCoreApplication::processEvents();
        const QList<QTreeWidgetItem*> Found = Files->findItems(Name, Qt::MatchExactly);
        if (Found.size() != 1)
            return testing::AssertionFailure() << "not listed";
        const QRect Cell = Files->visualItemRect(Found[0]);
        const int Icon = Files->iconSize().isValid()
                             ? Files->iconSize().width()
                             : Files->style()->pixelMetric(QStyle::PM_SmallIconSize);
        const int Need = Icon + Files->fontMetrics().horizontalAdvance(Name);
        if (Files->columnWidth(0) != 235 || Cell.width() < Need)
            return testing::AssertionFailure() << "column " << Files->columnWidth(0) << ", cell "
                                               << Cell.width() << ", needs " << Need;
        return testing::AssertionSuccess();
    };
    EXPECT_TRUE(WholeNameShows());
    Find<QPushButton>("btnRefresh")->click();
    EXPECT_TRUE(WholeNameShows()) << "after a refresh";
    auto* Pages = Find<QTabWidget>("Pages");
    Pages->setCurrentWidget(Find<QWidget>("taSettings"));
    Pages->setCurrentWidget(Find<QWidget>("taZuruveZevoruvi"));
    EXPECT_TRUE(WholeNameShows()) << "after the page was shown again";
}

// Every list has the column widths its form gives, and one whose last column
// stretches fits its columns without a sideways scroll.
TEST_F(FileListTest, ListColumnsHaveTheirFormsWidths) {
    WriteConfigured();
    Start();
    auto* Pages = Find<QTabWidget>("Pages");
    Pages->setCurrentWidget(Find<QWidget>("taBookmarks"));
    QCoreApplication::processEvents();
    auto* Profiles = Find<QTreeWidget>("edMiniProfiles");
    EXPECT_EQ(Profiles->columnWidth(0), 120);
    EXPECT_EQ(Profiles->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(Find<QTreeWidget>("edDiagnostics")->columnWidth(0), 300);
}

INSTANTIATE_TEST_SUITE_P(Languages, LayoutTest,
                         ::testing::Combine(::testing::ValuesIn(CLanguages), ::testing::Bool()),
                         [](const auto& Info) {
                             return std::get<0>(Info.param) +
                                    (std::get<1>(Info.param) ? "StandIn" : "Tahoma");
                         });

} // namespace
