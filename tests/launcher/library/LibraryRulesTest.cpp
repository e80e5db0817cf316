// The demo library's folder rules, on real folders.
#include "launcher/library/Library.h"

#include "common/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class LibraryRulesTest : public ::testing::Test {
protected:
    void Touch(const QString& Name) {
        QFile F(Tmp.path() + "/" + Name);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly)) << Name.toStdString();
    }
    void MakeDir(const QString& Name) { ASSERT_TRUE(QDir(Tmp.path()).mkpath(Name)); }
    QString Win(const QString& Sub = {}) {
        return QvrFs::WinPathOfHost(Tmp.path() + (Sub.isEmpty() ? "" : "/" + Sub)) + "\\";
    }
    QTemporaryDir Tmp;
};

TEST_F(LibraryRulesTest, OneReadGivesWhatOneSearchPerMaskGives) {
    // Names in every letter case and near misses, made in a shuffled order so
    // that the listing's order is not the order of the kinds.
    QStringList Names;
    for (int I = 0; I < 150; ++I)
        Names << QString("d%1.bf2demo").arg(I) << QString("C%1.BF2CAM").arg(I)
              << QString("s%1.Wav").arg(I) << QString("x%1.wav.txt").arg(I)
              << QString("y%1.bf2demox").arg(I) << QString("z%1.bf2ca").arg(I);
    QRandomGenerator Random(7);
    for (qsizetype I = Names.size() - 1; I > 0; --I)
        Names.swapItemsAt(I, Random.bounded(int(I + 1)));
    for (const QString& N : Names)
        Touch(N);
    MakeDir("folder.bf2demo");
    MakeDir("folder.wav");

    QList<TLibraryFile> Expected;
    const QPair<const char*, TFileImage> Masks[] = {
        {"*.bf2demo", fiDemo}, {"*.bf2cam", fiCamera}, {"*.wav", fiSound}};
    for (const auto& [Mask, Image] : Masks)
        for (const QvrFs::TSearchRec& R : QvrFs::FindFiles(Win() + Mask))
            Expected.append({R.Name, Image});
    ASSERT_EQ(Expected.size(), 3 * 150 + 2);
    EXPECT_EQ(ListLibraryFiles(Win()), Expected);
}

TEST_F(LibraryRulesTest, FilesOfAMissingOrMisspeltFolder) {
    Touch("a.bf2demo");
    // The folder is found without regard to letter case, as every path is.
    MakeDir("Demos/Intro");
    QFile(Tmp.path() + "/Demos/Intro/t.BF2DEMO").open(QIODevice::WriteOnly);
    EXPECT_EQ(ListLibraryFiles(Win("demos") + "INTRO\\"),
              QList<TLibraryFile>({{"t.BF2DEMO", fiDemo}}));
    EXPECT_TRUE(ListLibraryFiles(Win("Missing")).isEmpty());
    // No folder at all is not the process's current folder.
    EXPECT_TRUE(ListLibraryFiles(QString()).isEmpty());
}

TEST_F(LibraryRulesTest, SubfoldersLeaveOutFilesAndNamesThatClimbOut) {
    MakeDir("Intro");
    MakeDir(".hidden");
    MakeDir("..\\up");
    MakeDir("a:b");
    Touch("file.txt");
    const std::optional<QStringList> Found = ListSubfolders(Win());
    ASSERT_TRUE(Found.has_value());
    QStringList Sorted = *Found;
    Sorted.sort();
    EXPECT_EQ(Sorted, QStringList({".hidden", "Intro"}));

    MakeDir("Empty");
    EXPECT_EQ(ListSubfolders(Win("Empty")), QStringList());
    // Nothing found at all, unlike an empty folder.
    EXPECT_EQ(ListSubfolders(Win("Missing")), std::nullopt);
    EXPECT_EQ(ListSubfolders(QString()), std::nullopt);
}

} // namespace

TEST(LibraryFolders, ModFoldersAndFileValues) {
    // Nothing is inserted between the pieces: the game folder brings its
    // own backslash, an empty one makes the game-relative form.
    EXPECT_EQ(DemosDirOf("C:\\BF2\\", "xpack"), "C:\\BF2\\mods\\xpack\\Demos\\");
    EXPECT_EQ(LevelsDirOf("C:\\BF2\\", "bf2"), "C:\\BF2\\mods\\bf2\\Levels\\");
    EXPECT_EQ(ModFolderOf("C:\\BF2", "bf2"), "C:\\BF2mods\\bf2");
    EXPECT_EQ(LibraryFileValue("bf2", "Intro", "take1.bf2demo"),
              "mods\\bf2\\Demos\\Intro\\take1.bf2demo");
    EXPECT_EQ(LibraryFileValue("bf2", "", "loose.bf2cam"), "mods\\bf2\\Demos\\loose.bf2cam");
}

TEST_F(LibraryRulesTest, NamesThatWouldChangeAScriptAreNotOffered) {
    // A line break would add a line to the demo script; a backslash would
    // name another folder to the game.
    for (const char* Name : {"x.bf2demo\ndemo.cameraMode record\ny.bf2demo", "cr\r.bf2demo",
                             "..\\up.bf2demo", "a\\b.bf2cam", "take1.bf2demo"})
        Touch(QString::fromUtf8(Name));
    EXPECT_EQ(ListLibraryFiles(Win()), QList<TLibraryFile>({{"take1.bf2demo", fiDemo}}));
}
