// The console page's command line and server menu, on a real client and peer:
// local commands matched exactly, other lines sent trimmed, connection
// failures ending in the log.
#include "launcher/rcon/ConsoleCommands.h"
#include "common/ProfileFile.h"
#include "launcher/platform/TcpClient.h"
#include "launcher/rcon/RconWire.h"
#include "support/RconPeer.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ConsoleCommands, TheLocalCommandsAreMatchedExactly) {
    using K = TConsoleCommand;
    const struct {
        const char* Typed;
        bool Connected;
        K::TKind Kind;
        const char* Host;
        const char* Port;
        const char* Line;
    } Cases[] = {
        {"qvr.connect example.org 6711", false, K::ckConnect, "example.org", "6711", ""},
        {"qvr.connect \"my host\", x", false, K::ckConnect, "my host", "x", ""},
        {"qvr.connect example.org 6711", true, K::ckSend, "", "", "qvr.connect example.org 6711"},
        {"qvr.connect example.org", false, K::ckNothing, "", "", ""},
        {"qvr.connect example.org", true, K::ckSend, "", "", "qvr.connect example.org"},
        {"qvr.connect a 1 2", false, K::ckNothing, "", "", ""},
        {"QVR.CONNECT a 1", false, K::ckNothing, "", "", ""},
        {"QVR.CONNECT a 1", true, K::ckSend, "", "", "QVR.CONNECT a 1"},
        {"qvr.disconnect", true, K::ckDisconnect, "", "", ""},
        {"qvr.disconnect now", true, K::ckDisconnect, "", "", ""},
        {"qvr.disconnect", false, K::ckNothing, "", "", ""},
        {"Qvr.Disconnect", true, K::ckSend, "", "", "Qvr.Disconnect"},
        {" \t exec  admin.listPlayers \x01\r", true, K::ckSend, "", "", "exec  admin.listPlayers"},
        {"exec game.sayall \"hi\"", false, K::ckNothing, "", "", ""},
        {"", true, K::ckNothing, "", "", ""},
        {" \t ", true, K::ckNothing, "", "", ""},
    };
    for (const auto& C : Cases) {
        const TConsoleCommand R = ParseConsoleCommand(QString::fromLatin1(C.Typed), C.Connected);
        EXPECT_EQ(R.Kind, C.Kind) << C.Typed;
        EXPECT_EQ(R.Host, QString::fromLatin1(C.Host)) << C.Typed;
        EXPECT_EQ(R.Port, QString::fromLatin1(C.Port)) << C.Typed;
        EXPECT_EQ(R.Line, QString::fromLatin1(C.Line)) << C.Typed;
    }
    EXPECT_EQ(PresetNameOfCaption(QStringLiteral("&My && Server")), QStringLiteral("My  Server"));
}

class ConsoleRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        Peer.SetChallenge(false);
        // What the window's handlers log.
        Client.OnConnected = [this] { Log << ConnectedLogLine(Client.Host(), Client.Port()); };
        Client.OnDisconnected = [this] {
            Log << DisconnectedLogLine(Client.Host(), Client.Port());
        };
    }
    void Run(const QString& Typed) {
        RunConsoleCommand(Client, Typed, [this](const QString& Line) { Log << Line; });
    }
    TRconPeer Peer;
    TTcpClient Client;
    QStringList Log;
};

TEST_F(ConsoleRunTest, TypedLinesConnectSendAndDisconnect) {
    const QString Port = QString::number(Peer.Port());
    Run(QStringLiteral("qvr.connect 127.0.0.1 ") + Port);
    ASSERT_TRUE(Client.Connected());
    Run(QStringLiteral("  exec  admin.listPlayers  "));
    Run(QStringLiteral("qvr.connect 127.0.0.1 ") + Port);
    Run(QStringLiteral("QVR.DISCONNECT"));
    Run(QStringLiteral("say caf\u00E9"));
    ASSERT_TRUE(Peer.WaitForLines(4));
    EXPECT_EQ(Peer.Lines(), QList<QByteArray>({"exec  admin.listPlayers",
                                               "qvr.connect 127.0.0.1 " + Port.toLatin1(),
                                               "QVR.DISCONNECT", "say caf\xE9"}));
    Run(QStringLiteral("qvr.disconnect"));
    EXPECT_FALSE(Client.Connected());
    Run(QStringLiteral("qvr.disconnect"));
    Run(QStringLiteral("status"));
    EXPECT_EQ(Log, QStringList(
                       {QStringLiteral("Connected to BF2 server [127.0.0.1:") + Port + ']',
                        QStringLiteral("Disconnected from BF2 server [127.0.0.1:") + Port + ']'}));
}

TEST_F(ConsoleRunTest, ABadPortIsLoggedAndTheFormerOneTried) {
    const QString Closed = QString::number(ClosedLoopbackPort());
    Client.SetPort(Closed.toInt());
    Run(QStringLiteral("qvr.connect 127.0.0.1 sixty"));
    EXPECT_EQ(Log,
              QStringList({QStringLiteral("Incorrect host/port info [127.0.0.1:sixty]"),
                           QStringLiteral("Failed to connect to [127.0.0.1:") + Closed + ']'}));
    EXPECT_EQ(Client.Host(), QStringLiteral("127.0.0.1"));
}

TEST_F(ConsoleRunTest, PresetsConnectWithTheirFileValues) {
    QTemporaryDir Dir;
    const QString Path = Dir.filePath(QStringLiteral("Servers.ini"));
    QFile File(Path);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write("[Home]\r\nhost=127.0.0.1\r\nport=" + QByteArray::number(Peer.Port()) +
               "\r\n[Bad]\r\nhost=127.0.0.1\r\nport=x\r\n[Empty]\r\n");
    File.close();
    const TProfileFile Servers(Path);
    const auto Log = [this](const QString& Line) { this->Log << Line; };
    ConnectToPreset(Client, Servers, QStringLiteral("Empty"), Log);
    ConnectToPreset(Client, Servers, QStringLiteral("Nope"), Log);
    EXPECT_TRUE(this->Log.isEmpty());
    ConnectToPreset(Client, Servers, QStringLiteral("home"), Log);
    EXPECT_TRUE(Client.Connected());
    // Connected already: the attempt fails and says so.
    ConnectToPreset(Client, Servers, QStringLiteral("Bad"), Log);
    const QString Pair = QStringLiteral("[127.0.0.1:") + QString::number(Peer.Port()) + ']';
    EXPECT_EQ(this->Log, QStringList({QStringLiteral("Connecting to home..."),
                                      QStringLiteral("Connected to BF2 server ") + Pair,
                                      QStringLiteral("Connecting to Bad..."),
                                      QStringLiteral("Incorrect host/port info [127.0.0.1:x]"),
                                      QStringLiteral("Failed to connect to [127.0.0.1:x]")}));
}

} // namespace
