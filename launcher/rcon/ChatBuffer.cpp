#include "launcher/rcon/ChatBuffer.h"

#include "common/TextCodec.h"
#include "common/TextRules.h"

#include <QList>

namespace {

// Fields end at a TAB, a CR, an LF or a CR LF; a break at the very end makes
// no empty last field, and an empty text has none.
QList<QByteArray> SplitFields(const QByteArray& Text) {
    QList<QByteArray> Fields;
    const qsizetype End = Text.size();
    qsizetype Start = 0;
    for (qsizetype I = 0; I < End; ++I) {
        const char C = Text[I];
        if (C != '\t' && C != '\r' && C != '\n')
            continue;
        Fields.append(Text.mid(Start, I - Start));
        if (C == '\r' && I + 1 < End && Text[I + 1] == '\n')
            ++I;
        Start = I + 1;
    }
    if (Start < End)
        Fields.append(Text.mid(Start));
    return Fields;
}

// Of more than six fields the last seven, without the empty ones; else all.
QList<QByteArray> SelectFields(const QList<QByteArray>& Fields) {
    if (Fields.size() <= 6)
        return Fields;
    QList<QByteArray> Selected;
    for (qsizetype I = Fields.size() - 7; I < Fields.size(); ++I)
        if (!Fields[I].isEmpty())
            Selected.append(Fields[I]);
    return Selected;
}

} // namespace

QByteArray RemoveChatMarkers(QByteArray Text) {
    Text.replace("HUD_CHAT_DEADPREFIX", "");
    Text.replace("HUD_TEXT_CHAT_TEAM", "");
    Text.replace("*\xA7"
                 "1DEAD\xA7"
                 "0*",
                 "");
    return Text;
}

std::optional<TChatEntry> TChatBuffer::Parse(const QByteArray& Line) {
    QByteArray NewText = Line;
    if (!FLastChatLine.isEmpty())
        NewText.replace(FLastChatLine, "");
    FLastChatLine = Line;

    const QList<QByteArray> Fields = SelectFields(SplitFields(NewText));
    if (Fields.size() != 6)
        return std::nullopt;
    TChatEntry Entry;
    Entry.Player = DecodeWindows1252(Fields[1]);
    Entry.ChatType = DecodeWindows1252(Fields[3]);
    Entry.Text = DecodeWindows1252(RemoveChatMarkers(Fields[5]));
    const bool ServerMessage = Fields[3] == "ServerMessage";
    Entry.LogLine =
        ServerMessage ? FormatStr(QStringLiteral("    [%s]\t\t\t%s"), {Entry.ChatType, Entry.Text})
                      : FormatStr(QStringLiteral("    [%s] %s:\t\t%s"),
                                  {Entry.ChatType, Entry.Player, Entry.Text});
    Entry.ForCommands = !ServerMessage;
    return Entry;
}
