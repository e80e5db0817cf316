// Fuzzes the remote-console client's reads end to end: a peer on 127.0.0.1
// sends the input in a few writes and closes; the client reads lines until it
// reports the close. The lines must be those of the whole stream with the
// real limit (LineModel.h); over-long lines come out as "Max line length
// exceeded." and the line after each is intact.
//
// Input: byte 0 picks how many writes the peer makes (1 to 8); the rest is
// the stream. Run with -max_len above the limit (16384) to reach it.

#include "LineModel.h"
#include "launcher/platform/TcpClient.h"

#include <arpa/inet.h>
#include <cstdint>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int Listener(int& Port) {
    const int Fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in A{};
    A.sin_family = AF_INET;
    A.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    Check(::bind(Fd, reinterpret_cast<sockaddr*>(&A), sizeof A) == 0);
    Check(::listen(Fd, 4) == 0);
    socklen_t Size = sizeof A;
    ::getsockname(Fd, reinterpret_cast<sockaddr*>(&A), &Size);
    Port = ntohs(A.sin_port);
    return Fd;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    static int Port = 0;
    static const int Listen = Listener(Port);
    if (Size < 1)
        return 0;
    const int Writes = Data[0] % 8 + 1;
    const QByteArray Stream(reinterpret_cast<const char*>(Data + 1), qsizetype(Size - 1));

    TTcpClient Client;
    Client.SetHost(QStringLiteral("127.0.0.1"));
    Client.SetPort(Port);
    int Disconnects = 0;
    Client.OnDisconnected = [&] { ++Disconnects; };
    Client.Connect();
    const int Peer = ::accept4(Listen, nullptr, nullptr, SOCK_CLOEXEC);
    Check(Peer >= 0);
    const qsizetype Piece = Stream.size() / Writes + 1;
    for (qsizetype Pos = 0; Pos < Stream.size(); Pos += Piece) {
        const qsizetype N = std::min(Piece, Stream.size() - Pos);
        Check(::send(Peer, Stream.constData() + Pos, N, MSG_NOSIGNAL) == N);
    }
    ::close(Peer);

    QList<QByteArray> Lines;
    for (;;) {
        try {
            const QByteArray Line = Client.ReadLn(2000);
            // The empty text is also an empty line: the model drops neither.
            Lines.append(Line);
        } catch (const ETcpLineTooLong& Error) {
            Check(Error.Message() == QStringLiteral("Max line length exceeded."));
            Lines.append(CTooLong);
        } catch (const ETcpClosedGracefully&) {
            break;
        }
    }
    Check(Disconnects == 1 && !Client.Connected());
    Check(Lines == ExpectedLines(Stream, CMaxLineLength));
    return 0;
}
