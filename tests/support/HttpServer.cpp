#include "support/HttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace {

bool SendAll(int Socket, const char* Data, qsizetype Size) {
    while (Size > 0) {
        const ssize_t N = ::send(Socket, Data, size_t(Size), MSG_NOSIGNAL);
        if (N <= 0)
            return false;
        Data += N;
        Size -= N;
    }
    return true;
}

const char* ReasonOf(int Status) {
    switch (Status) {
    case 200:
        return "OK";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

} // namespace

THttpServer::THttpServer() {
    FListen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in Addr{};
    Addr.sin_family = AF_INET;
    Addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    Addr.sin_port = 0;
    socklen_t Len = sizeof(Addr);
    if (FListen < 0 || ::bind(FListen, reinterpret_cast<sockaddr*>(&Addr), sizeof(Addr)) != 0 ||
        ::listen(FListen, 16) != 0 ||
        ::getsockname(FListen, reinterpret_cast<sockaddr*>(&Addr), &Len) != 0 ||
        ::pipe2(FWake, O_CLOEXEC) != 0)
        throw std::runtime_error("test HTTP server: cannot listen on 127.0.0.1");
    FPort = ntohs(Addr.sin_port);
    FAcceptThread = std::thread([this] { AcceptLoop(); });
}

THttpServer::~THttpServer() {
    FStopping = true;
    {
        std::lock_guard Lock(FMutex);
        FRelease = true;
    }
    FReleased.notify_all();
    const char Byte = 0;
    [[maybe_unused]] const ssize_t Ignored = ::write(FWake[1], &Byte, 1);
    FAcceptThread.join();
    for (std::thread& T : FConnections)
        T.join();
    ::close(FListen);
    ::close(FWake[0]);
    ::close(FWake[1]);
}

QString THttpServer::Url(const QString& Target) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(FPort).arg(Target);
}

void THttpServer::Serve(const QString& Target, const QByteArray& Body, int Status) {
    std::lock_guard Lock(FMutex);
    FRoutes.insert(Target, TRoute{Status, Body, -1});
}

void THttpServer::ServeHeld(const QString& Target, const QByteArray& Body, qsizetype SendFirst) {
    std::lock_guard Lock(FMutex);
    FRoutes.insert(Target, TRoute{200, Body, qBound(qsizetype(0), SendFirst, Body.size())});
    FRelease = false;
}

void THttpServer::ServeEndless(const QString& Target, qint64 Announced) {
    std::lock_guard Lock(FMutex);
    FRoutes.insert(Target, TRoute{200, QByteArray(), -1, true, Announced});
}

void THttpServer::Release() {
    {
        std::lock_guard Lock(FMutex);
        FRelease = true;
    }
    FReleased.notify_all();
}

QStringList THttpServer::Requests() const {
    std::lock_guard Lock(FMutex);
    return FRequests;
}

void THttpServer::AcceptLoop() {
    pollfd Fds[2] = {{FListen, POLLIN, 0}, {FWake[0], POLLIN, 0}};
    while (!FStopping) {
        if (::poll(Fds, 2, -1) < 0)
            continue;
        if (Fds[1].revents)
            break;
        const int Socket = ::accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC);
        if (Socket >= 0)
            FConnections.emplace_back([this, Socket] {
                Answer(Socket);
                ::close(Socket);
            });
    }
}

bool THttpServer::WaitForRelease() {
    std::unique_lock Lock(FMutex);
    FReleased.wait(Lock, [this] { return FRelease; });
    return !FStopping;
}

void THttpServer::Answer(int Socket) {
    // The request head, read until its blank line; the server's end or a
    // client that sends nothing ends the wait.
    QByteArray Head;
    while (!Head.contains("\r\n\r\n") && Head.size() < 65536) {
        pollfd Fd{Socket, POLLIN, 0};
        if (FStopping)
            return;
        if (::poll(&Fd, 1, 50) <= 0)
            continue;
        char Buffer[4096];
        const ssize_t N = ::recv(Socket, Buffer, sizeof(Buffer), 0);
        if (N <= 0)
            return;
        Head.append(Buffer, N);
    }
    const QList<QByteArray> RequestLine = Head.left(Head.indexOf("\r\n")).split(' ');
    const QString Target = RequestLine.size() >= 2 ? QString::fromUtf8(RequestLine[1]) : QString();

    TRoute Route{404, QByteArrayLiteral("Not Found"), -1};
    {
        std::lock_guard Lock(FMutex);
        FRequests.append(Target);
        const auto It = FRoutes.constFind(Target);
        if (It != FRoutes.constEnd())
            Route = *It;
    }
    const qint64 Length = Route.Announced >= 0 ? Route.Announced
                          : Route.Endless      ? -1
                                               : qint64(Route.Body.size());
    const QByteArray Header =
        QByteArray("HTTP/1.1 ") + QByteArray::number(Route.Status) + ' ' + ReasonOf(Route.Status) +
        "\r\nContent-Type: application/octet-stream\r\n" +
        (Length >= 0 ? "Content-Length: " + QByteArray::number(Length) + "\r\n" : QByteArray()) +
        "Connection: close\r\n\r\n";
    if (!SendAll(Socket, Header.constData(), Header.size()))
        return;
    if (Route.Endless) {
        const QByteArray Chunk(65536, 'x');
        while (!FStopping && SendAll(Socket, Chunk.constData(), Chunk.size())) {
        }
        return;
    }
    qsizetype Sent = 0;
    if (Route.HoldAfter >= 0) {
        if (!SendAll(Socket, Route.Body.constData(), Route.HoldAfter) || !WaitForRelease())
            return;
        Sent = Route.HoldAfter;
    }
    SendAll(Socket, Route.Body.constData() + Sent, Route.Body.size() - Sent);
}
