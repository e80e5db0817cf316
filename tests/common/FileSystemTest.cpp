// The Windows-form path layer against real folders.
#include "common/FileSystem.h"
#include "common/Errors.h"
#include "support/FolderTree.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStorageInfo>
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

TEST(FileSystem, PathParts) {
    EXPECT_EQ(ExtractFileName("mods\\bf2\\Demos\\take1.bf2demo"), "take1.bf2demo");
    EXPECT_EQ(ExtractFileName("C:BF2.exe"), "BF2.exe");
    EXPECT_EQ(ExtractFilePath("mods\\bf2\\x.con"), "mods\\bf2\\");
    EXPECT_EQ(ExtractFileExt("MyCam.BF2CAM"), ".BF2CAM");
    EXPECT_EQ(ExtractFileExt("dir.v2\\name"), "");
    EXPECT_EQ(ChangeFileExt("a.b\\c", ".wav"), "a.b\\c.wav");
}

// Names from outside input: each unsafe one would leave its folder or name
// the folder itself once put after the folder's path.
TEST(FileSystem, UnsafeNames) {
    // Windows trims trailing periods and blanks: "..." and ".. " name the
    // folder itself or its parent.
    const QStringList Unsafe = {"",     ".",    "..",    "...",   ".. ",
                                " ",    "a\\b", "..\\x", "a/b",   "c:x",
                                "a\tb", "a\nb", "a\rb",  "a\x7f", QString("x") + QChar(0) + "y"};
    const QStringList Safe = {"take1.bf2demo", "..hidden", "a..b",
                              "My Project ",   "v1.",      "caf\u00e9"};
    for (const QString& Name : Unsafe)
        EXPECT_TRUE(IsUnsafeName(Name)) << Name.toStdString();
    for (const QString& Name : Safe)
        EXPECT_FALSE(IsUnsafeName(Name)) << Name.toStdString();
}

// A typed path below a folder may name subfolders, never leave the folder.
TEST(FileSystem, UnsafeSubPaths) {
    const QStringList Unsafe = {"",    "..\\x", "a\\..\\x", "\\x",          "a\\\\b",
                                "x\\", "C:x",   "a/b",      "Intro\\cam\r", "a\nb\\c"};
    const QStringList Safe = {"cam1", "Intro\\cam1", "my.cams\\take", "a\\b\\c"};
    for (const QString& Path : Unsafe)
        EXPECT_TRUE(IsUnsafeSubPath(Path)) << Path.toStdString();
    for (const QString& Path : Safe)
        EXPECT_FALSE(IsUnsafeSubPath(Path)) << Path.toStdString();
}

TEST(FileSystem, CreateDirMakesTheLastLevelOnly) {
    QTemporaryDir Tmp;
    const QString Win = WinPathOfHost(Tmp.path());
    EXPECT_FALSE(CreateDir(Win + "\\a\\b\\"));
    EXPECT_TRUE(CreateDir(Win + "\\a\\"));
    EXPECT_TRUE(CreateDir(Win + "\\A\\b\\")); // the parent is found in any letter case
    EXPECT_TRUE(QDir(Tmp.path() + "/a/b").exists());
}

TEST(FileSystem, CopyFileLikeWindows) {
    const QStringList Start = {"src.bf2demo=new", "to/", "to/old.bf2demo=old", "to/sub/"};
    const struct {
        const char* Target; // under "to"
        bool FailIfExists;
        bool Copied;
        QStringList Changes;
    } Cases[] = {
        {"new.bf2demo", true, true, {"to/new.bf2demo=new"}},
        {"OLD.BF2DEMO", true, false, {}}, // it exists in another letter case
        {"Old.Bf2Demo", false, true, {"-to/old.bf2demo=old", "to/old.bf2demo=new"}},
        {"sub", false, false, {}},
        {"none\\x.bf2demo", true, false, {}},
        {"..", false, false, {}},
    };
    for (const auto& C : Cases) {
        QTemporaryDir Tmp;
        ASSERT_TRUE(MakeTree(Tmp.path(), Start));
        // A copy keeps the permission bits and the time besides the data.
        const QString Src = Tmp.path() + "/src.bf2demo";
        QFile::setPermissions(Src, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        const QDateTime Stamp = QDateTime::fromSecsSinceEpoch(1100000000);
        QFile F(Src);
        ASSERT_TRUE(F.open(QIODevice::ReadWrite));
        ASSERT_TRUE(F.setFileTime(Stamp, QFileDevice::FileModificationTime));
        F.close();

        const QString Win = WinPathOfHost(Tmp.path());
        EXPECT_EQ(CopyFile(Win + "\\SRC.bf2demo", Win + "\\to\\" + C.Target, C.FailIfExists),
                  C.Copied)
            << C.Target;
        EXPECT_EQ(FolderTree(Tmp.path()), Changed(Start, C.Changes)) << C.Target;
        if (C.Copied) {
            const QFileInfo Copy(Tmp.path() + "/to/" + QString(C.Target).toLower());
            EXPECT_EQ(Copy.lastModified(), Stamp);
            EXPECT_EQ(Copy.permissions(), QFileInfo(Src).permissions());
        }
    }
    // Nor a folder, a missing file, or a file onto itself (a plain copy would
    // empty it).
    QTemporaryDir Tmp;
    ASSERT_TRUE(MakeTree(Tmp.path(), {"a=a", "f/"}));
    const QString Win = WinPathOfHost(Tmp.path()) + "\\";
    EXPECT_FALSE(CopyFile(Win + "f", Win + "b", false));
    EXPECT_FALSE(CopyFile(Win + "missing", Win + "b", false));
    EXPECT_FALSE(CopyFile(Win + "a", Win + "A", false));
    EXPECT_EQ(FolderTree(Tmp.path()), QStringList({"a=a", "f/"}));
}

TEST(FileSystem, MoveFileNeverReplaces) {
    const QStringList Start = {"Abc/", "Abc/x=x", "Xyz/", "Xyz/a=other", "a=a", "Empty/"};
    const QStringList AbcMoved = {"-Abc/", "-Abc/x=x"};
    const struct {
        const char* Source;
        const char* Target;
        bool Moved;
        QStringList Changes;
    } Cases[] = {
        {"a", "Abc\\a", true, {"-a=a", "Abc/a=a"}},
        {"A", "b", true, {"-a=a", "b=a"}}, // the source is found in any case
        {"a", "A", true, {"-a=a", "A=a"}}, // the case alone
        {"a", "xyz\\A", false, {}},        // taken in another case
        {"a", "a", false, {}},
        {"c", "d", false, {}},
        {"a", "New\\a", false, {}},
        {"a", "..", false, {}},
        {"Abc", "Intro", true, AbcMoved + QStringList{"Intro/", "Intro/x=x"}},
        {"Abc", "ABC", true, AbcMoved + QStringList{"ABC/", "ABC/x=x"}},
        {"Abc", "XYZ", false, {}},
        {"Abc", "Empty", false, {}}, // rename(2) would put it in the empty one's place
        {"Abc", "Abc\\Inner", false, {}},
    };
    for (const auto& C : Cases) {
        QTemporaryDir Tmp;
        ASSERT_TRUE(MakeTree(Tmp.path(), Start));
        const QString Win = WinPathOfHost(Tmp.path()) + "\\";
        EXPECT_EQ(MoveFile(Win + C.Source, Win + C.Target), C.Moved) << C.Source << " " << C.Target;
        EXPECT_EQ(FolderTree(Tmp.path()), Changed(Start, C.Changes)) << C.Source << " " << C.Target;
    }
}

// Another file system (a memory one where there is): a file is copied, then
// removed; a folder stays.
TEST(FileSystem, MoveFileToAnotherFileSystem) {
    QTemporaryDir Other(QStringLiteral("/dev/shm/qvr-XXXXXX"));
    QTemporaryDir Tmp;
    if (!Other.isValid() ||
        QStorageInfo(Other.path()).device() == QStorageInfo(Tmp.path()).device())
        GTEST_SKIP() << "no second file system";
    ASSERT_TRUE(MakeTree(Tmp.path(), {"a.bf2demo=a", "b.bf2demo=b", "Abc/"}));
    ASSERT_TRUE(MakeTree(Other.path(), {"b.bf2demo=other b"}));
    const QString From = WinPathOfHost(Tmp.path()) + "\\";
    const QString To = WinPathOfHost(Other.path()) + "\\";
    EXPECT_TRUE(MoveFile(From + "a.bf2demo", To + "a.bf2demo"));
    EXPECT_FALSE(MoveFile(From + "b.bf2demo", To + "B.BF2DEMO"));
    EXPECT_FALSE(MoveFile(From + "Abc", To + "Abc"));
    EXPECT_EQ(FolderTree(Tmp.path()), QStringList({"Abc/", "b.bf2demo=b"}));
    EXPECT_EQ(FolderTree(Other.path()), QStringList({"a.bf2demo=a", "b.bf2demo=other b"}));
}
