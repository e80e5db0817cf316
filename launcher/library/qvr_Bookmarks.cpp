#include "launcher/library/qvr_Bookmarks.h"

#include "common/Folders.h"
#include "common/TextRules.h"
#include "launcher/library/Bookmarks.h"
#include "launcher/library/qvr_Library.h"
#include "launcher/playback/qvr_Profiles.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QItemSelection>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <climits>

namespace {

// Megabytes as the progress text shows them: with the user's decimal
// separator.
QString ShownMegabytes(qint64 Bytes) {
    return FormatMegabytes(Bytes, QLocale().decimalPoint());
}

} // namespace

TBookmarksPage::TBookmarksPage(IShell& Shell, const TWidgets& W, TProfilesPage& Profiles,
                               const TLibraryArea& Library)
    : FShell(Shell), FW(W), FProfiles(Profiles), FLibrary(Library) {
    FCatchDownload = new QTimer(FShell.Window());
    FCatchDownload->setObjectName(QStringLiteral("CatchDownload"));
    FCatchDownload->setInterval(5000);
    FShell.Connect(FCatchDownload, &QTimer::timeout, this, [this] { CatchDownloadTimer(); });

    FProfiles.DrawSelectedBold(FW.edMiniProfiles);
    FW.edBookmarks->header()->setSectionsClickable(false);
    // Each entry whose selection changed, the one losing it first.
    FShell.Connect(FW.edMiniProfiles->selectionModel(), &QItemSelectionModel::selectionChanged,
                   this, [this](const QItemSelection& Selected, const QItemSelection& Deselected) {
                       for (const QItemSelection* Changed : {&Deselected, &Selected})
                           for (const QModelIndex& Index : Changed->indexes())
                               if (Index.column() == 0)
                                   FShell.Guard([&] {
                                       edMiniProfilesSelectItem(
                                           FW.edMiniProfiles->topLevelItem(Index.row()));
                                   });
                   });
    FShell.Connect(FW.btnDownload, &QPushButton::clicked, this, [this] { btnDownloadClick(); });
    FShell.Connect(FW.btnAbort, &QPushButton::clicked, this, [this] { btnAbortClick(); });
}

QString TBookmarksPage::Strings(const char* Key) const {
    return FShell.GetLangString(QLatin1String(Key), QStringLiteral("Strings"));
}

void TBookmarksPage::ApplyBookmarkTitles() {
    const char* Columns[] = {"bmServer", "bmMap", "bmDate", "bmURL"};
    for (int I = 0; I < 4; ++I)
        FW.edBookmarks->headerItem()->setText(I, Strings(Columns[I]));
}

// ---------------------------------------------------------------- the bookmarks

void TBookmarksPage::taBookmarksShow() {
    FProfiles.ListProfiles(FW.edMiniProfiles);
}

void TBookmarksPage::edMiniProfilesSelectItem(QTreeWidgetItem* Item) {
    if (!Item)
        return;
    const QList<TBookmark> Rows = ReadBookmarks(
        BookmarksFile(ProfileFolder(GetBF2DocsDir(), Item->text(1))),
        [this](const QString& Key) { return FShell.GetLangString(Key, QStringLiteral("Maps")); });
    {
        const QSignalBlocker Quiet(FW.edBookmarks->selectionModel());
        FW.edBookmarks->clear();
    }
    QList<QTreeWidgetItem*> Items;
    for (const TBookmark& B : Rows)
        Items.append(new QTreeWidgetItem(QStringList{B.Server, B.Map, B.Date, B.Url}));
    FW.edBookmarks->addTopLevelItems(Items);
}

// ---------------------------------------------------------------- the download

void TBookmarksPage::btnDownloadClick() {
    // The window goes on processing clicks while a download runs; a second
    // download inside the first would mix their progress.
    if (FDownloading)
        return;
    // Any error here ends the click silently.
    try {
        if (FW.edBookmarks->topLevelItemCount() == 0)
            return;
        const QList<QTreeWidgetItem*> Selected = FW.edBookmarks->selectedItems();
        if (Selected.isEmpty())
            return;
        const QString Url = Selected.first()->text(3);
        if (Url.isEmpty()) {
            FDownloadAbort = false;
            return;
        }
        if (!DownloadFile(Url))
            return;
        FCatchDownload->start();
        FDownloadAbort = false;
    } catch (const std::exception&) {
    }
}

void TBookmarksPage::btnAbortClick() {
    FDownloadAbort = true;
}

bool TBookmarksPage::DownloadFile(const QString& Url) {
    FDownloadUrl = Url;
    IDownloader* Downloader = FShell.Services().Downloader;
    if (!Downloader)
        return false;
    const QScopedValueRollback<bool> Running(FDownloading, true);
    return DownloadBookmark(*Downloader, Url, FLibrary.DemosDir(),
                            [this](qint64 Progress, qint64 Maximum) {
                                return DownloadProgress(Progress, Maximum);
                            }) == TDownloadResult::Completed;
}

bool TBookmarksPage::DownloadProgress(qint64 Progress, qint64 Maximum) {
    // The bar counts in int: a size beyond its range is shown in larger units.
    int Shift = 0;
    while ((Maximum >> Shift) > INT_MAX)
        ++Shift;
    FW.ProgressBar1->setMaximum(int(Maximum >> Shift));
    FW.ProgressBar1->setValue(int(std::min(Progress, Maximum) >> Shift));

    FDownloadedMB = MegabytesOf(Progress);
    FW.laDownloadInfo->setText(FormatStr(Strings("demoDownloadFormat"),
                                         {ShownMegabytes(Progress), ShownMegabytes(Maximum)}));
    FW.laFilename->setText(FormatStr(Strings("demoFileName"), {ExtractUrlFileName(FDownloadUrl)}));

    bool Cancel = false;
    if (FDownloadAbort) {
        Cancel = true;
        FDownloadAbort = false;
        FW.laDownloadInfo->setText(Strings("demoDownloadCancel"));
    }
    if (Progress == Maximum && Maximum > 0)
        FW.laDownloadInfo->setText(Strings("demoDownloadComp"));

    // Repaints, an Abort click and the watchdog's ticks are handled here.
    QCoreApplication::processEvents();
    // A window closed meanwhile would leave the program running unseen
    // until the download ends.
    if (!FShell.Window()->isVisible())
        Cancel = true;
    return !Cancel;
}

void TBookmarksPage::CatchDownloadTimer() {
    if (FDownloadedMB > 0)
        return;
    FDownloadAbort = true;
    FW.laDownloadInfo->setText(Strings("demoDownloadCancel"));
    FCatchDownload->stop();
}
