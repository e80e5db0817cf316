#include "launcher/platform/Download.h"

#include "common/FileSystem.h"

#include <QSaveFile>

#include <curl/curl.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <mutex>

namespace {

// The longest the window waits for its next notification while nothing
// arrives (connecting, a stalled server).
constexpr int CPollMs = 40;
// How much a download writes between two looks at the free space: rare
// enough to cost nothing, often enough to see another program fill the disk.
constexpr qint64 CRecheckBytes = qint64(16) << 20;

// The free bytes of the file system that holds the open file Handle; -1 when
// it cannot tell.
qint64 FreeBytes(int Handle) {
    struct statvfs Stat;
    if (Handle < 0 || ::fstatvfs(Handle, &Stat) != 0)
        return -1;
    return qint64(Stat.f_bavail) * qint64(Stat.f_frsize);
}

// How large a file may grow while its file system keeps Floor bytes free.
// The free space is measured at the start and the file's bytes counted
// against it; a look every CRecheckBytes may only lower the limit, since
// some file systems count written data late. Where the free space cannot be
// told nothing is refused: a file system that keeps no count must not stop
// every download.
class TRoom {
public:
    TRoom(int Handle, qint64 Floor) : FHandle(Handle), FFloor(Floor) {
        const qint64 Free = FreeBytes(Handle);
        if (Free >= 0)
            FLimit = Free - Floor;
    }
    bool Known() const { return FLimit != std::numeric_limits<qint64>::max(); }
    qint64 Limit() const { return FLimit; }
    // Whether a file of Written bytes may take More.
    bool Allows(qint64 Written, qint64 More) {
        if (Written + More >= FNextCheck) {
            FNextCheck = Written + More + CRecheckBytes;
            const qint64 Free = FreeBytes(FHandle);
            if (Free >= 0)
                FLimit = std::min(FLimit, Written + Free - FFloor);
        }
        return Written + More <= FLimit;
    }

private:
    int FHandle;
    qint64 FFloor;
    qint64 FLimit = std::numeric_limits<qint64>::max();
    qint64 FNextCheck = CRecheckBytes;
};

struct TTransfer {
    QSaveFile* File = nullptr;
    TRoom* Room = nullptr;
    qint64 Received = 0;
};

size_t WriteData(char* Data, size_t Size, size_t Count, void* User) {
    auto* T = static_cast<TTransfer*>(User);
    const qint64 Bytes = qint64(Size * Count);
    // Returning less than given makes libcurl end the transfer with a write
    // error.
    if (!T->Room->Allows(T->Received, Bytes) || T->File->write(Data, Bytes) != Bytes)
        return 0;
    T->Received += Bytes;
    return Size * Count;
}

// One easy handle inside its own multi handle, so that the transfer can be
// driven step by step from the calling thread.
class TCurlTransfer {
public:
    TCurlTransfer() : FEasy(curl_easy_init()), FMulti(curl_multi_init()) {}
    ~TCurlTransfer() {
        if (FAdded)
            curl_multi_remove_handle(FMulti, FEasy);
        if (FEasy)
            curl_easy_cleanup(FEasy);
        if (FMulti)
            curl_multi_cleanup(FMulti);
    }
    TCurlTransfer(const TCurlTransfer&) = delete;
    TCurlTransfer& operator=(const TCurlTransfer&) = delete;

    bool Valid() const { return FEasy && FMulti; }
    CURL* Easy() const { return FEasy; }
    bool Start() {
        FAdded = curl_multi_add_handle(FMulti, FEasy) == CURLM_OK;
        return FAdded;
    }
    // One step of the transfer; false once it has ended (or cannot go on).
    bool Step() {
        int Running = 0;
        return curl_multi_perform(FMulti, &Running) == CURLM_OK && Running > 0;
    }
    bool Wait() { return curl_multi_poll(FMulti, nullptr, 0, CPollMs, nullptr) == CURLM_OK; }
    // The transfer's outcome once Step has answered false.
    CURLcode Result() {
        CURLcode Code = CURLE_FAILED_INIT;
        int Left = 0;
        while (CURLMsg* Msg = curl_multi_info_read(FMulti, &Left))
            if (Msg->msg == CURLMSG_DONE && Msg->easy_handle == FEasy)
                Code = Msg->data.result;
        return Code;
    }
    qint64 AnnouncedSize() const {
        curl_off_t Length = -1;
        curl_easy_getinfo(FEasy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &Length);
        return Length > 0 ? qint64(Length) : 0;
    }

private:
    CURL* FEasy;
    CURLM* FMulti;
    bool FAdded = false;
};

} // namespace

TUrlDownloader::TUrlDownloader() {
    static std::once_flag Once;
    std::call_once(Once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

TDownloadResult TUrlDownloader::DownloadToFile(const QString& Url, const QString& WinFile,
                                               const TDownloadProgress& Progress) {
    if (WinFile.isEmpty())
        return TDownloadResult::Failed;
    // The data goes to a temporary file beside the target, which takes the
    // target's name only when the download has completed; leaving the scope
    // in any other way removes it.
    QSaveFile File(QvrFs::HostPath(WinFile));
    if (!File.open(QIODevice::WriteOnly))
        return TDownloadResult::Failed;

    TRoom Room(File.handle(), FFreeSpaceFloor);

    TCurlTransfer Transfer;
    if (!Transfer.Valid())
        return TDownloadResult::Failed;
    TTransfer State{&File, &Room, 0};
    const QByteArray UrlBytes = Url.toUtf8();
    CURL* E = Transfer.Easy();
    curl_easy_setopt(E, CURLOPT_URL, UrlBytes.constData());
    curl_easy_setopt(E, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(E, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(E, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(E, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(E, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(E, CURLOPT_NOSIGNAL, 1L);
    // A stall ends the download, while connecting (where libcurl would wait
    // five minutes), while an FTP server owes the answer to a command (where
    // libcurl's speed check does not look) and while receiving.
    const long StallSeconds = long(FStallLimit.count());
    curl_easy_setopt(E, CURLOPT_CONNECTTIMEOUT, StallSeconds);
    curl_easy_setopt(E, CURLOPT_SERVER_RESPONSE_TIMEOUT, StallSeconds);
    curl_easy_setopt(E, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(E, CURLOPT_LOW_SPEED_TIME, StallSeconds);
    // An announced size beyond the room is refused before the body arrives
    // (a limit of 0 would switch the check off).
    if (Room.Known())
        curl_easy_setopt(E, CURLOPT_MAXFILESIZE_LARGE,
                         curl_off_t(std::max(Room.Limit(), qint64(1))));
    curl_easy_setopt(E, CURLOPT_WRITEFUNCTION, &WriteData);
    curl_easy_setopt(E, CURLOPT_WRITEDATA, &State);

    if (!Progress(0, 0))
        return TDownloadResult::Aborted;
    if (!Transfer.Start())
        return TDownloadResult::Failed;
    while (Transfer.Step()) {
        if (!Progress(State.Received, Transfer.AnnouncedSize()))
            return TDownloadResult::Aborted;
        if (!Transfer.Wait())
            return TDownloadResult::Failed;
    }
    if (Transfer.Result() != CURLE_OK || !File.commit())
        return TDownloadResult::Failed;
    Progress(State.Received, Transfer.AnnouncedSize());
    return TDownloadResult::Completed;
}

double MegabytesOf(qint64 Bytes) {
    return double(Bytes) / 1000000.0;
}

QString FormatMegabytes(qint64 Bytes, const QString& Point) {
    // Whole hundredths from the byte count itself, so that a half is rounded
    // up as the decimal figure reads, not as its binary neighbour falls.
    const quint64 Magnitude = Bytes < 0 ? quint64(0) - quint64(Bytes) : quint64(Bytes);
    const quint64 Hundredths = (Magnitude + 5000) / 10000;
    return QStringLiteral("%1%2%3%4")
        .arg(Bytes < 0 && Hundredths > 0 ? QStringLiteral("-") : QString())
        .arg(Hundredths / 100)
        .arg(Point)
        .arg(Hundredths % 100, 2, 10, QLatin1Char('0'));
}
