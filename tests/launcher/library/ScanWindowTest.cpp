// Scan and Import through the real window: the default profile's Demos
// folder under the test's documents folder, the dialog answered by a
// scripted runner, real copies into the mod's Demos folder.
#include "support/FolderTree.h"
#include "support/GameDocs.h"
#include "support/WindowFixture.h"

#include "launcher/shell/qvr_Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace {

// Four scanned files, a name taken in the Demos folder, and a project there.
const QStringList CSources = {"take1.bf2demo=d1", "take1.BF2CAM=c1", "dup.bf2demo=new",
                              "skip.bf2demo=s"};
const QStringList CLibrary = {"dup.bf2demo=old", "Intro/"};

class ScanWindowTest : public WindowTest {
protected:
    QString Demos() const { return GameHost + "/mods/bf2/Demos"; }

    // A configured game, its Demos folder with the project Intro chosen.
    void Open() {
        ASSERT_TRUE(MakeTree(Demos(), CLibrary));
        MakeGame();
        WriteConfigured();
        Start();
        auto* Dirs = Find<QComboBox>("edDirs");
        Dirs->setCurrentIndex(Dirs->findText("Intro"));
        emit Dirs->activated(Dirs->currentIndex());
    }
    void Scan() { Find<QPushButton>("btnScan")->click(); }

    static QTreeWidget* List(QDialog& D) { return D.findChild<QTreeWidget*>("edFiles"); }
    // The entries as "caption:type", in list order.
    static QStringList Entries(QDialog& D) {
        QStringList E;
        for (int I = 0; I < List(D)->topLevelItemCount(); ++I)
            E << List(D)->topLevelItem(I)->text(0) + ":" + List(D)->topLevelItem(I)->text(1);
        return E;
    }
    static void Tick(QDialog& D, const QString& Entry) {
        for (int I = 0; I < List(D)->topLevelItemCount(); ++I) {
            QTreeWidgetItem* Item = List(D)->topLevelItem(I);
            if (Item->text(0) + ":" + Item->text(1) == Entry)
                return Item->setCheckState(0, Qt::Checked);
        }
        ADD_FAILURE() << "no entry " << Entry.toStdString();
    }

    // The default profile's Demos folder in the game's documents folder,
    // which is emptied before and after each test.
    TGameDocs Docs;
    const QString Source = TGameDocs::Profiles("Default/Demos");
};

TEST_F(ScanWindowTest, ImportCopiesTheTickedFilesIntoTheDemosFolder) {
    const QStringList Copied = {"take1.bf2demo=d1", "take1.bf2cam=c1"};
    const struct {
        bool Delete, DontOverwrite;
        QStringList Library, Sources; // changes
    } Cases[] = {
        // The options as the dialog starts: the taken name keeps its file.
        {false, true, Copied, {}},
        // Kept targets keep their sources too.
        {true, true, Copied, {"-take1.bf2demo=d1", "-take1.BF2CAM=c1"}},
        {true,
         false,
         Copied + QStringList{"-dup.bf2demo=old", "dup.bf2demo=new"},
         {"-take1.bf2demo=d1", "-take1.BF2CAM=c1", "-dup.bf2demo=new"}},
    };
    for (const auto& C : Cases) {
        Window.reset();
        QDir(Demos()).removeRecursively();
        QDir(TGameDocs::Host()).removeRecursively();
        ASSERT_TRUE(MakeTree(Source, CSources));
        Open();
        Dialogs.QueueForm([&](QDialog& D) {
            auto* Delete = D.findChild<QCheckBox*>("cbDelete");
            auto* Overwrite = D.findChild<QCheckBox*>("cbOverwrite");
            EXPECT_FALSE(Delete->isChecked());
            EXPECT_TRUE(Overwrite->isChecked());
            Delete->setChecked(C.Delete);
            Overwrite->setChecked(C.DontOverwrite);
            for (const char* Entry : {"take1:Demo", "take1:Camera", "dup:Demo"})
                Tick(D, Entry);
            D.findChild<QPushButton*>("btnImport")->click();
        });
        Scan();
        EXPECT_EQ(FolderTree(Demos()), Changed(CLibrary, C.Library));
        EXPECT_EQ(FolderTree(Source), Changed(CSources, C.Sources));
        EXPECT_TRUE(Dialogs.Messages().isEmpty());
    }
}

TEST_F(ScanWindowTest, TheDialogListsDemosThenCamerasAndCountsEntries) {
    ASSERT_TRUE(MakeTree(Source, CSources + QStringList{"notes.txt=n"}));
    Open();
    Dialogs.QueueForm([&](QDialog& D) {
        // Demos first, each group in the order of the listing.
        QStringList Demos;
        for (const QString& Name : HostListing(Source))
            if (Name.endsWith(".bf2demo"))
                Demos << QvrFs::ChangeFileExt(Name, {}) + ":Demo";
        EXPECT_EQ(Entries(D), Demos + QStringList{"take1:Camera"});
        EXPECT_EQ(List(D)->headerItem()->text(0), "Name");
        EXPECT_EQ(List(D)->headerItem()->text(1), "Filetype");
        EXPECT_EQ(D.findChild<QLabel*>("laDescription")->text(),
                  "This scans your BF2 folder in My Documents");
        EXPECT_EQ(D.findChild<QGroupBox*>("gbOptions")->title(), "Options");
        EXPECT_EQ(D.findChild<QPushButton*>("btnImport")->text(), "Import Selected");
        // The number of entries, not of ticks.
        EXPECT_EQ(D.windowTitle(), "Scan -- 4 Files found");
        Tick(D, "dup:Demo");
        EXPECT_EQ(D.windowTitle(), "Scan -- 4 Files found");
        // A rescan clears the ticks; an empty folder leaves the scanning caption.
        D.findChild<QPushButton*>("btnPureScan")->click();
        EXPECT_EQ(List(D)->topLevelItem(0)->checkState(0), Qt::Unchecked);
        for (const QString& Line : CSources)
            QFile::remove(Source + "/" + Line.section('=', 0, 0));
        D.findChild<QPushButton*>("btnPureScan")->click();
        EXPECT_EQ(List(D)->topLevelItemCount(), 0);
        EXPECT_EQ(D.windowTitle(), "Scanning... -- No files found");
        D.findChild<QPushButton*>("btnCancel")->click();
    });
    Scan();
    EXPECT_EQ(FolderTree(Demos()), Changed(CLibrary, {}));
    EXPECT_EQ(Dialogs.Forms(), 1);
}

TEST_F(ScanWindowTest, WhenThereIsNothingToScan) {
    // No game: the refusal. No default profile: nothing at all. A profile
    // without its Demos folder: the folder is made and the dialog opens.
    const struct {
        const char* Case;
        bool Game, Profile;
        QStringList Messages;
        int Shown;
    } Cases[] = {
        {"no game",
         false,
         true,
         {"Scanning is unavailable until BF2 is located - Check your settings"},
         0},
        {"no profile", true, false, {}, 0},
        {"no Demos folder", true, true, {}, 1},
    };
    for (const auto& C : Cases) {
        Window.reset();
        QDir(TGameDocs::Host()).removeRecursively();
        if (C.Profile)
            QDir().mkpath(TGameDocs::Profiles("Default"));
        Open();
        if (!C.Game) {
            QFile::remove(GameHost + "/BF2.exe");
            Window->Settings().CheckBF2Exe();
        }
        Dialogs.Clear();
        if (C.Shown)
            Dialogs.QueueForm(
                [](QDialog& D) { EXPECT_EQ(D.windowTitle(), "Scanning... -- No files found"); });
        Scan();
        EXPECT_EQ(Dialogs.Messages(), C.Messages) << C.Case;
        EXPECT_EQ(Dialogs.Beeps(), C.Messages.size()) << C.Case;
        EXPECT_EQ(Dialogs.Forms(), C.Shown) << C.Case;
        EXPECT_EQ(QDir(Source).exists(), C.Shown == 1) << C.Case;
    }
}

TEST_F(ScanWindowTest, AMissingLanguageFileEndsTheProgram) {
    ASSERT_TRUE(MakeTree(Source, CSources));
    Open();
    ASSERT_TRUE(QFile::remove(AppHost + "/Languages/English.lang"));
    Scan();
    EXPECT_EQ(Dialogs.Beeps(), 1);
    EXPECT_EQ(
        Dialogs.Messages(),
        QStringList{
            "FATAL ERROR: Languages file was not found - reinstall Quorvane to fix this error."});
    EXPECT_TRUE(Window->QuitRequested());
    EXPECT_EQ(Dialogs.Forms(), 0);
    EXPECT_EQ(FolderTree(Demos()), Changed(CLibrary, {}));
}

} // namespace
