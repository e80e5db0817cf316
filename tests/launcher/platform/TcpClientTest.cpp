// The remote console's client against a real peer on 127.0.0.1. Whatever the
// peer sends (over-long lines, junk, lines in pieces, a close mid-line, bytes
// dripping in), the client must give whole lines or a clear error, never
// crash, never mix lines, and keep calling its waiting callback while it waits.
#include "launcher/platform/TcpClient.h"
#include "support/RconPeer.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

namespace {

class TcpClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        Peer.SetChallenge(false);
        Client.SetHost(QStringLiteral("127.0.0.1"));
        Client.SetPort(Peer.Port());
        Client.OnConnected = [this] { ++Connects; };
        Client.OnDisconnected = [this] {
            ++Disconnects;
            ConnectedInHandler = Client.Connected();
        };
    }

    // Connects and waits until the peer has taken the connection.
    void Connect() {
        Client.Connect();
        ASSERT_TRUE(Peer.WaitForConnections(++Accepted));
    }
    // Reads until a line comes; an error of the client goes up.
    QByteArray NextLine() {
        QByteArray Line;
        EXPECT_TRUE(WaitUntil([&] { return !(Line = Client.ReadLn()).isEmpty(); }));
        return Line;
    }
    // Reads until the client fails; the message of its error.
    template <class TError> QString NextError() {
        try {
            WaitUntil([&] { return !Client.ReadLn().isEmpty() && false; });
        } catch (const TError& Error) {
            return Error.Message();
        }
        return QStringLiteral("(no error)");
    }

    TRconPeer Peer;
    TTcpClient Client;
    int Connects = 0;
    int Disconnects = 0;
    bool ConnectedInHandler = true;
    int Accepted = 0;
};

TEST_F(TcpClientTest, ConnectRunsTheHandlerBeforeReturningAndRefusesASecond) {
    bool OpenInHandler = false;
    Client.OnConnected = [&] { OpenInHandler = Client.Connected(); };
    Client.Connect();
    EXPECT_TRUE(OpenInHandler);
    EXPECT_TRUE(Client.Connected());
    try {
        Client.Connect();
        ADD_FAILURE() << "a second connect went through";
    } catch (const ETcpConnectError& Error) {
        EXPECT_EQ(Error.Message(), QStringLiteral("Already connected."));
    }
    Client.Disconnect();
    EXPECT_FALSE(Client.Connected());
    EXPECT_FALSE(ConnectedInHandler);
    Client.Disconnect(); // none open: nothing at all
    EXPECT_EQ(Disconnects, 1);
}

TEST_F(TcpClientTest, ConnectFailuresRaiseAndLeaveTheClientClosed) {
    const struct {
        const char* Host;
        int Port;
        const char* Message; // empty: any message
    } Cases[] = {
        {"127.0.0.1", ClosedLoopbackPort(), "Connection refused."},
        {"127.0.0.1", 0, "Invalid port 0."},
        {"127.0.0.1", 65536, "Invalid port 65536."},
        {"", 6711, "Host \"\" not found."},
        {"no-such-host.invalid", 6711, ""},
    };
    Client.SetConnectTimeoutMs(3000);
    for (const auto& C : Cases) {
        Client.SetHost(QString::fromLatin1(C.Host));
        Client.SetPort(C.Port);
        try {
            Client.Connect();
            ADD_FAILURE() << C.Host << ":" << C.Port << " connected";
        } catch (const ETcpConnectError& Error) {
            if (*C.Message) {
                EXPECT_EQ(Error.Message(), QString::fromLatin1(C.Message));
            }
        }
        EXPECT_FALSE(Client.Connected());
    }
    EXPECT_EQ(Connects, 0);
    EXPECT_EQ(Disconnects, 0);
    // A name that resolves to several addresses: the one that answers wins.
    Client.SetHost(QStringLiteral("localhost"));
    Client.SetPort(Peer.Port());
    Client.Connect();
    EXPECT_TRUE(Client.Connected());
}

TEST_F(TcpClientTest, WriteLnSendsTheBytesAndCrLfOnly) {
    EXPECT_THROW(Client.WriteLn("x"), ETcpError);
    Connect();
    Client.WriteLn("exec game.sayall \"a \"quoted\" \xA7 text\"");
    Client.WriteLn("");
    ASSERT_TRUE(Peer.WaitForLines(2));
    EXPECT_EQ(Peer.Raw(), QByteArray("exec game.sayall \"a \"quoted\" \xA7 text\"\r\n\r\n"));
}

TEST_F(TcpClientTest, ReadLnCutsTheStreamIntoLines) {
    const QByteArray Long(20000, 'x');
    const QByteArray Longest(CMaxLineLength, 'y');
    const QByteArray TooLong = "(too long)";
    const struct {
        const char* Name;
        QByteArray Bytes;
        int PieceSize; // 0: all at once
        QList<QByteArray> Expected;
    } Cases[] = {
        {"pieces", "first line\r\nsecond\n", 1, {"first line", "second"}},
        {"junk",
         QByteArray("\x00\xff\x01\rab\x00\n", 8),
         0,
         {QByteArray("\x00\xff\x01\rab\x00", 7)}},
        {"only the CR before the LF goes", "a\rb\r\r\n", 0, {"a\rb\r"}},
        {"over-long line", Long + "\nnext\r\n", 0, {TooLong, "next"}},
        {"over-long line in pieces", Long + "\nnext\r\n", 4096, {TooLong, "next"}},
        {"two over-long lines", Long + '\n' + Long + "\r\nnext\n", 0, {TooLong, TooLong, "next"}},
        {"the longest line", Longest + "\nnext\n", 0, {Longest, "next"}},
        {"one byte over", Longest + "z\r\nnext\n", 0, {TooLong, "next"}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Connect();
        if (C.PieceSize)
            Peer.SendInPieces(C.Bytes, C.PieceSize, 1);
        else
            Peer.Send(C.Bytes);
        for (const QByteArray& Expected : C.Expected) {
            if (Expected == TooLong)
                EXPECT_EQ(NextError<ETcpLineTooLong>(),
                          QStringLiteral("Max line length exceeded."));
            else
                EXPECT_EQ(NextLine(), Expected);
        }
        Client.Disconnect();
    }
}

TEST_F(TcpClientTest, AShortReadKeepsWhatHasArrived) {
    Connect();
    Peer.Send("half");
    // Nothing whole yet: every read comes back empty, for a while.
    for (int I = 0; I < 20; ++I)
        EXPECT_EQ(Client.ReadLn(), QByteArray());
    Peer.Send(" and the rest\n");
    EXPECT_EQ(NextLine(), QByteArray("half and the rest"));
}

TEST_F(TcpClientTest, ACloseMidLineEndsWhatWasSentThenReportsTheClose) {
    Connect();
    Peer.Send("complete\npartial");
    Peer.Close();
    EXPECT_EQ(NextLine(), QByteArray("complete"));
    EXPECT_EQ(NextError<ETcpClosedGracefully>(), QStringLiteral("Connection Closed Gracefully."));
    EXPECT_EQ(Disconnects, 1);
    EXPECT_FALSE(ConnectedInHandler);
    EXPECT_FALSE(Client.Connected());
    EXPECT_THROW(Client.ReadLn(), ETcpError);
}

TEST_F(TcpClientTest, TheDisconnectedHandlerMayConnectAgain) {
    Client.OnDisconnected = [this] {
        ++Disconnects;
        Client.Connect();
    };
    Connect();
    Peer.Close();
    EXPECT_EQ(NextError<ETcpClosedGracefully>(), QStringLiteral("Connection Closed Gracefully."));
    EXPECT_EQ(Disconnects, 1);
    EXPECT_TRUE(Client.Connected());
    ASSERT_TRUE(Peer.WaitForConnections(2));
    Peer.Send("on the new one\n");
    EXPECT_EQ(NextLine(), QByteArray("on the new one"));
}

TEST_F(TcpClientTest, AReadWaitingOnADripCallsTheWaitingCallback) {
    int Calls = 0;
    Client.WhileWaiting = [&] { ++Calls; };
    Connect();
    Peer.SendInPieces("slow line\r\n", 1, 30);
    EXPECT_EQ(Client.ReadLn(20000), QByteArray("slow line"));
    EXPECT_GT(Calls, 0);
}

TEST_F(TcpClientTest, AConnectThatHangsKeepsCallingBackAndStaysConsistent) {
    TSilentListener Silent;
    Client.SetPort(Silent.Port());
    Client.SetConnectTimeoutMs(300);
    int Calls = 0;
    QString Nested;
    Client.WhileWaiting = [&] {
        ++Calls;
        EXPECT_FALSE(Client.Connected());
        Client.Disconnect(); // nothing open yet: no effect
        try {
            Client.Connect();
        } catch (const ETcpConnectError& Error) {
            Nested = Error.Message();
        }
    };
    try {
        Client.Connect();
        ADD_FAILURE() << "connected to a full queue";
    } catch (const ETcpConnectError& Error) {
        EXPECT_EQ(Error.Message(), QStringLiteral("Connection timed out."));
    }
    EXPECT_GT(Calls, 0);
    EXPECT_EQ(Nested, QStringLiteral("Already connected."));
    EXPECT_EQ(Disconnects, 0);
    // The attempt is over: the next one goes through.
    Client.WhileWaiting = nullptr;
    Client.SetPort(Peer.Port());
    Client.Connect();
    EXPECT_TRUE(Client.Connected());
}

// A host and port set while a connection is being opened, or once it is
// open, are for the next connect: the connection keeps those it was opened
// with, and a reconnection goes back to them.
TEST_F(TcpClientTest, AConnectionKeepsTheHostAndPortItWasOpenedWith) {
    const QString Own = QString("127.0.0.1:%1").arg(Peer.Port());
    const auto Opened = [&] {
        return Client.ConnectionHost() + u':' + QString::number(Client.ConnectionPort());
    };
    QStringList Seen;
    Peer.SetAccepting(false);
    Client.WhileWaiting = [&] {
        if (!Client.Connecting() || !Seen.isEmpty())
            return;
        Seen << Opened();
        Client.SetHost(QStringLiteral("localhost"));
        Client.SetPort(1);
        Peer.SetAccepting(true);
    };
    Client.OnConnected = [&] { Seen << Opened(); };
    Client.OnDisconnected = [&] {
        Seen << Opened();
        Client.Reconnect();
    };
    Client.Connect();
    Client.SetHost(QStringLiteral("elsewhere.invalid"));
    Client.Disconnect();
    ASSERT_TRUE(Peer.WaitForConnections(2));
    EXPECT_EQ(Seen, QStringList(4, Own));
    EXPECT_TRUE(Client.Connected());
    EXPECT_EQ(Client.Host(), QStringLiteral("elsewhere.invalid"));
    EXPECT_EQ(Client.Port(), 1);
}

TEST_F(TcpClientTest, ADisconnectFromTheCallbackEndsAWaitingRead) {
    Client.Connect();
    Client.WhileWaiting = [&] { Client.Disconnect(); };
    EXPECT_EQ(Client.ReadLn(20000), QByteArray());
    EXPECT_EQ(Disconnects, 1);
    EXPECT_FALSE(Client.Connected());
}

TEST_F(TcpClientTest, AWriteFromTheCallbackOfABlockedWriteGoesAfterIt) {
    Connect();
    Peer.SetReading(false);
    const QByteArray Big(32 * 1024 * 1024, 'a');
    int Calls = 0;
    Client.WhileWaiting = [&] {
        if (++Calls == 1) {
            Client.WriteLn("second");
            Peer.SetReading(true);
        }
    };
    Client.WriteLn(Big);
    ASSERT_TRUE(Peer.WaitForLines(2));
    const QList<QByteArray> Lines = Peer.Lines();
    EXPECT_EQ(Lines[0].size(), Big.size());
    EXPECT_EQ(Lines[1], QByteArray("second"));
    EXPECT_GT(Calls, 0);
}

} // namespace
