// The watch timer through the real window: the game seen and gone, the
// automatic connection to the local server with its login, and a tick that
// waits while the window goes on working.
#include "RconWindowFixture.h"

#include <QCryptographicHash>

namespace {

class WatchTimerTest : public RconWindowTest {
protected:
    int Tag() { return Rcon().BF2Catch()->property("Tag").toInt(); }
};

TEST_F(WatchTimerTest, TheGameSeenAndGoneWithoutALocalServer) {
    MakeGame();
    WriteConfigured();
    Start();
    QTimer* Timer = Rcon().BF2Catch();
    EXPECT_TRUE(Timer->isActive());
    EXPECT_EQ(Timer->interval(), 1000);
    EXPECT_EQ(Tag(), 1);
    Timer->stop();
    WriteHost(GameHost + "/quorvane.con", "demo.playDemo\r\n");
    const qsizetype Mark = LogLines().size();

    Tick();
    EXPECT_EQ(LogLines().size(), Mark);
    Game.Runs = true;
    Tick();
    Tick();
    // No "Localhost" preset: no connection is tried, nothing more is logged.
    EXPECT_EQ(LogLines().mid(Mark), QStringList{"BF2 is running..."});
    EXPECT_EQ(Timer->interval(), 5000);
    EXPECT_EQ(Tag(), 0);

    Game.Runs = false;
    Tick();
    EXPECT_EQ(LogLines().mid(Mark), QStringList({"BF2 is running...", "BF2 has been shut down"}));
    EXPECT_FALSE(QFile::exists(GameHost + "/quorvane.con"));
    EXPECT_EQ(Timer->interval(), 5000);
    EXPECT_EQ(Tag(), 1);
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
}

TEST_F(WatchTimerTest, TheLocalServerIsJoinedWithTheGameAndLeftBeforeItsEnd) {
    StartConfigured();
    Peer.SetPassword("4242");
    WriteServers(Preset("Localhost", "localhost", Peer.Port(), "4242"));
    const QString Pair = QString("[localhost:%1]").arg(Peer.Port());
    const qsizetype Mark = LogLines().size();
    Game.Runs = true;
    Tick();
    // The connection is made in the tick that first sees the game.
    EXPECT_EQ(LogLines().mid(Mark),
              QStringList({"BF2 is running...", "Connected to BF2 server " + Pair}));
    ASSERT_TRUE(TickUntil([&] { return Logged("BF2 rcon login successful"); }));
    EXPECT_EQ(Rcon().BF2Catch()->interval(), 3000);
    ASSERT_TRUE(Peer.WaitForLines(2));
    const QByteArray Digest =
        QCryptographicHash::hash(Peer.Seed() + "4242", QCryptographicHash::Md5).toHex();
    EXPECT_EQ(Peer.Lines(),
              QList<QByteArray>({"login " + Digest, "exec game.sayall \"Quorvane has logged in to "
                                                    "the server (v1.1.2)\""}));

    // Connected without a preset chosen in the console: the Servers sub-page
    // shows none, so chat reading is off and no poll goes out.
    Tick();
    Tick();
    EXPECT_FALSE(Find<QCheckBox>("cbReadChat")->isChecked());
    Type("mark");
    ASSERT_TRUE(Peer.WaitForLines(3));
    EXPECT_EQ(Peer.Lines().value(2), "mark");
    // Ticked by hand: one poll per tick.
    Find<QCheckBox>("cbReadChat")->setChecked(true);
    Tick();
    Tick();
    ASSERT_TRUE(Peer.WaitForLines(5));
    EXPECT_EQ(Peer.Lines().mid(3),
              QList<QByteArray>({"bf2cc serverchatbuffer", "bf2cc serverchatbuffer"}));

    WriteHost(GameHost + "/quorvane.con", "demo.playDemo\r\n");
    const qsizetype End = LogLines().size();
    Game.Runs = false;
    Tick();
    EXPECT_EQ(LogLines().mid(End),
              QStringList({"Disconnected from BF2 server " + Pair, "BF2 has been shut down"}));
    EXPECT_FALSE(QFile::exists(GameHost + "/quorvane.con"));
    EXPECT_EQ(Rcon().BF2Catch()->interval(), 3000);
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
}

TEST_F(WatchTimerTest, ARefusedLoginIsShownAndTriedAgainWhileTheGameRuns) {
    StartConfigured();
    WriteServers(Preset("Localhost", "localhost", Peer.Port(), "wrong"));
    const QString Disconnected =
        QString("Disconnected from BF2 server [localhost:%1]").arg(Peer.Port());
    Game.Runs = true;
    ASSERT_TRUE(TickUntil([&] { return Logged(Disconnected); }));
    const QStringList Lines = LogLines();
    const qsizetype Echo = Lines.indexOf("    <BF2rcon> Authentication failed.");
    ASSERT_GE(Echo, 0);
    EXPECT_EQ(Lines.value(Echo + 1), Disconnected);
    EXPECT_FALSE(Logged("BF2 rcon login successful"));
    EXPECT_EQ(Rcon().BF2Catch()->interval(), 5000);
    ASSERT_TRUE(TickUntil([&] { return Peer.Connections() >= 2; }));
}

TEST_F(WatchTimerTest, TheWindowWorksWhileAConnectionWaitsAndATickDueMeanwhileIsSkipped) {
    StartConfigured();
    TSilentListener Silent;
    WriteServers(Preset("Localhost", "127.0.0.1", Silent.Port(), "x") +
                 Preset("Silent", "127.0.0.1", Silent.Port(), "x"));
    Rcon().BF2().SetConnectTimeoutMs(400);
    const QString Failed = QString("Failed to connect to [127.0.0.1:%1]").arg(Silent.Port());

    // A connection from the console's menu.
    QStringList LogMeanwhile;
    QMetaObject::invokeMethod(
        Window.get(), [&] { LogMeanwhile = LogLines(); }, Qt::QueuedConnection);
    ChooseServer("Silent");
    EXPECT_TRUE(LogMeanwhile.contains("Connecting to Silent..."));
    EXPECT_FALSE(LogMeanwhile.contains(Failed));
    EXPECT_TRUE(Logged(Failed));

    // The automatic connection inside a tick.
    int ListingsOfTheInnerTick = -1;
    QMetaObject::invokeMethod(
        Window.get(),
        [&] {
            const int Before = Game.Listings;
            Tick();
            ListingsOfTheInnerTick = Game.Listings - Before;
        },
        Qt::QueuedConnection);
    Game.Runs = true;
    Tick();
    EXPECT_EQ(ListingsOfTheInnerTick, 0);
    EXPECT_EQ(LogLines().count("BF2 is running..."), 1);
    EXPECT_FALSE(Rcon().BF2().Connected());
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
}

} // namespace
