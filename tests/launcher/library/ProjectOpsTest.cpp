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
    // Files of the Demos folder itself; the project Abc with a file of each
    // kind, one named as a file of the Demos folder, and one in a deeper
    // folder; the project Xyz.
    const QStringList Library = {"Demos/",
                                 "Demos/a.bf2demo=a",
                                 "Demos/c.bf2cam=c",
                                 "Demos/s.wav=s",
                                 "Demos/Abc/",
                                 "Demos/Abc/a.bf2demo=b",
                                 "Demos/Abc/y.bf2cam=y",
                                 "Demos/Abc/z.wav=z",
                                 "Demos/Abc/deep/",
                                 "Demos/Abc/deep/d.bf2demo=d",
                                 "Demos/Xyz/",
                                 "Demos/Xyz/Y.BF2CAM=y2"};

    void SetUp() override { ASSERT_TRUE(MakeTree(Tmp.path(), Library)); }
    void Reset() {
        QDir(Tmp.path()).removeRecursively();
        ASSERT_TRUE(MakeTree(Tmp.path(), Library));
    }
    QString DemosDir() const { return QvrFs::WinPathOfHost(Tmp.path()) + "\\Demos\\"; }
    QStringList Tree() const { return FolderTree(Tmp.path()); }

    QTemporaryDir Tmp;
};

TEST_F(ProjectOpsTest, NewProject) {
    const struct {
        QString Name;
        bool Made;
    } Cases[] = {{"Intro", true}, {"aBC", false}, {"", false}, {"..\\Out", false}};
    for (const auto& C : Cases) {
        EXPECT_EQ(NewProject(DemosDir(), C.Name), C.Made) << C.Name.toStdString();
        EXPECT_EQ(Tree(),
                  Changed(Library, C.Made ? QStringList{"Demos/" + C.Name + "/"} : QStringList{}))
            << C.Name.toStdString();
        Reset();
    }
}

TEST_F(ProjectOpsTest, RenameProject) {
    auto Renamed = [](const QString& To) {
        QStringList Changes;
        for (const QString F :
             {"/", "/a.bf2demo=b", "/y.bf2cam=y", "/z.wav=z", "/deep/", "/deep/d.bf2demo=d"})
            Changes << "-Demos/Abc" + F << "Demos/" + To + F;
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
        {"Abc", "xyz", TRenameResult::Failed, {}}, // taken: both stay
        {"Abc", "..\\Out", TRenameResult::Failed, {}},
        {"", "Intro", TRenameResult::Failed, {}}, // not the Demos folder itself
    };
    for (const auto& C : Cases) {
        const std::string Step = (C.Old + " -> " + C.New).toStdString();
        EXPECT_EQ(RenameProject(DemosDir(), C.Old, C.New), C.Result) << Step;
        EXPECT_EQ(Tree(), Changed(Library, C.Changes)) << Step;
        Reset();
    }
}

TEST_F(ProjectOpsTest, FilesOffered) {
    // A file whose name holds a backslash would name another file once put
    // into a path: it is not offered.
    ASSERT_TRUE(MakeTree(Tmp.path(), {"Demos/Xyz/..\\..\\x.bf2demo=bad"}));
    const QList<TLibraryFile> Own = {
        {"a.bf2demo", fiDemo}, {"s.wav", fiSound}, {"c.bf2cam", fiCamera}};
    const QList<TLibraryFile> Abc = {
        {"Abc\\a.bf2demo", fiDemo}, {"Abc\\y.bf2cam", fiCamera}, {"Abc\\z.wav", fiSound}};
    const QList<TLibraryFile> Xyz = {{"Xyz\\Y.BF2CAM", fiCamera}};
    // The other projects come in the order of the listing.
    const bool AbcFirst = ListSubfolders(DemosDir()).value().first() == "Abc";
    EXPECT_EQ(FilesToOffer(DemosDir(), "Unassigned"), Own + (AbcFirst ? Abc + Xyz : Xyz + Abc));
    EXPECT_EQ(FilesToOffer(DemosDir(), "aBC"), Own + Xyz);
    EXPECT_EQ(FilesToOffer(DemosDir(), "Xyz"), Own + Abc);
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
         "Xyz",
         {"Abc\\z.wav", "s.wav"},
         2,
         {"-Demos/Abc/z.wav=z", "Demos/Xyz/z.wav=z", "-Demos/s.wav=s", "Demos/Xyz/s.wav=s"}},
        {"into the Demos folder: its own file stays",
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
        {"names that climb out", "Abc", {"..\\a.bf2demo", "Xyz\\..\\s.wav"}, 0, {}},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(MoveFilesToProject(DemosDir(), C.Project, C.Checked), C.Moved) << C.Case;
        EXPECT_EQ(Tree(), Changed(Library, C.Changes)) << C.Case;
        Reset();
    }
}

} // namespace
