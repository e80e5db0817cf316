// Fuzzes what the watch timer does with received lines: each LF-ended piece
// of the input is analysed, parsed as a chat-buffer line (the repeat filter
// carrying over from line to line) and, when it gives an entry, handed to the
// chat commands with its player among the privileged ones. Nothing may crash;
// entries hold no field breaks; every line sent is one line, and replies are
// say-all lines.

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
    for (const QByteArray& Line : Input.split('\n')) {
        const TReceivedLine R = AnalyzeLine(Line);
        Check(R.Number >= -2 || Line.contains('\t'));
        if (R.IsChallenge)
            Check(LoginLine(Line, "pw").size() == 38);
        (void)EchoLogLine(Line);
        const auto Entry = Buffer.Parse(Line);
        Check(Buffer.LastChatLine() == Line);
        if (!Entry)
            continue;
        Check(!HasBreak(Entry->Player) && !HasBreak(Entry->ChatType) && !HasBreak(Entry->Text));
        Check(Entry->LogLine.endsWith(Entry->Text));
        const QStringList Privileged = {QStringLiteral("Bob"), Entry->Player};
        try {
            HandleChatCommand(
                State, Entry->Text, Entry->Player, Privileged, [](const QByteArray& Sent) {
                    Check(!Sent.contains('\n') && !Sent.contains('\r'));
                    Check(Sent.startsWith("exec game.sayall \"") || Sent.startsWith("exec demo."));
                });
        } catch (const EConvertError&) {
            // "!take" with no whole number: reported, nothing changed.
        }
    }
    return 0;
}
