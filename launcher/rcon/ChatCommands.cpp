#include "launcher/rcon/ChatCommands.h"

#include "common/FileSystem.h"
#include "common/TextRules.h"
#include "launcher/rcon/RconWire.h"

#include <limits>

namespace {

// The name without its extension: the part from the last "." that stands
// after the last "\" or ":".
QString WithoutExtension(const QString& Name) {
    const qsizetype Dot = Name.lastIndexOf(u'.');
    const qsizetype Delimiter = std::max(Name.lastIndexOf(u'\\'), Name.lastIndexOf(u':'));
    return Dot >= 0 && Dot > Delimiter ? Name.left(Dot) : Name;
}

// One more take; past the largest number the count wraps, as a 32-bit
// counter does.
int NextTake(int Take) {
    return Take == std::numeric_limits<int>::max() ? std::numeric_limits<int>::min() : Take + 1;
}

} // namespace

QString TakeFileName(const QString& SceneName, int TakeNumber) {
    return WithoutExtension(SceneName + QStringLiteral("_take") + QString::number(TakeNumber)) +
           QStringLiteral(".bf2demo");
}

TChatCommandEffect HandleChatCommand(TChatCommandState& State, const QString& Text,
                                     const QString& Player, const QStringList& PrivilegedPlayers,
                                     const std::function<void(const QByteArray&)>& WriteLine) {
    const auto Say = [&](const QString& Message) { WriteLine(SayAllLine(Message)); };
    const QStringList Fields = SplitCommaText(Text);
    const QString TakeName = TakeFileName(State.SceneName, State.TakeNumber);

    if (PrivilegedPlayers.isEmpty())
        return TChatCommandEffect::None;
    if (!PrivilegedPlayers.contains(Player, Qt::CaseSensitive)) {
        Say(FormatStr(QStringLiteral("Quorvane: Player %s does not have privileges on this server"),
                      {Player}));
        return TChatCommandEffect::None;
    }
    if (Fields.isEmpty())
        return TChatCommandEffect::None;
    const QString& Command = Fields[0];

    if (Command == u"!reconnect") {
        if (Fields.size() > 1) {
            Say(QStringLiteral("!reconnect: Too many arguments"));
            return TChatCommandEffect::None;
        }
        Say(QStringLiteral("!reconnect: Disconnecting from server..."));
        return TChatCommandEffect::Reconnect;
    }
    if (Command == u"!scene" || Command == u"!take") {
        if (Fields.size() < 2) {
            Say(Command + QStringLiteral(": Too few arguments"));
            return TChatCommandEffect::None;
        }
        if (Fields.size() > 2) {
            Say(Command + QStringLiteral(": Too many arguments"));
            return TChatCommandEffect::None;
        }
        if (Command == u"!scene") {
            State.SceneName = Fields[1];
            Say(QStringLiteral("!scene: Scene name was set to <") + State.SceneName + u'>');
        } else {
            State.TakeNumber = StrToInt(Fields[1]);
            Say(QStringLiteral("!take: Take was set to <") + QString::number(State.TakeNumber) +
                u'>');
        }
        return TChatCommandEffect::None;
    }
    if (Command == u"!action") {
        if (State.ServerRecording) {
            Say(QStringLiteral("!action: Already recording..."));
        } else if (State.SceneName.isEmpty()) {
            Say(QStringLiteral("!action: Scene name has not been set"));
        } else if (QvrFs::FileExists(TakeName)) {
            Say(QStringLiteral("!action: File <") + TakeName + QStringLiteral("> already exists"));
        } else {
            WriteLine(RecordDemoLine(WithoutExtension(TakeName)));
            Say(QStringLiteral("!action: Recording demo <") + TakeName + u'>');
            State.ServerRecording = true;
        }
        return TChatCommandEffect::None;
    }
    if (Command == u"!cut") {
        if (!State.ServerRecording) {
            Say(QStringLiteral("!cut: Recording not active"));
        } else {
            WriteLine("exec demo.stoprecording");
            Say(QStringLiteral("!cut: Stopped recording <") + TakeName + u'>');
            State.TakeNumber = NextTake(State.TakeNumber);
            State.ServerRecording = false;
        }
    }
    return TChatCommandEffect::None;
}
