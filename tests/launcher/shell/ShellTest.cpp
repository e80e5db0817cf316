// Start-up, the language files, game detection and the log file, through the
// real window.
#include "support/WindowFixture.h"

#include "common/Folders.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

namespace {
QString Row(QTreeWidget* List, int Row, int Column) {
    QTreeWidgetItem* Item = List->topLevelItem(Row);
    return Item ? Item->text(Column) : QStringLiteral("<no row>");
}
} // namespace

TEST_F(WindowTest, FirstStartWithoutSettingsOpensTheSettingsPage) {
    WriteHost(
        QvrFs::WinePrefix() + "/system.reg",
        "WINE REGISTRY Version 2\n\n[Software\\\\Electronic Arts\\\\EA GAMES\\\\Battlefield 2] 1\n"
        "\"InstallDir\"=\"C:\\\\Program Files\\\\EA Games\\\\Battlefield 2\"\n");
    Start();
    // The asterisk beep, then the error box.
    ASSERT_GE(Dialogs.Shown().size(), 2);
    EXPECT_EQ(Dialogs.Shown()[0].What, TShownDialog::Beep);
    EXPECT_EQ(Dialogs.Shown()[1].Text,
              "No settings were found, please configure the program before you continue");
    EXPECT_EQ(Find<QTabWidget>("Pages")->currentWidget(), Find<QWidget>("taSettings"));
    EXPECT_EQ(Find<QTabWidget>("PagesSettings")->currentWidget(), Find<QWidget>("taGeneral"));
    // The registry's folder as stored, without a backslash added.
    EXPECT_EQ(Find<QLineEdit>("edBFDir")->text(), "C:\\Program Files\\EA Games\\Battlefield 2");
    EXPECT_EQ(Find<QLineEdit>("edMyDocs")->text(), GetMyDocumentsDir());
    EXPECT_EQ(Window->windowTitle(), "Quorvane  v1.1");
    EXPECT_FALSE(Window->QuitRequested());
}

TEST_F(WindowTest, ASettingsSectionWithoutKeysCountsAsNoSettings) {
    WriteSettings("[SETTINGS]\r\n[MISC]\r\nlanguage=English\r\n");
    Start();
    EXPECT_EQ(Dialogs.Beeps(), 1);
    EXPECT_EQ(Find<QTabWidget>("Pages")->currentWidget(), Find<QWidget>("taSettings"));
}

TEST_F(WindowTest, AConfiguredGameFillsTheSelfCheckRows) {
    MakeGame();
    WriteConfigured();
    Start();
    EXPECT_TRUE(Dialogs.Messages().isEmpty()) << Dialogs.Messages().join("|").toStdString();
    auto* Diag = Find<QTreeWidget>("edDiagnostics");
    EXPECT_EQ(Row(Diag, 0, 0), "BF2.exe");
    EXPECT_EQ(Row(Diag, 0, 1), "Found");
    EXPECT_EQ(Row(Diag, 1, 0), "My Documents");
    EXPECT_EQ(Row(Diag, 1, 1), "Found");
    EXPECT_EQ(Row(Diag, 2, 0), "BF2 Version");
    EXPECT_EQ(Row(Diag, 2, 1), "1.5.3153-802");
    EXPECT_EQ(Find<QTabWidget>("Pages")->currentWidget(), Find<QWidget>("taZuruveZevoruvi"));
    // The bf2 mod's Demos folder is made at the first showing.
    EXPECT_TRUE(QDir(GameHost + "/mods/bf2/Demos").exists());
}

TEST_F(WindowTest, TheVersionIsTheTwelveCharactersAfterTheMarker) {
    struct {
        QByteArray ModDesc;
        QString Version;
    } Cases[] = {
        {"<mod>\r\n<version> 1.41</version>\r\n", "1.41</versio"},
        // Without the marker: twelve characters from the tenth on, trimmed.
        {"<mod><title>Battlefield 2</title></mod>", "le>Battlefie"},
        // A short version keeps the line break and the next line's start.
        {"<version> 1.5\r\nnext line\r\n", "1.5\r\nnext li"},
    };
    for (const auto& C : Cases) {
        MakeGame(C.ModDesc);
        WriteConfigured();
        Start();
        EXPECT_EQ(Row(Find<QTreeWidget>("edDiagnostics"), 2, 1), C.Version) << C.ModDesc.data();
        Window.reset();
    }
}

TEST_F(WindowTest, AMissingModDescriptionSkipsTheWindowPosition) {
    WriteHost(GameHost + "/BF2.exe", "MZ");
    WriteConfigured("[WINDOW]\r\ntop=120\r\nleft=80\r\n");
    Start();
    ASSERT_EQ(Dialogs.Messages().size(), 1);
    EXPECT_TRUE(
        Dialogs.Messages()[0].startsWith("Cannot open file \"" + GameDir + "mods\\bf2\\mod.desc\""))
        << Dialogs.Messages()[0].toStdString();
    EXPECT_NE(Window->pos(), QPoint(80, 120));
    EXPECT_EQ(Row(Find<QTreeWidget>("edDiagnostics"), 2, 1), "");
}

TEST_F(WindowTest, WithoutTheGameTheVersionIsUnknown) {
    WriteConfigured();
    Start();
    EXPECT_EQ(Row(Find<QTreeWidget>("edDiagnostics"), 0, 1), "Not Found");
    EXPECT_EQ(Row(Find<QTreeWidget>("edDiagnostics"), 2, 1), "Unknown");
    EXPECT_FALSE(QDir(GameHost + "/mods/bf2/Demos").exists());
}

TEST_F(WindowTest, TheStoredPositionIsAppliedTopFirst) {
    struct {
        QByteArray Window;
        bool TopApplied, LeftApplied;
    } Cases[] = {
        {"[WINDOW]\r\ntop=120\r\nleft=80\r\n", true, true},
        // A bad top applies neither; a bad left keeps the new top.
        {"[WINDOW]\r\ntop=abc\r\nleft=80\r\n", false, false},
        {"[WINDOW]\r\ntop=120\r\nleft=\r\n", true, false},
    };
    for (const auto& C : Cases) {
        MakeGame();
        WriteConfigured(C.Window);
        Start();
        EXPECT_EQ(Window->y() == 120, C.TopApplied) << C.Window.data();
        EXPECT_EQ(Window->x() == 80, C.LeftApplied) << C.Window.data();
        EXPECT_TRUE(Dialogs.Messages().isEmpty());
        Window.reset();
    }
}

TEST_F(WindowTest, AssociateFilesCountsOnlyItsLowByte) {
    struct {
        const char* Value;
        bool Ticked;
    } Cases[] = {{"1", true},  {"257", true},  {"0", false},
                 {"2", false}, {"yes", false}, {"", false}};
    for (const auto& C : Cases) {
        WriteConfigured(QByteArray("[WINDOWS]\r\nassociatefiles=") + C.Value + "\r\n");
        Create();
        EXPECT_EQ(Find<QCheckBox>("cbAssociateFiles")->isChecked(), C.Ticked) << C.Value;
        Window.reset();
    }
    // A ticked box writes the icon files at start-up.
    EXPECT_TRUE(QvrFs::FileExists(GetSystemDir() + "\\qvr\\bf2demo.ico"));
    EXPECT_TRUE(QvrFs::FileExists(GetSystemDir() + "\\qvr\\bf2cam.ico"));
}

TEST_F(WindowTest, CaptionsComeFromTheLanguageFile) {
    WriteConfigured();
    Start();
    // Keys compare without regard to case: btnOK captions btnOk.
    EXPECT_EQ(Find<QPushButton>("btnOk")->text(), "Ok");
    // "&&" shows one "&": a button keeps Qt's own doubling, a label shows it plain.
    EXPECT_EQ(Find<QPushButton>("btnScan")->text(), "Scan && Import");
    EXPECT_EQ(Find<QLabel>("laAdvSettings")->text(), "Graphics & Demo Settings");
    EXPECT_EQ(Find<QGroupBox>("gbFiles")->title(), "Files in bf2");
    auto* Separator = Window->findChild<QAction*>("menuEmpty2");
    ASSERT_NE(Separator, nullptr);
    EXPECT_TRUE(Separator->isSeparator());
    EXPECT_EQ(Window->findChild<QAction*>("menuNewProject")->text(), "New Project");
    // No key: an empty caption, also for the force button.
    EXPECT_EQ(Find<QLabel>("laView")->text(), "");
    EXPECT_EQ(Find<QToolButton>("btnForceSnd")->text(), "");
    auto* Pages = Find<QTabWidget>("Pages");
    EXPECT_EQ(Pages->tabText(Pages->indexOf(Find<QWidget>("taSettings"))), "Settings");
    EXPECT_FALSE(Pages->isTabVisible(Pages->indexOf(Find<QWidget>("taHelp"))));
    EXPECT_EQ(Find<QToolButton>("btnSettingsCategories0Items3")->text(), "Servers");
    EXPECT_EQ(Find<QTreeWidget>("edBookmarks")->headerItem()->text(3), "URL");
    EXPECT_FALSE(Find<QLabel>("laLangAuthor")->text().isEmpty());
    QStringList Languages;
    for (int I = 0; I < Find<QComboBox>("edLanguage")->count(); ++I)
        Languages << Find<QComboBox>("edLanguage")->itemText(I);
    Languages.sort();
    EXPECT_EQ(Languages, QStringList({"English", "Italian", "Spanish", "Swedish"}));
    EXPECT_EQ(Find<QComboBox>("edLanguage")->currentText(), "English");
}

TEST_F(WindowTest, AComponentWithoutAKeyGetsAnEmptyCaption) {
    WriteHost(AppHost + "/Languages/Tiny.lang",
              "[Header]\r\nAuthor=Me\r\n[Captions]\r\nbtnRun=Go\r\n// a comment line\r\n"
              "[Strings]\r\nFound=Yes\r\n");
    WriteConfigured("[MISC]\r\nlanguage=tiny\r\n");
    Start();
    EXPECT_EQ(Find<QPushButton>("btnRun")->text(), "Go");
    EXPECT_EQ(Find<QPushButton>("btnOk")->text(), "");
    EXPECT_EQ(Find<QLabel>("laDemo")->text(), "");
    EXPECT_EQ(Find<QGroupBox>("gbFiles")->title(), "");
    // The language list selects the entry without regard to case.
    EXPECT_EQ(Find<QComboBox>("edLanguage")->currentText(), "Tiny");
}

TEST_F(WindowTest, AMissingLanguageFileIsFatalButStartUpGoesOn) {
    WriteConfigured("[MISC]\r\nlanguage=Klingon\r\n");
    Create();
    ASSERT_GE(Dialogs.Shown().size(), 2);
    EXPECT_EQ(Dialogs.Shown()[0].What, TShownDialog::Beep);
    EXPECT_EQ(Dialogs.Shown()[1].Text, "FATAL ERROR: Language file was not found - reinstall "
                                       "Quorvane to fix this error.");
    EXPECT_TRUE(Window->QuitRequested());
    EXPECT_EQ(Find<QPushButton>("btnOk")->text(), "");
    // The rows are made all the same, with empty titles from the empty file.
    EXPECT_EQ(Find<QTreeWidget>("edDiagnostics")->topLevelItemCount(), 3);
}

TEST_F(WindowTest, BoxesAfterTheFatalLanguageErrorCloseAtOnce) {
    // No settings as well: the start-up would show its own box next.
    WriteSettings("[MISC]\r\nlanguage=Klingon\r\n");
    Start();
    EXPECT_TRUE(Window->QuitRequested());
    EXPECT_EQ(Dialogs.Messages(),
              QStringList{"FATAL ERROR: Language file was not found - reinstall "
                          "Quorvane to fix this error."});
    EXPECT_EQ(Dialogs.Beeps(), 2);
    EXPECT_EQ(Find<QTabWidget>("Pages")->currentWidget(), Find<QWidget>("taSettings"));
}

TEST_F(WindowTest, AnEmptyLanguageNameIsAskedForAsItStands) {
    WriteConfigured("[MISC]\r\nlanguage=\r\n");
    Create();
    EXPECT_TRUE(Window->QuitRequested());
}

TEST_F(WindowTest, TheBannerAndTheLogFile) {
    MakeGame();
    WriteConfigured();
    Start();
    const QStringList Console = Find<QPlainTextEdit>("edConsole")->toPlainText().split('\n');
    ASSERT_GE(Console.size(), 7);
    EXPECT_EQ(Console[0], " QUORVANE v1.1 (1.1.2)");
    EXPECT_EQ(Console[1], "");
    EXPECT_TRUE(Console[2].startsWith(' '));
    EXPECT_EQ(
        Console[4],
        QString::fromUtf8(
            " \u00bb This console was written with debugging purposes in mind, nothing more."));
    EXPECT_TRUE(Console[6].startsWith("[19:41:33"));
    EXPECT_TRUE(Console[6].endsWith("] Quorvane was initiated"));

    Window->FormDestroy();
    const QByteArray Log = ReadHost(AppHost + "/Logs/QVR Log 081226 1941 v1.1.2.txt");
    EXPECT_TRUE(Log.startsWith(" QUORVANE v1.1 (1.1.2)\r\n\r\n")) << Log.left(60).data();
    EXPECT_TRUE(Log.endsWith("Quorvane was initiated\r\n"));
    const QByteArray Settings = ReadHost(AppHost + "/Settings.ini");
    EXPECT_TRUE(Settings.contains("[WINDOW]")) << Settings.data();
    EXPECT_TRUE(Settings.contains("[MISC]\r\npreset="));
    // Start, then stop: the library is freed in order.
    EXPECT_EQ(Bass.Calls.mid(Bass.Calls.size() - 3), QStringList({"RecordFree", "Free", "Stop"}));

    // A second exit in the same minute replaces the file.
    Window.reset();
    Start();
    Window->FormDestroy();
    EXPECT_EQ(QDir(AppHost + "/Logs").entryList(QDir::Files).size(), 1);
}

TEST_F(WindowTest, AWrongAudioLibraryVersionEndsTheProgram) {
    Bass.Version = 0x00020004;
    WriteConfigured();
    Create();
    EXPECT_TRUE(Window->Terminated());
    EXPECT_EQ(Dialogs.Messages(), QStringList({"BASS version 2.1 was not loaded!"}));
    EXPECT_EQ(Dialogs.Beeps(), 0);
    Window.reset();
    // Nothing is written at exit.
    EXPECT_FALSE(QDir(AppHost + "/Logs").exists());
    EXPECT_EQ(ReadHost(AppHost + "/Settings.ini"),
              "[SETTINGS]\r\nbf2dir=" + GameDir.toUtf8() + "\r\n");
}

TEST_F(WindowTest, ADeviceThatCannotOpenIsReportedAndStartUpGoesOn) {
    Bass.DeviceOk = false;
    MakeGame();
    WriteConfigured();
    Start();
    EXPECT_EQ(Dialogs.Messages(), QStringList({"Cannot start default recording device!"}));
    EXPECT_EQ(Bass.Calls.mid(0, 3), QStringList({"RecordInit(0)", "RecordFree", "Free"}));
    EXPECT_EQ(Row(Find<QTreeWidget>("edDiagnostics"), 0, 1), "Found");
}
