// The console page through the real window: the server menu, the command
// line with its two local commands, the disconnect button, and peers that
// send what no server should.
#include "RconWindowFixture.h"

#include <QCryptographicHash>

#include <functional>

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
    // The same failure again on this connection is logged, not shown: a
    // server that repeats it must not keep the window behind boxes.
    Peer.Send(QByteArray(20000, 'x') + "\nafter the second\n");
    ASSERT_TRUE(TickUntil([&] { return Logged("    <BF2rcon> after the second"); }));
    EXPECT_EQ(Dialogs.Messages(), QStringList{"Max line length exceeded."});
    EXPECT_TRUE(Logged("Max line length exceeded."));

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

// The Servers sub-page's password goes only to the server of its preset; a
// typed connection logs in with the password of the preset for its host and
// port, or not at all.
TEST_F(ConsolePageTest, APasswordAnswersOnlyItsOwnServer) {
    StartConfigured();
    Peer.SetPassword("real");
    TRconPeer Known, Unknown;
    Known.SetPassword("two");
    WriteServers(Preset("Real", "127.0.0.1", Peer.Port(), "real") +
                 Preset("Second", "LOCALHOST", Known.Port(), "two"));
    ChooseServer("Real");
    ASSERT_TRUE(TickUntil([&] { return Logged("BF2 rcon login successful"); }));
    const struct {
        const char* Host;
        TRconPeer* Server;
        QString Outcome;
    } Cases[] = {
        {"127.0.0.1", &Unknown,
         QString("No password is known for [127.0.0.1:%1]").arg(Unknown.Port())},
        {"LocalHost", &Known, "BF2 rcon login successful"},
    };
    for (const auto& C : Cases) {
        Find<QToolButton>("btnDisconnect")->click();
        const qsizetype Mark = LogLines().size();
        Type(QString("qvr.connect %1 %2").arg(C.Host).arg(C.Server->Port()));
        ASSERT_TRUE(TickUntil([&] { return LogLines().mid(Mark).contains(C.Outcome); })) << C.Host;
    }
    EXPECT_TRUE(Unknown.Lines().isEmpty());
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
}

// While a slow server is still being connected to, a tick that would join
// the local server, another choice from the menu or a typed connection
// leaves that connection its own server: its log lines name it, and it logs
// in with its own password.
TEST_F(ConsolePageTest, AConnectionBeingOpenedKeepsItsServer) {
    StartConfigured();
    Peer.SetPassword("remote");
    const int LocalPort = ClosedLoopbackPort();
    WriteServers(Preset("Localhost", "localhost", LocalPort, "local") +
                 Preset("Remote", "127.0.0.1", Peer.Port(), "remote"));
    Game.Runs = true;
    Tick(); // the game seen: from now on every tick joins the local server
    const QString Local = QString("[localhost:%1]").arg(LocalPort);
    const QString Remote = QString("[127.0.0.1:%1]").arg(Peer.Port());
    const struct {
        const char* Name;
        std::function<void()> Meanwhile;
        QString Logged; // what the attempt meanwhile logs
    } Cases[] = {
        {"a tick", [&] { Tick(); }, QString()},
        {"a choice", [&] { ChooseServer("Localhost"); }, "Failed to connect to " + Local},
        {"a typed connection", [&] { Type(QString("qvr.connect localhost %1").arg(LocalPort)); },
         "Failed to connect to " + Local},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        const qsizetype Mark = LogLines().size();
        const qsizetype Sent = Peer.Lines().size();
        bool WhileConnecting = false;
        Peer.SetAccepting(false);
        QMetaObject::invokeMethod(
            Window.get(),
            [&] {
                WhileConnecting = Rcon().BF2().Connecting();
                C.Meanwhile();
                Peer.SetAccepting(true);
            },
            Qt::QueuedConnection);
        ChooseServer("Remote");
        EXPECT_TRUE(WhileConnecting);
        ASSERT_TRUE(
            TickUntil([&] { return LogLines().mid(Mark).contains("BF2 rcon login successful"); }));
        EXPECT_TRUE(LogLines().mid(Mark).contains("Connected to BF2 server " + Remote));
        if (!C.Logged.isEmpty()) {
            EXPECT_TRUE(LogLines().mid(Mark).contains(C.Logged));
        }
        ASSERT_TRUE(Peer.WaitForLines(Sent + 2)); // the login and the greeting
        EXPECT_EQ(
            Peer.Lines().value(Sent),
            "login " +
                QCryptographicHash::hash(Peer.Seed() + "remote", QCryptographicHash::Md5).toHex());
        Find<QToolButton>("btnDisconnect")->click();
        EXPECT_EQ(LogLines().last(), "Disconnected from BF2 server " + Remote);
    }
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
}

} // namespace
