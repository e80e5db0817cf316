// The Bookmarks page: the game's profiles, the demo bookmarks of the one
// chosen, and the download of a bookmarked demo into the current Demos folder
// with its progress, its Abort button and the watchdog that cancels a
// download which delivers no data.
#pragma once

#include "launcher/shell/qvr_Shell.h"

#include <QObject>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class TLibraryArea;
class TProfilesPage;

class TBookmarksPage : public QObject {
    Q_OBJECT

public:
    struct TWidgets {
        QTreeWidget* edMiniProfiles;
        QTreeWidget* edBookmarks;
        QPushButton* btnDownload;
        QPushButton* btnAbort;
        QProgressBar* ProgressBar1;
        QLabel* laDownloadInfo;
        QLabel* laFilename;
    };

    // Profiles lists the profiles and draws the chosen one in bold; Library
    // gives the Demos folder that downloads go to.
    TBookmarksPage(IShell& Shell, const TWidgets& W, TProfilesPage& Profiles,
                   const TLibraryArea& Library);

    // The URL of the download in progress, kept after it has ended.
    QString DownloadUrl() const { return FDownloadUrl; }
    // An abort request that the next progress notification acts on.
    bool DownloadAbort() const { return FDownloadAbort; }
    // Decimal megabytes received by the last notification of any download.
    double DownloadedMB() const { return FDownloadedMB; }
    // The watchdog, armed by each completed download.
    QTimer* CatchDownload() const { return FCatchDownload; }
    // Whether a download runs now (the window goes on processing events
    // while it does).
    bool Downloading() const { return FDownloading; }

    // The column titles of the bookmark list, from the current language.
    void ApplyBookmarkTitles();

    void taBookmarksShow();
    void edMiniProfilesSelectItem(QTreeWidgetItem* Item);
    void btnDownloadClick();
    void btnAbortClick();
    // Downloads Url into the Demos folder under the URL's file name; true
    // when the download completed. A name that would leave the Demos folder,
    // a missing downloader, a failed and a cancelled download give false.
    bool DownloadFile(const QString& Url);
    // One progress notification: received and announced bytes. Returns
    // whether the download goes on.
    bool DownloadProgress(qint64 Progress, qint64 Maximum);
    void CatchDownloadTimer();

private:
    QString Strings(const char* Key) const;

    IShell& FShell;
    const TWidgets FW;
    TProfilesPage& FProfiles;
    const TLibraryArea& FLibrary;
    QTimer* FCatchDownload = nullptr;
    QString FDownloadUrl;
    bool FDownloadAbort = false;
    double FDownloadedMB = 0;
    bool FDownloading = false;
};
