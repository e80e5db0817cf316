#include "launcher/platform/TcpClient.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

qint64 NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Waits at most TimeoutMs for Events on Fd; a signal only shortens the wait.
void PollFor(int Fd, short Events, qint64 TimeoutMs) {
    pollfd P{Fd, Events, 0};
    ::poll(&P, 1, static_cast<int>(std::max<qint64>(0, TimeoutMs)));
}

ETcpError SocketError(int Error) {
    return ETcpError(
        QStringLiteral("Socket error: %1").arg(QString::fromLocal8Bit(strerror(Error))));
}

// A name look-up on a helper thread, so the caller can go on calling its
// waiting callback. The thread keeps the state alive; a look-up given up on
// finishes in the background and frees its own result.
struct TLookup {
    QByteArray Host, Service;
    int Event = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    std::mutex Lock;
    bool Done = false;
    int Error = 0;
    addrinfo* Result = nullptr;
    ~TLookup() {
        if (Result)
            freeaddrinfo(Result);
        if (Event >= 0)
            ::close(Event);
    }
};

addrinfo Hints(int Flags) {
    addrinfo H{};
    H.ai_family = AF_UNSPEC;
    H.ai_socktype = SOCK_STREAM;
    H.ai_flags = Flags;
    return H;
}

ETcpConnectError LookupError(const QString& Host, int Error) {
    if (Error == EAI_NONAME || Error == EAI_AGAIN || Error == EAI_FAIL || Error == EAI_NODATA)
        return ETcpConnectError(QStringLiteral("Host \"%1\" not found.").arg(Host));
    return ETcpConnectError(
        QStringLiteral("Host \"%1\": %2").arg(Host, QString::fromLocal8Bit(gai_strerror(Error))));
}

// Closes a socket being connected unless it is handed on.
struct TSocketHolder {
    int Fd = -1;
    ~TSocketHolder() {
        if (Fd >= 0)
            ::close(Fd);
    }
    int Release() { return std::exchange(Fd, -1); }
};

} // namespace

// ---- TLineBuffer -----------------------------------------------------------

void TLineBuffer::Append(const char* Data, qsizetype Size) {
    if (FStart > 0) {
        FData.remove(0, FStart);
        FStart = 0;
    }
    FData.append(Data, Size);
}

TLineBuffer::TTake TLineBuffer::TakeLine(QByteArray& Line) {
    if (FDropping) {
        const qsizetype Lf = FData.indexOf('\n', FStart);
        if (Lf < 0) {
            FData.clear();
            FStart = FScanned = 0;
            return ltNone;
        }
        FStart = Lf + 1;
        FScanned = 0;
        FDropping = false;
    }
    const qsizetype Lf = FData.indexOf('\n', FStart + FScanned);
    if (Lf < 0) {
        FScanned = FData.size() - FStart;
        if (FScanned > FMax) {
            // The line cannot end within the limit: drop it as it comes.
            FData.clear();
            FStart = FScanned = 0;
            FDropping = true;
            return ltTooLong;
        }
        return ltNone;
    }
    const qsizetype Length = Lf - FStart;
    if (Length > FMax) {
        FStart = Lf + 1;
        FScanned = 0;
        return ltTooLong;
    }
    Line = FData.mid(FStart, Length);
    if (Line.endsWith('\r'))
        Line.chop(1);
    FStart = Lf + 1;
    FScanned = 0;
    if (FStart == FData.size()) {
        FData.clear();
        FStart = 0;
    }
    return ltLine;
}

void TLineBuffer::Clear() {
    FData.clear();
    FStart = FScanned = 0;
    FDropping = false;
}

// ---- TTcpClient ------------------------------------------------------------

void TTcpClient::TAddrFree::operator()(addrinfo* List) const {
    freeaddrinfo(List);
}

TTcpClient::TTcpClient() : FAlive(std::make_shared<bool>(true)) {}

TTcpClient::~TTcpClient() {
    *FAlive = false;
    if (FSocket >= 0)
        ::close(FSocket);
}

void TTcpClient::CallWhileWaiting(const std::shared_ptr<bool>& Alive) {
    if (WhileWaiting) {
        // A copy: the callback may set another one.
        const std::function<void()> Callback = WhileWaiting;
        Callback();
    }
    if (!*Alive)
        throw ETcpError(QStringLiteral("Not connected."));
}

void TTcpClient::CheckOpen() const {
    if (FState != csOpen)
        throw ETcpError(QStringLiteral("Not connected."));
}

void TTcpClient::CloseSocket() {
    if (FSocket >= 0)
        ::close(FSocket);
    FSocket = -1;
    FState = csClosed;
    ++FGeneration;
    FIn.Clear();
    FOut.clear();
    FOutSent = 0;
    FWriting = false;
}

void TTcpClient::Drop() {
    CloseSocket();
    if (OnDisconnected) {
        const std::function<void()> Handler = OnDisconnected;
        Handler();
    }
}

void TTcpClient::Connect() {
    Open(FHost, FPort);
}

void TTcpClient::Reconnect() {
    Open(FConnectionHost, FConnectionPort);
}

void TTcpClient::Open(QString Host, int Port) {
    if (FState != csClosed)
        throw ETcpConnectError(QStringLiteral("Already connected."));
    FConnectionHost = Host;
    FConnectionPort = Port;
    if (Port < 1 || Port > 65535)
        throw ETcpConnectError(QStringLiteral("Invalid port %1.").arg(Port));
    const std::shared_ptr<bool> Alive = FAlive;
    FState = csConnecting;
    int Fd = -1;
    try {
        const qint64 Deadline = NowMs() + std::max(0, FConnectTimeoutMs);
        const TAddrList Addresses = Resolve(Host, Port, Deadline, Alive);
        Fd = ConnectTo(Addresses.get(), Deadline, Alive);
    } catch (...) {
        if (*Alive)
            FState = csClosed;
        throw;
    }
    FSocket = Fd;
    FState = csOpen;
    ++FGeneration;
    FIn.Clear();
    if (OnConnected) {
        const std::function<void()> Handler = OnConnected;
        Handler();
    }
}

TTcpClient::TAddrList TTcpClient::Resolve(const QString& Host, int Port, qint64 Deadline,
                                          const std::shared_ptr<bool>& Alive) {
    const QByteArray Name = Host.toUtf8();
    const QByteArray Service = QByteArray::number(Port);
    if (Name.isEmpty() || Name.contains('\0'))
        throw LookupError(Host, EAI_NONAME);
    // An address needs no look-up and no thread.
    addrinfo Numeric = Hints(AI_NUMERICHOST | AI_NUMERICSERV);
    addrinfo* List = nullptr;
    if (getaddrinfo(Name.constData(), Service.constData(), &Numeric, &List) == 0)
        return TAddrList(List);

    auto Lookup = std::make_shared<TLookup>();
    Lookup->Host = Name;
    Lookup->Service = Service;
    if (Lookup->Event < 0)
        throw SocketError(errno);
    try {
        std::thread([Lookup] {
            const addrinfo H = Hints(AI_NUMERICSERV | AI_ADDRCONFIG);
            addrinfo* Found = nullptr;
            const int Error =
                getaddrinfo(Lookup->Host.constData(), Lookup->Service.constData(), &H, &Found);
            {
                const std::lock_guard<std::mutex> Guard(Lookup->Lock);
                Lookup->Result = Found;
                Lookup->Error = Error;
                Lookup->Done = true;
            }
            const uint64_t One = 1;
            [[maybe_unused]] const ssize_t N = ::write(Lookup->Event, &One, sizeof One);
        }).detach();
    } catch (const std::system_error& E) {
        throw SocketError(E.code().value());
    }
    qint64 LastCall = NowMs();
    for (;;) {
        {
            const std::lock_guard<std::mutex> Guard(Lookup->Lock);
            if (Lookup->Done) {
                if (Lookup->Error != 0)
                    throw LookupError(Host, Lookup->Error);
                return TAddrList(std::exchange(Lookup->Result, nullptr));
            }
        }
        ConnectWait(Lookup->Event, POLLIN, Deadline, LastCall, Alive);
    }
}

void TTcpClient::ConnectWait(int Fd, short Events, qint64 Deadline, qint64& LastCall,
                             const std::shared_ptr<bool>& Alive) {
    const qint64 Now = NowMs();
    if (Now >= Deadline)
        throw ETcpConnectError(QStringLiteral("Connection timed out."));
    if (Now - LastCall >= CWaitSliceMs) {
        CallWhileWaiting(Alive);
        LastCall = NowMs();
        return;
    }
    PollFor(Fd, Events, std::min(Deadline, LastCall + CWaitSliceMs) - Now);
}

int TTcpClient::ConnectTo(const addrinfo* Addresses, qint64 Deadline,
                          const std::shared_ptr<bool>& Alive) {
    int LastError = ECONNREFUSED;
    qint64 LastCall = NowMs();
    for (const addrinfo* A = Addresses; A; A = A->ai_next) {
        TSocketHolder Socket;
        Socket.Fd =
            ::socket(A->ai_family, A->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, A->ai_protocol);
        if (Socket.Fd < 0) {
            LastError = errno;
            continue;
        }
        if (::connect(Socket.Fd, A->ai_addr, A->ai_addrlen) != 0) {
            if (errno != EINPROGRESS) {
                LastError = errno;
                continue;
            }
            for (;;) {
                pollfd P{Socket.Fd, POLLOUT, 0};
                if (::poll(&P, 1, 0) > 0)
                    break;
                ConnectWait(Socket.Fd, POLLOUT, Deadline, LastCall, Alive);
            }
            int Error = 0;
            socklen_t Size = sizeof Error;
            if (::getsockopt(Socket.Fd, SOL_SOCKET, SO_ERROR, &Error, &Size) != 0)
                Error = errno;
            if (Error != 0) {
                LastError = Error;
                continue;
            }
        }
        const int On = 1;
        ::setsockopt(Socket.Fd, IPPROTO_TCP, TCP_NODELAY, &On, sizeof On);
        return Socket.Release();
    }
    if (LastError == ECONNREFUSED)
        throw ETcpConnectError(QStringLiteral("Connection refused."));
    throw ETcpConnectError(
        QStringLiteral("Socket error: %1").arg(QString::fromLocal8Bit(strerror(LastError))));
}

bool TTcpClient::NotReadyYet(int Error) {
    if (Error == EINTR)
        return false;
    if (Error == EAGAIN || Error == EWOULDBLOCK)
        return true;
    Drop();
    throw SocketError(Error);
}

void TTcpClient::Disconnect() {
    if (FState != csOpen)
        return;
    Drop();
}

void TTcpClient::WriteLn(const QByteArray& Line) {
    CheckOpen();
    FOut.append(Line);
    FOut.append("\r\n", 2);
    // A write already under way (this one came from its waiting callback)
    // sends the queued line after its own.
    if (FWriting)
        return;
    const std::shared_ptr<bool> Alive = FAlive;
    const quint64 Generation = FGeneration;
    FWriting = true;
    qint64 LastCall = NowMs();
    while (FOutSent < FOut.size()) {
        const ssize_t N = ::send(FSocket, FOut.constData() + FOutSent, FOut.size() - FOutSent,
                                 MSG_NOSIGNAL | MSG_DONTWAIT);
        if (N > 0) {
            FOutSent += N;
            continue;
        }
        if (!NotReadyYet(N < 0 ? errno : EPIPE))
            continue;
        const qint64 Now = NowMs();
        if (Now - LastCall >= CWaitSliceMs) {
            CallWhileWaiting(Alive);
            // Closed (or closed and opened again) meanwhile: what was queued
            // went with the old connection.
            if (FState != csOpen || FGeneration != Generation)
                throw ETcpError(QStringLiteral("Not connected."));
            LastCall = NowMs();
            continue;
        }
        PollFor(FSocket, POLLOUT, LastCall + CWaitSliceMs - Now);
    }
    FOut.clear();
    FOutSent = 0;
    FWriting = false;
}

QByteArray TTcpClient::ReadLn(int WaitMs) {
    CheckOpen();
    const std::shared_ptr<bool> Alive = FAlive;
    const quint64 Generation = FGeneration;
    const qint64 Start = NowMs();
    const qint64 Deadline = Start + std::max(0, WaitMs);
    qint64 LastCall = Start;
    bool First = true;
    for (;;) {
        QByteArray Line;
        switch (FIn.TakeLine(Line)) {
        case TLineBuffer::ltLine:
            return Line;
        case TLineBuffer::ltTooLong:
            throw ETcpLineTooLong(QStringLiteral("Max line length exceeded."));
        case TLineBuffer::ltNone:
            break;
        }
        // Time counts also while data keeps coming, so a peer that floods or
        // drips holds a read no longer than its wait.
        if (!First) {
            const qint64 Now = NowMs();
            if (Now >= Deadline)
                return {};
            if (Now - LastCall >= CWaitSliceMs) {
                CallWhileWaiting(Alive);
                if (FState != csOpen || FGeneration != Generation)
                    return {};
                LastCall = NowMs();
                continue;
            }
        }
        First = false;
        char Chunk[8192];
        const ssize_t N = ::recv(FSocket, Chunk, sizeof Chunk, MSG_DONTWAIT);
        if (N > 0) {
            FIn.Append(Chunk, N);
            continue;
        }
        if (N == 0) {
            Drop();
            throw ETcpClosedGracefully(QStringLiteral("Connection Closed Gracefully."));
        }
        if (!NotReadyYet(errno))
            continue;
        const qint64 Now = NowMs();
        PollFor(FSocket, POLLIN, std::min(Deadline, LastCall + CWaitSliceMs) - Now);
    }
}
