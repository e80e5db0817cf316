#include "common/ProfileFile.h"
#include "common/Errors.h"
#include "support/TestFiles.h"
#include "support/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include <unistd.h>

namespace {

// The Windows form of a host path, through drive Z:.
QString ZPath(const QString& HostPath) {
    return QStringLiteral("Z:") + QString(HostPath).replace(u'/', u'\\');
}

class ProfileFileTest : public ::testing::Test {
protected:
    QTemporaryDir FDir;
    QString Path(const QString& Name = QStringLiteral("Settings.ini")) const {
        return FDir.filePath(Name);
    }
    TProfileFile Make(const QByteArray& Bytes) {
        EXPECT_TRUE(WriteHostFile(Path(), Bytes));
        return TProfileFile(Path());
    }
};

// --- reading ---------------------------------------------------------------

struct TReadCase {
    QByteArray File;
    const char* Section;
    const char* Key;
    const char16_t* Expected; // "<default>" when the key is not there
};

const TReadCase ReadCases[] = {
    {"[SETTINGS]\r\nbf2dir=C:\\BF2\\\r\n", "SETTINGS", "bf2dir", u"C:\\BF2\\"},
    // names compare without regard to case, blanks around them are dropped
    {"[Settings]\r\nBF2Dir=x\r\n", "settings", "bf2dir", u"x"},
    {"[ MISC ]\r\n  language  = English\r\n", "misc", "LANGUAGE", u"English"},
    {"\t[MISC]  \r\n\tlanguage=English\r\n", "MISC", "language", u"English"},
    {"[MISC]\r\nlanguage=English\r\n", " MISC ", " language ", u"English"},
    // the value: after the first "=", blanks around it and one pair of quotes dropped
    {"[a]\r\nk=  two words \t\r\n", "a", "k", u"two words"},
    {"[a]\r\nk=x=y\r\n", "a", "k", u"x=y"},
    {"[a]\r\nk=\"quoted \"\r\n", "a", "k", u"quoted "},
    {"[a]\r\nk= 'single' \r\n", "a", "k", u"single"},
    {"[a]\r\nk=\"\"\r\n", "a", "k", u""},
    {"[a]\r\nk=\"\r\n", "a", "k", u"\""},
    {"[a]\r\nk=\"mixed'\r\n", "a", "k", u"\"mixed'"},
    {"[a]\r\nk=\"\"x\"\"\r\n", "a", "k", u"\"x\""},
    {"[a]\r\nk=say \"hi\"\r\n", "a", "k", u"say \"hi\""},
    {"[a]\r\nk=\r\n", "a", "k", u""},
    {"[a]\r\nk\r\n", "a", "k", u"<default>"}, // no "=": not a key
    // the first of two equal keys counts
    {"[a]\r\nk=1\r\nK=2\r\n", "a", "k", u"1"},
    // missing section or key
    {"[a]\r\nk=1\r\n", "b", "k", u"<default>"},
    {"[a]\r\nk=1\r\n", "a", "j", u"<default>"},
    {"[WINDOWS]\r\ntop=5\r\n", "WINDOW", "top", u"<default>"},
    {"k=1\r\n[a]\r\n", "a", "k", u"<default>"}, // keys before any section belong to none
    {"", "a", "k", u"<default>"},
    // comments and comment-like lines
    {"[a]\r\n;k=1\r\nk=2\r\n", "a", "k", u"2"},
    {"[a]\r\n  ;k=1\r\n", "a", ";k", u"<default>"},
    {"[a]\r\n// a comment line\r\nk=2\r\n", "a", "k", u"2"},
    {"[a]\r\n//k=1\r\n", "a", "//k", u"1"}, // as Windows: a key named "//k"
    {"[a]\r\n//k=1\r\n", "a", "k", u"<default>"},
    // line ends: LF only, none at the end, CR of CR LF never part of the value
    {"[a]\nk=LF\n", "a", "k", u"LF"},
    {"[a]\r\nk=last", "a", "k", u"last"},
    // section headers
    {"[a]]\r\nk=1\r\n", "a]", "k", u"1"},
    {"[a] trailing\r\nk=1\r\n", "a", "k", u"1"},
    {"[a\r\nk=1\r\n", "a", "k", u"<default>"},
    // a section that appears twice is one section, the first key wins
    {"[a]\r\nx=1\r\n[b]\r\ny=2\r\n[A]\r\nz=3\r\nx=4\r\n", "a", "z", u"3"},
    {"[a]\r\nx=1\r\n[b]\r\ny=2\r\n[A]\r\nz=3\r\nx=4\r\n", "a", "x", u"1"},
    // text: UTF-8 when valid, else Windows-1252
    {"[Strings]\r\nx=\xbb \xa7 \x80\r\n", "Strings", "x", u"\u00bb \u00a7 \u20ac"},
    {"[Strings]\r\nx=\xc2\xbb \xe2\x82\xac\r\n", "Strings", "x", u"\u00bb \u20ac"},
    {"\xef\xbb\xbf[Strings]\r\nx=1\r\n", "strings", "x", u"1"},
    {"[Caf\xe9]\r\nx=1\r\n", "CAF\xc3\x89", "x", u"1"},
};

class ProfileReadTest : public ProfileFileTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(ProfileReadTest, ReadsAsProfileFunctionsDo) {
    const TReadCase& C = ReadCases[GetParam()];
    const TProfileFile Ini = Make(C.File);
    EXPECT_EQ(Ini.ReadString(C.Section, C.Key, "<default>"), QString::fromUtf16(C.Expected))
        << C.File.toStdString() << " [" << C.Section << "] " << C.Key;
}

INSTANTIATE_TEST_SUITE_P(Profile, ProfileReadTest,
                         ::testing::Range<size_t>(0, std::size(ReadCases)));

TEST_F(ProfileFileTest, MissingFileReadsAsEmptyAndOpeningCreatesNothing) {
    const TProfileFile Ini(Path());
    EXPECT_EQ(Ini.FileName(), Path());
    EXPECT_EQ(Ini.ReadString("a", "k", "def"), "def");
    EXPECT_EQ(Ini.ReadInteger("a", "k", 7), 7);
    EXPECT_FALSE(Ini.SectionExists("a"));
    EXPECT_FALSE(Ini.ValueExists("a", "k"));
    EXPECT_TRUE(Ini.ReadSections().isEmpty());
    EXPECT_TRUE(Ini.ReadSection("a").isEmpty());
    EXPECT_FALSE(QFile::exists(Path()));
}

TEST_F(ProfileFileTest, ValueIsCutAt2047Characters) {
    const QByteArray Long(3000, 'v');
    const TProfileFile Ini = Make("[a]\r\nk=" + Long + "\r\nq=\"" + Long + "\"\r\n");
    EXPECT_EQ(Ini.ReadString("a", "k", ""), QString(2047, u'v'));
    // the quotes go first, the cut comes after
    EXPECT_EQ(Ini.ReadString("a", "q", ""), QString(2047, u'v'));
    ASSERT_TRUE(WriteHostFile(Path(), "[a]\r\nk=" + QByteArray(2047, 'w') + "\r\n"));
    EXPECT_EQ(Ini.ReadString("a", "k", ""), QString(2047, u'w'));
}

TEST_F(ProfileFileTest, ReadIntegerUsesWholeNumberRule) {
    const TProfileFile Ini = Make("[WINDOW]\r\ntop= 120 \r\nleft=-5\r\nhex=0x10\r\ndollar=$1F\r\n"
                                  "bad=12px\r\nempty=\r\nbig=$FFFFFFFF\r\n");
    EXPECT_EQ(Ini.ReadInteger("window", "top", 0), 120);
    EXPECT_EQ(Ini.ReadInteger("WINDOW", "left", 0), -5);
    EXPECT_EQ(Ini.ReadInteger("WINDOW", "hex", 0), 16);
    EXPECT_EQ(Ini.ReadInteger("WINDOW", "dollar", 0), 31);
    EXPECT_EQ(Ini.ReadInteger("WINDOW", "bad", -1), -1);
    EXPECT_EQ(Ini.ReadInteger("WINDOW", "empty", -1), -1);
    EXPECT_EQ(Ini.ReadInteger("WINDOW", "big", -1), -1);
    EXPECT_EQ(Ini.ReadInteger("WINDOW", "none", 99), 99);
}

TEST_F(ProfileFileTest, SectionCountsOnlyWithAKey) {
    const TProfileFile Ini = Make("[SETTINGS]\r\n; only a comment\r\n// and this\r\n\r\n"
                                  "[MISC]\r\nlanguage=\r\n[Empty]\r\n");
    EXPECT_FALSE(Ini.SectionExists("SETTINGS"));
    EXPECT_FALSE(Ini.SectionExists("Empty"));
    EXPECT_FALSE(Ini.SectionExists("Nowhere"));
    EXPECT_TRUE(Ini.SectionExists("misc"));
    EXPECT_TRUE(Ini.ValueExists("MISC", "LANGUAGE")); // an empty value is still a key
    EXPECT_FALSE(Ini.ValueExists("MISC", "preset"));
    EXPECT_FALSE(Ini.ValueExists("SETTINGS", "only a comment"));
}

TEST_F(ProfileFileTest, SectionsInFileOrderEachOnceEmptyOnesIncluded) {
    // Every header is listed, as the Windows section-name list does, so an
    // empty preset still shows; a name that appears twice is listed once.
    const TProfileFile Ini = Make("[Mini 640x400]\r\nwidth=640\r\n[Big 1024x768]\r\nwidth=1024\r\n"
                                  "[Empty]\r\n[mini 640X400]\r\nfov=90\r\n[Alpha]\r\nx=1\r\n");
    EXPECT_EQ(Ini.ReadSections(), (QStringList{"Mini 640x400", "Big 1024x768", "Empty", "Alpha"}));
    EXPECT_EQ(Ini.ReadSection("MINI 640X400"), (QStringList{"width", "fov"}));
}

TEST_F(ProfileFileTest, ManySectionsEachKeepTheirKeys) {
    QByteArray Bytes;
    QStringList Names;
    for (int I = 0; I < 3000; ++I) {
        Bytes +=
            "[Preset " + QByteArray::number(I) + "]\r\nwidth=" + QByteArray::number(I) + "\r\n";
        Names.append("Preset " + QString::number(I));
    }
    Bytes += "[preset 7]\r\nfov=90\r\n[Empty]\r\n";
    Names.append("Empty");
    const TProfileFile Ini = Make(Bytes);
    EXPECT_EQ(Ini.ReadSections(), Names);
    for (int I : {0, 7, 1234, 2999})
        EXPECT_EQ(Ini.ReadInteger("PRESET " + QString::number(I), "Width", -1), I);
    EXPECT_EQ(Ini.ReadSection("Preset 7"), (QStringList{"width", "fov"}));
    EXPECT_FALSE(Ini.SectionExists("Empty"));
    EXPECT_FALSE(Ini.ValueExists("Preset 8", "fov"));
}

TEST_F(ProfileFileTest, KeysInFileOrder) {
    const TProfileFile Ini =
        Make("[Localhost]\r\nhost=localhost\r\n;c=1\r\nport=6711\r\nnoequals\r\n"
             "pass=1\r\nPORT=2\r\nreadchat=True\r\nprivs=\r\n");
    EXPECT_EQ(Ini.ReadSection("localhost"),
              (QStringList{"host", "port", "pass", "readchat", "privs"}));
}

TEST_F(ProfileFileTest, EveryReadSeesTheFileAsItIsNow) {
    const TProfileFile Ini = Make("[a]\r\nk=1\r\n");
    EXPECT_EQ(Ini.ReadString("a", "k", ""), "1");
    ASSERT_TRUE(WriteHostFile(Path(), "[a]\r\nk=2\r\n[b]\r\nx=1\r\n"));
    EXPECT_EQ(Ini.ReadString("a", "k", ""), "2");
    EXPECT_TRUE(Ini.SectionExists("b"));
    QFile::remove(Path());
    EXPECT_EQ(Ini.ReadString("a", "k", "gone"), "gone");
}

TEST_F(ProfileFileTest, EditsOfTheSameSizeAreSeenAtOnce) {
    // In place, and by another object's write: neither changes the size, and
    // both come within one time-stamp step of the read before.
    const TProfileFile Ini = Make("[a]\r\nk=1\r\n");
    EXPECT_EQ(Ini.ReadString("a", "k", ""), "1");
    ASSERT_TRUE(WriteHostFile(Path(), "[a]\r\nk=2\r\n"));
    EXPECT_EQ(Ini.ReadString("a", "k", ""), "2");
    TProfileFile Other(Path());
    Other.WriteString("a", "k", "3");
    EXPECT_EQ(Ini.ReadString("a", "k", ""), "3");
}

TEST_F(ProfileFileTest, WriteKeepsWhatWasEditedSinceTheLastRead) {
    TProfileFile Ini = Make("[a]\r\nk=1\r\n");
    EXPECT_EQ(Ini.ReadString("a", "k", ""), "1");
    ASSERT_TRUE(WriteHostFile(Path(), "[a]\r\nk=1\r\nfromOutside=yes\r\n"));
    Ini.WriteString("a", "k", "2");
    EXPECT_EQ(ReadHostFile(Path()), QByteArray("[a]\r\nk=2\r\nfromOutside=yes\r\n"));
}

// --- writing ---------------------------------------------------------------

TEST_F(ProfileFileTest, WriteCreatesFileSectionAndKey) {
    TProfileFile Ini(Path());
    Ini.WriteString("SETTINGS", "bf2dir", "C:\\BF2\\");
    EXPECT_EQ(ReadHostFile(Path()), QByteArray("[SETTINGS]\r\nbf2dir=C:\\BF2\\\r\n"));
    Ini.WriteString("MISC", "language", "English");
    Ini.WriteString("SETTINGS", "defaultmod", "bf2");
    Ini.WriteInteger("WINDOW", "top", -12);
    EXPECT_EQ(ReadHostFile(Path()),
              QByteArray("[SETTINGS]\r\nbf2dir=C:\\BF2\\\r\ndefaultmod=bf2\r\n"
                         "[MISC]\r\nlanguage=English\r\n"
                         "[WINDOW]\r\ntop=-12\r\n"));
    EXPECT_EQ(Ini.ReadInteger("window", "TOP", 0), -12);
}

// Writes into a file as it stands (none: no file), and the file's bytes after
// them.
struct TWriteCase {
    const char* Name;
    std::optional<QByteArray> Before;
    QList<QStringList> Writes; // section, key, value
    QByteArray After;
};

const TWriteCase WriteCases[] = {
    {"a value is replaced, every other byte kept",
     "; my settings\r\n"
     "[SETTINGS]\r\n"
     "  BF2Dir = C:\\Old\\  \r\n"
     "odd line without equals\r\n"
     "\r\n"
     "[MISC]\r\n"
     "language=English\r\n"
     "language=Second\r\n",
     {{"settings", "bf2dir", "D:\\Games\\BF2\\"}, {"misc", "LANGUAGE", "Swedish"}},
     "; my settings\r\n"
     "[SETTINGS]\r\n"
     "  BF2Dir =D:\\Games\\BF2\\\r\n"
     "odd line without equals\r\n"
     "\r\n"
     "[MISC]\r\n"
     "language=Swedish\r\n"
     "language=Second\r\n"},
    {"a new key goes to the end of its section, before blank lines",
     "[A]\r\nx=1\r\n; note\r\n\r\n\r\n[B]\r\ny=2\r\n[a]\r\nz=3\r\n",
     {{"a", "w", "4"}, {"b", "v", "5"}},
     "[A]\r\nx=1\r\n; note\r\nw=4\r\n\r\n\r\n[B]\r\ny=2\r\nv=5\r\n[a]\r\nz=3\r\n"},
    {"a key of the second header of a section is replaced there",
     "[A]\r\nx=1\r\n[B]\r\ny=2\r\n[a]\r\nz=3\r\n",
     {{"A", "Z", "30"}},
     "[A]\r\nx=1\r\n[B]\r\ny=2\r\n[a]\r\nz=30\r\n"},
    {"a new key in a section with only its header",
     "[Empty]\r\n[Next]\r\nk=1\r\n",
     {{"EMPTY", "a", "1"}},
     "[Empty]\r\na=1\r\n[Next]\r\nk=1\r\n"},
    {"a new section is added at the end",
     "[Mini 640x400]\r\nwidth=640\r\n\r\n",
     {{"My preset", "width", "1280"}, {"My preset", "height", "720"}},
     "[Mini 640x400]\r\nwidth=640\r\n\r\n[My preset]\r\nwidth=1280\r\nheight=720\r\n"},
    {"the same section in another case is not added again",
     "[Default 800x600]\r\nwidth=800\r\nheight=600\r\nextra=1\r\n",
     {{"default 800x600", "WIDTH", "1"}, {"default 800x600", "fov", "90"}},
     "[Default 800x600]\r\nwidth=1\r\nheight=600\r\nextra=1\r\nfov=90\r\n"},
    {"a new key after a last line without a line end",
     "[a]\r\nk=1",
     {{"a", "j", "2"}, {"a", "j", "3"}},
     "[a]\r\nk=1\r\nj=3\r\n"},
    {"a new section after a last line without a line end",
     "[a]\r\nk=1",
     {{"b", "x", "y"}},
     "[a]\r\nk=1\r\n[b]\r\nx=y\r\n"},
    {"a last line without a line end replaced", "[a]\r\nk=1", {{"a", "k", "2"}}, "[a]\r\nk=2"},
    {"a file of LF lines stays so",
     "[a]\nk=1\n",
     {{"a", "j", "2"}, {"b", "x", "3"}},
     "[a]\nk=1\nj=2\n[b]\nx=3\n"},
    {"values are written as given",
     std::nullopt,
     {{"a", "k", "  \"spaced\"  "}, {"a", "e", ""}},
     "[a]\r\nk=  \"spaced\"  \r\ne=\r\n"},
    {"line breaks in a value cannot plant lines",
     std::nullopt,
     {{"a", "k", "x\r\n[evil]\r\ninjected=1"}},
     "[a]\r\nk=x  [evil]  injected=1\r\n"},
    {"code zero ends a value",
     std::nullopt,
     {{"a", "cut", QString::fromUtf16(u"before\0after", 12)}},
     "[a]\r\ncut=before\r\n"},
    {"UTF-8 is written and the byte-order mark kept",
     "\xef\xbb\xbf[a]\r\nk=1\r\n",
     {{"a", "name", QString::fromUtf16(u"\u00a7\u20ac")}},
     "\xef\xbb\xbf[a]\r\nk=1\r\nname=\xc2\xa7\xe2\x82\xac\r\n"},
    {"a Windows-1252 file keeps its bytes for plain text",
     "[Strings]\r\nquote=\xbb\xa7\r\n",
     {{"Strings", "plain", "ascii"}},
     "[Strings]\r\nquote=\xbb\xa7\r\nplain=ascii\r\n"},
    // Mixing UTF-8 into a Windows-1252 file would garble every line at the
    // next read; the file is converted instead.
    {"a Windows-1252 file getting other text becomes UTF-8",
     "[Strings]\r\nquote=\xbb\xa7\r\n",
     {{"Strings", "name", QString::fromUtf16(u"J\u00f6rg \u0416")}},
     "[Strings]\r\nquote=\xc2\xbb\xc2\xa7\r\nname=J\xc3\xb6rg \xd0\x96\r\n"},
};

TEST_F(ProfileFileTest, WritesChangeOnlyWhatTheyWrite) {
    for (const TWriteCase& C : WriteCases) {
        SCOPED_TRACE(C.Name);
        QFile::remove(Path());
        if (C.Before) {
            ASSERT_TRUE(WriteHostFile(Path(), *C.Before));
        }
        TProfileFile Ini(Path());
        for (const QStringList& W : C.Writes)
            Ini.WriteString(W[0], W[1], W[2]);
        EXPECT_EQ(ReadHostFile(Path()), C.After);
    }
}

TEST_F(ProfileFileTest, WriteNeverChangesTheTextOfOtherKeys) {
    // The file reads as Windows-1252 for its byte E9 alone; once a write
    // replaces that byte, the UTF-8-looking bytes of another key must still
    // read as they did, by this object and by a fresh one.
    TProfileFile Ini = Make("[a]\r\nk=\xe9\r\nname=caf\xc3\xa9\r\n");
    const QString Name = QString::fromUtf16(u"caf\u00c3\u00a9");
    EXPECT_EQ(Ini.ReadString("a", "name", ""), Name);
    Ini.WriteString("a", "k", "plain");
    EXPECT_EQ(Ini.ReadString("a", "name", ""), Name);
    EXPECT_EQ(TProfileFile(Path()).ReadString("a", "name", ""), Name);
    EXPECT_EQ(ReadHostFile(Path()), QByteArray("[a]\r\nk=plain\r\nname=caf\xc3\x83\xc2\xa9\r\n"));
    // From here on the file is UTF-8 and stays so.
    Ini.WriteString("a", "k", QString::fromUtf16(u"\u00e9"));
    EXPECT_EQ(TProfileFile(Path()).ReadString("a", "name", ""), Name);
    EXPECT_EQ(TProfileFile(Path()).ReadString("a", "k", ""), QString::fromUtf16(u"\u00e9"));
}

TEST_F(ProfileFileTest, WindowsFormPathWorksAndNamesTheFile) {
    ASSERT_TRUE(QDir(FDir.path()).mkdir("Program"));
    const QString Win = ZPath(FDir.path()) + "\\PROGRAM\\Settings.ini";
    TProfileFile Ini(Win);
    EXPECT_EQ(Ini.FileName(), Win);
    Ini.WriteString("MISC", "language", "English");
    EXPECT_EQ(ReadHostFile(FDir.filePath("Program/Settings.ini")),
              QByteArray("[MISC]\r\nlanguage=English\r\n"));
    EXPECT_EQ(TProfileFile(ZPath(FDir.path()) + "\\program\\SETTINGS.INI")
                  .ReadString("misc", "language", ""),
              "English");
}

TEST_F(ProfileFileTest, WriteKeepsFilePermissions) {
    TProfileFile Ini = Make("[a]\r\nk=1\r\n");
    const auto Perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(Path(), Perms));
    Ini.WriteString("a", "k", "2");
    EXPECT_EQ(QFile::permissions(Path()) & 0xF0FF, Perms);
}

// A private file, new or there already (mode 0644, more bytes than the write
// leaves), is its owner's alone after a write; a usual one keeps its mode.
TEST_F(ProfileFileTest, PrivateFilesAreWrittenForTheirOwnerAlone) {
    using QvrFs::TFileAccess;
    const auto OwnerOnly = QFile::ReadOwner | QFile::WriteOwner;
    const auto Readable = OwnerOnly | QFile::ReadGroup | QFile::ReadOther;
    const std::function<void(const QString&, TFileAccess)> Writers[] = {
        [](const QString& Path, TFileAccess Access) {
            TProfileFile(Path, Access).WriteString("a", "k", "secret");
        },
        [](const QString& Path, TFileAccess Access) {
            QvrFs::WriteFile(Path, "[a]\r\nk=secret\r\n", Access);
        },
    };
    const struct {
        TFileAccess Access;
        bool There;
        QFile::Permissions Expected;
    } Cases[] = {
        {TFileAccess::Private, false, OwnerOnly},
        {TFileAccess::Private, true, OwnerOnly},
        {TFileAccess::Usual, true, Readable},
    };
    for (const auto& Write : Writers)
        for (const auto& C : Cases) {
            SCOPED_TRACE(testing::Message()
                         << "writer " << &Write - Writers << ", case " << &C - Cases);
            QFile::remove(Path());
            if (C.There) {
                ASSERT_TRUE(WriteHostFile(Path(), "[a]\r\nk=an older secret\r\n"));
                ASSERT_TRUE(QFile::setPermissions(Path(), Readable));
            }
            Write(Path(), C.Access);
            EXPECT_EQ(QFile::permissions(Path()) & 0xF0FF, C.Expected);
            EXPECT_EQ(ReadHostFile(Path()), QByteArray("[a]\r\nk=secret\r\n"));
        }
}

TEST_F(ProfileFileTest, WriteThroughSymlinkUpdatesItsTarget) {
    ASSERT_TRUE(WriteHostFile(Path("Real.ini"), "[a]\r\nk=1\r\n"));
    ASSERT_TRUE(QFile::link(Path("Real.ini"), Path()));
    TProfileFile Ini(Path());
    Ini.WriteString("a", "k", "2");
    EXPECT_TRUE(QFileInfo(Path()).isSymLink());
    EXPECT_EQ(ReadHostFile(Path("Real.ini")), QByteArray("[a]\r\nk=2\r\n"));
}

// --- write failures ----------------------------------------------------------

// The text of the write error, or "no error".
QString WriteError(TProfileFile& Ini) {
    try {
        Ini.WriteString("SETTINGS", "bf2dir", "x");
        return QStringLiteral("no error");
    } catch (const EIniFileException& E) {
        return E.Message();
    }
}

TEST_F(ProfileFileTest, MissingFolderFailsWithFileName) {
    const QString Win = ZPath(FDir.path()) + "\\NoSuchFolder\\Settings.ini";
    TProfileFile Ini(Win);
    EXPECT_EQ(WriteError(Ini), "Unable to write to " + Ini.FileName());
    EXPECT_FALSE(QFileInfo::exists(FDir.filePath("NoSuchFolder")));
}

TEST_F(ProfileFileTest, FolderInPlaceOfTheFileFails) {
    ASSERT_TRUE(QDir(FDir.path()).mkdir("Settings.ini"));
    TProfileFile Ini(Path());
    EXPECT_EQ(WriteError(Ini), "Unable to write to " + Ini.FileName());
    EXPECT_TRUE(QFileInfo(Path()).isDir());
}

// Permissions bind only an unprivileged user: these run as one, also in CI.
class ProfilePermissionTest : public ProfileFileTest {
protected:
    void TearDown() override {
        QFile::setPermissions(FDir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

TEST_F(ProfilePermissionTest, UnwritableFolderFailsAndLeavesFileAsItWas) {
    const QByteArray Before = "[SETTINGS]\r\nbf2dir=old\r\n";
    ASSERT_TRUE(WriteHostFile(Path(), Before));
    QFile::setPermissions(Path(), QFile::ReadOwner);
    QFile::setPermissions(FDir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const QString Errors = RunUnprivileged(
        [this] {
            TProfileFile Ini(Path());
            TProfileFile Fresh(Path("New.ini"));
            return WriteError(Ini) + u'|' + WriteError(Fresh);
        },
        {FDir.path(), Path()});
    EXPECT_EQ(Errors, "Unable to write to " + Path() + "|Unable to write to " + Path("New.ini"));
    EXPECT_EQ(ReadHostFile(Path()), Before);
    EXPECT_FALSE(QFile::exists(Path("New.ini")));
}

TEST_F(ProfilePermissionTest, WritableFileInReadOnlyFolderIsWrittenInPlace) {
    ASSERT_TRUE(WriteHostFile(Path(), "[SETTINGS]\r\nbf2dir=old\r\n"));
    QFile::setPermissions(FDir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const QString Error = RunUnprivileged(
        [this] {
            TProfileFile Ini(Path());
            return WriteError(Ini);
        },
        {FDir.path(), Path()});
    EXPECT_EQ(Error, "no error");
    EXPECT_EQ(ReadHostFile(Path()), QByteArray("[SETTINGS]\r\nbf2dir=x\r\n"));
}

// Another user's file that this one may write (through its group), in a
// folder it may not: it cannot be narrowed, so no secret goes in and it is
// left whole, also where the new content would have to be written in place.
TEST_F(ProfilePermissionTest, APrivateFileThatCannotBeNarrowedIsLeftWhole) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give the file to another user";
    using QvrFs::TFileAccess;
    const QByteArray Before = "[a]\r\nk=kept\r\n";
    const auto Shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup;
    ASSERT_TRUE(WriteHostFile(Path(), Before));
    ASSERT_EQ(::chown(QFile::encodeName(Path()).constData(), 0, CNobody), 0);
    ASSERT_TRUE(QFile::setPermissions(Path(), Shared));
    QFile::setPermissions(FDir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const QString Outcomes = RunUnprivileged(
        [this] {
            const std::function<void()> Writers[] = {
                [this] { TProfileFile(Path(), TFileAccess::Private).WriteString("a", "k", "x"); },
                [this] { QvrFs::WriteFile(Path(), "[a]\r\nk=x\r\n", TFileAccess::Private); },
            };
            QStringList Outcome;
            for (const auto& Write : Writers) {
                try {
                    Write();
                    Outcome << "written";
                } catch (const EError&) {
                    Outcome << "refused";
                }
            }
            return Outcome.join(u' ');
        },
        {FDir.path()});
    EXPECT_EQ(Outcomes, "refused refused");
    EXPECT_EQ(ReadHostFile(Path()), Before);
    EXPECT_EQ(QFile::permissions(Path()) & 0xF0FF, Shared);
}

TEST_F(ProfilePermissionTest, UnreadableFileIsNotReplaced) {
    const QByteArray Before = "[SETTINGS]\r\nbf2dir=old\r\n[MISC]\r\nlanguage=English\r\n";
    ASSERT_TRUE(WriteHostFile(Path(), Before));
    QFile::setPermissions(Path(), QFile::WriteOwner);
    const QString Seen = RunUnprivileged(
        [this] {
            TProfileFile Ini(Path());
            return Ini.ReadString("SETTINGS", "bf2dir", "def") + u'|' + WriteError(Ini);
        },
        {FDir.path(), Path()});
    EXPECT_EQ(Seen, "def|Unable to write to " + Path());
    QFile::setPermissions(Path(), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(ReadHostFile(Path()), Before);
}

} // namespace
