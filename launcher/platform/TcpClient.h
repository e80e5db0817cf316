// One blocking TCP client connection with line-based reads and writes, for
// the remote console of a game server. Every operation runs on the caller's
// thread; while one waits it calls the "while waiting" callback, which the
// window uses to keep processing its events (the freeze guard). Lines are
// bytes on the wire: nothing here decodes or encodes text.
#pragma once

#include "common/Errors.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

struct addrinfo;

// A failure of a client operation; Message() is what the user sees.
class ETcpError : public EError {
    using EError::EError;
};
// A connection that cannot be made: the name does not resolve, the peer
// refuses or does not answer in time, or one is open already.
class ETcpConnectError : public ETcpError {
    using ETcpError::ETcpError;
};
// "Connection Closed Gracefully.": the peer has closed the connection.
class ETcpClosedGracefully : public ETcpError {
    using ETcpError::ETcpError;
};
// "Max line length exceeded.": a line over the limit, dropped.
class ETcpLineTooLong : public ETcpError {
    using ETcpError::ETcpError;
};

// The longest line a read accepts: bytes before the LF, a CR included.
inline constexpr int CMaxLineLength = 16384;

// Cuts a byte stream into LF-ended lines, holding a partial line until the
// rest arrives. A line over the limit is dropped whole, up to and including
// its LF, so the line after it comes out intact; the buffer never holds more
// than the limit plus the last chunk appended.
class TLineBuffer {
public:
    enum TTake { ltNone, ltLine, ltTooLong };

    // The limit is CMaxLineLength unless a test picks a smaller one.
    explicit TLineBuffer(qsizetype MaxLineLength = CMaxLineLength) : FMax(MaxLineLength) {}

    void Append(const char* Data, qsizetype Size);
    // ltLine: Line is the next line without its LF and without a CR right
    // before it. ltNone: no whole line is there yet. ltTooLong: the next line
    // is longer than the limit (or more than the limit is waiting with no LF);
    // what there is of it has been dropped, and so is the rest of it as it
    // arrives, up to and including its LF.
    TTake TakeLine(QByteArray& Line);
    // Bytes held (a partial line).
    qsizetype Size() const { return FData.size() - FStart; }
    void Clear();

private:
    qsizetype FMax;
    QByteArray FData;
    qsizetype FStart = 0;   // the first byte not yet taken
    qsizetype FScanned = 0; // bytes after FStart known to hold no LF
    bool FDropping = false; // inside an over-long line: drop up to its LF
};

class TTcpClient {
public:
    // A connect gives up after this long (name look-up included) when set
    // to nothing else.
    static constexpr int CDefaultConnectTimeoutMs = 10000;
    // A read waits this long for a whole line when given no other wait.
    static constexpr int CDefaultReadWaitMs = 5;
    // The longest a wait goes on without calling the "while waiting" callback.
    static constexpr int CWaitSliceMs = 50;

    TTcpClient();
    // Closes an open connection without running the disconnected handler:
    // the owner is going away.
    ~TTcpClient();
    TTcpClient(const TTcpClient&) = delete;
    TTcpClient& operator=(const TTcpClient&) = delete;

    // Run inside Connect before it returns, and inside whichever operation
    // closes the connection (Disconnect, or a read or write that finds it
    // closed or broken), after the socket is closed. An error they raise
    // goes up through that operation.
    std::function<void()> OnConnected;
    std::function<void()> OnDisconnected;
    // Called while an operation waits, at least every CWaitSliceMs (plus the
    // time the callback itself takes). It may call back into this client: an
    // operation reads its state afresh after each call.
    std::function<void()> WhileWaiting;

    // True from a successful connect until this side disconnects or an
    // operation finds the connection closed by the peer or broken. Never
    // fails and never waits.
    bool Connected() const { return FState == csOpen; }

    // True while Connect is opening a connection (and waits).
    bool Connecting() const { return FState == csConnecting; }

    // Stored for the next connect and read back; no effect on a connection
    // being opened or open.
    QString Host() const { return FHost; }
    void SetHost(const QString& Host) { FHost = Host; }
    int Port() const { return FPort; }
    void SetPort(int Port) { FPort = Port; }
    // The host and port of the connection being opened or open, or of the
    // last one once it has closed: taken when Connect starts, so whatever is
    // set meanwhile names the next connection, never this one.
    QString ConnectionHost() const { return FConnectionHost; }
    int ConnectionPort() const { return FConnectionPort; }
    // A number that the owner keeps with the client (the reconnect request).
    int Tag() const { return FTag; }
    void SetTag(int Tag) { FTag = Tag; }
    int ConnectTimeoutMs() const { return FConnectTimeoutMs; }
    void SetConnectTimeoutMs(int Ms) { FConnectTimeoutMs = Ms; }

    // Opens a connection to Host and Port, trying each address the name
    // gives, then runs OnConnected. Raises ETcpConnectError when the name
    // does not resolve, the peer refuses or the time-out passes, the port is
    // outside 1 to 65535, or a connection is open or being opened ("Already
    // connected.").
    void Connect();
    // Connect, to the host and port of the last connection rather than those
    // set for the next one.
    void Reconnect();
    // Closes an open connection, then runs OnDisconnected. With none open it
    // does nothing at all.
    void Disconnect();
    // Sends Line followed by CR LF; nothing else is added or escaped. Raises
    // ETcpError when not connected or when the connection breaks (after the
    // disconnected handler has run). A write started from the waiting
    // callback of another write is queued behind it, so lines never mix.
    void WriteLn(const QByteArray& Line);
    // The next line, without its LF and a CR right before it; the empty text
    // when no whole line is there within WaitMs (what has arrived stays for a
    // later read) or when this side closed the connection meanwhile. Raises
    // ETcpLineTooLong for a line over the limit (see TLineBuffer),
    // ETcpClosedGracefully once the peer has closed and every whole line it
    // sent has been read (a partial last line is lost; the disconnected
    // handler has run by then), and ETcpError when not connected or the
    // connection breaks.
    QByteArray ReadLn(int WaitMs = CDefaultReadWaitMs);

private:
    enum TState { csClosed, csConnecting, csOpen };

    struct TAddrFree {
        void operator()(addrinfo* List) const;
    };
    using TAddrList = std::unique_ptr<addrinfo, TAddrFree>;

    // Connect's work, to Host and Port, which become the connection's own.
    void Open(QString Host, int Port);
    TAddrList Resolve(const QString& Host, int Port, qint64 Deadline,
                      const std::shared_ptr<bool>& Alive);
    // One step of a connect's wait: until Fd is ready for Events or the
    // callback is due (then called); raises "Connection timed out." at the
    // deadline.
    void ConnectWait(int Fd, short Events, qint64 Deadline, qint64& LastCall,
                     const std::shared_ptr<bool>& Alive);
    // The connected socket of the first address that accepts.
    int ConnectTo(const addrinfo* Addresses, qint64 Deadline, const std::shared_ptr<bool>& Alive);
    // Closes the socket and drops what is buffered.
    void CloseSocket();
    // Closes the socket, then runs the disconnected handler.
    void Drop();
    // After a send or receive that moved nothing: true when the socket is not
    // ready yet, false after a signal (try again); a broken connection is
    // dropped and raised.
    bool NotReadyYet(int Error);
    void CallWhileWaiting(const std::shared_ptr<bool>& Alive);
    void CheckOpen() const;

    QString FHost;
    int FPort = 0;
    QString FConnectionHost;
    int FConnectionPort = 0;
    int FTag = 0;
    int FConnectTimeoutMs = CDefaultConnectTimeoutMs;
    int FSocket = -1;
    TState FState = csClosed;
    // Counts connections, so an operation notices one replaced while it waited.
    quint64 FGeneration = 0;
    TLineBuffer FIn;
    QByteArray FOut;
    qsizetype FOutSent = 0;
    bool FWriting = false;
    // Shared with running operations, which must not touch the client after
    // a callback when it was destroyed meanwhile.
    std::shared_ptr<bool> FAlive;
};
