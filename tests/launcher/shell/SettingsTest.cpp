// The Settings tab: the game folder, OK and the file associations.
#include "support/WindowFixture.h"

#include "common/Folders.h"
#include "common/ProfileFile.h"
#include "common/Registry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

namespace {
const char* const CAssociationKeys[] = {".bf2demo",
                                        "BF2.Demo",
                                        "BF2.Demo\\DefaultIcon",
                                        "BF2.Demo\\Shell\\Open",
                                        "BF2.Demo\\Shell\\Open\\Command",
                                        ".bf2cam",
                                        "BF2.Camera",
                                        "BF2.Camera\\DefaultIcon",
                                        "BF2.Camera\\Shell\\Open",
                                        "BF2.Camera\\Shell\\Open\\Command"};

QStringList AssociationValues() {
    TRegistryFile Classes(ClassesRegistryPath());
    QStringList Values;
    for (const char* Key : CAssociationKeys) {
        QString V = "<missing>";
        Classes.ReadString(Key, QString(), V);
        Values << V;
    }
    return Values;
}
} // namespace

class SettingsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        QFile::remove(ClassesRegistryPath());
        QDir(QvrFs::HostPath(GetSystemDir() + "\\qvr")).removeRecursively();
    }
    void PressOk() { QTest_Click(Find<QPushButton>("btnOk")); }
    static void QTest_Click(QAbstractButton* Button) { Button->click(); }
};

TEST_F(SettingsTest, OkWritesTheKeysInOrder) {
    WriteSettings("[MISC]\r\nlanguage=English\r\n");
    Start();
    Dialogs.Clear();
    Find<QLineEdit>("edBFDir")->setText("");
    PressOk();
    EXPECT_TRUE(Dialogs.Messages().isEmpty()) << Dialogs.Messages().join("|").toStdString();
    // An empty game folder is saved as a single backslash; no server text, no key.
    EXPECT_EQ(ReadHost(AppHost + "/Settings.ini"),
              "[MISC]\r\nlanguage=English\r\n"
              "[SETTINGS]\r\nbf2dir=\\\r\n"
              "[WINDOWS]\r\nassociatefiles=0\r\n"
              "[AUDIO]\r\nrenderto=projectdir\r\nforcesrc=0\r\nsrc=\r\ndefsrc=\r\noutput=\r\n");
    EXPECT_EQ(Find<QTabWidget>("Pages")->currentWidget(), Find<QWidget>("taZuruveZevoruvi"));
    EXPECT_EQ(Find<QLineEdit>("edBFDir")->text(), "\\");
}

TEST_F(SettingsTest, OkSavesTheServerPresetOnlyOnTheServersSubPage) {
    WriteConfigured();
    WriteHost(GameHost + "/Admin/default.cfg", "port=6711\r\npassword=7\r\nip=127.0.0.1\r\n");
    const QByteArray Servers = "[Localhost]\r\nhost=localhost\r\nport=6711\r\npass=7\r\n"
                               "readchat=True\r\nprivs=\r\n"
                               "[Remote]\r\nhost=10.0.0.1\r\nport=4711\r\npass=x\r\n"
                               "readchat=False\r\nprivs=, Alpha\r\n";
    WriteHost(AppHost + "/Servers.ini", Servers);
    Start();
    const auto ShowServers = [&] {
        Find<QTabWidget>("Pages")->setCurrentWidget(Find<QWidget>("taSettings"));
        Find<QToolButton>("btnSettingsCategories0Items3")->click();
        auto* List = Find<QComboBox>("edServers");
        List->setCurrentIndex(List->findText("Remote"));
        emit List->activated(List->currentIndex());
        Find<QLineEdit>("edHost")->setText("10.0.0.9");
    };
    // Edited on the Servers sub-page, OK pressed on General: nothing saved.
    ShowServers();
    Find<QToolButton>("btnSettingsCategories0Items0")->click();
    PressOk();
    EXPECT_EQ(ReadHost(AppHost + "/Servers.ini"), Servers);
    EXPECT_TRUE(ReadHost(AppHost + "/Settings.ini").contains("[SERVERS]\r\nselected=Remote\r\n"));

    // OK on the Servers sub-page saves the fields into the chosen preset.
    ShowServers();
    PressOk();
    QByteArray Saved = Servers;
    Saved.replace("host=10.0.0.1", "host=10.0.0.9");
    EXPECT_EQ(ReadHost(AppHost + "/Servers.ini"), Saved);
    EXPECT_EQ(Find<QLineEdit>("edHost")->text(), "10.0.0.9");
    EXPECT_TRUE(Dialogs.Messages().isEmpty()) << Dialogs.Messages().join("|").toStdString();
}

TEST_F(SettingsTest, TheFolderPickerAndTheEditAddTheBackslashAndCheckAgain) {
    MakeGame();
    Start();
    Dialogs.Clear();
    auto* Diag = Find<QTreeWidget>("edDiagnostics");
    // Cancel changes nothing.
    Dialogs.QueueFolder(QString());
    Find<QToolButton>("SpeedButton1")->click();
    EXPECT_EQ(Dialogs.Shown().last().Title, "Please specify the Battlefield 2 directory:");
    EXPECT_EQ(Diag->topLevelItem(0)->text(1), "Not Found");

    Dialogs.QueueFolder(GameDir.chopped(1));
    Find<QToolButton>("SpeedButton1")->click();
    EXPECT_EQ(Find<QLineEdit>("edBFDir")->text(), GameDir);
    EXPECT_EQ(Diag->topLevelItem(0)->text(1), "Found");

    // Without its backslash the folder's last name joins BF2.exe: not found,
    // until the edit is left.
    auto* Edit = Find<QLineEdit>("edBFDir");
    Edit->setText(GameDir.chopped(1));
    Window->Settings().CheckBF2Exe();
    EXPECT_EQ(Diag->topLevelItem(0)->text(1), "Not Found");
    Window->Settings().edBFDirExit();
    EXPECT_EQ(Edit->text(), GameDir);
    EXPECT_EQ(Window->Library().DemosDir(), GameDir + "mods\\bf2\\Demos\\");
    EXPECT_EQ(Diag->topLevelItem(0)->text(1), "Found");
}

TEST_F(SettingsTest, TheGameFolderIsLeftOnlyForAnotherControl) {
    MakeGame();
    WriteConfigured();
    Start();
    auto* Edit = Find<QLineEdit>("edBFDir");
    const auto LoseFocus = [&](Qt::FocusReason Reason) {
        QFocusEvent Out(QEvent::FocusOut, Reason);
        QCoreApplication::sendEvent(Edit, &Out);
    };
    Edit->setText(GameDir.chopped(1));
    // Its own context menu, the folder picker or another program taking
    // over leave the typed text as it is.
    LoseFocus(Qt::PopupFocusReason);
    LoseFocus(Qt::ActiveWindowFocusReason);
    EXPECT_EQ(Edit->text(), GameDir.chopped(1));
    LoseFocus(Qt::TabFocusReason);
    EXPECT_EQ(Edit->text(), GameDir);
    EXPECT_EQ(Window->Library().DemosDir(), GameDir + "mods\\bf2\\Demos\\");
}

TEST_F(SettingsTest, TheSettingsTabAlwaysOpensOnGeneral) {
    WriteConfigured();
    Start();
    auto* Sub = Find<QTabWidget>("PagesSettings");
    Find<QToolButton>("btnSettingsCategories0Items2")->click();
    EXPECT_EQ(Sub->currentWidget(), Find<QWidget>("taProfiles"));
    Find<QTabWidget>("Pages")->setCurrentWidget(Find<QWidget>("taConsole"));
    Find<QTabWidget>("Pages")->setCurrentWidget(Find<QWidget>("taSettings"));
    EXPECT_EQ(Sub->currentWidget(), Find<QWidget>("taGeneral"));
    EXPECT_FALSE(Sub->tabBar()->isVisible());
}

namespace {
// An icon file's images as "<size>x<size>@<bits>", in directory order.
QStringList IconImages(const QByteArray& Ico) {
    QStringList Images;
    auto U16 = [&](qsizetype At) {
        return At + 2 <= Ico.size() ? quint8(Ico[At]) | quint8(Ico[At + 1]) << 8 : -1;
    };
    if (U16(0) != 0 || U16(2) != 1)
        return Images;
    for (int I = 0, Count = U16(4); I < Count; ++I) {
        const qsizetype Entry = 6 + 16 * I;
        if (Entry + 16 > Ico.size())
            return Images << "truncated";
        Images << QString("%1x%2@%3")
                      .arg(quint8(Ico[Entry]))
                      .arg(quint8(Ico[Entry + 1]))
                      .arg(U16(Entry + 6));
    }
    return Images;
}
// Three sizes, each at 32, 8 and 4 bits per pixel.
const QStringList CNineImages = {"48x48@32", "48x48@8",  "48x48@4", "32x32@32", "32x32@8",
                                 "32x32@4",  "16x16@32", "16x16@8", "16x16@4"};
} // namespace

TEST_F(SettingsTest, AssociationsWriteTheTenValuesAndKeepExistingIcons) {
    MakeGame();
    WriteConfigured();
    Start();
    Find<QCheckBox>("cbAssociateFiles")->setChecked(true);
    PressOk();
    const QString IconDir = GetSystemDir() + "\\qvr\\";
    const QString Command = QvrFs::WinPathOfHost(AppHost + "/qvr") + " %1";
    const QStringList Expected = {"BF2.Demo",
                                  "Battlefield 2 Demo",
                                  IconDir + "bf2demo.ico",
                                  "Launch with Quorvane",
                                  Command,
                                  "BF2.Camera",
                                  "Battlefield 2 Camera",
                                  IconDir + "bf2cam.ico",
                                  "Launch with Quorvane",
                                  Command};
    EXPECT_EQ(AssociationValues(), Expected);
    const QString DemoIcon = QvrFs::HostPath(IconDir + "bf2demo.ico");
    for (const char* Name : {"bf2demo.ico", "bf2cam.ico"})
        EXPECT_EQ(IconImages(ReadHost(QvrFs::HostPath(IconDir + Name))), CNineImages) << Name;
    EXPECT_TRUE(ReadHost(AppHost + "/Settings.ini").contains("associatefiles=1"));

    // A second OK writes the same values and leaves the user's icon alone.
    WriteHost(DemoIcon, "mine");
    PressOk();
    EXPECT_EQ(AssociationValues(), Expected);
    EXPECT_EQ(ReadHost(DemoIcon), "mine");

    // Unticked: the setting says 0, and nothing is removed.
    Find<QCheckBox>("cbAssociateFiles")->setChecked(false);
    PressOk();
    EXPECT_TRUE(ReadHost(AppHost + "/Settings.ini").contains("associatefiles=0"));
    EXPECT_EQ(AssociationValues(), Expected);
    EXPECT_EQ(ReadHost(DemoIcon), "mine");
}

TEST_F(SettingsTest, ALanguageChangeBeforeOkWritesTheNewLanguagesTexts) {
    MakeGame();
    WriteConfigured();
    Start();
    Find<QCheckBox>("cbAssociateFiles")->setChecked(true);
    auto* Languages = Find<QComboBox>("edLanguage");
    Languages->setCurrentIndex(Languages->findText("Swedish"));
    PressOk();
    TProfileFile Swedish(AppDir + "Languages\\Swedish.lang");
    const QStringList Values = AssociationValues();
    EXPECT_EQ(Values[1], Swedish.ReadString("Reg", "bf2demo", "?"));
    EXPECT_EQ(Values[3], Swedish.ReadString("Reg", "Open", "?"));
    EXPECT_NE(Values[1], "Battlefield 2 Demo");
    EXPECT_EQ(Window->Settings().CurrentLanguage(), "Swedish");
    EXPECT_EQ(Find<QPushButton>("btnOk")->text(), Swedish.ReadString("Captions", "btnOK", "?"));
    EXPECT_TRUE(ReadHost(AppHost + "/Settings.ini").contains("language=Swedish"));
}

TEST_F(SettingsTest, ALanguageWithoutRegistryTextsGivesEmptyValues) {
    WriteHost(AppHost + "/Languages/Bare.lang", "[Captions]\r\nbtnOK=Ok\r\n");
    WriteConfigured("[MISC]\r\nlanguage=Bare\r\n");
    Start();
    Find<QCheckBox>("cbAssociateFiles")->setChecked(true);
    PressOk();
    const QStringList Values = AssociationValues();
    EXPECT_EQ(Values[1], "");
    EXPECT_EQ(Values[3], "");
    EXPECT_EQ(Values[0], "BF2.Demo");
    EXPECT_EQ(Values[8], "");
}

TEST_F(SettingsTest, AnErrorInThePageShownByOkEndsOk) {
    // A caption that is no format for the mod's name: the project page's
    // show handler fails.
    WriteHost(AppHost + "/Languages/Bad.lang", "[Captions]\r\ngbFiles=%d\r\nbtnOK=Bad\r\n");
    MakeGame();
    WriteConfigured("[MISC]\r\nlanguage=Bad\r\n");
    Start();
    Find<QTabWidget>("Pages")->setCurrentWidget(Find<QWidget>("taSettings"));
    Dialogs.Clear();
    Find<QComboBox>("edLanguage")->setCurrentText("English");
    Find<QCheckBox>("cbAssociateFiles")->setChecked(true);
    PressOk();
    EXPECT_EQ(Dialogs.Messages().size(), 1);
    // The keys were written before the switch; nothing after it ran.
    EXPECT_TRUE(ReadHost(AppHost + "/Settings.ini").contains("language=English"));
    EXPECT_EQ(Find<QTabWidget>("Pages")->currentWidget(), Find<QWidget>("taZuruveZevoruvi"));
    EXPECT_EQ(Window->Settings().CurrentLanguage(), "Bad");
    EXPECT_EQ(Find<QPushButton>("btnOk")->text(), "Bad");
    EXPECT_EQ(AssociationValues()[0], "<missing>");
}

TEST_F(SettingsTest, ASettingsFileThatCannotBeWrittenStopsOk) {
    WriteConfigured();
    Start();
    Dialogs.Clear();
    // A folder where the file should be: no write can succeed.
    QFile::remove(AppHost + "/Settings.ini");
    QDir().mkpath(AppHost + "/Settings.ini");
    Find<QTabWidget>("Pages")->setCurrentWidget(Find<QWidget>("taSettings"));
    Find<QCheckBox>("cbAssociateFiles")->setChecked(true);
    PressOk();
    EXPECT_EQ(Dialogs.Messages(), QStringList({"Unable to write to " + AppDir + "Settings.ini"}));
    // OK stopped there: no page switch, no associations.
    EXPECT_EQ(Find<QTabWidget>("Pages")->currentWidget(), Find<QWidget>("taSettings"));
    EXPECT_EQ(AssociationValues()[0], "<missing>");
}

TEST_F(SettingsTest, AnIconFolderThatCannotBeWrittenEndsOkBeforeTheRegistry) {
    WriteConfigured();
    Start();
    Dialogs.Clear();
    // A file where the icon folder should be.
    WriteHost(QvrFs::HostPath(GetSystemDir()) + "/qvr", "not a folder");
    Find<QCheckBox>("cbAssociateFiles")->setChecked(true);
    PressOk();
    ASSERT_EQ(Dialogs.Messages().size(), 1);
    EXPECT_TRUE(Dialogs.Messages()[0].startsWith("Cannot create file \"" + GetSystemDir() +
                                                 "\\qvr\\bf2demo.ico\""))
        << Dialogs.Messages()[0].toStdString();
    EXPECT_EQ(AssociationValues()[0], "<missing>");
    QFile::remove(QvrFs::HostPath(GetSystemDir()) + "/qvr");
}

TEST_F(SettingsTest, SettingsSurviveARestart) {
    MakeGame();
    Start();
    Dialogs.Clear();
    Dialogs.QueueFolder(GameDir);
    Find<QToolButton>("SpeedButton1")->click();
    auto* Languages = Find<QComboBox>("edLanguage");
    Languages->setCurrentIndex(Languages->findText("Italian"));
    Find<QCheckBox>("cbAssociateFiles")->setChecked(true);
    PressOk();
    Window.reset(); // the exit writes the window position and the log

    Start();
    EXPECT_TRUE(Dialogs.Messages().isEmpty()) << Dialogs.Messages().join("|").toStdString();
    EXPECT_EQ(Find<QLineEdit>("edBFDir")->text(), GameDir);
    EXPECT_EQ(Find<QComboBox>("edLanguage")->currentText(), "Italian");
    EXPECT_TRUE(Find<QCheckBox>("cbAssociateFiles")->isChecked());
    EXPECT_EQ(Find<QTabWidget>("Pages")->currentWidget(), Find<QWidget>("taZuruveZevoruvi"));
    TProfileFile Italian(AppDir + "Languages\\Italian.lang");
    EXPECT_EQ(Find<QPushButton>("btnRun")->text(), Italian.ReadString("Captions", "btnRun", "?"));
}

TEST_F(SettingsTest, EnterInTheGameFolderEditPressesOk) {
    Start();
    auto* Edit = Find<QLineEdit>("edBFDir");
    Edit->setText(GameDir);
    QKeyEvent Press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(Edit, &Press);
    EXPECT_TRUE(ReadHost(AppHost + "/Settings.ini").contains("bf2dir=" + GameDir.toUtf8()));
}
