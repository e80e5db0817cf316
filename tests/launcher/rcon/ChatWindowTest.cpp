// The chat commands through the real window: chat lines from the peer's chat
// buffer, the players of the connected preset, the server commands and
// replies sent back, and "!reconnect".
#include "RconWindowFixture.h"

namespace {

class ChatWindowTest : public RconWindowTest {
protected:
    // Logged in to the preset "Game" chosen in the console, whose privileged
    // players are Alpha and Bravo. The Servers sub-page is never shown: the
    // connection finds its preset's password and players all the same.
    void LogIn() {
        StartConfigured();
        WriteServers(Preset("Game", "127.0.0.1", Peer.Port(), "secret", ", Alpha, Bravo"));
        ChooseServer("Game");
        ASSERT_TRUE(TickUntil([&] { return Logged("BF2 rcon login successful"); }));
        // The greeting follows the login; the peer reads it on a thread of
        // its own, so a test counting what was sent waits until it is there.
        ASSERT_TRUE(WaitUntil([&] {
            return Sent().contains(SayAll("Quorvane has logged in to the server (v1.1.2)"));
        }));
    }
    // What the launcher sent, polls left out.
    QList<QByteArray> Sent() {
        QList<QByteArray> Lines = Peer.Lines();
        Lines.removeAll("bf2cc serverchatbuffer");
        return Lines;
    }
    // A player's chat text enters the buffer; ticks until the launcher has
    // sent Last once more.
    void Say(const QByteArray& Player, const QByteArray& Text, const QByteArray& Last) {
        const qsizetype Before = Sent().count(Last);
        Peer.AddChatEntry(TRconPeer::ChatEntry(++FNumber, Player, "Global", Text));
        ASSERT_TRUE(TickUntil([&] { return Sent().count(Last) > Before; })) << Last.constData();
    }
    static QByteArray SayAll(const QByteArray& Message) {
        return "exec game.sayall \"" + Message + '"';
    }

private:
    int FNumber = 0;
};

TEST_F(ChatWindowTest, PrivilegedPlayersRecordOnTheServerAndOthersAreRefused) {
    LogIn();
    const qsizetype Mark = Sent().size();
    Say("Alpha", "!scene intro", SayAll("!scene: Scene name was set to <intro>"));
    Say("Bravo", "!action", SayAll("!action: Recording demo <intro_take1.bf2demo>"));
    Say("Alpha", "!cut", SayAll("!cut: Stopped recording <intro_take1.bf2demo>"));
    Say("Mallory", "hello",
        SayAll("Quorvane: Player Mallory does not have privileges on this server"));
    EXPECT_EQ(Sent().mid(Mark),
              QList<QByteArray>({SayAll("!scene: Scene name was set to <intro>"),
                                 "exec demo.recorddemo intro_take1",
                                 SayAll("!action: Recording demo <intro_take1.bf2demo>"),
                                 "exec demo.stoprecording",
                                 SayAll("!cut: Stopped recording <intro_take1.bf2demo>"),
                                 SayAll("Quorvane: Player Mallory does not have privileges on "
                                        "this server")}));
    EXPECT_EQ(Rcon().Session().Chat.SceneName, "intro");
    EXPECT_EQ(Rcon().Session().Chat.TakeNumber, 2);
    EXPECT_FALSE(Rcon().Session().Chat.ServerRecording);
    EXPECT_TRUE(Logged("    [Global] Alpha:\t\t!scene intro"));
    EXPECT_TRUE(Logged("    [Global] Mallory:\t\thello"));
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
}

TEST_F(ChatWindowTest, ReconnectDisconnectsAndConnectsAgainAtOnce) {
    LogIn();
    const QString Pair = QString("[127.0.0.1:%1]").arg(Peer.Port());
    const qsizetype Mark = LogLines().size();
    Say("Bravo", "!reconnect", SayAll("!reconnect: Disconnecting from server..."));
    ASSERT_TRUE(TickUntil([&] { return LogLines().count("BF2 rcon login successful") == 2; }));
    const QStringList Lines = LogLines().mid(Mark);
    const qsizetype Gone = Lines.indexOf("Disconnected from BF2 server " + Pair);
    ASSERT_GE(Gone, 0);
    EXPECT_EQ(Lines.value(Gone + 1), "Connected to BF2 server " + Pair);
    EXPECT_EQ(Peer.Connections(), 2);
    EXPECT_EQ(Rcon().BF2().Tag(), 0);
    // The buffer read again on the new connection holds nothing new.
    EXPECT_EQ(Sent().count(SayAll("!reconnect: Disconnecting from server...")), 1);
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
}

// What players type stays chat: it never acts as the server's login lines,
// and a quote in it cannot end the quotes of a command sent back.
TEST_F(ChatWindowTest, ChatTextNeverStepsOutOfTheChat) {
    LogIn();
    const QByteArray Refused = "Quorvane: Player Mallory does not have privileges on this server";
    const struct {
        QByteArray Player, Text, Sent;
    } Cases[] = {
        {"Mallory", "Authentication failed", SayAll(Refused)},
        {"Mallory", "Authentication successful", SayAll(Refused)},
        {"Mallory", "### Digest seed: AAAA", SayAll(Refused)},
        {"Ev\"il", "hi", SayAll("Quorvane: Player Ev'il does not have privileges on this server")},
        {"Alpha", "!scene x\"", SayAll("!scene: Scene name was set to <x'>")},
        {"Bravo", "!action", "exec demo.recorddemo x'_take1"},
    };
    for (const auto& C : Cases) {
        Say(C.Player, C.Text, C.Sent);
        EXPECT_TRUE(Rcon().BF2().Connected()) << C.Text.constData();
    }
    const QList<QByteArray> Lines = Sent();
    EXPECT_EQ(std::count_if(Lines.begin(), Lines.end(),
                            [](const QByteArray& Line) { return Line.startsWith("login "); }),
              1);
    EXPECT_EQ(Lines.count(SayAll("Quorvane has logged in to the server (v1.1.2)")), 1);
    EXPECT_EQ(Peer.Connections(), 1);
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
}

} // namespace
