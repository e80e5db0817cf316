// Registry files in Wine's text format.
#include "common/Registry.h"
#include "common/Errors.h"
#include "common/FileSystem.h"
#include "support/TestFiles.h"
#include "support/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Registry, ReadsTheGameFolderAsA32BitProgramSeesIt) {
    const QString System = QvrFs::WinePrefix() + "/system.reg";
    ASSERT_TRUE(WriteHostFile(
        System, "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
                "[Software\\\\Electronic Arts\\\\EA GAMES\\\\Battlefield 2] 1700000000\n"
                "#time=1d9\n\"InstallDir\"=\"C:\\\\Program Files\\\\Native\"\n\n"
                "[Software\\\\Wow6432Node\\\\Electronic Arts\\\\EA GAMES\\\\Battlefield 2] 1\n"
                "\"InstallDir\"=\"C:\\\\Program Files (x86)\\\\EA Games\\\\Battlefield 2\"\n"));
    EXPECT_EQ(
        ReadMachineString("\\SOFTWARE\\Electronic Arts\\EA GAMES\\Battlefield 2\\", "InstallDir"),
        "C:\\Program Files (x86)\\EA Games\\Battlefield 2");
    EXPECT_EQ(ReadMachineString("SOFTWARE\\Electronic Arts\\EA GAMES\\Battlefield 2", "Missing"),
              "");

    // A 32-bit prefix has no redirection; a value is returned as stored.
    ASSERT_TRUE(WriteHostFile(System,
                              "WINE REGISTRY Version 2\n\n#arch=win32\n\n"
                              "[Software\\\\Electronic Arts\\\\EA GAMES\\\\Battlefield 2] 1\n"
                              "\"InstallDir\"=\"D:\\\\Games\\\\BF2\"\n"));
    EXPECT_EQ(
        ReadMachineString("\\SOFTWARE\\Electronic Arts\\EA GAMES\\Battlefield 2\\", "installdir"),
        "D:\\Games\\BF2");
    QFile::remove(System);
    EXPECT_EQ(ReadMachineString("SOFTWARE\\Electronic Arts\\EA GAMES\\Battlefield 2", "InstallDir"),
              "");
}

TEST(Registry, WritesKeysAndValuesKeepingTheRestOfTheFile) {
    QTemporaryDir Tmp;
    const QString Path = Tmp.path() + "/classes.reg";
    ASSERT_TRUE(WriteHostFile(
        Path,
        "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\\\\Software\\\\Classes\n\n"
        "[.txt] 5\n@=\"txtfile\"\n\"Content Type\"=\"text/plain\"\n\n"));
    {
        TRegistryFile Reg(Path, "\\Machine\\Software\\Classes");
        Reg.WriteString("BF2.Demo\\Shell\\Open\\Command", "", "Z:\\opt\\Quor vane\\qvr %1");
        Reg.WriteString(".TXT", "", "textfile");
        Reg.WriteString("BF2.Demo", "", QString::fromUtf8("Démo \"quoted\""));
    }
    TRegistryFile Again(Path);
    QString V;
    ASSERT_TRUE(Again.ReadString("bf2.demo\\shell\\open\\command", "", V));
    EXPECT_EQ(V, "Z:\\opt\\Quor vane\\qvr %1");
    ASSERT_TRUE(Again.ReadString(".txt", "", V));
    EXPECT_EQ(V, "textfile");
    ASSERT_TRUE(Again.ReadString(".txt", "Content Type", V));
    EXPECT_EQ(V, "text/plain");
    ASSERT_TRUE(Again.ReadString("BF2.Demo", "", V));
    EXPECT_EQ(V, QString::fromUtf8("Démo \"quoted\""));
    const QByteArray Text = ReadHostFile(Path);
    EXPECT_TRUE(Text.contains("[BF2.Demo\\\\Shell\\\\Open\\\\Command]"));
    EXPECT_TRUE(Text.startsWith("WINE REGISTRY Version 2\n"));
}

TEST(Registry, AFileThatCannotBeWrittenRaisesTheRegistryErrors) {
    QTemporaryDir Tmp;
    const QString Path = Tmp.path() + "/classes.reg";
    QDir().mkpath(Path); // a folder where the file should be
    TRegistryFile Reg(Path);
    try {
        Reg.WriteString(".bf2demo", "", "BF2.Demo");
        FAIL();
    } catch (const ERegistryException& E) {
        EXPECT_EQ(E.Message(), "Failed to create key .bf2demo");
    }
}

TEST(Registry, AFileThatCannotBeReadIsNeverReplaced) {
    QTemporaryDir Tmp;
    const QString Path = Tmp.path() + "/classes.reg";
    const QByteArray Before = "WINE REGISTRY Version 2\n\n[.txt] 5\n@=\"txtfile\"\n";
    ASSERT_TRUE(WriteHostFile(Path, Before));
    QFile::setPermissions(Path, QFile::WriteOwner);
    const QString Error = RunUnprivileged(
        [&Path] {
            TRegistryFile Reg(Path, "\\Machine\\Software\\Classes");
            try {
                Reg.WriteString(".bf2demo", "", "BF2.Demo");
                return QStringLiteral("no error");
            } catch (const ERegistryException& E) {
                return E.Message();
            }
        },
        {Tmp.path(), Path});
    EXPECT_EQ(Error, "Failed to create key .bf2demo");
    QFile::setPermissions(Path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(ReadHostFile(Path), Before);
}
