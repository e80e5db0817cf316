// The wire rules of the remote console: what a received line is, and the
// exact bytes of the lines the launcher sends. The login goes to a real peer
// that checks the digest with its own MD5.
#include "launcher/rcon/RconWire.h"
#include "launcher/platform/TcpClient.h"
#include "support/RconPeer.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

namespace {

TEST(RconWire, LineNumberIsTheWholeNumberBeforeTheFirstTab) {
    const struct {
        QByteArray Line;
        int Number;
    } Cases[] = {
        {"12\tBob\t1\tGlobal\t[t]\thello", 12},
        {" \x01 -1 \r\t", -1},
        {"-5\tx", -5},
        {"$1F\tx", 31},
        {"0x10\t", 16},
        {"+7\t\t", 7},
        {"2147483647\tx", 2147483647},
        {"2147483648\tx", -2},
        {"\tx", -2},
        {"12", -2},
        {"1 2\tx", -2},
        {"abc\tx", -2},
        {"12x\tx", -2},
        {"", -2},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(LineNumber(C.Line), C.Number) << C.Line.constData();
}

// The login steps act only on the server's own lines: never on a chat-buffer
// line, whatever a player typed, and the challenge and acceptance only before
// the login.
TEST(RconWire, AnalyzeLineSaysWhatEachLineIs) {
    const struct {
        QByteArray Line;
        bool LoggedIn, Challenge, Accepted, Refused, Echo, Chat;
    } Cases[] = {
        {"### Digest seed: abc", false, true, false, false, false, false},
        {"Authentication successful, rcon ready.", false, false, true, false, false, false},
        {"Authentication failed.", false, false, false, true, true, false},
        {"authentication failed", false, false, false, false, true, false},
        {"3\tBob\t1\tGlobal\t[t]\thi", true, false, false, false, false, true},
        {"-1\t", true, false, false, false, false, true},
        {"-5\tx", false, false, false, false, false, false},
        {"-2\tx", false, false, false, false, true, false},
        {"Unknown command", true, false, false, false, true, false},
        {"", false, false, false, false, false, false},
        // Chat text that reads like the server's login lines.
        {"4\tEve\t1\tGlobal\t[t]\tAuthentication failed", true, false, false, false, false, true},
        {"4\tEve\t1\tGlobal\t[t]\t### Digest seed: AAAA", false, false, false, false, false, true},
        {"4\tEve\t1\tGlobal\t[t]\tAuthentication successful", false, false, false, false, false,
         true},
        {"-5\tAuthentication failed", false, false, false, false, false, false},
        // Once logged in, the server's own lines no longer log in again.
        {"### Digest seed: abc", true, false, false, false, false, false},
        {"Authentication successful", true, false, false, false, false, false},
        {"Authentication failed.", true, false, false, true, true, false},
    };
    for (const auto& C : Cases) {
        const TReceivedLine R = AnalyzeLine(C.Line, C.LoggedIn);
        const char* Name = C.Line.constData();
        EXPECT_EQ(R.IsChallenge, C.Challenge) << Name << " logged in " << C.LoggedIn;
        EXPECT_EQ(R.IsAccepted, C.Accepted) << Name << " logged in " << C.LoggedIn;
        EXPECT_EQ(R.IsRefused, C.Refused) << Name << " logged in " << C.LoggedIn;
        EXPECT_EQ(R.Echo, C.Echo) << Name << " logged in " << C.LoggedIn;
        EXPECT_EQ(R.IsChat(), C.Chat) << Name << " logged in " << C.LoggedIn;
    }
    EXPECT_EQ(EchoLogLine("caf\xE9"), QStringLiteral("    <BF2rcon> caf\u00E9"));
}

TEST(RconWire, TheSeedIsTheLineWithoutItsMarksCutTo16Bytes) {
    EXPECT_EQ(DigestSeed("### Digest seed: 0123456789abcdefXYZ"), QByteArray("0123456789abcdef"));
    EXPECT_EQ(DigestSeed("### Digest seed: short"), QByteArray("short"));
    EXPECT_EQ(DigestSeed("pre ### Digest seed: 0123456789abcdef"), QByteArray("pre 0123456789ab"));
    EXPECT_EQ(DigestSeed("### Digest seed: ab### Digest seed: cd"), QByteArray("abcd"));
}

TEST(RconWire, Md5IsLowerCaseHex) {
    EXPECT_EQ(Md5Hex(""), QByteArray("d41d8cd98f00b204e9800998ecf8427e"));
    EXPECT_EQ(Md5Hex("abc"), QByteArray("900150983cd24fb0d6963f7d28e17f72"));
    EXPECT_EQ(LoginLine("### Digest seed: a", "bc"),
              QByteArray("login 900150983cd24fb0d6963f7d28e17f72"));
}

TEST(RconWire, SentLinesAreExact) {
    // A quote from outside cannot end the quotes it stands in.
    EXPECT_EQ(SayAllLine(QStringLiteral("Bob says \"hi\" \u00A7 \u20AC")),
              QByteArray("exec game.sayall \"Bob says 'hi' \xA7 \x80\""));
    EXPECT_EQ(RecordDemoLine(QStringLiteral("x\" game")),
              QByteArray("exec demo.recorddemo x' game"));
    EXPECT_EQ(SayAllLine(QString::fromLatin1(CGreeting)),
              QByteArray("exec game.sayall \"Quorvane has logged in to the server (v1.1.2)\""));
    EXPECT_EQ(ConnectedLogLine(QStringLiteral("localhost"), 6711),
              QStringLiteral("Connected to BF2 server [localhost:6711]"));
    EXPECT_EQ(DisconnectedLogLine(QStringLiteral("10.0.0.1"), 0),
              QStringLiteral("Disconnected from BF2 server [10.0.0.1:0]"));
    EXPECT_EQ(NoPasswordLogLine(QStringLiteral("evil"), 4711),
              QStringLiteral("No password is known for [evil:4711]"));
}

// The challenge answered with the right and a wrong password.
TEST(RconWire, TheLoginAnswersTheChallengeOfARealPeer) {
    for (const bool Right : {true, false}) {
        TRconPeer Peer;
        Peer.SetPassword("s\xE9same");
        TTcpClient Client;
        Client.SetHost(QStringLiteral("127.0.0.1"));
        Client.SetPort(Peer.Port());
        Client.Connect();
        QByteArray Line;
        ASSERT_TRUE(WaitUntil([&] { return !(Line = Client.ReadLn()).isEmpty(); }));
        ASSERT_TRUE(AnalyzeLine(Line, false).IsChallenge);
        Client.WriteLn(LoginLine(Line, Right ? "s\xE9same" : "sesame"));
        ASSERT_TRUE(WaitUntil([&] { return !(Line = Client.ReadLn()).isEmpty(); }));
        const TReceivedLine R = AnalyzeLine(Line, false);
        EXPECT_EQ(R.IsAccepted, Right);
        EXPECT_EQ(R.IsRefused, !Right);
    }
}

} // namespace
