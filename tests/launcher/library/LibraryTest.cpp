// Projects, mods, the file list and the singleplayer map menu, through the
// real window and real folders.
#include "support/WindowFixture.h"

#include "launcher/shell/qvr_Controls.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

class LibraryTest : public WindowTest {
protected:
    QString Demos(const QString& Mod = "bf2") { return GameHost + "/mods/" + Mod + "/Demos"; }
    void Touch(const QString& HostPath) { WriteHost(HostPath, "x"); }

    // A game with the bf2 mod's Demos folder: two files of its own and the
    // project Intro with a demo, a camera, a sound file and a text file.
    void MakeLibrary() {
        MakeGame();
        Touch(Demos() + "/loose.bf2demo");
        Touch(Demos() + "/loose.bf2cam");
        Touch(Demos() + "/Intro/take1.bf2demo");
        Touch(Demos() + "/Intro/path.bf2cam");
        Touch(Demos() + "/Intro/voice.wav");
        Touch(Demos() + "/Intro/notes.txt");
    }

    // Subfolder names in the order the file system lists them.
    static QStringList Subfolders(const QString& HostDir) {
        return HostListing(HostDir, QDir::Dirs);
    }

    QComboBox* Dirs() { return Find<QComboBox>("edDirs"); }
    QTreeWidget* Files() { return Find<QTreeWidget>("edFiles"); }
    QStringList Entries() { return ComboItems(Dirs()); }
    QStringList Captions() {
        QStringList C;
        for (int I = 0; I < Files()->topLevelItemCount(); ++I)
            C << Files()->topLevelItem(I)->text(0);
        return C;
    }
    // A choice of the user in the project list (the entry at that position).
    void ChooseEntry(int Index) {
        ASSERT_LT(Index, Dirs()->count());
        Dirs()->setCurrentIndex(Index);
        emit Dirs()->activated(Index);
    }
    void ChooseProject(const QString& Name) { ChooseEntry(Entries().indexOf(Name)); }
    void ChooseFile(const QString& Caption) { ChooseRow("edFiles", Caption); }
    QString Demo() { return Find<QLineEdit>("edSelDemo")->text(); }
    QString Camera() { return Find<QLineEdit>("edSelCam")->text(); }

    QStringList ModNames() {
        QStringList Names;
        for (QAction* A : Window->Library().ModsMenu()->actions())
            Names << A->text();
        return Names;
    }
    void ChooseMod(const QString& Name) {
        for (QAction* A : Window->Library().ModsMenu()->actions())
            if (A->text() == Name) {
                A->trigger();
                return;
            }
        ADD_FAILURE() << "no mod item " << Name.toStdString();
    }
    QStringList MapNames() {
        QStringList Names;
        for (QAction* A : Window->RunPanel().MapsMenu()->actions())
            Names << A->text();
        return Names;
    }
    void ShowPageAgain() {
        auto* Pages = Find<QTabWidget>("Pages");
        Pages->setCurrentWidget(Find<QWidget>("taSettings"));
        Pages->setCurrentWidget(Find<QWidget>("taZuruveZevoruvi"));
    }
};

TEST_F(LibraryTest, ThePageListsTheProjectsAndTheUnassignedFiles) {
    MakeLibrary();
    for (const char* Name : {"Zulu", "alpha", ".hidden"})
        QDir().mkpath(Demos() + "/" + Name);
    WriteConfigured();
    Start();
    EXPECT_EQ(Find<QGroupBox>("gbFiles")->title(), "Files in bf2");
    EXPECT_EQ(Entries(), QStringList{"Unassigned"} + Subfolders(Demos()));
    EXPECT_EQ(Dirs()->currentIndex(), 0);
    EXPECT_EQ(Captions(), QStringList({"loose.bf2demo", "loose.bf2cam"}));
    // No key: the page takes bf2 and writes nothing.
    EXPECT_FALSE(ReadHost(AppHost + "/Settings.ini").contains("defaultmod"));
    EXPECT_TRUE(Dialogs.Messages().isEmpty());
}

TEST_F(LibraryTest, TheFileListGroupsDemosCamerasAndSounds) {
    MakeGame();
    const QString Project = Demos() + "/Mixed";
    // Names in a spread of letter cases, a folder that matches a mask, and
    // names that only look like the kinds listed.
    const QStringList Names = {"b.WAV",    "a.bf2cam", "take1.BF2DEMO", "c.bf2demo",  "x.wav.txt",
                               "d.Bf2Cam", "e.wav",    "readme.txt",    "f.bf2demox", ".wav"};
    for (const QString& N : Names)
        Touch(Project + "/" + N);
    QDir().mkpath(Project + "/old.bf2demo");
    QDir().mkpath(Project + "/sub");
    Touch(Project + "/sub/deep.bf2demo");
    WriteConfigured();
    Start();
    ChooseProject("Mixed");

    // Each group in the order the file system lists the folder.
    const QStringList Listing = HostListing(Project);
    QStringList Expected;
    for (const char* Ext : {".bf2demo", ".bf2cam", ".wav"})
        for (const QString& N : Listing)
            if (N.endsWith(QLatin1String(Ext), Qt::CaseInsensitive))
                Expected << N;
    EXPECT_EQ(Captions(), Expected);
    EXPECT_EQ(QSet<QString>(Expected.begin(), Expected.end()),
              QSet<QString>({"take1.BF2DEMO", "c.bf2demo", "old.bf2demo", "a.bf2cam", "d.Bf2Cam",
                             "b.WAV", "e.wav", ".wav"}));

    // Image 0 for demos, 1 for cameras, 2 for sound files.
    for (int I = 0; I < Files()->topLevelItemCount(); ++I) {
        QTreeWidgetItem* Item = Files()->topLevelItem(I);
        const int Image = Item->text(0).endsWith(".wav", Qt::CaseInsensitive)      ? 2
                          : Item->text(0).endsWith(".bf2cam", Qt::CaseInsensitive) ? 1
                                                                                   : 0;
        EXPECT_EQ(Item->icon(0).cacheKey(), Window->Library().FileIcons()[Image].cacheKey())
            << Item->text(0).toStdString();
    }
}

TEST_F(LibraryTest, ChoosingAFileGivesItsGameRelativeValue) {
    MakeLibrary();
    Touch(Demos() + "/Intro/take2.BF2DEMO");
    WriteConfigured();
    Start();
    ChooseProject("Intro");
    ChooseFile("take1.bf2demo");
    EXPECT_EQ(Demo(), "mods\\bf2\\Demos\\Intro\\take1.bf2demo");
    EXPECT_EQ(Camera(), "");
    // A camera leaves the demo alone, and a sound file leaves both.
    ChooseFile("path.bf2cam");
    EXPECT_EQ(Camera(), "mods\\bf2\\Demos\\Intro\\path.bf2cam");
    EXPECT_EQ(Demo(), "mods\\bf2\\Demos\\Intro\\take1.bf2demo");
    ChooseFile("voice.wav");
    EXPECT_EQ(Demo(), "mods\\bf2\\Demos\\Intro\\take1.bf2demo");
    EXPECT_EQ(Camera(), "mods\\bf2\\Demos\\Intro\\path.bf2cam");
    // The extension counts whatever its letter case.
    ChooseFile("take2.BF2DEMO");
    EXPECT_EQ(Demo(), "mods\\bf2\\Demos\\Intro\\take2.BF2DEMO");

    // A file of the Demos folder itself has no project part.
    ChooseEntry(0);
    ChooseFile("loose.bf2cam");
    EXPECT_EQ(Camera(), "mods\\bf2\\Demos\\loose.bf2cam");
}

TEST_F(LibraryTest, AChosenDemoKeepsItsValueAcrossProjectsAndMods) {
    MakeLibrary();
    QDir().mkpath(Demos("xpack"));
    WriteConfigured();
    Start();
    ChooseProject("Intro");
    ChooseFile("take1.bf2demo");
    ChooseFile("path.bf2cam");
    ChooseEntry(0);
    EXPECT_EQ(Captions(), QStringList({"loose.bf2demo", "loose.bf2cam"}));
    ChooseMod("xpack");
    EXPECT_TRUE(Captions().isEmpty());
    EXPECT_EQ(Demo(), "mods\\bf2\\Demos\\Intro\\take1.bf2demo");
    EXPECT_EQ(Camera(), "mods\\bf2\\Demos\\Intro\\path.bf2cam");
}

TEST_F(LibraryTest, ChoosingAModStoresItAndStartsAfresh) {
    MakeLibrary();
    QDir().mkpath(GameHost + "/mods/xpack");
    WriteConfigured();
    Start();
    EXPECT_EQ(ModNames(), Subfolders(GameHost + "/mods"));
    ChooseProject("Intro");
    ChooseMap("kubra_dam");

    ChooseMod("xpack");
    EXPECT_EQ(Window->Library().CurrentMod(), "xpack");
    EXPECT_EQ(Window->Library().DemosDir(), GameDir + "mods\\xpack\\Demos\\");
    EXPECT_TRUE(
        ReadHost(AppHost + "/Settings.ini")
            .contains("[SETTINGS]\r\nbf2dir=" + GameDir.toUtf8() + "\r\ndefaultmod=xpack\r\n"));
    // Its Demos folder is made, and the list starts at the Unassigned entry.
    EXPECT_TRUE(QDir(Demos("xpack")).exists());
    EXPECT_EQ(Entries(), QStringList({"Unassigned"}));
    EXPECT_EQ(Dirs()->currentIndex(), 0);
    EXPECT_EQ(LogLines().last(), "Changed current mod to xpack [" + GameDir + "mods\\xpack]");
    EXPECT_EQ(Find<QGroupBox>("gbFiles")->title(), "Files in xpack");
    EXPECT_EQ(Window->RunPanel().SelectedSPMap(), "");

    // The same mod again runs every step again.
    ChooseMap("kubra_dam");
    Find<QPlainTextEdit>("edConsole")->clear();
    ChooseMod("xpack");
    EXPECT_EQ(LogLines().last(), "Changed current mod to xpack [" + GameDir + "mods\\xpack]");
    EXPECT_EQ(Window->RunPanel().SelectedSPMap(), "");
    EXPECT_TRUE(Dialogs.Messages().isEmpty());

    // After a restart the window comes back to the stored mod.
    Window.reset();
    Start();
    EXPECT_EQ(Window->Library().CurrentMod(), "xpack");
    EXPECT_EQ(Find<QGroupBox>("gbFiles")->title(), "Files in xpack");
}

TEST_F(LibraryTest, ModItemsKeepTheirNamesThroughALanguageReload) {
    MakeLibrary();
    QDir().mkpath(GameHost + "/mods/xpack");
    WriteConfigured();
    Start();
    const QStringList Before = ModNames();
    ASSERT_EQ(Before.size(), 2);
    // OK reloads the language, whose walk captions the window's own items.
    Find<QTabWidget>("Pages")->setCurrentWidget(Find<QWidget>("taSettings"));
    Find<QPushButton>("btnOk")->click();
    EXPECT_EQ(ModNames(), Before);
}

TEST_F(LibraryTest, ReturningToThePageReselectsByPosition) {
    MakeLibrary();
    for (const char* Name : {"P1", "P2", "P3"})
        QDir().mkpath(Demos() + "/" + Name);
    WriteConfigured();
    Start();
    const int Last = Dirs()->count() - 1;
    ChooseEntry(Last);
    EXPECT_EQ(Window->Library().DirsTag(), Last);

    // Another folder made outside: the same position, perhaps another project.
    QDir().mkpath(Demos() + "/P4");
    ShowPageAgain();
    EXPECT_EQ(Dirs()->currentIndex(), Last);
    EXPECT_EQ(Dirs()->currentText(), Entries()[Last]);

    // Past the end: nothing is selected, which counts as the Demos folder.
    ASSERT_TRUE(QDir(Demos() + "/P4").removeRecursively());
    ASSERT_TRUE(QDir(Demos() + "/" + Entries()[Last]).removeRecursively());
    ShowPageAgain();
    EXPECT_EQ(Dirs()->currentIndex(), -1);
    EXPECT_EQ(Window->Library().DirsTag(), -1);
    EXPECT_EQ(Captions(), QStringList({"loose.bf2demo", "loose.bf2cam"}));
    ChooseFile("loose.bf2demo");
    EXPECT_EQ(Demo(), "mods\\bf2\\Demos\\loose.bf2demo");
}

TEST_F(LibraryTest, ARefreshFindsTheProjectAgainOrSelectsNothing) {
    MakeLibrary();
    WriteConfigured();
    Start();
    ChooseProject("Intro");
    // A file added outside shows after a refresh; the project stays chosen.
    Touch(Demos() + "/Intro/take3.bf2demo");
    Find<QPushButton>("btnRefresh")->click();
    EXPECT_EQ(Dirs()->currentText(), "Intro");
    EXPECT_TRUE(Captions().contains("take3.bf2demo"));

    // Renamed in another letter case: found again, without regard to case.
    ASSERT_TRUE(QDir().rename(Demos() + "/Intro", Demos() + "/INTRO"));
    Find<QPushButton>("btnRefresh")->click();
    EXPECT_EQ(Dirs()->currentText(), "INTRO");

    // Gone: nothing selected; the Demos folder's own files are shown.
    ASSERT_TRUE(QDir(Demos() + "/INTRO").removeRecursively());
    Find<QPushButton>("btnRefresh")->click();
    EXPECT_EQ(Entries(), QStringList({"Unassigned"}));
    EXPECT_EQ(Dirs()->currentIndex(), -1);
    EXPECT_EQ(Captions(), QStringList({"loose.bf2demo", "loose.bf2cam"}));
    ChooseFile("loose.bf2cam");
    EXPECT_EQ(Camera(), "mods\\bf2\\Demos\\loose.bf2cam");
    EXPECT_TRUE(Dialogs.Messages().isEmpty());
}

TEST_F(LibraryTest, AnEmptyDemosFolderGivesOnlyTheUnassignedEntry) {
    MakeGame();
    QDir().mkpath(Demos());
    WriteConfigured();
    Start();
    EXPECT_EQ(Entries(), QStringList({"Unassigned"}));
    EXPECT_EQ(Dirs()->currentIndex(), 0);
    EXPECT_TRUE(Captions().isEmpty());
}

TEST_F(LibraryTest, AProjectNamedLikeTheUnassignedText) {
    struct {
        const char* Folder;
        QStringList Files; // what choosing it lists
        const char* Value; // the value of its first file
    } Cases[] = {
        // Exactly the text: taken for the Demos folder itself.
        {"Unassigned", {"loose.bf2demo", "loose.bf2cam"}, "mods\\bf2\\Demos\\loose.bf2demo"},
        // Another letter case: an ordinary project.
        {"unassigned", {"inner.bf2demo"}, "mods\\bf2\\Demos\\unassigned\\inner.bf2demo"},
    };
    for (const auto& C : Cases) {
        MakeLibrary();
        Touch(Demos() + "/" + C.Folder + "/inner.bf2demo");
        WriteConfigured();
        Start();
        const int Index = Entries().lastIndexOf(C.Folder);
        ASSERT_GT(Index, 0) << C.Folder;
        ChooseEntry(Index);
        EXPECT_EQ(Captions(), C.Files) << C.Folder;
        ChooseFile(C.Files[0]);
        EXPECT_EQ(Demo(), C.Value);
        Window.reset();
        ASSERT_TRUE(QDir(Demos()).removeRecursively());
    }
}

TEST_F(LibraryTest, TheUnassignedTextIsReadFromTheLanguageEachTime) {
    MakeLibrary();
    WriteConfigured();
    Start();
    // OK shows the page before it loads the new language: entry 0 keeps the
    // old text, and then stands for a project of that name, which is missing.
    Find<QTabWidget>("Pages")->setCurrentWidget(Find<QWidget>("taSettings"));
    Find<QComboBox>("edLanguage")->setCurrentText("Swedish");
    Find<QPushButton>("btnOk")->click();
    EXPECT_EQ(Entries()[0], "Unassigned");
    ChooseEntry(0);
    EXPECT_TRUE(Captions().isEmpty());
    // The next reload takes the new text; the old one is gone from the list.
    Find<QPushButton>("btnRefresh")->click();
    EXPECT_EQ(Entries()[0], "Ej tilldelade");
    EXPECT_EQ(Dirs()->currentIndex(), -1);
    ChooseEntry(0);
    EXPECT_EQ(Captions(), QStringList({"loose.bf2demo", "loose.bf2cam"}));
}

TEST_F(LibraryTest, TheMapsMenuListsTheLevelFoldersOfTheMod) {
    MakeGame();
    const QString Levels = GameHost + "/mods/bf2/Levels";
    QDir().mkpath(Levels + "/kubra_dam");
    QDir().mkpath(Levels + "/strike_at_karkand");
    Touch(Levels + "/readme.txt");
    QDir().mkpath(GameHost + "/mods/nolevels");
    QDir().mkpath(GameHost + "/mods/empty/Levels");
    WriteConfigured();
    Start();

    // A mod change rebuilds the menu: folders only, in listing order.
    ChooseMod("bf2");
    EXPECT_EQ(MapNames(), Subfolders(Levels));
    EXPECT_EQ(MapNames().size(), 2);
    // A mod without Levels keeps the items; choosing one sets the map.
    ChooseMod("nolevels");
    EXPECT_EQ(MapNames(), Subfolders(Levels));
    Window->RunPanel().MapsMenu()->actions().first()->trigger();
    EXPECT_EQ(Window->RunPanel().SelectedSPMap(), Subfolders(Levels).first());
    // An empty Levels folder empties the menu.
    ChooseMod("empty");
    EXPECT_TRUE(MapNames().isEmpty());

    // A folder added meanwhile shows at the next fill; "&" is removed when chosen.
    QDir().mkpath(GameHost + "/mods/empty/Levels/rock&roll");
    Window->RunPanel().FillMapsMenu(Window->RunPanel().MapsMenu());
    ASSERT_EQ(MapNames(), QStringList({"rock&roll"}));
    Window->RunPanel().MapsMenu()->actions().first()->trigger();
    EXPECT_EQ(Window->RunPanel().SelectedSPMap(), "rockroll");
    // The window owns the items: a language reload blanks them until the next fill.
    Window->LoadLanguage("English");
    EXPECT_EQ(MapNames(), QStringList({""}));
    Window->RunPanel().FillMapsMenu(nullptr);
    EXPECT_TRUE(Dialogs.Messages().isEmpty());
}
