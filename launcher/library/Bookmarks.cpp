#include "launcher/library/Bookmarks.h"

#include "common/FileSystem.h"
#include "common/TextRules.h"

#include <algorithm>

namespace {
constexpr int CBookmarkItems = 5;
}

QString BookmarksFile(const QString& ProfileFolder) {
    return ProfileFolder + QStringLiteral("DemoBookmarks.con");
}

QList<TBookmark> ReadBookmarks(const QString& File, const TTextLookup& MapName) {
    QList<TBookmark> Rows;
    if (!QvrFs::FileExists(File))
        return Rows;
    for (const QString& Line : QvrFs::LoadLines(File)) {
        const QStringList Items = SplitCommaText(Line);
        if (Items.size() < CBookmarkItems)
            continue;
        Rows.append({Items[1], MapName(Items[2]), Items[4], Items[3]});
    }
    return Rows;
}

QString ExtractUrlFileName(const QString& Url) {
    const qsizetype Cut = std::max(Url.lastIndexOf(u'/'), Url.lastIndexOf(u':'));
    return Url.mid(Cut + 1);
}

std::optional<QString> BookmarkTarget(const QString& DemosDir, const QString& Url) {
    const QString Name = ExtractUrlFileName(Url);
    // Without a Demos folder the name alone would land in the process's
    // current folder.
    if (DemosDir.isEmpty() || QvrFs::IsUnsafeName(Name))
        return std::nullopt;
    return DemosDir + Name;
}

TDownloadResult DownloadBookmark(IDownloader& Downloader, const QString& Url,
                                 const QString& DemosDir, const TDownloadProgress& Progress) {
    const std::optional<QString> Target = BookmarkTarget(DemosDir, Url);
    if (!Target)
        return TDownloadResult::Failed;
    return Downloader.DownloadToFile(Url, *Target, Progress);
}
