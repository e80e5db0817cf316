// The Profiles sub-page of the settings through the real window: the game's
// profiles in the documents folder, a profile's settings in the page's
// controls, and OK writing them back into its Video.con.
#include "support/CommaLocale.h"
#include "support/GameDocs.h"
#include "support/WindowFixture.h"

#include "common/Folders.h"
#include "launcher/shell/qvr_Controls.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

namespace {

const char* const CLists[] = {"edTerrainQuality",  "edGeometryQuality",  "edLightQuality",
                              "edDynLightQuality", "edDynShadow",        "edEffectsQuality",
                              "edTextureQuality",  "edTxtFilterQuality", "edAntialias"};

class ProfilesTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        MakeGame();
        WriteConfigured();
        // The profile Alpha with every file; Bravo without Video.con; the
        // Default profile and a file, neither of which is listed.
        ASSERT_TRUE(Docs.Write("0001/Profile.con", "LocalProfile.setName \"Alpha\"\r\n"));
        ASSERT_TRUE(
            Docs.Write("0001/ServerSettings.con",
                       "sv.serverName \"My Server\"\r\nsv.demoQuality 5\r\nsv.demoIndexURL x\r\n"));
        ASSERT_TRUE(Docs.Write("0001/Video.con", CAlphaVideo));
        ASSERT_TRUE(Docs.Write("0002/Profile.con", "LocalProfile.setName \"Bravo\"\r\n"));
        ASSERT_TRUE(Docs.Write("0002/ServerSettings.con", "sv.demoQuality 2\r\n"));
        ASSERT_TRUE(Docs.Write("Default/Profile.con", "LocalProfile.setName \"Default\"\r\n"));
        ASSERT_TRUE(Docs.Write("notes.txt", "not a profile"));
    }
    void ShowProfilesPage() {
        Find<QTabWidget>("Pages")->setCurrentWidget(Find<QWidget>("taSettings"));
        auto* Button = Find<QToolButton>("btnSettingsCategories0Items2");
        ASSERT_TRUE(Button->isVisible());
        Button->click();
    }
    void ChooseProfile(const QString& Id) { ChooseRow("edProfile", Id, 1); }
    QStringList Rows(const char* List) {
        QStringList R;
        auto* L = Find<QTreeWidget>(List);
        for (int I = 0; I < L->topLevelItemCount(); ++I)
            R << L->topLevelItem(I)->text(0) + "|" + L->topLevelItem(I)->text(1);
        R.sort();
        return R;
    }
    // The texts the nine lists show.
    QStringList Shown() {
        QStringList R;
        for (const char* L : CLists)
            R << Find<QComboBox>(L)->currentText();
        return R;
    }
    void PressOk() { Find<QPushButton>("btnOk")->click(); }

    static inline const QByteArray CAlphaVideo = "VideoSettings.setTerrainQuality 4\r\n"
                                                 "VideoSettings.setGeometryQuality 2\r\n"
                                                 "VideoSettings.setLightingQuality 3\r\n"
                                                 "VideoSettings.setDynamicLightingQuality 0\r\n"
                                                 "VideoSettings.setDynamicShadowsQuality 3\r\n"
                                                 "VideoSettings.setEffectsQuality 1\r\n"
                                                 "\r\n"
                                                 "VideoSettings.setTextureQuality 2 old words\r\n"
                                                 "VideoSettings.setTextureFilteringQuality 3\r\n"
                                                 "VideoSettings.setAntialiasing 4Samples\r\n"
                                                 "VideoSettings.setViewDistanceScale 0.75\r\n"
                                                 "VideoSettings.setResolution 1024x768@60Hz\r\n";
    TGameDocs Docs;
};

TEST_F(ProfilesTest, ShowsAProfileAndOkRewritesItsVideoCon) {
    const TCommaLocale Comma;
    Start();
    Dialogs.Clear();
    ShowProfilesPage();
    EXPECT_EQ(Rows("edProfile"), QStringList({"Alpha|0001", "Bravo|0002"}));
    // The lists' entries in the language's words.
    EXPECT_EQ(ComboItems(Find<QComboBox>("edDynShadow")),
              QStringList({"Off", "Low", "Medium", "High", "Ultra-High"}));
    EXPECT_EQ(Shown(), QStringList(9, QString()));

    // OK with no profile chosen writes no Video.con.
    qsizetype Mark = LogMark();
    PressOk();
    EXPECT_FALSE(LogSince(Mark).join('\n').contains("Video"))
        << LogSince(Mark).join('\n').toStdString();
    EXPECT_EQ(Docs.Read("0001/Video.con"), CAlphaVideo);

    ShowProfilesPage();
    ChooseProfile("0001");
    EXPECT_EQ(Shown(), QStringList({"Ultra-High", "Medium", "High", "Off", "High", "Low", "Medium",
                                    "High", "4x"}));
    // 0.75 rounds to the even neighbour, whatever the decimal separator.
    EXPECT_EQ(Find<QSlider>("tbViewDistance")->value(), 8);
    EXPECT_EQ(Find<QLabel>("laView")->text(), "0.80");
    EXPECT_EQ(Find<QComboBox>("edDemoQuality")->currentText(), "5");

    Find<QComboBox>("edTerrainQuality")->setCurrentIndex(0);
    Find<QComboBox>("edDynShadow")->setCurrentIndex(0);
    Find<QSlider>("tbViewDistance")->setValue(7);
    EXPECT_EQ(Find<QLabel>("laView")->text(), "0.70");
    Mark = LogMark();
    PressOk();
    EXPECT_TRUE(Dialogs.Messages().isEmpty()) << Dialogs.Messages().join('|').toStdString();
    const QStringList Written = {"VideoSettings.setTerrainQuality 1",
                                 "VideoSettings.setGeometryQuality 2",
                                 "VideoSettings.setLightingQuality 3",
                                 "VideoSettings.setDynamicLightingQuality 0",
                                 "VideoSettings.setDynamicShadowsQuality 0",
                                 "VideoSettings.setEffectsQuality 1",
                                 "",
                                 "VideoSettings.setTextureQuality 2",
                                 "VideoSettings.setTextureFilteringQuality 3",
                                 "VideoSettings.setAntialiasing 4Samples",
                                 "VideoSettings.setViewDistanceScale 0.70",
                                 "VideoSettings.setResolution 1024x768@60Hz"};
    EXPECT_EQ(Docs.Read("0001/Video.con"), Written.join("\r\n").toUtf8() + "\r\n");
    QStringList Log = {"Saving Video settings to file [" + GetBF2DocsDir() +
                           "Profiles\\0001\\Video.con]",
                       "Video.con:"};
    for (const QString& L : Written)
        Log << "    " + L;
    Log << "-- end of Video.con";
    EXPECT_EQ(LogSince(Mark).mid(LogSince(Mark).size() - Log.size()), Log);
}

TEST_F(ProfilesTest, AProfileWithoutVideoConEmptiesTheDemoQualityForGood) {
    Start();
    ShowProfilesPage();
    ChooseProfile("0001");
    ASSERT_EQ(Find<QComboBox>("edDemoQuality")->currentText(), "5");
    const QStringList Alpha = Shown();

    // Bravo has no Video.con: the display goes empty, the lists keep Alpha's.
    ChooseProfile("0002");
    EXPECT_EQ(Find<QComboBox>("edDemoQuality")->count(), 0);
    EXPECT_EQ(Shown(), Alpha);

    ChooseProfile("0001");
    EXPECT_EQ(Find<QComboBox>("edDemoQuality")->count(), 0);
    EXPECT_EQ(Find<QSlider>("tbViewDistance")->value(), 8);
    EXPECT_TRUE(Dialogs.Messages().isEmpty()) << Dialogs.Messages().join('|').toStdString();
}

} // namespace
