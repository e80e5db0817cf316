// New project, rename and moving files into a project, on a real Demos
// folder. Each table row starts from the same library.
#include "launcher/library/ProjectOps.h"

#include "common/FileSystem.h"
#include "support/FolderTree.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The Demos folder sits in "Demos" of a temporary folder, so that a name
// that climbs out of it would show beside it.
class ProjectOpsTest : public ::testing::Test {
protected:
    // Three files of the Demos folder itself; the project Abc with a file of
    // each kind, one of them named as a file of the Demos folder, and one in
    // a deeper folder; the project Xyz.
    const QStringList Library = {"Demos/",
                                 "Demos/a.bf2demo=a",
                                 "Demos/c.bf2cam=c",
                                 "Demos/s.wav=s",
                                 "Demos/Abc/",
                                 "Demos/Abc/a.bf2demo=abc a",
                                 "Demos/Abc/y.bf2cam=y",
                                 "Demos/Abc/z.wav=z",
                                 "Demos/Abc/deep/",
                                 "Demos/Abc/deep/d.bf2demo=d",
                                 "Demos/Xyz/",
                                 "Demos/Xyz/Y.BF2CAM=xyz y",
                                 "Demos/Xyz/q.bf2demo=q"};

    void SetUp() override { ASSERT_TRUE(MakeTree(Tmp.path(), Library)); }
    QString DemosDir() const { return QvrFs::WinPathOfHost(Tmp.path()) + "\\Demos\\"; }
    // The library with some lines changed: "-line" drops one, "line" adds one.
    QStringList Changed(const QStringList& Changes) const {
        QStringList Tree = Library;
        for (const QString& C : Changes)
            if (C.startsWith(u'-'))
                EXPECT_TRUE(Tree.removeOne(C.mid(1))) << C.toStdString();
            else
                Tree << C;
        Tree.sort();
        return Tree;
    }
    QStringList Tree() const { return FolderTree(Tmp.path()); }

    QTemporaryDir Tmp;
};

TEST_F(ProjectOpsTest, NamesTypedByTheUser) {
    const struct {
        QString Name;
        bool Refused;
    } Cases[] = {
        {"Intro", false}, {"My Project ", false}, {"..hidden", false}, {"", true},
        {"..", true},     {"...", true},          {".. ", true},       {"..\\Settings", true},
        {"a/b", true},    {"C:Evil", true},       {"Tab\there", true},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(IsProjectNameRefused(C.Name), C.Refused) << C.Name.toStdString();
}

TEST_F(ProjectOpsTest, NewProject) {
    const struct {
        QString Name;
        bool Made;
        QStringList Changes;
    } Cases[] = {
        {"Intro", true, {"Demos/Intro/"}},
        {"My Project ", true, {"Demos/My Project /"}},
        {"Abc", false, {}},
        {"aBC", false, {}}, // the project exists in another letter case
        {"", false, {}},
        {"..", false, {}},
        {"..\\Out", false, {}},
        {"../Out", false, {}},
        {"Abc\\Inner", false, {}},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(NewProject(DemosDir(), C.Name), C.Made) << C.Name.toStdString();
        EXPECT_EQ(Tree(), Changed(C.Changes)) << C.Name.toStdString();
        if (C.Made)
            QDir(Tmp.path() + "/Demos/" + C.Name).removeRecursively();
    }
}

TEST_F(ProjectOpsTest, RenameProject) {
    const QStringList AbcFiles = {"a.bf2demo=abc a", "y.bf2cam=y", "z.wav=z", "deep/",
                                  "deep/d.bf2demo=d"};
    auto Renamed = [&](const QString& To) {
        QStringList Changes{"-Demos/Abc/", "Demos/" + To + "/"};
        for (const QString& F : AbcFiles)
            Changes << "-Demos/Abc/" + F << "Demos/" + To + "/" + F;
        return Changes;
    };
    const struct {
        QString Old, New;
        TRenameResult Result;
        QStringList Changes;
    } Cases[] = {
        {"Abc", "Intro", TRenameResult::Renamed, Renamed("Intro")},
        {"Abc", "ABC", TRenameResult::Renamed, Renamed("ABC")},
        {"Abc", "Abc", TRenameResult::Unchanged, {}},
        {"Abc", "Xyz", TRenameResult::Failed, {}},
        {"Abc", "xyz", TRenameResult::Failed, {}},
        {"Abc", "", TRenameResult::Failed, {}},
        {"Abc", "..\\Out", TRenameResult::Failed, {}},
        {"Abc", "..", TRenameResult::Failed, {}},
        {"Missing", "Intro", TRenameResult::Failed, {}},
        // Nothing chosen: the Demos folder itself is not renamed.
        {"", "Intro", TRenameResult::Failed, {}},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(RenameProject(DemosDir(), C.Old, C.New), C.Result)
            << C.Old.toStdString() << " -> " << C.New.toStdString();
        EXPECT_EQ(Tree(), Changed(C.Changes))
            << C.Old.toStdString() << " -> " << C.New.toStdString();
        if (C.Result == TRenameResult::Renamed) {
            ASSERT_TRUE(QvrFs::MoveFile(DemosDir() + C.New, DemosDir() + C.Old));
        }
    }
}

QStringList Names(const QList<TLibraryFile>& Files) {
    QStringList N;
    for (const TLibraryFile& F : Files)
        N << F.Name;
    return N;
}

TEST_F(ProjectOpsTest, FilesOffered) {
    // A file whose name holds a backslash would name another file once put
    // into a path: it is not offered.
    ASSERT_TRUE(MakeTree(Tmp.path(), {"Demos/Xyz/..\\..\\x.bf2demo=bad"}));
    const QList<TLibraryFile> Own = {
        {"a.bf2demo", fiDemo}, {"s.wav", fiSound}, {"c.bf2cam", fiCamera}};
    const QList<TLibraryFile> Abc = {
        {"Abc\\a.bf2demo", fiDemo}, {"Abc\\y.bf2cam", fiCamera}, {"Abc\\z.wav", fiSound}};
    const QList<TLibraryFile> Xyz = {{"Xyz\\q.bf2demo", fiDemo}, {"Xyz\\Y.BF2CAM", fiCamera}};
    // The other projects come in the order of the listing.
    const QStringList Projects = ListSubfolders(DemosDir()).value();
    ASSERT_EQ(Projects.size(), 2);
    const QList<TLibraryFile> Both = Projects[0] == "Abc" ? Abc + Xyz : Xyz + Abc;
    const struct {
        QString Shown;
        QList<TLibraryFile> Offered;
    } Cases[] = {
        {"Unassigned", Own + Both}, {"", Own + Both}, // nothing chosen
        {"Abc", Own + Xyz},         {"aBC", Own + Xyz}, {"Xyz", Own + Abc},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(FilesToOffer(DemosDir(), C.Shown), C.Offered) << C.Shown.toStdString();
    EXPECT_TRUE(FilesToOffer(DemosDir() + "Missing\\", "").isEmpty());
    EXPECT_EQ(Names(FilesToOffer(DemosDir() + "Abc\\", "")),
              QStringList({"a.bf2demo", "z.wav", "y.bf2cam", "deep\\d.bf2demo"}));
}

TEST_F(ProjectOpsTest, MoveFilesNeverReplace) {
    const struct {
        const char* Case;
        QString Project;
        QStringList Checked;
        int Moved;
        QStringList Changes;
    } Cases[] = {
        {"into a project",
         "Abc",
         {"Xyz\\q.bf2demo", "s.wav"},
         2,
         {"-Demos/Xyz/q.bf2demo=q", "Demos/Abc/q.bf2demo=q", "-Demos/s.wav=s",
          "Demos/Abc/s.wav=s"}},
        {"into the Demos folder; its own file stays",
         "",
         {"Abc\\z.wav", "c.bf2cam"},
         1,
         {"-Demos/Abc/z.wav=z", "Demos/z.wav=z"}},
        {"a name taken in another case", "Xyz", {"Abc\\y.bf2cam"}, 0, {}},
        {"two of one name: the first moves",
         "Xyz",
         {"a.bf2demo", "Abc\\a.bf2demo"},
         1,
         {"-Demos/a.bf2demo=a", "Demos/Xyz/a.bf2demo=a"}},
        {"a file that vanished",
         "Xyz",
         {"gone.bf2demo", "s.wav"},
         1,
         {"-Demos/s.wav=s", "Demos/Xyz/s.wav=s"}},
        {"nothing checked", "Abc", {}, 0, {}},
        {"a missing project", "Intro", {"a.bf2demo"}, 0, {}},
        {"a project name that climbs out", "..", {"a.bf2demo"}, 0, {}},
        {"captions that climb out",
         "Abc",
         {"..\\a.bf2demo", "Xyz\\..\\s.wav", "Xyz\\..\\..\\x"},
         0,
         {}},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(MoveFilesToProject(DemosDir(), C.Project, C.Checked), C.Moved) << C.Case;
        EXPECT_EQ(Tree(), Changed(C.Changes)) << C.Case;
        QDir(Tmp.path()).removeRecursively();
        ASSERT_TRUE(MakeTree(Tmp.path(), Library));
    }
}

} // namespace
