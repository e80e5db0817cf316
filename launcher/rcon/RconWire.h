// The remote console's wire rules as the launcher uses them: what a received
// line is, and the lines it sends. Lines are bytes (the game speaks
// Windows-1252); texts for the log are decoded from them only for display.
#pragma once

#include <QByteArray>
#include <QString>

// What a received line holds, recognised by "contains", letter case counting,
// and only in a line that is not a chat-buffer line: chat text is the
// players', and must not pass for the server's own.
inline constexpr char CDigestSeedMark[] = "### Digest seed: ";
inline constexpr char CAuthSuccessful[] = "Authentication successful";
inline constexpr char CAuthFailed[] = "Authentication failed";

// Sent every tick while logged in with chat reading on.
inline constexpr char CChatBufferPoll[] = "bf2cc serverchatbuffer";
// Said to everyone on the server after a login.
inline constexpr char CGreeting[] = "Quorvane has logged in to the server (v1.1.2)";

// Log lines of the watch timer.
inline constexpr char CLogGameRunning[] = "BF2 is running...";
inline constexpr char CLogGameShutDown[] = "BF2 has been shut down";
inline constexpr char CLogLoginSuccessful[] = "BF2 rcon login successful";

// The number before the first TAB, trimmed and read by the whole-number
// rule; -2 when there is no TAB or that text is no whole number.
int LineNumber(const QByteArray& Line);

// What the watch timer does with a line. A line may be several things; the
// timer acts on each, in its own order. The login steps act only on a line
// numbered -2 (no chat-buffer line), and the challenge and the acceptance
// only while the connection is not logged in yet.
struct TReceivedLine {
    int Number = -2;
    bool IsChallenge = false; // answer with the login line
    bool IsAccepted = false;  // logged in
    bool IsRefused = false;   // login refused: disconnect
    bool Echo = false;        // show it in the log (EchoLogLine)
    // A chat-buffer line: parsed when chat reading is on, else dropped.
    bool IsChat() const { return Number >= -1; }
};
TReceivedLine AnalyzeLine(const QByteArray& Line, bool LoggedIn);

// "    <BF2rcon> " followed by the line.
QString EchoLogLine(const QByteArray& Line);

// The seed of a challenge: the line with every "### Digest seed: " removed,
// cut to its first 16 bytes.
QByteArray DigestSeed(const QByteArray& ChallengeLine);
// MD5 as 32 lower-case hexadecimal digits.
QByteArray Md5Hex(const QByteArray& Data);
// "login " + MD5 of seed and password bytes, the answer to a challenge.
QByteArray LoginLine(const QByteArray& ChallengeLine, const QByteArray& Password);

// Text from outside (chat, player and scene names) placed into a line sent to
// the server, in the game's code page: each " becomes ', so that the text
// cannot end the quotes it stands in. Nothing else changes.
QByteArray QuotableText(const QString& Text);
// exec game.sayall "<message>", the message as QuotableText gives it.
QByteArray SayAllLine(const QString& Message);
// exec demo.recorddemo <demo name>, the name as QuotableText gives it.
QByteArray RecordDemoLine(const QString& DemoName);

// "Connected to BF2 server [host:port]" and its counterpart.
QString ConnectedLogLine(const QString& Host, int Port);
QString DisconnectedLogLine(const QString& Host, int Port);
// "No password is known for [host:port]": a challenge left unanswered.
QString NoPasswordLogLine(const QString& Host, int Port);
