// A game server's remote console for tests, on 127.0.0.1 and a thread of its
// own: it sends the login challenge to each new connection, answers "login"
// and "bf2cc serverchatbuffer" as the game and its admin scripts do, records
// every line it receives, and sends what a test asks for: whole lines, raw
// bytes, bytes in pieces or one at a time, and a close (also mid-line).
#pragma once

#include <QByteArray>
#include <QList>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

class TRconPeer {
public:
    // Listens on an ephemeral port of 127.0.0.1.
    TRconPeer();
    ~TRconPeer();
    TRconPeer(const TRconPeer&) = delete;
    TRconPeer& operator=(const TRconPeer&) = delete;

    int Port() const { return FPort; }

    // The challenge: "### Digest seed: <seed>" to every new connection (on by
    // default), and the password the login must be made with.
    void SetChallenge(bool Send, const QByteArray& Seed = "Xq7Lk2Pz9Wm4Tn8R");
    void SetPassword(const QByteArray& Password);
    QByteArray Seed() const;

    // A chat-buffer entry: six TAB fields. The buffer answers every poll with
    // all its entries so far, separated by CR, as one line.
    static QByteArray ChatEntry(int Number, const QByteArray& Player, const QByteArray& Type,
                                const QByteArray& Text);
    void AddChatEntry(const QByteArray& Entry);

    // Sent in order to the connection, each once a client is there; Bytes go
    // as they are (a test adds the LF).
    void Send(const QByteArray& Bytes);
    // The bytes in pieces of PieceSize, each sent GapMs after the one before.
    void SendInPieces(const QByteArray& Bytes, int PieceSize, int GapMs);
    // Closes the connection after what was queued before.
    void Close();
    // While off, the peer reads nothing, so the client's writes back up.
    void SetReading(bool On);
    // While off, the peer's queue of connections is full (of one of its own),
    // so a connect hangs unanswered; turned on, a connect in progress gets
    // through at its next try (within a few seconds).
    void SetAccepting(bool On);

    // Every line received, without its LF and a CR before it; all bytes as
    // they came; the number of connections accepted so far.
    QList<QByteArray> Lines() const;
    QByteArray Raw() const;
    int Connections() const;
    // Wait (with a deadline) until Count lines have come, or Count
    // connections have been accepted; false on time-out. Bytes queued for
    // sending go to the connection accepted last, so a test that connects
    // waits for the peer to see it before it queues any.
    bool WaitForLines(int Count) const;
    bool WaitForConnections(int Count) const;

private:
    struct TAction {
        QByteArray Bytes;
        int DelayMs = 0;
        bool Close = false;
    };
    void Run();
    void Enqueue(TAction Action);
    void Wake();
    void Accept();
    void Receive();
    void Answer(const QByteArray& Line);
    void SendNow(const QByteArray& Bytes);
    void CloseClient();

    int FListen = -1;
    int FWake = -1;
    int FClient = -1;
    int FPort = 0;
    bool FStop = false;
    bool FReading = true;
    int FFiller = -1; // fills the queue while not accepting
    QByteArray FSeed;
    QByteArray FPassword;
    bool FSendChallenge = true;
    QList<QByteArray> FChat;
    std::deque<TAction> FActions;
    long long FNextActionAt = 0;
    QByteArray FPending; // a partial line received
    QList<QByteArray> FLines;
    QByteArray FRaw;
    int FConnections = 0;
    mutable std::mutex FLock;
    mutable std::condition_variable FChanged;
    std::thread FThread;
};

// A port of 127.0.0.1 where nothing listens.
int ClosedLoopbackPort();

// A listener on 127.0.0.1 whose queue is full, so a connect to it hangs
// unanswered.
class TSilentListener {
public:
    TSilentListener();
    ~TSilentListener();
    TSilentListener(const TSilentListener&) = delete;
    TSilentListener& operator=(const TSilentListener&) = delete;
    int Port() const { return FPort; }

private:
    int FListen = -1;
    int FFiller = -1;
    int FPort = 0;
};
