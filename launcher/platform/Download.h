// Fetching a URL into a file on the window's thread. The call blocks until the
// download has ended; the progress callback runs often enough in between for
// the window to process its events inside it, so the window stays responsive
// and an Abort click or a timer tick is seen while the download runs.
#pragma once

#include <QString>
#include <QtGlobal>

#include <chrono>
#include <functional>

enum class TDownloadResult { Completed, Aborted, Failed };

// One progress notification: the bytes received so far and the size the
// server announced (0 while it is not known). Returns whether to go on; false
// ends the download as aborted.
using TDownloadProgress = std::function<bool(qint64 Received, qint64 Total)>;

class IDownloader {
public:
    virtual ~IDownloader() = default;
    // Downloads Url into the file WinFile (Windows form), replacing it only
    // once the download has completed: an aborted or failed download leaves
    // no file of that name behind, and an older file of that name as it was.
    // The first notification comes before anything is sent, so a callback
    // that answers false at once cancels the download before it starts.
    // After the last byte, one more notification reports the final figures
    // (Received == Total when the size was announced); its answer no longer
    // matters, the download has completed. A failed download (no connection,
    // an HTTP error, a stalled server, a file that cannot be created or would
    // not fit) gets no last notification.
    virtual TDownloadResult DownloadToFile(const QString& Url, const QString& WinFile,
                                           const TDownloadProgress& Progress) = 0;
};

// The real downloader over libcurl: HTTP, HTTPS and FTP, redirects followed,
// an HTTP error status counts as a failed download. So does a server that
// stalls: a connection not made within the stall limit, or less than a byte a
// second arriving for that long. And so does a file that would leave less than
// the free-space floor on the file system that holds it: at once when the
// announced size would not fit, else before the byte that would cross it.
class TUrlDownloader : public IDownloader {
public:
    TUrlDownloader();
    TDownloadResult DownloadToFile(const QString& Url, const QString& WinFile,
                                   const TDownloadProgress& Progress) override;

    // Whole seconds, as libcurl counts them.
    void SetStallLimit(std::chrono::seconds Limit) { FStallLimit = Limit; }
    void SetFreeSpaceFloor(qint64 Bytes) { FFreeSpaceFloor = Bytes; }

private:
    std::chrono::seconds FStallLimit{60};
    qint64 FFreeSpaceFloor = qint64(64) << 20;
};

// Decimal megabytes: Bytes / 1,000,000.
double MegabytesOf(qint64 Bytes);
// Megabytes with two decimals, rounded half up, with the given decimal
// separator: 4,560,000 bytes give "4.56", 23,500,000 give "23.50".
QString FormatMegabytes(qint64 Bytes, const QString& Point = QStringLiteral("."));
