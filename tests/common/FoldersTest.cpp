// Standard folders and the trailing-backslash rule.
#include "common/Folders.h"
#include "common/FileSystem.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(Folders, TrailingBackslash) {
    EXPECT_EQ(AddTrailingBackslash(""), "\\");
    EXPECT_EQ(AddTrailingBackslash("C:\\Games"), "C:\\Games\\");
    EXPECT_EQ(AddTrailingBackslash("C:\\Games\\"), "C:\\Games\\");
    EXPECT_EQ(AddTrailingBackslash("/home/me/bf2/"), "/home/me/bf2/\\");
}

TEST(Folders, DocumentsAndSystemFoldersAreWindowsFormWithoutABackslash) {
    const QString Docs = GetMyDocumentsDir();
    EXPECT_EQ(Docs, QvrFs::WinPathOfHost(QDir::homePath() + "/Documents"));
    EXPECT_FALSE(Docs.endsWith('\\'));
    EXPECT_EQ(GetBF2DocsDir(), Docs + "\\Battlefield 2\\");
    const QString System = GetSystemDir();
    EXPECT_TRUE(QvrFs::DirectoryExists(System));
    EXPECT_TRUE(QvrFs::HostPath(System).startsWith(qEnvironmentVariable("XDG_DATA_HOME")));
}
