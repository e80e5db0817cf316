// The chat buffer of the server's admin scripts, as the watch timer reads it
// line by line. A line holds TAB-separated fields: 0 a number, 1 the player,
// 3 the chat type, 5 the text; entries of the buffer are separated by line
// breaks, and the server may send the whole buffer again each time.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// One chat line that goes on to the log and the chat commands; decoded from
// the game's code page.
struct TChatEntry {
    QString Player;   // field 1
    QString ChatType; // field 3; "ServerMessage" for the server's own
    QString Text;     // field 5, the game's markers removed
    QString LogLine;  // the line for the log
    // Whether the chat commands get it. The server's own messages do not:
    // they carry the launcher's replies, and answering them would answer
    // the launcher itself, line after line.
    bool ForCommands = false;
};

class TChatBuffer {
public:
    // Takes the next numbered line. What the last line held is removed first
    // (the repeat filter), so a line read twice gives nothing the second time;
    // the rest is cut into fields and gives an entry only when exactly six
    // fields are left (of more than six, the last seven without empty ones).
    std::optional<TChatEntry> Parse(const QByteArray& Line);

    // The last line parsed (the repeat filter); empty at start.
    const QByteArray& LastChatLine() const { return FLastChatLine; }
    void Reset() { FLastChatLine.clear(); }

private:
    QByteArray FLastChatLine;
};

// The text without the game's markers: "HUD_CHAT_DEADPREFIX",
// "HUD_TEXT_CHAT_TEAM" and "*§1DEAD§0*" (§ the single byte 0xA7), removed
// in that order.
QByteArray RemoveChatMarkers(QByteArray Text);
