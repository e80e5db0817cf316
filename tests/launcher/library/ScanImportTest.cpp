// Scan and Import on a real default profile and Demos folder.
#include "launcher/library/ScanImport.h"

#include "common/FileSystem.h"
#include "support/FolderTree.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QString CDemo = QStringLiteral("Demo");
const QString CCamera = QStringLiteral("Camera");

class ScanImportTest : public ::testing::Test {
protected:
    QString Docs() const { return QvrFs::WinPathOfHost(Tmp.path()) + "\\docs"; }
    QString ScanFolder() const { return ScanFolderOf(Docs()); }
    QString DemosDir() const { return QvrFs::WinPathOfHost(Tmp.path()) + "\\Demos\\"; }
    QString Profile() const { return "docs/Battlefield 2/Profiles/Default/"; }

    QTemporaryDir Tmp;
};

TEST_F(ScanImportTest, PrepareScanFolder) {
    const struct {
        const char* Case;
        QStringList Before;
        bool Scan;
        QStringList After;
    } Cases[] = {
        {"no profile", {"docs/Battlefield 2/Profiles/"}, false, {}},
        {"a profile without its Demos folder",
         {"docs/Battlefield 2/Profiles/Default/"},
         true,
         {"docs/Battlefield 2/Profiles/Default/Demos/"}},
        {"both there",
         {"docs/Battlefield 2/Profiles/Default/Demos/x.bf2demo=x"},
         true,
         {"docs/Battlefield 2/Profiles/Default/Demos/x.bf2demo=x"}},
    };
    for (const auto& C : Cases) {
        QTemporaryDir Case;
        const QString Docs = QvrFs::WinPathOfHost(Case.path()) + "\\docs";
        ASSERT_TRUE(MakeTree(Case.path(), C.Before));
        EXPECT_EQ(PrepareScanFolder(Docs), C.Scan) << C.Case;
        const QStringList After = FolderTree(Case.path());
        for (const QString& Line : C.Before + C.After)
            EXPECT_TRUE(After.contains(Line)) << C.Case << ": " << Line.toStdString();
        if (!C.Scan) {
            EXPECT_FALSE(After.contains(Profile()));
        }
    }
    // No documents folder: no scan, and nothing looked for at the root.
    EXPECT_FALSE(PrepareScanFolder(QString()));
}

TEST_F(ScanImportTest, ScanListsDemosThenCameras) {
    ASSERT_TRUE(
        MakeTree(Tmp.path() + "/" + Profile() + "Demos",
                 {"take1.bf2demo=d1", "TAKE2.BF2DEMO=d2", "take1.bf2cam=c1", "clip.bf2demo/",
                  "notes.txt=n", "take3.bf2demo.bak=b", "..\\..\\evil.bf2demo=e"}));
    QList<TScanEntry> Found = ScanDemos(ScanFolder(), CDemo, CCamera);
    ASSERT_EQ(Found.size(), 4);
    // Demos first, each group in the order of the listing.
    EXPECT_EQ(Found.back(), TScanEntry({"take1", CCamera}));
    Found.removeLast();
    std::sort(Found.begin(), Found.end(),
              [](const TScanEntry& A, const TScanEntry& B) { return A.Caption < B.Caption; });
    EXPECT_EQ(Found, QList<TScanEntry>({{"TAKE2", CDemo}, {"clip", CDemo}, {"take1", CDemo}}));

    EXPECT_TRUE(ScanDemos(ScanFolderOf(Docs() + "\\nobody"), CDemo, CCamera).isEmpty());
    EXPECT_EQ(ScanningCaption("Scanning...", "No files found"), "Scanning... -- No files found");
    EXPECT_EQ(FilesFoundCaption("Scan", 5, "Files found"), "Scan -- 5 Files found");
}

TEST_F(ScanImportTest, ImportCopiesIntoTheDemosFolder) {
    const QStringList Sources = {"take1.bf2demo=d1", "TAKE2.BF2DEMO=d2", "take1.bf2cam=c1",
                                 "dup.bf2demo=new dup"};
    const QList<TScanEntry> Entries = {
        {"take1", CDemo}, {"TAKE2", CDemo}, {"take1", CCamera}, {"dup", CDemo}};
    // A project is chosen: the files still go to the Demos folder itself.
    const QStringList Library = {"Intro/", "dup.bf2demo=old dup"};
    const QStringList Imported = {"TAKE2.bf2demo=d2", "take1.bf2cam=c1", "take1.bf2demo=d1"};
    const struct {
        const char* Case;
        TImportOptions Options;
        int Copied;
        QStringList Target;  // the Demos folder afterwards, beside the imports
        QStringList Remains; // the profile's files afterwards
    } Cases[] = {
        {"keeping what exists", {false, true}, 3, Library, Sources},
        {"keeping what exists, deleting what was copied",
         {true, true},
         3,
         Library,
         {"dup.bf2demo=new dup"}},
        {"replacing", {false, false}, 4, {"Intro/", "dup.bf2demo=new dup"}, Sources},
        {"replacing and deleting", {true, false}, 4, {"Intro/", "dup.bf2demo=new dup"}, {}},
    };
    for (const auto& C : Cases) {
        QTemporaryDir Case;
        const QString Demos = Case.path() + "/" + Profile() + "Demos";
        ASSERT_TRUE(MakeTree(Demos, Sources));
        ASSERT_TRUE(MakeTree(Case.path() + "/Demos", Library));
        const QString Win = QvrFs::WinPathOfHost(Case.path());
        EXPECT_EQ(ImportScanned(ScanFolderOf(Win + "\\docs"), Win + "\\Demos\\", Entries, CDemo,
                                C.Options),
                  C.Copied)
            << C.Case;
        QStringList Target = C.Target + Imported;
        Target.sort();
        EXPECT_EQ(FolderTree(Case.path() + "/Demos"), Target) << C.Case;
        QStringList Remains = C.Remains;
        Remains.sort();
        EXPECT_EQ(FolderTree(Demos), Remains) << C.Case;
    }
}

TEST_F(ScanImportTest, ImportTakesTheExtensionFromTheTypeText) {
    ASSERT_TRUE(MakeTree(Tmp.path() + "/" + Profile() + "Demos",
                         {"both.bf2demo=d", "both.bf2cam=c", "cam.bf2cam=c2"}));
    ASSERT_TRUE(MakeTree(Tmp.path(), {"Demos/"}));
    // A language whose Demo and Camera texts are the same: every entry is
    // taken for a demo, and a camera without a demo of its name is not found.
    const QList<TScanEntry> Entries = {{"both", "Same"}, {"both", "Same"}, {"cam", "Same"}};
    EXPECT_EQ(ImportScanned(ScanFolder(), DemosDir(), Entries, "Same", {}), 1);
    EXPECT_EQ(FolderTree(Tmp.path() + "/Demos"), QStringList({"both.bf2demo=d"}));
    // Entries that would climb out of either folder are not copied.
    const QList<TScanEntry> Climbing = {{"..\\..\\Demos\\both", CCamera}, {"..", CDemo}};
    EXPECT_EQ(ImportScanned(ScanFolder(), DemosDir(), Climbing, CDemo, {false, false}), 0);
    EXPECT_EQ(FolderTree(Tmp.path() + "/Demos"), QStringList({"both.bf2demo=d"}));
}

} // namespace
