// The demo bookmarks of a game profile (DemoBookmarks.con, which the game
// writes and the launcher only reads) and the download of a bookmarked demo
// into the current Demos folder.
#pragma once

#include "launcher/platform/Download.h"
#include "launcher/playback/VideoSettings.h"

#include <QList>
#include <QString>

#include <optional>

struct TBookmark {
    QString Server; // the entry's caption
    QString Map;    // the language file's [Maps] text of the map key
    QString Date;
    QString Url;
    bool operator==(const TBookmark&) const = default;
};

// The bookmarks file of a profile folder (ProfileFolder of VideoSettings.h).
QString BookmarksFile(const QString& ProfileFolder);

// The bookmarks of the file, one per line in file order. A line is split by
// the comma-text rule; item 1 is the server, item 2 the map key (MapName
// gives its text), item 3 the URL, item 4 the date; item 0 and items after
// the fifth are not used. A line with fewer than five items is skipped. A
// missing file gives no bookmarks.
QList<TBookmark> ReadBookmarks(const QString& File, const TTextLookup& MapName);

// The text after the last "/" or ":" of the URL; the whole URL when it holds
// neither. A query part after the last "/" stays in it.
QString ExtractUrlFileName(const QString& Url);

// Where a bookmark's demo is saved: DemosDir (ending with "\") + the URL's
// file name. None when that name would not name a file of DemosDir itself
// (empty, "." or "..", or holding a "\": see QvrFs::IsUnsafeName), and when
// there is no Demos folder yet (DemosDir empty).
std::optional<QString> BookmarkTarget(const QString& DemosDir, const QString& Url);

// Downloads the demo of a bookmark's URL into DemosDir. A URL without a
// target (above) is refused as a failed download, without a notification
// and without touching the network.
TDownloadResult DownloadBookmark(IDownloader& Downloader, const QString& Url,
                                 const QString& DemosDir, const TDownloadProgress& Progress);
