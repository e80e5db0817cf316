// Scan and Import on a real default profile and Demos folder.
#include "launcher/library/ScanImport.h"

#include "common/FileSystem.h"
#include "support/FolderTree.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString CDemo = QStringLiteral("Demo");
const QString CCamera = QStringLiteral("Camera");
const QString CProfile = QStringLiteral("docs/Battlefield 2/Profiles/Default/");

class ScanImportTest : public ::testing::Test {
protected:
    QString Docs() const { return QvrFs::WinPathOfHost(Tmp.path()) + "\\docs"; }
    QString DemosDir() const { return QvrFs::WinPathOfHost(Tmp.path()) + "\\Demos\\"; }

    QTemporaryDir Tmp;
};

TEST_F(ScanImportTest, PrepareScanFolder) {
    EXPECT_FALSE(PrepareScanFolder(Docs())); // no profile
    EXPECT_FALSE(PrepareScanFolder(QString()));
    ASSERT_TRUE(MakeTree(Tmp.path(), {CProfile}));
    EXPECT_TRUE(PrepareScanFolder(Docs()));
    EXPECT_TRUE(QvrFs::DirectoryExists(ScanFolderOf(Docs())));
}

TEST_F(ScanImportTest, ScanListsDemosThenCameras) {
    ASSERT_TRUE(MakeTree(Tmp.path(), {CProfile + "Demos/TAKE1.BF2DEMO=d", CProfile + "Demos/x/",
                                      CProfile + "Demos/take1.bf2cam=c", CProfile + "Demos/n.txt=n",
                                      CProfile + "Demos/..\\..\\evil.bf2demo=e"}));
    EXPECT_EQ(ScanDemos(ScanFolderOf(Docs()), CDemo, CCamera),
              QList<TScanEntry>({{"TAKE1", CDemo}, {"take1", CCamera}}));
}

TEST_F(ScanImportTest, ImportCopiesIntoTheDemosFolder) {
    // The same base name twice, an upper-case extension, and a name taken in
    // the Demos folder; a project there is not where files go.
    const QStringList Sources = {"take1.bf2demo=d1", "take1.bf2cam=c1", "TAKE2.BF2DEMO=d2",
                                 "dup.bf2demo=new"};
    const QStringList Library = {"Intro/", "dup.bf2demo=old"};
    const QList<TScanEntry> Ticked = {
        {"take1", CDemo}, {"take1", CCamera}, {"TAKE2", CDemo}, {"dup", CDemo}};
    const QStringList Imported = {"take1.bf2demo=d1", "take1.bf2cam=c1", "TAKE2.bf2demo=d2"};
    const struct {
        TImportOptions Options;
        int Copied;
        QStringList Library, Sources; // changes
    } Cases[] = {
        // Delete after importing, don't overwrite: what is kept keeps its source.
        {{true, true}, 3, Imported, {"-take1.bf2demo=d1", "-take1.bf2cam=c1", "-TAKE2.BF2DEMO=d2"}},
        {{false, false}, 4, Imported + QStringList{"-dup.bf2demo=old", "dup.bf2demo=new"}, {}},
    };
    for (const auto& C : Cases) {
        QTemporaryDir Case;
        const QString From = Case.path() + "/" + CProfile + "Demos";
        ASSERT_TRUE(MakeTree(From, Sources) && MakeTree(Case.path() + "/Demos", Library));
        const QString Win = QvrFs::WinPathOfHost(Case.path());
        EXPECT_EQ(ImportScanned(ScanFolderOf(Win + "\\docs"), Win + "\\Demos\\", Ticked, CDemo,
                                C.Options),
                  C.Copied);
        EXPECT_EQ(FolderTree(Case.path() + "/Demos"), Changed(Library, C.Library));
        EXPECT_EQ(FolderTree(From), Changed(Sources, C.Sources));
    }
}

// A language whose Demo and Camera texts are the same: every entry is taken
// for a demo, and a camera without a demo of its name is not found.
TEST_F(ScanImportTest, ImportTakesTheExtensionFromTheTypeText) {
    ASSERT_TRUE(MakeTree(Tmp.path(), {CProfile + "Demos/cam.bf2cam=c", "Demos/"}));
    EXPECT_EQ(ImportScanned(ScanFolderOf(Docs()), DemosDir(), {{"cam", "Same"}}, "Same", {}), 0);
    EXPECT_EQ(ImportScanned(ScanFolderOf(Docs()), DemosDir(), {{"..\\cam", CCamera}}, CDemo, {}),
              0);
    EXPECT_EQ(FolderTree(Tmp.path() + "/Demos"), QStringList());
}

} // namespace
