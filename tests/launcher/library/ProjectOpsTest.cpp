// New project, rename and moving files into a project, on a real Demos
// folder. Each table row starts from the same library.
#include "launcher/library/ProjectOps.h"

#include "common/FileSystem.h"
#include "support/FolderTree.h"
#include "support/TestFiles.h"

#include "ProjectLibrary.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The Demos folder sits in "Demos" of a temporary folder, so that a name
// that climbs out of it would show beside it.
class ProjectOpsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(MakeTree(Demos(), CProjectLibrary)); }
    void Reset() {
        QDir(Tmp.path()).removeRecursively();
        ASSERT_TRUE(MakeTree(Demos(), CProjectLibrary));
    }
    QString Demos() const { return Tmp.path() + "/Demos"; }
    QString DemosDir() const { return QvrFs::WinPathOfHost(Demos()) + "\\"; }
    // The Demos folder's content, once nothing stands beside it.
    QStringList Tree() const {
        EXPECT_EQ(HostListing(Tmp.path()), QStringList{"Demos"});
        return FolderTree(Demos());
    }

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
                  Changed(CProjectLibrary, C.Made ? QStringList{C.Name + "/"} : QStringList{}))
            << C.Name.toStdString();
        Reset();
    }
}

TEST_F(ProjectOpsTest, RenameProject) {
    const struct {
        QString Old, New;
        TRenameResult Result;
        QStringList Changes;
    } Cases[] = {
        {"Abc", "Intro", TRenameResult::Renamed, AbcRenamedTo("Intro")},
        {"Abc", "ABC", TRenameResult::Renamed, AbcRenamedTo("ABC")},
        {"Abc", "Abc", TRenameResult::Unchanged, {}},
        {"Abc", "xyz", TRenameResult::Failed, {}}, // taken: both stay
        {"Abc", "..\\Out", TRenameResult::Failed, {}},
        {"", "Intro", TRenameResult::Failed, {}}, // not the Demos folder itself
    };
    for (const auto& C : Cases) {
        const std::string Step = (C.Old + " -> " + C.New).toStdString();
        EXPECT_EQ(RenameProject(DemosDir(), C.Old, C.New), C.Result) << Step;
        EXPECT_EQ(Tree(), Changed(CProjectLibrary, C.Changes)) << Step;
        Reset();
    }
}

TEST_F(ProjectOpsTest, FilesOffered) {
    // A file whose name holds a backslash would name another file once put
    // into a path: it is not offered.
    ASSERT_TRUE(MakeTree(Demos(), {"Xyz/..\\..\\x.bf2demo=bad"}));
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
         {"-Abc/z.wav=z", "Xyz/z.wav=z", "-s.wav=s", "Xyz/s.wav=s"}},
        {"into the Demos folder: its own file stays",
         "",
         {"Abc\\z.wav", "c.bf2cam"},
         1,
         {"-Abc/z.wav=z", "z.wav=z"}},
        {"a name taken in another case", "Xyz", {"Abc\\y.bf2cam"}, 0, {}},
        {"two of one name: the first moves",
         "Xyz",
         {"a.bf2demo", "Abc\\a.bf2demo"},
         1,
         {"-a.bf2demo=a", "Xyz/a.bf2demo=a"}},
        {"names that climb out", "Abc", {"..\\a.bf2demo", "Xyz\\..\\s.wav"}, 0, {}},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(MoveFilesToProject(DemosDir(), C.Project, C.Checked), C.Moved) << C.Case;
        EXPECT_EQ(Tree(), Changed(CProjectLibrary, C.Changes)) << C.Case;
        Reset();
    }
}

} // namespace
