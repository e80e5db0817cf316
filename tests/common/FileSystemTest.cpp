// The Windows-form path layer against real folders.
#include "common/FileSystem.h"
#include "common/Errors.h"
#include "support/FolderTree.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

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
}

// Names from outside input: each unsafe one would leave its folder or name
// the folder itself once put after the folder's path.
TEST(FileSystem, UnsafeNames) {
    const struct {
        QString Name;
        bool Unsafe;
    } Cases[] = {
        {"", true},
        {".", true},
        {"..", true},
        {"...", true}, // Windows trims trailing periods: the folder itself
        {".. ", true}, // and trailing blanks: its parent
        {". .", true},
        {" ", true},
        {"a\\b", true},
        {"..\\Settings", true},
        {"a/b", true},
        {"../x", true},
        {"c:x", true},
        {"a\tb", true},
        {"line\nbreak", true},
        {QString(QChar(1)) + "x", true},
        {QString("x") + QChar(31), true},
        {QString("x") + QChar(0) + "y", true},
        {"take1.bf2demo", false},
        {"..hidden", false},
        {"a..b", false},
        {"My Project ", false},
        {" Intro", false},
        {"v1.", false},
        {"caf\u00e9 \u00bb", false},
        {"a\x7f", false},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(IsUnsafeName(C.Name), C.Unsafe) << C.Name.toStdString();
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
    const QStringList Start = {"src.bf2demo=demo data", "to/", "to/old.bf2demo=old data",
                               "to/sub/"};
    const QStringList Replaced = {"src.bf2demo=demo data", "to/", "to/old.bf2demo=demo data",
                                  "to/sub/"};
    const struct {
        const char* Case;
        const char* Target; // under "to"
        bool FailIfExists;
        bool Copied;
        QStringList After; // empty: as at the start
    } Cases[] = {
        {"a new name",
         "new.bf2demo",
         true,
         true,
         {"src.bf2demo=demo data", "to/", "to/new.bf2demo=demo data", "to/old.bf2demo=old data",
          "to/sub/"}},
        {"an existing name", "old.bf2demo", true, false, {}},
        {"an existing name in another case", "OLD.BF2DEMO", true, false, {}},
        {"replacing", "old.bf2demo", false, true, Replaced},
        {"replacing in another case", "Old.Bf2Demo", false, true, Replaced},
        {"onto a folder", "sub", false, false, {}},
        {"into a missing folder", "none\\x.bf2demo", true, false, {}},
        {"out of its folder", "..", false, false, {}},
    };
    for (const auto& C : Cases) {
        QTemporaryDir Tmp;
        ASSERT_TRUE(MakeTree(Tmp.path(), Start));
        // What a copy keeps besides the data: permission bits and the time.
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
            << C.Case;
        EXPECT_EQ(FolderTree(Tmp.path()), C.After.isEmpty() ? Start : C.After) << C.Case;
        if (C.Copied) {
            const QFileInfo Copy(Tmp.path() + "/to/" + QString(C.Target).toLower());
            EXPECT_EQ(Copy.lastModified(), Stamp) << C.Case;
            EXPECT_EQ(Copy.permissions(), QFileInfo(Src).permissions()) << C.Case;
        }
    }
}

TEST(FileSystem, CopyFileRefusesWhatCannotBeCopied) {
    QTemporaryDir Tmp;
    const QStringList Start = {"a.bf2demo=a", "folder.bf2demo/"};
    ASSERT_TRUE(MakeTree(Tmp.path(), Start));
    const QString Win = WinPathOfHost(Tmp.path());
    EXPECT_FALSE(CopyFile(Win + "\\missing.bf2demo", Win + "\\b.bf2demo", false));
    EXPECT_FALSE(CopyFile(Win + "\\folder.bf2demo", Win + "\\b.bf2demo", false));
    // A file copied onto itself would be emptied by a plain copy.
    EXPECT_FALSE(CopyFile(Win + "\\a.bf2demo", Win + "\\A.BF2DEMO", false));
    EXPECT_EQ(FolderTree(Tmp.path()), Start);
}

TEST(FileSystem, MoveFileNeverReplaces) {
    const QStringList Start = {"Abc/",        "Abc/x.wav=x", "Xyz/", "Xyz/a.bf2demo=other a",
                               "a.bf2demo=a", "b.bf2cam=b"};
    const struct {
        const char* Case;
        const char* Source;
        const char* Target;
        bool Moved;
        QStringList After; // empty: as at the start
    } Cases[] = {
        {"a file into a folder",
         "a.bf2demo",
         "Abc\\a.bf2demo",
         true,
         {"Abc/", "Abc/a.bf2demo=a", "Abc/x.wav=x", "Xyz/", "Xyz/a.bf2demo=other a", "b.bf2cam=b"}},
        {"a file found in another case",
         "A.BF2DEMO",
         "a2.bf2demo",
         true,
         {"Abc/", "Abc/x.wav=x", "Xyz/", "Xyz/a.bf2demo=other a", "a2.bf2demo=a", "b.bf2cam=b"}},
        {"a file, its letter case alone",
         "b.bf2cam",
         "B.bf2cam",
         true,
         {"Abc/", "Abc/x.wav=x", "B.bf2cam=b", "Xyz/", "Xyz/a.bf2demo=other a", "a.bf2demo=a"}},
        {"onto an existing file", "a.bf2demo", "Xyz\\a.bf2demo", false, {}},
        {"onto an existing file in another case", "a.bf2demo", "xyz\\A.bf2demo", false, {}},
        {"onto itself", "a.bf2demo", "a.bf2demo", false, {}},
        {"a missing file", "c.bf2demo", "d.bf2demo", false, {}},
        {"into a missing folder", "a.bf2demo", "New\\a.bf2demo", false, {}},
        {"out of its folder", "a.bf2demo", "..", false, {}},
        {"a folder",
         "Abc",
         "Intro",
         true,
         {"Intro/", "Intro/x.wav=x", "Xyz/", "Xyz/a.bf2demo=other a", "a.bf2demo=a", "b.bf2cam=b"}},
        {"a folder, its letter case alone",
         "Abc",
         "ABC",
         true,
         {"ABC/", "ABC/x.wav=x", "Xyz/", "Xyz/a.bf2demo=other a", "a.bf2demo=a", "b.bf2cam=b"}},
        {"a folder onto another", "Abc", "Xyz", false, {}},
        {"a folder onto another in another case", "Abc", "XYZ", false, {}},
        {"a folder into itself", "Abc", "Abc\\Inner", false, {}},
    };
    for (const auto& C : Cases) {
        QTemporaryDir Tmp;
        ASSERT_TRUE(MakeTree(Tmp.path(), Start));
        const QString Win = WinPathOfHost(Tmp.path()) + "\\";
        EXPECT_EQ(MoveFile(Win + C.Source, Win + C.Target), C.Moved) << C.Case;
        EXPECT_EQ(FolderTree(Tmp.path()), C.After.isEmpty() ? Start : C.After) << C.Case;
    }
    // rename(2) alone would put a folder in the place of an empty one.
    QTemporaryDir Tmp;
    ASSERT_TRUE(MakeTree(Tmp.path(), {"Abc/x.wav=x", "Empty/"}));
    const QString Win = WinPathOfHost(Tmp.path()) + "\\";
    EXPECT_FALSE(MoveFile(Win + "Abc", Win + "Empty"));
    EXPECT_EQ(FolderTree(Tmp.path()), QStringList({"Abc/", "Abc/x.wav=x", "Empty/"}));
}

// Another file system (a memory one where there is): a file is copied, then
// removed; a folder stays.
TEST(FileSystem, MoveFileToAnotherFileSystem) {
    QTemporaryDir Other(QStringLiteral("/dev/shm/qvr-XXXXXX"));
    QTemporaryDir Tmp;
    struct stat A, B;
    if (!Other.isValid() || ::stat(QFile::encodeName(Other.path()).constData(), &A) != 0 ||
        ::stat(QFile::encodeName(Tmp.path()).constData(), &B) != 0 || A.st_dev == B.st_dev)
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
