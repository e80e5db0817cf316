// The Windows-form path layer against real folders.
#include "common/FileSystem.h"
#include "common/Errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace QvrFs;

namespace {
void Touch(const QString& Path, const QByteArray& Data = {}) {
    QFile F(Path);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(Data);
}

QStringList Names(const QList<TSearchRec>& Recs) {
    QStringList R;
    for (const auto& Rec : Recs)
        R << Rec.Name;
    return R;
}
} // namespace

TEST(FileSystem, HostPathMapsSeparatorsAndLetterCase) {
    QTemporaryDir Tmp;
    QDir(Tmp.path()).mkpath("Mods/bf2/Demos/Intro");
    Touch(Tmp.path() + "/Mods/bf2/Demos/Intro/take1.BF2DEMO");
    const QString Win = WinPathOfHost(Tmp.path());
    // Backslashes, and components found without regard to letter case.
    EXPECT_EQ(HostPath(Win + "\\mods\\BF2\\demos\\intro\\TAKE1.bf2demo"),
              Tmp.path() + "/Mods/bf2/Demos/Intro/take1.BF2DEMO");
    // A missing component keeps what was asked for, and so does what follows.
    EXPECT_EQ(HostPath(Win + "\\mods\\new\\x.con"), Tmp.path() + "/Mods/new/x.con");
    // A trailing backslash survives as a trailing slash.
    EXPECT_EQ(HostPath(Win + "\\mods\\"), Tmp.path() + "/Mods/");
    // A plain host path passes through.
    EXPECT_EQ(HostPath(Tmp.path() + "/Mods"), Tmp.path() + "/Mods");
    EXPECT_TRUE(FileExists(Win + "\\MODS\\bf2\\demos\\INTRO\\take1.bf2demo"));
    EXPECT_FALSE(FileExists(Win + "\\mods\\bf2"));
    EXPECT_TRUE(DirectoryExists(Win + "\\mods\\bf2\\"));
}

TEST(FileSystem, DriveLettersResolveThroughTheWinePrefix) {
    const QString Prefix = WinePrefix();
    QDir(Prefix).mkpath("drive_c/Program Files/EA Games/Battlefield 2");
    Touch(Prefix + "/drive_c/Program Files/EA Games/Battlefield 2/BF2.exe");
    // Without a dosdevices link, C: is the prefix's drive_c and Z: the root.
    EXPECT_TRUE(FileExists("C:\\Program Files\\EA Games\\Battlefield 2\\bf2.exe"));
    EXPECT_EQ(HostPath("Z:\\tmp"), "/tmp");

    QTemporaryDir Elsewhere;
    QDir(Prefix).mkpath("dosdevices");
    ASSERT_TRUE(QFile::link(Elsewhere.path(), Prefix + "/dosdevices/d:"));
    Touch(Elsewhere.path() + "/game.txt");
    EXPECT_TRUE(FileExists("D:\\GAME.TXT"));
    QFile::remove(Prefix + "/dosdevices/d:");
}

TEST(FileSystem, MasksMatchLikeWindows) {
    struct {
        const char* Name;
        const char* Mask;
        bool Match;
    } Cases[] = {
        {"take1.bf2demo", "*.bf2demo", true},
        {"take1.BF2DEMO", "*.bf2demo", true},
        {"take1.bf2demo.bak", "*.bf2demo", false},
        {"noext", "*.*", true},
        {".", "*.*", true},
        {"English.lang", "*.lang", true},
        {"a.wav", "?.wav", true},
        {"ab.wav", "?.wav", false},
        {"x", "*", true},
        {"abc", "a*c*", true},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(MatchesMask(C.Name, C.Mask), C.Match) << C.Name << " ~ " << C.Mask;
}

TEST(FileSystem, FindFilesListsFoldersAndFilesInDirectoryOrder) {
    QTemporaryDir Tmp;
    QDir(Tmp.path()).mkpath("clip.bf2demo"); // a folder matching the mask is listed too
    Touch(Tmp.path() + "/a.bf2demo");
    Touch(Tmp.path() + "/B.BF2DEMO");
    Touch(Tmp.path() + "/c.bf2cam");
    const QString Win = WinPathOfHost(Tmp.path());
    QStringList Found = Names(FindFiles(Win + "\\*.bf2demo"));
    Found.sort();
    EXPECT_EQ(Found, QStringList({"B.BF2DEMO", "a.bf2demo", "clip.bf2demo"}));
    for (const auto& R : FindFiles(Win + "\\*.bf2demo"))
        EXPECT_EQ(R.IsDir, R.Name == "clip.bf2demo");
    // "*.*" lists "." and ".." as Windows does outside a drive's root.
    EXPECT_TRUE(Names(FindFiles(Win + "\\*.*")).contains(".."));
    EXPECT_TRUE(FindFiles(Win + "\\missing\\*.*").isEmpty());
}

TEST(FileSystem, LinesAndFileErrors) {
    QTemporaryDir Tmp;
    const QString Win = WinPathOfHost(Tmp.path());
    Touch(Tmp.path() + "/mixed.txt", "one\r\ntwo\nthree\rfour\r\n");
    EXPECT_EQ(LoadLines(Win + "\\mixed.txt"), QStringList({"one", "two", "three", "four"}));
    // Windows-1252 text that is not UTF-8 reads through the ANSI code page.
    Touch(Tmp.path() + "/ansi.txt", "caf\xe9 \xbb");
    EXPECT_EQ(LoadLines(Win + "\\ansi.txt"), QStringList({QString::fromUtf8("café »")}));

    SaveLines(Win + "\\out.txt", {"a", "", "b "});
    QFile Out(Tmp.path() + "/out.txt");
    ASSERT_TRUE(Out.open(QIODevice::ReadOnly));
    EXPECT_EQ(Out.readAll(), QByteArray("a\r\n\r\nb \r\n"));

    try {
        LoadLines(Win + "\\nothere.txt");
        FAIL();
    } catch (const EFOpenError& E) {
        EXPECT_TRUE(E.Message().startsWith("Cannot open file \"" + Win + "\\nothere.txt\". "));
    }
    EXPECT_THROW(WriteFile(Win + "\\no\\such\\folder.txt", "x"), EFCreateError);
}

TEST(FileSystem, PathPartsAndUnsafeNames) {
    EXPECT_EQ(ExtractFileName("mods\\bf2\\Demos\\take1.bf2demo"), "take1.bf2demo");
    EXPECT_EQ(ExtractFileName("C:BF2.exe"), "BF2.exe");
    EXPECT_EQ(ExtractFilePath("mods\\bf2\\x.con"), "mods\\bf2\\");
    EXPECT_EQ(ExtractFileExt("MyCam.BF2CAM"), ".BF2CAM");
    EXPECT_EQ(ExtractFileExt("dir.v2\\name"), "");
    EXPECT_EQ(ChangeFileExt("a.b\\c", ".wav"), "a.b\\c.wav");
    for (const char* Bad : {"", ".", "..", "a\\b", "a/b", "c:x", "a\nb", "a\rb", "\x7f", "\t"})
        EXPECT_TRUE(IsUnsafeName(Bad)) << Bad;
    EXPECT_FALSE(IsUnsafeName("take1.bf2demo"));
    EXPECT_FALSE(IsUnsafeName("..hidden"));
}

TEST(FileSystem, CreateDirMakesTheLastLevelOnly) {
    QTemporaryDir Tmp;
    const QString Win = WinPathOfHost(Tmp.path());
    EXPECT_FALSE(CreateDir(Win + "\\a\\b\\"));
    EXPECT_TRUE(CreateDir(Win + "\\a\\"));
    EXPECT_TRUE(CreateDir(Win + "\\A\\b\\")); // the parent is found in any letter case
    EXPECT_TRUE(QDir(Tmp.path() + "/a/b").exists());
}
