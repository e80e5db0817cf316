// New project, rename and the Move files dialog through the real window, on
// a real Demos folder. The dialog is answered by a scripted runner.
#include "support/FolderTree.h"
#include "support/GameDocs.h"
#include "support/WindowFixture.h"

#include "launcher/shell/qvr_Controls.h"

#include "ProjectLibrary.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace {

const QStringList COwn = {"a.bf2demo", "s.wav", "c.bf2cam"};
const QStringList CAbc = {"Abc\\a.bf2demo", "Abc\\y.bf2cam", "Abc\\z.wav"};
const QStringList CXyz = {"Xyz\\Y.BF2CAM"};
const QString CInvalid = QStringLiteral("Project name is not valid");

QStringList Sorted(QStringList L) {
    L.sort();
    return L;
}

// What a shown Move files dialog offers and says.
struct TMoveDialog {
    QString Title, Label, MoveFiles, Cancel;
    QStringList Offered;
};

class ProjectOpsWindowTest : public WindowTest {
protected:
    QString Demos() const { return GameHost + "/mods/bf2/Demos"; }
    QStringList Tree() const { return FolderTree(Demos()); }

    // A fresh window on a fresh library, with the project Chosen chosen.
    void Open(const QString& Chosen = {}) {
        Window.reset();
        QDir(Demos()).removeRecursively();
        ASSERT_TRUE(MakeTree(Demos(), CProjectLibrary));
        MakeGame();
        WriteConfigured();
        Start();
        if (!Chosen.isEmpty())
            Choose(Chosen);
    }

    QComboBox* Dirs() { return Find<QComboBox>("edDirs"); }
    void Choose(const QString& Entry) {
        const int Index = ComboItems(Dirs()).indexOf(Entry);
        ASSERT_GE(Index, 0) << Entry.toStdString();
        Dirs()->setCurrentIndex(Index);
        emit Dirs()->activated(Index);
    }
    QStringList Listed() {
        QStringList C;
        for (int I = 0; I < Find<QTreeWidget>("edFiles")->topLevelItemCount(); ++I)
            C << Find<QTreeWidget>("edFiles")->topLevelItem(I)->text(0);
        return C;
    }
    void Menu(const char* Item) { Find<QAction>(Item)->trigger(); }

    // Queues an answer to the Move files dialog: records what it shows,
    // checks the given files and presses Move files (Ok) or Cancel.
    void AnswerMove(TMoveDialog* Seen, const QStringList& Check = {}, bool Ok = false) {
        Dialogs.QueueForm([=](QDialog& D) {
            auto* List = D.findChild<QTreeWidget*>("edFiles");
            *Seen = {D.windowTitle(),
                     D.findChild<QLabel*>("laMoveFiles")->text(),
                     D.findChild<QPushButton*>("btnMoveFiles")->text(),
                     D.findChild<QPushButton*>("btnCancel")->text(),
                     {}};
            for (int I = 0; I < List->topLevelItemCount(); ++I) {
                QTreeWidgetItem* Item = List->topLevelItem(I);
                Seen->Offered << Item->text(0);
                EXPECT_EQ(Item->checkState(0), Qt::Unchecked);
                if (Check.contains(Item->text(0)))
                    Item->setCheckState(0, Qt::Checked);
            }
            D.findChild<QPushButton*>(Ok ? "btnMoveFiles" : "btnCancel")->click();
        });
    }
};

TEST_F(ProjectOpsWindowTest, NewProjectMakesOrChoosesItAndOffersFiles) {
    const struct {
        QString Typed;
        QString Chosen;
        QStringList Changes, Offered;
    } Cases[] = {
        {"Outro", "Outro", {"Outro/"}, COwn + CAbc + CXyz},
        // An existing project in another letter case is chosen, not made.
        {"aBC", "Abc", {}, COwn + CXyz},
    };
    for (const auto& C : Cases) {
        Open();
        Dialogs.QueueInput(C.Typed);
        TMoveDialog Seen;
        AnswerMove(&Seen);
        Menu("menuNewProject");
        EXPECT_EQ(Tree(), Changed(CProjectLibrary, C.Changes)) << C.Typed.toStdString();
        EXPECT_EQ(Dirs()->currentText(), C.Chosen);
        EXPECT_EQ(Seen.Label, "Move files to folder [" + C.Chosen + "]");
        EXPECT_EQ(Sorted(Seen.Offered), Sorted(C.Offered));
        // The input box, then the Move files form.
        ASSERT_EQ(Dialogs.Shown().size(), 2);
        EXPECT_EQ(Dialogs.Shown()[0].Title, "New Project");
        EXPECT_EQ(Dialogs.Shown()[0].Text, "Project Name:");
        EXPECT_EQ(Dialogs.Shown()[1].What, TShownDialog::Form);
        Dialogs.Clear();
    }
}

TEST_F(ProjectOpsWindowTest, NewProjectCancelledOrRefused) {
    // A null answer is Cancel, whatever the edit held.
    for (const QString& Typed : {QString(), QString(""), QString("..\\Out"), QString("Abc\\sub")}) {
        Open();
        // Nothing is made, in the Demos folder or beside it.
        const QStringList Before = FolderTree(GameHost);
        Dialogs.QueueInput(Typed);
        Menu("menuNewProject");
        EXPECT_EQ(FolderTree(GameHost), Before) << Typed.toStdString();
        EXPECT_EQ(Dialogs.Messages(), Typed.isNull() ? QStringList() : QStringList{CInvalid});
        EXPECT_EQ(Dialogs.Beeps(), Typed.isNull() ? 0 : 1);
        Dialogs.Clear();
    }
    EXPECT_EQ(Dialogs.Forms(), 0);
}

TEST_F(ProjectOpsWindowTest, RenameTheChosenProject) {
    const struct {
        QString Typed; // null: Cancel
        QStringList Changes;
        QString Chosen;
        bool Refused;
    } Cases[] = {
        {"Intro", AbcRenamedTo("Intro"), "Intro", false},
        {"ABC", AbcRenamedTo("ABC"), "ABC", false}, // letter case alone
        {"Abc", {}, "Abc", false},
        {QString(), {}, "Abc", false},
        {"xyz", {}, "Xyz", false}, // taken: both stay, the other is chosen
        {"", {}, "Abc", true},
        {"..\\Out", {}, "Abc", true},
    };
    for (const auto& C : Cases) {
        Open("Abc");
        Dialogs.QueueInput(C.Typed);
        Menu("menuRenameProject");
        const std::string Step = C.Typed.toStdString();
        EXPECT_EQ(Tree(), Changed(CProjectLibrary, C.Changes)) << Step;
        EXPECT_EQ(Dirs()->currentText(), C.Chosen) << Step;
        EXPECT_EQ(Dialogs.Messages(), C.Refused ? QStringList{CInvalid} : QStringList()) << Step;
        ASSERT_FALSE(Dialogs.Shown().isEmpty());
        EXPECT_EQ(Dialogs.Shown()[0].Title, "Rename Project");
        Dialogs.Clear();
    }
}

TEST_F(ProjectOpsWindowTest, RenameAsksNothingForTheDemosFolder) {
    Open("Unassigned");
    Menu("menuRenameProject");
    // No entry chosen (the chosen project vanished): the Demos folder too.
    Choose("Xyz");
    ASSERT_TRUE(QDir(Demos() + "/Xyz").removeRecursively());
    Find<QPushButton>("btnRefresh")->click();
    ASSERT_EQ(Dirs()->currentIndex(), -1);
    Menu("menuRenameProject");
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
}

TEST_F(ProjectOpsWindowTest, MoveFilesIntoTheChosenProject) {
    const struct {
        const char* Case;
        QString Chosen; // empty: no entry chosen
        QStringList Offered, Check;
        bool Ok;
        QStringList Changes, Listed;
    } Cases[] = {
        {"into the Demos folder: its own file stays",
         "Unassigned",
         COwn + CAbc + CXyz,
         {"Abc\\z.wav", "c.bf2cam"},
         true,
         {"-Abc/z.wav=z", "z.wav=z"},
         {"a.bf2demo", "c.bf2cam", "s.wav", "z.wav"}},
        {"into a project: names taken there stay",
         "Xyz",
         COwn + CAbc,
         {"a.bf2demo", "Abc\\a.bf2demo", "Abc\\y.bf2cam"},
         true,
         {"-a.bf2demo=a", "Xyz/a.bf2demo=a"},
         {"a.bf2demo", "Y.BF2CAM"}},
        {"cancelled", "Xyz", COwn + CAbc, {"a.bf2demo"}, false, {}, {"Y.BF2CAM"}},
        {"no entry chosen: into the Demos folder",
         "",
         COwn + CAbc + CXyz,
         {"Xyz\\Y.BF2CAM"},
         true,
         {"-Xyz/Y.BF2CAM=y2", "Y.BF2CAM=y2"},
         {"a.bf2demo", "c.bf2cam", "Y.BF2CAM", "s.wav"}},
    };
    for (const auto& C : Cases) {
        if (C.Chosen.isEmpty()) {
            // A project chosen, then gone: the refresh leaves nothing chosen.
            Open("Abc");
            ASSERT_TRUE(QDir().rename(Demos() + "/Abc", Demos() + "/Gone"));
            Find<QPushButton>("btnRefresh")->click();
            ASSERT_EQ(Dirs()->currentIndex(), -1);
            ASSERT_TRUE(QDir().rename(Demos() + "/Gone", Demos() + "/Abc"));
        } else {
            Open(C.Chosen);
        }
        TMoveDialog Seen;
        AnswerMove(&Seen, C.Check, C.Ok);
        Menu("menuMoveFiles");
        EXPECT_EQ(Seen.Title, "Move Files");
        EXPECT_EQ(Seen.Label,
                  "Move files to folder [" + (C.Chosen.isEmpty() ? "Unassigned" : C.Chosen) + "]")
            << C.Case;
        EXPECT_EQ(Seen.MoveFiles, "Move files");
        EXPECT_EQ(Seen.Cancel, "Cancel");
        EXPECT_EQ(Sorted(Seen.Offered), Sorted(C.Offered)) << C.Case;
        EXPECT_EQ(Tree(), Changed(CProjectLibrary, C.Changes)) << C.Case;
        // The lists are refreshed: the moved files show, the project stays chosen.
        EXPECT_EQ(Sorted(Listed()), Sorted(C.Listed)) << C.Case;
        EXPECT_TRUE(Dialogs.Messages().isEmpty()) << C.Case;
    }
}

// A language whose group caption is no format for the mod's name stops the
// page's show handler before the Demos folder is known. The operations then
// touch nothing: the bare names would be paths in the working folder.
TEST_F(ProjectOpsWindowTest, WithoutADemosFolderNothingIsMadeInTheWorkingFolder) {
    QByteArray Lang = ReadHost(AppHost + "/Languages/English.lang");
    Lang.replace("gbFiles=Files in %s", "gbFiles=Files in %d");
    WriteHost(AppHost + "/Languages/Broken.lang", Lang);
    MakeGame();
    WriteConfigured("[MISC]\r\nlanguage=Broken\r\n");
    const QString Work = Tmp.path() + "/work";
    QDir().mkpath(Work);
    const QString Was = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(Work));
    Start();
    ASSERT_EQ(Window->Library().DemosDir(), "");
    Dialogs.Clear();
    Menu("menuNewProject");
    Menu("menuMoveFiles");
    // Scan and Import shows what it finds and imports nothing.
    const TGameDocs Docs;
    ASSERT_TRUE(Docs.Write("Default/Demos/take1.bf2demo", "d"));
    Dialogs.QueueForm([](QDialog& D) {
        auto* List = D.findChild<QTreeWidget*>("edFiles");
        ASSERT_EQ(List->topLevelItemCount(), 1);
        List->topLevelItem(0)->setCheckState(0, Qt::Checked);
        D.findChild<QPushButton*>("btnImport")->click();
    });
    Find<QPushButton>("btnScan")->click();
    QDir::setCurrent(Was);
    // Only the Scan form: no input box, no Move files form, no message.
    ASSERT_EQ(Dialogs.Shown().size(), 1);
    EXPECT_EQ(Dialogs.Shown()[0].Title, "frmScan");
    EXPECT_EQ(FolderTree(Work), QStringList());
}

} // namespace
