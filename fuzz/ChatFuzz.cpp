// Fuzzes what the watch timer does with received lines: each LF-ended piece
// of the input is classified as the tick classifies it (the logged-in state
// carrying over from line to line as the login steps set it), parsed as a
// chat-buffer line (the repeat filter carrying over too) and, when it gives an
// entry, handed to the chat commands with its player among the privileged
// ones. Nothing may crash; the login steps act only on the server's own lines
// and never log in again; entries hold no field breaks; every line sent is
// one line, replies are say-all lines, and text from outside holds no quote.

#include "common/Errors.h"
#include "launcher/rcon/ChatBuffer.h"
#include "launcher/rcon/ChatCommands.h"
#include "launcher/rcon/RconWire.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool Condition) {
    if (!Condition)
        std::abort();
}

bool HasBreak(const QString& Text) {
    return Text.contains(u'\t') || Text.contains(u'\r') || Text.contains(u'\n');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const QByteArray Input(reinterpret_cast<const char*>(Data), qsizetype(Size));
    TChatBuffer Buffer;
    TChatCommandState State;
    bool LoggedIn = false;
    for (const QByteArray& Line : Input.split('\n')) {
        const TReceivedLine R = AnalyzeLine(Line, LoggedIn);
        Check(R.Number >= -2 || Line.contains('\t'));
        const bool LoginStep = R.IsChallenge || R.IsAccepted || R.IsRefused;
        Check(!LoginStep || (R.Number == -2 && !R.IsChat()));
        Check(!LoggedIn || (!R.IsChallenge && !R.IsAccepted));
        if (R.IsChallenge)
            Check(LoginLine(Line, "pw").size() == 38);
        if (R.IsAccepted)
            LoggedIn = true;
        if (R.IsRefused)
            LoggedIn = false; // the tick disconnects
        (void)EchoLogLine(Line);
        const auto Entry = Buffer.Parse(Line);
        Check(Buffer.LastChatLine() == Line);
        if (!Entry)
            continue;
        Check(!HasBreak(Entry->Player) && !HasBreak(Entry->ChatType) && !HasBreak(Entry->Text));
        Check(Entry->LogLine.endsWith(Entry->Text));
        const QStringList Privileged = {QStringLiteral("Bob"), Entry->Player};
        try {
            HandleChatCommand(State, Entry->Text, Entry->Player, Privileged,
                              [](const QByteArray& Sent) {
                                  Check(!Sent.contains('\n') && !Sent.contains('\r'));
                                  if (Sent.startsWith("exec game.sayall \""))
                                      Check(Sent.count('"') == 2 && Sent.endsWith('"'));
                                  else
                                      Check(Sent.startsWith("exec demo.") && !Sent.contains('"'));
                              });
        } catch (const EConvertError&) {
            // "!take" with no whole number: reported, nothing changed.
        }
    }
    return 0;
}
