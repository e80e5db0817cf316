// The console page through the real window: the server menu, the command
// line with its two local commands, the disconnect button, and peers that
// send what no server should.
#include "RconWindowFixture.h"

namespace {

class ConsolePageTest : public RconWindowTest {
protected:
    void ConnectToGame() {
        StartConfigured();
        Peer.SetChallenge(false);
        WriteServers(Preset("Game", "127.0.0.1", Peer.Port(), "secret"));
        ChooseServer("Game");
        ASSERT_TRUE(Rcon().BF2().Connected());
        Pair = QString("[127.0.0.1:%1]").arg(Peer.Port());
    }
    QString Pair;
};

TEST_F(ConsolePageTest, TheMenuConnectsAndTheCommandLineSendsOrActsLocally) {
    ConnectToGame();
    EXPECT_TRUE(Logged("Connecting to Game..."));
    EXPECT_TRUE(Logged("Connected to BF2 server " + Pair));
    Tick();
    EXPECT_FALSE(Find<QToolButton>("btnConnect")->isEnabled());
    EXPECT_TRUE(Find<QToolButton>("btnDisconnect")->isEnabled());

    // The focus given to the log goes on to the command line.
    QFocusEvent In(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(Find<QPlainTextEdit>("edConsole"), &In);
    EXPECT_EQ(Window->focusWidget(), Find<QComboBox>("edCom"));

    // The commands' own rules are tried on their own; here, Enter runs them.
    Type(" \t admin.listPlayers  ");
    ASSERT_TRUE(Peer.WaitForLines(1));
    EXPECT_EQ(Peer.Lines(), QList<QByteArray>({"admin.listPlayers"}));
    EXPECT_EQ(Find<QComboBox>("edCom")->currentText(), "");
    EXPECT_EQ(Find<QComboBox>("edCom")->count(), 0);

    Type("qvr.disconnect");
    EXPECT_FALSE(Rcon().BF2().Connected());
    EXPECT_EQ(LogLines().last(), "Disconnected from BF2 server " + Pair);
    Tick();
    EXPECT_TRUE(Find<QToolButton>("btnConnect")->isEnabled());
    EXPECT_FALSE(Find<QToolButton>("btnDisconnect")->isEnabled());
    // Not connected: typed lines go nowhere.
    Type("admin.listPlayers");

    Type(QString("qvr.connect 127.0.0.1 %1").arg(Peer.Port()));
    EXPECT_EQ(LogLines().last(), "Connected to BF2 server " + Pair);
    Tick();
    Find<QToolButton>("btnDisconnect")->click();
    EXPECT_FALSE(Rcon().BF2().Connected());
    EXPECT_EQ(LogLines().last(), "Disconnected from BF2 server " + Pair);
    EXPECT_EQ(Peer.Lines().size(), 1);
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
}

TEST_F(ConsolePageTest, BadLinesAreReportedAndTheNextTickGoesOn) {
    ConnectToGame();
    Peer.Send(QByteArray(20000, 'x') + "\nafter the long line\n");
    ASSERT_TRUE(TickUntil([&] { return Logged("    <BF2rcon> after the long line"); }));
    EXPECT_EQ(Dialogs.Messages(), QStringList{"Max line length exceeded."});

    Peer.Send(QByteArray("\x00\x01\xff\xfe\x80 junk\t\x9d\r\r\n", 15) + "next\n");
    Peer.SendInPieces("dripped line\n", 1, 5);
    ASSERT_TRUE(TickUntil([&] { return Logged("    <BF2rcon> dripped line"); }));
    EXPECT_TRUE(Logged("    <BF2rcon> next"));

    Peer.Send("half a li");
    Peer.Close();
    ASSERT_TRUE(TickUntil([&] { return !Rcon().BF2().Connected(); }));
    EXPECT_EQ(Dialogs.Messages().last(), "Connection Closed Gracefully.");
    EXPECT_EQ(LogLines().last(), "Disconnected from BF2 server " + Pair);
    Tick();
    EXPECT_EQ(Dialogs.Messages().size(), 2);
    EXPECT_TRUE(Find<QToolButton>("btnConnect")->isEnabled());
}

} // namespace
