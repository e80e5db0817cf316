// The rules under a run, called directly: the parameter checks and the names
// and folders the script is built from. The scripts, command lines and log
// lines themselves are checked byte for byte through the window.
#include "launcher/playback/RunScript.h"

#include <gtest/gtest.h>

TEST(RunChecks, WholeNumbersWithinTheRange) {
    const struct {
        const char* Text;
        int Min, Max;
        bool Valid;
    } Cases[] = {
        {"0", 0, 200, true},
        {"-1", 0, 200, false},
        // The whole-number rule: leading spaces, a sign and hexadecimal forms;
        // the limits themselves are tried through the window.
        {"  90", 0, 300, true},
        {"+90", 0, 300, true},
        {"$12C", 0, 300, true},
        {"0x12D", 0, 300, false},
        {"90 ", 0, 300, false},
        {"1.5", 0, 300, false},
        {"4294967296", 0, 300, false},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(IsIntInRange(QString::fromLatin1(C.Text), C.Min, C.Max), C.Valid) << C.Text;
}

TEST(RunChecks, BlankTextsCountAsEmpty) {
    EXPECT_FALSE(IsNotBlank(QString()));
    EXPECT_FALSE(IsNotBlank(QStringLiteral(" \t\r\n")));
    EXPECT_FALSE(IsNotBlank(QString(QChar(0)) + QChar(31)));
    EXPECT_TRUE(IsNotBlank(QStringLiteral(" 0 ")));
    EXPECT_TRUE(IsNotBlank(QString::fromUtf8("\u00a0")));
}

TEST(RunNames, TheCameraFileNameEndsInBf2cam) {
    const struct {
        const char* Typed;
        const char* Name;
    } Cases[] = {
        {"MyCam", "MyCam.bf2cam"},
        {"MyCam.bf2cam", "MyCam.bf2cam"},
        // Letter case counts: the ending is added once more.
        {"MyCam.BF2CAM", "MyCam.BF2CAM.bf2cam"},
        {"take.1", "take.1.bf2cam"},
        // The extension is that of the last path element.
        {"old.bf2cam\\new", "old.bf2cam\\new.bf2cam"},
        {"sub\\cam.bf2cam", "sub\\cam.bf2cam"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(CameraFileName(QString::fromLatin1(C.Typed)), QString::fromLatin1(C.Name))
            << C.Typed;
}

TEST(RunNames, TheCameraFolderIsTheDemosFolderWithoutTheGameFolder) {
    const struct {
        const char* DemosDir;
        const char* BFDir;
        const char* Folder;
    } Cases[] = {
        {"C:\\Games\\BF2\\mods\\bf2\\Demos\\", "C:\\Games\\BF2\\", "mods\\bf2\\Demos\\"},
        // Exact match only, and every occurrence.
        {"C:\\Games\\BF2\\mods\\bf2\\Demos\\", "c:\\games\\bf2\\",
         "C:\\Games\\BF2\\mods\\bf2\\Demos\\"},
        {"X\\mods\\X\\Demos\\", "X\\", "mods\\Demos\\"},
        {"C:\\Games\\BF2\\mods\\bf2\\Demos\\", "", "C:\\Games\\BF2\\mods\\bf2\\Demos\\"},
        {"", "C:\\Games\\BF2\\", ""},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(CameraFolder(QString::fromLatin1(C.DemosDir), QString::fromLatin1(C.BFDir)),
                  QString::fromLatin1(C.Folder))
            << C.DemosDir << " - " << C.BFDir;
}
