// Downloads from a local HTTP server into a real Demos folder.
#include "launcher/platform/Download.h"

#include "common/FileSystem.h"
#include "launcher/library/Bookmarks.h"
#include "support/CommaLocale.h"
#include "support/HttpServer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace {

struct TNote {
    qint64 Received, Total;
    bool operator==(const TNote&) const = default;
};

// An FTP server on 127.0.0.1 for one client: it greets and takes the login,
// then leaves the next command unanswered until the client goes away, or for
// at most half a minute, far beyond the stall limit that the test sets.
class TMuteFtpServer {
public:
    TMuteFtpServer() {
        FListen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in Addr{};
        Addr.sin_family = AF_INET;
        Addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t Len = sizeof Addr;
        if (FListen < 0 || ::bind(FListen, reinterpret_cast<sockaddr*>(&Addr), Len) != 0 ||
            ::listen(FListen, 1) != 0 ||
            ::getsockname(FListen, reinterpret_cast<sockaddr*>(&Addr), &Len) != 0)
            throw std::runtime_error("test FTP server: cannot listen on 127.0.0.1");
        FPort = ntohs(Addr.sin_port);
        FThread = std::thread([this] { Serve(); });
    }
    ~TMuteFtpServer() {
        ::shutdown(FListen, SHUT_RDWR); // ends a wait for a client that never came
        if (FThread.joinable())
            FThread.join();
        ::close(FListen);
    }
    QString Url(const QString& Path) const {
        return QStringLiteral("ftp://127.0.0.1:%1%2").arg(FPort).arg(Path);
    }
    // Whether the client left while its command went unanswered (once the
    // server has seen it go).
    bool ClientGaveUp() {
        if (FThread.joinable())
            FThread.join();
        return FClientGaveUp;
    }

private:
    void Serve() {
        const int Client = ::accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC);
        if (Client < 0)
            return;
        const auto Say = [&](const char* Reply) {
            ::send(Client, Reply, std::strlen(Reply), MSG_NOSIGNAL);
        };
        Say("220 ready\r\n");
        QByteArray In;
        char Chunk[512];
        pollfd P{Client, POLLIN, 0};
        bool Mute = false;
        while (::poll(&P, 1, 30000) > 0) {
            const ssize_t N = ::recv(Client, Chunk, sizeof Chunk, 0);
            if (N <= 0) {
                FClientGaveUp = Mute;
                break;
            }
            In.append(Chunk, N);
            for (qsizetype Lf; !Mute && (Lf = In.indexOf('\n')) >= 0; In.remove(0, Lf + 1)) {
                if (In.startsWith("USER"))
                    Say("331 password please\r\n");
                else if (In.startsWith("PASS"))
                    Say("230 logged in\r\n");
                else if (In.startsWith("PWD"))
                    Say("257 \"/\"\r\n");
                else
                    Mute = true;
            }
        }
        ::close(Client);
    }

    int FListen = -1;
    quint16 FPort = 0;
    bool FClientGaveUp = false;
    std::thread FThread;
};

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QDir(Tmp.path()).mkpath("Game/mods/bf2/Demos")); }
    // The Demos folder in Windows form, spelt in another letter case than on
    // disk, as a game folder typed by the user may be.
    QString Demos() const {
        return QvrFs::WinPathOfHost(Tmp.path()) + "\\game\\MODS\\bf2\\demos\\";
    }
    QString HostDemo(const QString& Name) const {
        return Tmp.path() + "/Game/mods/bf2/Demos/" + Name;
    }
    // Every file under the temporary folder, relative to it.
    QStringList Files() const {
        QStringList Found;
        QDirIterator It(Tmp.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (It.hasNext())
            Found << QDir(Tmp.path()).relativeFilePath(It.next());
        Found.sort();
        return Found;
    }
    void Put(const QString& Name, const QByteArray& Data) {
        QFile F(HostDemo(Name));
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write(Data);
    }
    QByteArray Get(const QString& Name) const {
        QFile F(HostDemo(Name));
        return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray("<none>");
    }
    // Records each notification and answers with Answer.
    TDownloadProgress Recorder(std::function<bool(qint64, qint64)> Answer = {}) {
        return [this, Answer](qint64 Received, qint64 Total) {
            Notes.append({Received, Total});
            return Answer ? Answer(Received, Total) : true;
        };
    }
    static QByteArray RandomBytes(qsizetype Size) {
        QByteArray Data(Size, Qt::Uninitialized);
        QRandomGenerator Random(42);
        Random.fillRange(reinterpret_cast<quint32*>(Data.data()), Size / 4);
        return Data;
    }

    QTemporaryDir Tmp;
    THttpServer Server;
    TUrlDownloader Downloader;
    QList<TNote> Notes;
};

TEST_F(DownloadTest, CompletesAndReportsWhileTheServerPauses) {
    const TCommaLocale Comma;
    const QByteArray Body = RandomBytes(23500000);
    Server.ServeHeld("/take1.bf2demo", Body, 4560000);
    Put("take1.bf2demo", "an older take");
    int HeldNotes = 0;
    QString Shown;
    const TDownloadResult Result = Downloader.DownloadToFile(
        Server.Url("/take1.bf2demo"), Demos() + "take1.bf2demo",
        Recorder([&](qint64 Received, qint64 Total) {
            // Notifications go on while nothing arrives, so the window keeps
            // processing its events; the server goes on after a few.
            if (Received == 4560000 && ++HeldNotes == 3) {
                Shown = FormatMegabytes(Received) + " of " + FormatMegabytes(Total);
                Server.Release();
            }
            return true;
        }));
    EXPECT_EQ(Result, TDownloadResult::Completed);
    EXPECT_EQ(Shown, "4.56 of 23.50");
    ASSERT_FALSE(Notes.isEmpty());
    EXPECT_EQ(Notes.first(), TNote({0, 0}));
    EXPECT_EQ(Notes.last(), TNote({23500000, 23500000}));
    EXPECT_TRUE(Get("take1.bf2demo") == Body);
    EXPECT_EQ(Files(), QStringList({"Game/mods/bf2/Demos/take1.bf2demo"}));
}

TEST_F(DownloadTest, AbortMidwayKeepsTheOlderFile) {
    Server.ServeHeld("/take1.bf2demo", RandomBytes(100000), 1000);
    Put("take1.bf2demo", "an older take");
    const TDownloadResult Result = Downloader.DownloadToFile(
        Server.Url("/take1.bf2demo"), Demos() + "take1.bf2demo",
        Recorder([](qint64 Received, qint64) { return Received < 1000; }));
    EXPECT_EQ(Result, TDownloadResult::Aborted);
    EXPECT_EQ(Notes.last(), TNote({1000, 100000}));
    EXPECT_EQ(Get("take1.bf2demo"), "an older take");
    EXPECT_EQ(Files(), QStringList({"Game/mods/bf2/Demos/take1.bf2demo"}));
}

TEST_F(DownloadTest, AbortBeforeTheDownloadSendsNothing) {
    Server.Serve("/take1.bf2demo", "demo");
    const TDownloadResult Result =
        Downloader.DownloadToFile(Server.Url("/take1.bf2demo"), Demos() + "take1.bf2demo",
                                  Recorder([](qint64, qint64) { return false; }));
    EXPECT_EQ(Result, TDownloadResult::Aborted);
    EXPECT_EQ(Notes, QList<TNote>({{0, 0}}));
    EXPECT_TRUE(Server.Requests().isEmpty());
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(DownloadTest, ADownloadThatReportsNoBytes) {
    Server.Serve("/empty.bf2demo", "");
    EXPECT_EQ(Downloader.DownloadToFile(Server.Url("/empty.bf2demo"), Demos() + "empty.bf2demo",
                                        Recorder()),
              TDownloadResult::Completed);
    for (const TNote& N : Notes)
        EXPECT_EQ(N, TNote({0, 0}));
    EXPECT_EQ(Get("empty.bf2demo"), "");
}

TEST_F(DownloadTest, FailuresLeaveNoFile) {
    Server.Serve("/broken.bf2demo", "an error page", 500);
    const std::pair<QString, QString> Cases[] = {
        {Server.Url("/missing.bf2demo"), Demos() + "missing.bf2demo"},
        {Server.Url("/broken.bf2demo"), Demos() + "broken.bf2demo"},
        {Server.Url("/broken.bf2demo"), Demos() + "NoSuchProject\\broken.bf2demo"},
        {"http://127.0.0.1:1/x.bf2demo", Demos() + "x.bf2demo"},
    };
    for (const auto& [Url, Target] : Cases) {
        Notes.clear();
        EXPECT_EQ(Downloader.DownloadToFile(Url, Target, Recorder()), TDownloadResult::Failed)
            << Url.toStdString();
        for (const TNote& N : Notes)
            EXPECT_EQ(N.Received, 0);
    }
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(DownloadTest, StalledAndOversizedAnswersFailAndKeepTheOlderFile) {
    // The floor is set a few MiB below the free space, measured just before
    // each download, as the disk is shared with other programs.
    const qint64 Room = qint64(4) << 20;
    Server.ServeHeld("/stalled.bf2demo", RandomBytes(1000), 1);
    Server.ServeEndless("/endless.bf2demo");
    Server.ServeEndless("/huge.bf2demo", 2 * Room);
    TMuteFtpServer Ftp;
    // More than MostReceived bytes means the limit failed; the download is
    // aborted then, rather than fill the disk.
    const std::pair<QString, qint64> Cases[] = {
        // One byte, then silence until the stall limit.
        {Server.Url("/stalled.bf2demo"), 1},
        // No size announced: the bytes are counted against the room (with as
        // much again for other programs freeing space meanwhile).
        {Server.Url("/endless.bf2demo"), 2 * Room},
        // A size beyond the room announced: refused before a byte of the body
        // is written.
        {Server.Url("/huge.bf2demo"), 0},
        // A command left unanswered.
        {Ftp.Url("/take1.bf2demo"), 0},
    };
    Put("take1.bf2demo", "an older take");
    Downloader.SetStallLimit(std::chrono::seconds(1));
    for (const auto& [Url, MostReceived] : Cases) {
        SCOPED_TRACE(Url.toStdString());
        Downloader.SetFreeSpaceFloor(QStorageInfo(Tmp.path()).bytesAvailable() - Room);
        const TDownloadResult Result = Downloader.DownloadToFile(
            Url, Demos() + "take1.bf2demo",
            Recorder([&](qint64 Received, qint64) { return Received <= MostReceived; }));
        EXPECT_EQ(Result, TDownloadResult::Failed);
        EXPECT_EQ(Get("take1.bf2demo"), "an older take");
        EXPECT_EQ(Files(), QStringList({"Game/mods/bf2/Demos/take1.bf2demo"}));
    }
    EXPECT_TRUE(Ftp.ClientGaveUp());
}

TEST_F(DownloadTest, AQueryPartStaysInTheFileName) {
    Server.Serve("/get.bf2demo?id=3", "demo");
    EXPECT_EQ(DownloadBookmark(Downloader, Server.Url("/get.bf2demo?id=3"), Demos(), Recorder()),
              TDownloadResult::Completed);
    EXPECT_EQ(Server.Requests(), QStringList({"/get.bf2demo?id=3"}));
    EXPECT_EQ(Get("get.bf2demo?id=3"), "demo");
}

TEST_F(DownloadTest, NamesThatLeaveTheDemosFolderAreRefused) {
    for (const char* Target : {"/a/..\\..\\..\\..\\evil.bf2demo", "/..", "/"})
        Server.Serve(Target, "evil");
    for (const char* Target : {"/a/..\\..\\..\\..\\evil.bf2demo", "/..", "/"})
        EXPECT_EQ(DownloadBookmark(Downloader, Server.Url(Target), Demos(), Recorder()),
                  TDownloadResult::Failed)
            << Target;
    EXPECT_TRUE(Notes.isEmpty());
    EXPECT_TRUE(Server.Requests().isEmpty());
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(DownloadTest, Megabytes) {
    const TCommaLocale Comma;
    const std::pair<qint64, const char*> Cases[] = {
        {0, "0.00"},       {4999, "0.00"},      {5000, "0.01"},         {15000, "0.02"},
        {4560000, "4.56"}, {23500000, "23.50"}, {999995000, "1000.00"}, {5000000000, "5000.00"},
    };
    for (const auto& [Bytes, Text] : Cases)
        EXPECT_EQ(FormatMegabytes(Bytes), Text) << Bytes;
    EXPECT_EQ(FormatMegabytes(4560000, QStringLiteral(",")), "4,56");
    EXPECT_DOUBLE_EQ(MegabytesOf(4560000), 4.56);
}

} // namespace
