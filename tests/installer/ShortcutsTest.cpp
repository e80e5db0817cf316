// The shell folders from the XDG user folders, and the desktop entries that
// stand for shell links.

#include "SetupTestUtil.h"

#include "common/FileSystem.h"
#include "installer/Shortcuts.h"
#include "installer/WinDirs.h"
#include "support/TestEnv.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString Win(const QString& HostBelowRoot) {
    return QvrFs::WinPathOfHost(TestRoot() + HostBelowRoot);
}

class ShortcutsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* Dir :
             {"/data/applications", "/config/autostart", "/home/Desktop", "/home/Schreibtisch"})
            QDir(TestRoot() + QLatin1String(Dir)).removeRecursively();
        QFile::remove(TestRoot() + QStringLiteral("/config/user-dirs.dirs"));
    }
    void TearDown() override { SetUp(); }
};

TEST_F(ShortcutsTest, FoldersComeFromTheUserFoldersAndTheFreedesktopOnes) {
    WriteHostFile(TestRoot() + QStringLiteral("/config/user-dirs.dirs"),
                  "# written by xdg-user-dirs-update\n"
                  "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                  "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
                  "XDG_TEMPLATES_DIR=\"$HOME/Vorlagen\"\n");
    const TWindowsInfo Info;
    const QString Expected[] = {Win("/home/Schreibtisch"),
                                {},
                                Win("/data/fonts"),
                                {},
                                Win("/home/Dokumente"),
                                Win("/data/applications"),
                                {},
                                {},
                                Win("/data/applications"),
                                Win("/config/autostart"),
                                Win("/home/Vorlagen")};
    for (int Code = 1; Code <= 11; ++Code)
        EXPECT_EQ(Info.Folder(Code), Expected[Code - 1]) << Code;
    EXPECT_EQ(Info.Folder(0), std::nullopt);
    EXPECT_EQ(Info.Folder(12), std::nullopt);
}

TEST_F(ShortcutsTest, EntriesGoWhereTheLinkWouldGo) {
    QDir().mkpath(TestRoot() + QStringLiteral("/home/Desktop"));
    QTemporaryDir Current;
    const QString OldCurrent = QDir::currentPath();
    QDir::setCurrent(Current.path());
    const TWindowsInfo Info;
    const QString Target = QStringLiteral("Z:\\opt\\My Games\\Quorvane\\qvr");
    const QString WorkDir = QStringLiteral("Z:\\opt\\My Games\\Quorvane\\");
    const struct {
        int Code;
        QString File;
        bool Executable;
    } Cases[] = {
        // The Programs menu folder is made when it is missing; no subfolder.
        {6, TestRoot() + "/data/applications/Quorvane v1.2.desktop", false},
        {9, TestRoot() + "/data/applications/Quorvane v1.2.desktop", false},
        {10, TestRoot() + "/config/autostart/Quorvane v1.2.desktop", false},
        // A launcher on the desktop must be executable to be started.
        {1, TestRoot() + "/home/Desktop/Quorvane v1.2.desktop", true},
        // No folder: the bare name in the current folder.
        {0, Current.path() + "/Quorvane v1.2.desktop", false},
        {12, Current.path() + "/Quorvane v1.2.desktop", false},
    };
    for (const auto& Case : Cases) {
        QFile::remove(Case.File);
        CreateShortcut(Info, Target, QString(), quint8(Case.Code), "Quorvane v1.2.lnk", WorkDir);
        EXPECT_EQ(ReadHostFile(Case.File), "[Desktop Entry]\n"
                                           "Type=Application\n"
                                           "Name=Quorvane v1.2\n"
                                           "Exec=\"/opt/My Games/Quorvane/qvr\"\n"
                                           "Path=/opt/My Games/Quorvane\n")
            << Case.Code;
        EXPECT_EQ(QFileInfo(Case.File).isExecutable(), Case.Executable) << Case.Code;
    }
    QDir::setCurrent(OldCurrent);
}

TEST_F(ShortcutsTest, AUserFolderThatIsMissingIsNotMadeAndNothingIsReported) {
    const TWindowsInfo Info; // the desktop folder does not exist
    ASSERT_FALSE(QFileInfo::exists(TestRoot() + "/home/Desktop"));
    CreateShortcut(Info, "Z:\\opt\\qvr", QString(), 1, "Quorvane v1.2.lnk", "Z:\\opt\\");
    EXPECT_FALSE(QFileInfo::exists(TestRoot() + "/home/Desktop"));
}

// Each argument quoted, and the Exec line then escaped as the file's values
// are (the escapes themselves are the common desktop-entry rules).
TEST_F(ShortcutsTest, EntryTextQuotesEachArgumentAndEscapesItsValues) {
    EXPECT_EQ(DesktopEntryText("Q", "/opt/a b/q\\vr", {"-x", "two words"}, "/a\\b\tc"),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Q\n"
              R"(Exec="/opt/a b/q\\\\vr" "-x" "two words")"
              "\n"
              R"(Path=/a\\b\tc)"
              "\n");
}

} // namespace
