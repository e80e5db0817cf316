// The chat-buffer parser: the repeat filter, the fields, the selection of six,
// the game's markers (matched as bytes) and the two log formats. The last case
// reads the chat buffer of a real peer, which answers each poll with the whole
// buffer again.
#include "launcher/rcon/ChatBuffer.h"
#include "launcher/platform/TcpClient.h"
#include "launcher/rcon/RconWire.h"
#include "support/RconPeer.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

namespace {

// One line after another through one parser; what each gives (the log line,
// or "-" for nothing).
struct TCase {
    const char* Name;
    QList<QByteArray> Lines;
    QStringList Logged;
};

TEST(ChatBuffer, ParsesLinesAsTheWatchTimerReadsThem) {
    const TCase Cases[] = {
        {"six fields",
         {"3\tBob\t1\tGlobal\t[t]\thello there"},
         {"    [Global] Bob:\t\thello there"}},
        {"a server message",
         {"4\t\t\tServerMessage\t[t]\tround over"},
         {"    [ServerMessage]\t\t\tround over"}},
        {"a TAB at the very end still makes six",
         {"3\tBob\t1\tTeam\t[t]\thi\t"},
         {"    [Team] Bob:\t\thi"}},
        {"seven non-empty fields are dropped", {"3\tBob\t1\tGlobal\t[t]\thi\textra"}, {"-"}},
        {"five fields are dropped", {"3\tBob\t1\tGlobal\thi"}, {"-"}},
        {"eight fields with one empty among the last seven",
         {"2\t3\tBob\t1\tGlobal\t\t[t]\thi"},
         {"    [Global] Bob:\t\thi"}},
        {"six fields with empty ones stay six", {"3\t\t\t\t\t"}, {"-"}},
        {"six with an empty name", {"3\t\t1\tGlobal\t[t]\thi"}, {"    [Global] :\t\thi"}},
        {"CR, LF and CR LF each end a field",
         {"3\rBob\n1\r\nGlobal\t[t]\thi"},
         {"    [Global] Bob:\t\thi"}},
        {"the same line twice logs once",
         {"3\tBob\t1\tGlobal\t[t]\thi", "3\tBob\t1\tGlobal\t[t]\thi"},
         {"    [Global] Bob:\t\thi", "-"}},
        {"the buffer again with one more entry gives the new one",
         {"3\tBob\t1\tGlobal\t[t]\thi", "3\tBob\t1\tGlobal\t[t]\thi\r4\tAnn\t2\tTeam\t[t]\tyo"},
         {"    [Global] Bob:\t\thi", "    [Team] Ann:\t\tyo"}},
        {"the markers go, 0xA7 as one byte",
         {"5\tBob\t1\tGlobal\t[t]\tHUD_TEXT_CHAT_TEAM*\xA7"
          "1DEAD\xA7"
          "0*HUD_CHAT_DEADPREFIXhelp \xA7"},
         {"    [Global] Bob:\t\thelp \u00A7"}},
        {"an empty line", {""}, {"-"}},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TChatBuffer Buffer;
        QStringList Logged;
        for (const QByteArray& Line : C.Lines) {
            const auto Entry = Buffer.Parse(Line);
            Logged << (Entry ? Entry->LogLine : QStringLiteral("-"));
        }
        EXPECT_EQ(Logged, C.Logged);
        EXPECT_EQ(Buffer.LastChatLine(), C.Lines.last());
    }
}

TEST(ChatBuffer, AnEntryCarriesThePlayerAndTheCleanedText) {
    TChatBuffer Buffer;
    const auto Entry =
        Buffer.Parse("7\tJos\xE9\t1\tGlobal\t[t]\tHUD_CHAT_DEADPREFIX!scene \"a b\"");
    ASSERT_TRUE(Entry);
    EXPECT_EQ(Entry->Player, QStringLiteral("Jos\u00E9"));
    EXPECT_EQ(Entry->Text, QStringLiteral("!scene \"a b\""));
    EXPECT_TRUE(Entry->ForCommands);
    // The server's own messages are logged but not taken as commands: they
    // carry the launcher's own replies.
    const auto Server = Buffer.Parse("8\t\t\tServerMessage\t[t]\t!cut");
    ASSERT_TRUE(Server);
    EXPECT_FALSE(Server->ForCommands);
    // Each marker goes once, in its turn: one that removing a later one
    // joins together stays.
    EXPECT_EQ(RemoveChatMarkers("HUD_CHAT_HUD_TEXT_CHAT_TEAMDEADPREFIX"),
              QByteArray("HUD_CHAT_DEADPREFIX"));
}

TEST(ChatBuffer, AChatLineReadTwiceFromAPeerLogsOnce) {
    TRconPeer Peer;
    Peer.SetChallenge(false);
    Peer.AddChatEntry(TRconPeer::ChatEntry(1, "Bob", "Global", "first"));
    TTcpClient Client;
    Client.SetHost(QStringLiteral("127.0.0.1"));
    Client.SetPort(Peer.Port());
    Client.Connect();
    TChatBuffer Buffer;
    QStringList Logged;
    auto Poll = [&] {
        Client.WriteLn(CChatBufferPoll);
        QByteArray Line;
        EXPECT_TRUE(WaitUntil([&] { return !(Line = Client.ReadLn()).isEmpty(); }));
        ASSERT_TRUE(AnalyzeLine(Line, true).IsChat());
        if (const auto Entry = Buffer.Parse(Line))
            Logged << Entry->LogLine;
    };
    Poll();
    Poll();
    Peer.AddChatEntry(TRconPeer::ChatEntry(2, "Ann", "Team", "second"));
    Poll();
    EXPECT_EQ(Logged, QStringList({QStringLiteral("    [Global] Bob:\t\tfirst"),
                                   QStringLiteral("    [Team] Ann:\t\tsecond")}));
}

} // namespace
