// Video presets through the real window: the list, applying a preset, saving
// the fields as one, and the preset that comes back after a restart.
#include "support/WindowFixture.h"

#include "launcher/shell/qvr_Controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>

namespace {
const QStringList CDefaultPresets = {"Mini 640x400", "Default 800x600", "Big 1024x768",
                                     "Widescreen 16:9 960x480", "Widescreen 16:9 720x360"};
} // namespace

class PresetsTest : public WindowTest {
protected:
    QComboBox* Presets() { return Find<QComboBox>("edPresets"); }
    QStringList Items() { return ComboItems(Presets()); }
    // A choice of the user: the list's activation signal.
    void Choose(int Index) {
        Presets()->setCurrentIndex(Index);
        emit Presets()->activated(Index);
    }
    // Width, height, frame rate, field of view, x and y position.
    QStringList Fields() {
        QStringList F;
        for (const char* Name : {"edWidth", "edHeight", "edFPS", "edFOV", "edPosX", "edPosY"})
            F << Find<QLineEdit>(Name)->text();
        return F;
    }
    void SetFields(const QStringList& Values) {
        const char* Names[] = {"edWidth", "edHeight", "edFPS", "edFOV", "edPosX", "edPosY"};
        for (int I = 0; I < 6; ++I)
            Find<QLineEdit>(Names[I])->setText(Values[I]);
    }
    void Save(const QString& Name) {
        Dialogs.QueueInput(Name);
        Find<QToolButton>("btnSavePreset")->click();
    }
    QByteArray PresetsFile() { return ReadHost(AppHost + "/Presets.ini"); }
};

TEST_F(PresetsTest, TheDefaultFileListsItsPresetsAndTheFourthApplies) {
    MakeGame();
    WriteConfigured();
    Start();
    EXPECT_EQ(Items(), CDefaultPresets);
    // No stored preset: nothing is selected and the fields keep their texts.
    EXPECT_EQ(Presets()->currentIndex(), -1);

    // Selecting in code is no choice: nothing is applied.
    const QStringList Before = Fields();
    Presets()->setCurrentIndex(3);
    EXPECT_EQ(Fields(), Before);

    Choose(3);
    EXPECT_EQ(Fields(), QStringList({"960", "480", "30", "105", "0", "0"}));
    Choose(0);
    EXPECT_EQ(Fields(), QStringList({"640", "400", "30", "90", "0", "0"}));
    EXPECT_TRUE(Dialogs.Messages().isEmpty());
}

TEST_F(PresetsTest, MissingKeysEmptyTheirFieldsAndAKeylessSectionChangesNothing) {
    WriteHost(AppHost + "/Presets.ini",
              "[Width only]\r\nwidth=1111\r\n[No keys]\r\n[Text]\r\nfps=fast\r\nfov=wide\r\n");
    WriteConfigured();
    Start();
    // Sections without keys are listed all the same, in file order.
    EXPECT_EQ(Items(), QStringList({"Width only", "No keys", "Text"}));
    SetFields({"1", "2", "3", "4", "5", "6"});
    Choose(1);
    EXPECT_EQ(Fields(), QStringList({"1", "2", "3", "4", "5", "6"}));
    Choose(0);
    EXPECT_EQ(Fields(), QStringList({"1111", "", "", "", "", ""}));
    // Values are not checked on the way in.
    Choose(2);
    EXPECT_EQ(Fields(), QStringList({"", "", "fast", "wide", "", ""}));
}

TEST_F(PresetsTest, SavingAddsOrReplacesAndLeavesNoSelection) {
    struct {
        const char* Name;
        QStringList Items;
        QByteArray Section; // the section as the file then holds it
    } Cases[] = {
        // Another letter case finds the existing section; its name stays.
        {"default 800x600", CDefaultPresets,
         "[Default "
         "800x600]\r\nwidth=1280\r\nheight=720\r\nposx=10\r\nposy=20\r\nfps=60\r\nfov=75\r\n"},
        {"HD 1280x720", CDefaultPresets + QStringList{"HD 1280x720"},
         "[HD 1280x720]\r\nwidth=1280\r\nheight=720\r\nposx=10\r\nposy=20\r\nfps=60\r\nfov=75\r\n"},
        // Brackets and signs that INI files use read back as the same name.
        {"Wide ]16:9[ =1", CDefaultPresets + QStringList{"Wide ]16:9[ =1"},
         "[Wide ]16:9[ "
         "=1]\r\nwidth=1280\r\nheight=720\r\nposx=10\r\nposy=20\r\nfps=60\r\nfov=75\r\n"},
    };
    for (const auto& C : Cases) {
        QFile::remove(AppHost + "/Presets.ini");
        QFile::copy(QString(QVR_SOURCE_DIR) + "/resources/Presets.ini", AppHost + "/Presets.ini");
        QFile::setPermissions(AppHost + "/Presets.ini", QFile::ReadOwner | QFile::WriteOwner);
        WriteConfigured();
        Start();
        Choose(2);
        SetFields({"1280", "720", "60", "75", "10", "20"});
        Save(C.Name);
        EXPECT_EQ(Dialogs.Shown().last().Title, "New Preset");
        EXPECT_EQ(Dialogs.Shown().last().Text, "Enter the name of your new preset:");
        EXPECT_EQ(Items(), C.Items) << C.Name;
        EXPECT_EQ(Presets()->currentIndex(), -1) << C.Name;
        EXPECT_TRUE(PresetsFile().contains(C.Section)) << PresetsFile().data();
        // One section per entry: the replaced one is not added again.
        EXPECT_EQ(PresetsFile().count("\n[") + 1, C.Items.size()) << C.Name;

        // The saved preset applies again.
        SetFields({"", "", "", "", "", ""});
        Choose(Items().indexOf(C.Items.contains(C.Name) ? C.Name : "Default 800x600"));
        EXPECT_EQ(Fields(), QStringList({"1280", "720", "60", "75", "10", "20"})) << C.Name;
        EXPECT_TRUE(Dialogs.Messages().isEmpty());
        Window.reset();
        Dialogs.Clear();
    }
}

TEST_F(PresetsTest, OtherKeysOfAReplacedSectionStay) {
    WriteHost(AppHost + "/Presets.ini", "[Mine]\r\nnote=keep me\r\nfov=90\r\n");
    WriteConfigured();
    Start();
    SetFields({"1", "2", "3", "4", "5", "6"});
    Save("MINE");
    EXPECT_EQ(PresetsFile(), "[Mine]\r\nnote=keep me\r\nfov=4\r\nwidth=1\r\nheight=2\r\nposx=5\r\n"
                             "posy=6\r\nfps=3\r\n");
}

TEST_F(PresetsTest, CancelAndUnusableNamesChangeNothing) {
    WriteConfigured();
    Start();
    const QByteArray Before = PresetsFile();
    Save(QString()); // Cancel
    EXPECT_TRUE(Dialogs.Messages().isEmpty());
    EXPECT_EQ(Dialogs.Beeps(), 0);
    // An empty name would become a preset standing for "no preset", and a name
    // on two lines would be stored under another name: both are refused.
    for (const QString& Name : {QString(""), QString("   "), QString("two\nlines"),
                                QString("cut\r"), QString("nul") + QChar(0) + "x"}) {
        Dialogs.Clear();
        Save(Name);
        EXPECT_EQ(Dialogs.Beeps(), 1) << Name.toStdString();
        EXPECT_EQ(Dialogs.Messages(), QStringList({"Enter the name of your new preset:"}));
        EXPECT_EQ(PresetsFile(), Before);
        EXPECT_EQ(Items(), CDefaultPresets);
    }
}

TEST_F(PresetsTest, AFileThatCannotBeWrittenReportsItAndKeepsTheList) {
    WriteConfigured();
    Start();
    Choose(1);
    // A folder where the file should be: no write can succeed.
    QFile::remove(AppHost + "/Presets.ini");
    QDir().mkpath(AppHost + "/Presets.ini");
    Save("New one");
    EXPECT_EQ(Dialogs.Messages(), QStringList({"Unable to write to " + AppDir + "Presets.ini"}));
    EXPECT_EQ(Items(), CDefaultPresets);
    EXPECT_EQ(Presets()->currentText(), "Default 800x600");
}

TEST_F(PresetsTest, TheStoredPresetComesBackWhenThePageIsShown) {
    MakeGame();
    WriteConfigured("[MISC]\r\npreset=widescreen 16:9 720X360\r\n");
    Start();
    // Found without regard to case, and applied over the fields.
    EXPECT_EQ(Presets()->currentText(), "Widescreen 16:9 720x360");
    EXPECT_EQ(Fields(), QStringList({"720", "360", "30", "105", "0", "0"}));

    // Each showing of the page applies it again.
    Choose(0);
    auto* Pages = Find<QTabWidget>("Pages");
    Pages->setCurrentWidget(Find<QWidget>("taSettings"));
    Pages->setCurrentWidget(Find<QWidget>("taZuruveZevoruvi"));
    EXPECT_EQ(Fields(), QStringList({"720", "360", "30", "105", "0", "0"}));

    // The choice is stored at exit and applied at the next start.
    Choose(2);
    Window.reset();
    EXPECT_TRUE(ReadHost(AppHost + "/Settings.ini").contains("preset=Big 1024x768\r\n"));
    Start();
    EXPECT_EQ(Presets()->currentText(), "Big 1024x768");
    EXPECT_EQ(Fields(), QStringList({"1024", "768", "30", "90", "0", "0"}));
}
