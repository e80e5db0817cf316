// A profile's demo bookmarks, read from real files, and the names their
// downloads are saved under.
#include "launcher/library/Bookmarks.h"

#include "common/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString MapName(const QString& Key) {
    return Key == "strike_at_karkand" ? QString("Strike at Karkand") : QString();
}

TEST(BookmarksTest, RowsOfTheFile) {
    QTemporaryDir Tmp;
    const QString Profile = QvrFs::WinPathOfHost(Tmp.path()) + "\\";
    EXPECT_TRUE(ReadBookmarks(BookmarksFile(Profile), MapName).isEmpty());

    QFile F(Tmp.path() + "/DemoBookmarks.con");
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write("0 \"My Server\" strike_at_karkand http://demos.example/a.bf2demo 2006-01-02\r\n"
            "1 short line\r\n"
            "\r\n"
            "2,Other,no_such_map,http://x/b.bf2demo,\"3 Jan\",extra,items\r\n"
            "3 Last strike_at_karkand ftp://y/c.bf2demo 2006-01-04");
    F.close();
    // The short and the empty line are passed over; the rows on either side
    // of them stay.
    EXPECT_EQ(
        ReadBookmarks(BookmarksFile(Profile), MapName),
        QList<TBookmark>({
            {"My Server", "Strike at Karkand", "2006-01-02", "http://demos.example/a.bf2demo"},
            {"Other", "", "3 Jan", "http://x/b.bf2demo"},
            {"Last", "Strike at Karkand", "2006-01-04", "ftp://y/c.bf2demo"},
        }));
}

TEST(BookmarksTest, FileNameOfAUrl) {
    const std::pair<const char*, const char*> Cases[] = {
        {"http://host/demos/take1.bf2demo", "take1.bf2demo"},
        {"take1.bf2demo", "take1.bf2demo"},
        {"http://host/get.php?id=3", "get.php?id=3"},
        {"http://host/demos/", ""},
        {"http://host:8080", "8080"},
        {"http://host/a\\..\\..\\b.bf2demo", "a\\..\\..\\b.bf2demo"},
        {"", ""},
    };
    for (const auto& [Url, Name] : Cases)
        EXPECT_EQ(ExtractUrlFileName(Url), Name) << Url;
}

TEST(BookmarksTest, TargetsStayInTheDemosFolder) {
    const QString Demos = "C:\\Games\\BF2\\mods\\bf2\\Demos\\";
    EXPECT_EQ(BookmarkTarget(Demos, "http://host/d/take1.bf2demo"), Demos + "take1.bf2demo");
    EXPECT_EQ(BookmarkTarget(Demos, "http://host/..hidden"), Demos + "..hidden");
    for (const char* Url : {"http://host/d/", "http://host/..", "http://host/.",
                            "http://host/x\\..\\..\\evil.bf2demo", "http://host/\\evil", ""})
        EXPECT_EQ(BookmarkTarget(Demos, Url), std::nullopt) << Url;
    EXPECT_EQ(BookmarkTarget(QString(), "http://host/take1.bf2demo"), std::nullopt);
}

} // namespace
