// The chat commands: who may give them, every reply, the take file name and
// the recording state; lines go out in order, and a failing write leaves the
// state as it was before that line.
#include "launcher/rcon/ChatCommands.h"
#include "common/Errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <limits>

namespace {

QByteArray Say(const char* Message) {
    return QByteArray("exec game.sayall \"") + Message + '"';
}

TChatCommandState State(const char* Scene, int Take, bool Recording) {
    return {QString::fromUtf8(Scene), Take, Recording};
}

const QStringList Bob = {QStringLiteral("Ann"), QStringLiteral("Bob")};
const TChatCommandState Start = State("Default", 1, false);
const TChatCommandState Rec = State("Default", 5, true);

// One command of a player, with Ann and Bob privileged: the lines sent, in
// order, and the state after.
struct TCase {
    TChatCommandState Before;
    const char* Player;
    QString Text;
    QList<QByteArray> Sent;
    TChatCommandState After;
};

TEST(ChatCommands, EveryCommandWithItsReplies) {
    const TCase Cases[] = {
        // Letter case of the name counts; ordinary chat is refused too.
        {Start,
         "bob",
         "!action",
         {Say("Quorvane: Player bob does not have privileges on this server")},
         Start},
        {Start,
         "Eve",
         "hi all",
         {Say("Quorvane: Player Eve does not have privileges on this server")},
         Start},
        {Start, "Bob", " \t", {}, Start},
        {Start, "Bob", "hello", {}, Start},
        {Start, "Bob", "!Scene x", {}, Start},
        {Start, "Bob", "!scene", {Say("!scene: Too few arguments")}, Start},
        {Start, "Bob", "!scene a b", {Say("!scene: Too many arguments")}, Start},
        {Start, "Bob", "!scene a,b", {Say("!scene: Too many arguments")}, Start},
        {Start,
         "Bob",
         "!scene \"Big Push\"",
         {Say("!scene: Scene name was set to <Big Push>")},
         State("Big Push", 1, false)},
        {Start,
         "Bob",
         QStringLiteral("!scene caf\u00E9"),
         {Say("!scene: Scene name was set to <caf\xE9>")},
         State("caf\u00E9", 1, false)},
        {Rec,
         "Bob",
         "!scene next",
         {Say("!scene: Scene name was set to <next>")},
         State("next", 5, true)},
        {Start, "Bob", "!take", {Say("!take: Too few arguments")}, Start},
        {Start, "Bob", "!take 1 2", {Say("!take: Too many arguments")}, Start},
        {Start,
         "Bob",
         "!take 007",
         {Say("!take: Take was set to <7>")},
         State("Default", 7, false)},
        {Start,
         "Bob",
         "!take $10",
         {Say("!take: Take was set to <16>")},
         State("Default", 16, false)},
        {Start, "Bob", "!reconnect now", {Say("!reconnect: Too many arguments")}, Start},
        {Start,
         "Ann",
         "!action now please",
         {"exec demo.recorddemo Default_take1",
          Say("!action: Recording demo <Default_take1.bf2demo>")},
         State("Default", 1, true)},
        {Rec, "Bob", "!action", {Say("!action: Already recording...")}, Rec},
        {State("", 1, false),
         "Bob",
         "!action",
         {Say("!action: Scene name has not been set")},
         State("", 1, false)},
        // The extension goes from the last dot, unless a "\\" or ":" follows it.
        {State("a.b", 1, false),
         "Bob",
         "!action",
         {"exec demo.recorddemo a", Say("!action: Recording demo <a.bf2demo>")},
         State("a.b", 1, true)},
        {State("v1.2\\x", 3, false),
         "Bob",
         "!action",
         {"exec demo.recorddemo v1.2\\x_take3",
          Say("!action: Recording demo <v1.2\\x_take3.bf2demo>")},
         State("v1.2\\x", 3, true)},
        {Start, "Bob", "!cut", {Say("!cut: Recording not active")}, Start},
        {Rec,
         "Bob",
         "!cut extra",
         {"exec demo.stoprecording", Say("!cut: Stopped recording <Default_take5.bf2demo>")},
         State("Default", 6, false)},
        // Past the largest take number the count wraps, as a 32-bit counter does.
        {State("S", std::numeric_limits<int>::max(), true),
         "Bob",
         "!cut",
         {"exec demo.stoprecording", Say("!cut: Stopped recording <S_take2147483647.bf2demo>")},
         State("S", std::numeric_limits<int>::min(), false)},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Text.toStdString());
        TChatCommandState S = C.Before;
        QList<QByteArray> Sent;
        const TChatCommandEffect Effect =
            HandleChatCommand(S, C.Text, QString::fromLatin1(C.Player), Bob,
                              [&](const QByteArray& Line) { Sent << Line; });
        EXPECT_EQ(Sent, C.Sent);
        EXPECT_EQ(S.SceneName, C.After.SceneName);
        EXPECT_EQ(S.TakeNumber, C.After.TakeNumber);
        EXPECT_EQ(S.ServerRecording, C.After.ServerRecording);
        EXPECT_EQ(Effect, TChatCommandEffect::None);
    }
}

TEST(ChatCommands, ReconnectAsksForAReconnectionAndNoListAnswersNobody) {
    TChatCommandState S;
    QList<QByteArray> Sent;
    const auto Write = [&](const QByteArray& Line) { Sent << Line; };
    EXPECT_EQ(HandleChatCommand(S, QStringLiteral("!reconnect"), QStringLiteral("Bob"), Bob, Write),
              TChatCommandEffect::Reconnect);
    EXPECT_EQ(Sent, QList<QByteArray>({Say("!reconnect: Disconnecting from server...")}));
    for (const char* Player : {"Bob", "Eve"})
        EXPECT_EQ(HandleChatCommand(S, QStringLiteral("!reconnect"), QString::fromLatin1(Player),
                                    {}, Write),
                  TChatCommandEffect::None);
    EXPECT_EQ(Sent.size(), 1);
}

TEST(ChatCommands, ActionTakeCutNamesTheNewTake) {
    TChatCommandState S;
    QList<QByteArray> Sent;
    const auto Write = [&](const QByteArray& Line) { Sent << Line; };
    for (const char* Text : {"!action", "!take 5", "!cut", "!action"})
        HandleChatCommand(S, QString::fromLatin1(Text), QStringLiteral("Bob"), Bob, Write);
    EXPECT_EQ(Sent.at(4), Say("!cut: Stopped recording <Default_take5.bf2demo>"));
    EXPECT_EQ(Sent.at(5), QByteArray("exec demo.recorddemo Default_take6"));
    EXPECT_EQ(S.TakeNumber, 6);
    EXPECT_TRUE(S.ServerRecording);
}

TEST(ChatCommands, ATakeThatIsNoNumberRaisesAndChangesNothing) {
    TChatCommandState S;
    QList<QByteArray> Sent;
    try {
        HandleChatCommand(S, QStringLiteral("!take seven"), QStringLiteral("Bob"), Bob,
                          [&](const QByteArray& Line) { Sent << Line; });
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& Error) {
        EXPECT_EQ(Error.Message(), QStringLiteral("'seven' is not a valid integer value"));
    }
    EXPECT_TRUE(Sent.isEmpty());
    EXPECT_EQ(S.TakeNumber, 1);
}

TEST(ChatCommands, AFailingWriteLeavesTheRecordingStateAsItWas) {
    TChatCommandState S;
    EXPECT_THROW(HandleChatCommand(S, QStringLiteral("!action"), QStringLiteral("Bob"), Bob,
                                   [](const QByteArray&) { throw EError(QStringLiteral("gone")); }),
                 EError);
    EXPECT_FALSE(S.ServerRecording);
}

// The take file is looked for in the launcher's working folder; a folder of
// that name does not count.
TEST(ChatCommands, ActionRefusesATakeFileThatExists) {
    QTemporaryDir Dir;
    const QString Before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(Dir.path()));
    QDir().mkdir(QStringLiteral("Default_take2.bf2demo"));
    QFile File(QStringLiteral("default_TAKE1.bf2demo"));
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.close();
    QList<QByteArray> Sent;
    TChatCommandState S;
    const auto Write = [&](const QByteArray& Line) { Sent << Line; };
    HandleChatCommand(S, QStringLiteral("!action"), QStringLiteral("Bob"), Bob, Write);
    S.TakeNumber = 2;
    HandleChatCommand(S, QStringLiteral("!action"), QStringLiteral("Bob"), Bob, Write);
    QDir::setCurrent(Before);
    EXPECT_EQ(Sent, QList<QByteArray>({Say("!action: File <Default_take1.bf2demo> already exists"),
                                       "exec demo.recorddemo Default_take2",
                                       Say("!action: Recording demo <Default_take2.bf2demo>")}));
}

} // namespace
