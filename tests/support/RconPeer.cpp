#include "support/RconPeer.h"

#include <QCryptographicHash>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <utility>

namespace {

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A socket bound to an ephemeral port of 127.0.0.1; listening with Backlog
// unless that is negative.
int BindLoopback(int Backlog, int& Port) {
    const int Fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in A{};
    A.sin_family = AF_INET;
    A.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(Fd, reinterpret_cast<sockaddr*>(&A), sizeof A);
    if (Backlog >= 0)
        ::listen(Fd, Backlog);
    socklen_t Size = sizeof A;
    ::getsockname(Fd, reinterpret_cast<sockaddr*>(&A), &Size);
    Port = ntohs(A.sin_port);
    return Fd;
}

// A connection to a port of 127.0.0.1.
int ConnectLoopback(int Port) {
    const int Fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in A{};
    A.sin_family = AF_INET;
    A.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    A.sin_port = htons(Port);
    ::connect(Fd, reinterpret_cast<sockaddr*>(&A), sizeof A);
    return Fd;
}

constexpr int CBacklog = 8;

} // namespace

int ClosedLoopbackPort() {
    int Port = 0;
    ::close(BindLoopback(-1, Port));
    return Port;
}

TSilentListener::TSilentListener() {
    // One connection fills a queue of length 0; the next one gets no answer.
    FListen = BindLoopback(0, FPort);
    FFiller = ConnectLoopback(FPort);
}

TSilentListener::~TSilentListener() {
    ::close(FFiller);
    ::close(FListen);
}

TRconPeer::TRconPeer() : FSeed("Xq7Lk2Pz9Wm4Tn8R"), FPassword("secret") {
    FListen = BindLoopback(CBacklog, FPort);
    FWake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    FThread = std::thread([this] { Run(); });
}

TRconPeer::~TRconPeer() {
    {
        const std::lock_guard<std::mutex> Guard(FLock);
        FStop = true;
    }
    Wake();
    FThread.join();
    if (FClient >= 0)
        ::close(FClient);
    if (FFiller >= 0)
        ::close(FFiller);
    ::close(FListen);
    ::close(FWake);
}

void TRconPeer::Wake() {
    const uint64_t One = 1;
    [[maybe_unused]] const ssize_t N = ::write(FWake, &One, sizeof One);
}

void TRconPeer::SetChallenge(bool Send, const QByteArray& Seed) {
    const std::lock_guard<std::mutex> Guard(FLock);
    FSendChallenge = Send;
    FSeed = Seed;
}

void TRconPeer::SetPassword(const QByteArray& Password) {
    const std::lock_guard<std::mutex> Guard(FLock);
    FPassword = Password;
}

QByteArray TRconPeer::Seed() const {
    const std::lock_guard<std::mutex> Guard(FLock);
    return FSeed;
}

QByteArray TRconPeer::ChatEntry(int Number, const QByteArray& Player, const QByteArray& Type,
                                const QByteArray& Text) {
    return QByteArray::number(Number) + '\t' + Player + "\t1\t" + Type + "\t[12:00:00]\t" + Text;
}

void TRconPeer::AddChatEntry(const QByteArray& Entry) {
    const std::lock_guard<std::mutex> Guard(FLock);
    FChat.append(Entry);
}

void TRconPeer::Enqueue(TAction Action) {
    {
        const std::lock_guard<std::mutex> Guard(FLock);
        FActions.push_back(std::move(Action));
    }
    Wake();
}

void TRconPeer::Send(const QByteArray& Bytes) {
    Enqueue({Bytes, 0, false});
}

void TRconPeer::SendInPieces(const QByteArray& Bytes, int PieceSize, int GapMs) {
    for (qsizetype I = 0; I < Bytes.size(); I += PieceSize)
        Enqueue({Bytes.mid(I, PieceSize), I == 0 ? 0 : GapMs, false});
}

void TRconPeer::Close() {
    Enqueue({QByteArray(), 0, true});
}

void TRconPeer::SetReading(bool On) {
    {
        const std::lock_guard<std::mutex> Guard(FLock);
        FReading = On;
    }
    Wake();
}

void TRconPeer::SetAccepting(bool On) {
    {
        const std::lock_guard<std::mutex> Guard(FLock);
        if (On == (FFiller < 0))
            return;
        if (On) {
            // The filler is all the queue holds: the connects it kept out
            // were dropped, not queued.
            pollfd Queued{FListen, POLLIN, 0};
            if (::poll(&Queued, 1, 1000) > 0)
                ::close(::accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC));
            ::close(std::exchange(FFiller, -1));
            ::listen(FListen, CBacklog);
        } else {
            // A queue of length 0 holds one connection.
            ::listen(FListen, 0);
            FFiller = ConnectLoopback(FPort);
        }
    }
    Wake();
}

QList<QByteArray> TRconPeer::Lines() const {
    const std::lock_guard<std::mutex> Guard(FLock);
    return FLines;
}

QByteArray TRconPeer::Raw() const {
    const std::lock_guard<std::mutex> Guard(FLock);
    return FRaw;
}

int TRconPeer::Connections() const {
    const std::lock_guard<std::mutex> Guard(FLock);
    return FConnections;
}

bool TRconPeer::WaitForLines(int Count) const {
    std::unique_lock<std::mutex> Guard(FLock);
    return FChanged.wait_for(Guard, std::chrono::seconds(20),
                             [&] { return FLines.size() >= Count; });
}

bool TRconPeer::WaitForConnections(int Count) const {
    std::unique_lock<std::mutex> Guard(FLock);
    return FChanged.wait_for(Guard, std::chrono::seconds(20),
                             [&] { return FConnections >= Count; });
}

// ---- the peer's thread; FLock is held except while it waits ----------------

void TRconPeer::Run() {
    std::unique_lock<std::mutex> Guard(FLock);
    while (!FStop) {
        // Run what is due.
        while (FClient >= 0 && !FActions.empty()) {
            TAction& Next = FActions.front();
            if (FNextActionAt == 0)
                FNextActionAt = NowMs() + Next.DelayMs;
            if (NowMs() < FNextActionAt)
                break;
            const TAction Action = std::move(Next);
            FActions.pop_front();
            FNextActionAt = 0;
            if (Action.Close)
                CloseClient();
            else
                SendNow(Action.Bytes);
        }
        int Timeout = -1;
        if (FClient >= 0 && !FActions.empty() && FNextActionAt != 0)
            Timeout = static_cast<int>(std::max(0LL, FNextActionAt - NowMs()));
        pollfd P[3] = {
            {FWake, POLLIN, 0}, {FFiller < 0 ? FListen : -1, POLLIN, 0}, {FClient, POLLIN, 0}};
        const nfds_t Count = FClient >= 0 && FReading ? 3 : 2;
        Guard.unlock();
        ::poll(P, Count, Timeout);
        Guard.lock();
        if (P[0].revents) {
            uint64_t Value;
            [[maybe_unused]] const ssize_t N = ::read(FWake, &Value, sizeof Value);
        }
        // The connection polled first: an accept replaces it.
        if (Count == 3 && P[2].revents && FClient == P[2].fd)
            Receive();
        if (P[1].revents && FFiller < 0)
            Accept();
    }
}

void TRconPeer::Accept() {
    const int Fd = ::accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC);
    if (Fd < 0)
        return;
    CloseClient();
    FClient = Fd;
    ++FConnections;
    FPending.clear();
    if (FSendChallenge)
        SendNow("### Digest seed: " + FSeed + "\n");
    FChanged.notify_all();
}

void TRconPeer::Receive() {
    char Chunk[65536];
    const ssize_t N = ::recv(FClient, Chunk, sizeof Chunk, MSG_DONTWAIT);
    if (N < 0 && errno == EAGAIN)
        return;
    if (N <= 0) {
        CloseClient();
        return;
    }
    FRaw.append(Chunk, N);
    FPending.append(Chunk, N);
    qsizetype Lf;
    while ((Lf = FPending.indexOf('\n')) >= 0) {
        QByteArray Line = FPending.left(Lf);
        FPending.remove(0, Lf + 1);
        if (Line.endsWith('\r'))
            Line.chop(1);
        FLines.append(Line);
        Answer(Line);
    }
    FChanged.notify_all();
}

void TRconPeer::Answer(const QByteArray& Line) {
    if (Line.startsWith("login ")) {
        const QByteArray Expected =
            QCryptographicHash::hash(FSeed.left(16) + FPassword, QCryptographicHash::Md5).toHex();
        SendNow(Line.mid(6) == Expected ? "Authentication successful, rcon ready.\n"
                                        : "Authentication failed.\n");
    } else if (Line == "bf2cc serverchatbuffer") {
        SendNow(FChat.join('\r') + "\n");
    }
}

void TRconPeer::SendNow(const QByteArray& Bytes) {
    qsizetype Sent = 0;
    while (FClient >= 0 && Sent < Bytes.size()) {
        const ssize_t N =
            ::send(FClient, Bytes.constData() + Sent, Bytes.size() - Sent, MSG_NOSIGNAL);
        if (N <= 0)
            return;
        Sent += N;
    }
}

void TRconPeer::CloseClient() {
    if (FClient >= 0)
        ::close(FClient);
    FClient = -1;
}
