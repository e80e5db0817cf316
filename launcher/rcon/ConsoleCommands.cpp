#include "launcher/rcon/ConsoleCommands.h"

#include "common/ProfileFile.h"
#include "common/TextCodec.h"
#include "common/TextRules.h"
#include "launcher/platform/TcpClient.h"
#include "launcher/rcon/RconWire.h"

#include <exception>

namespace {

QString PairText(const QString& Host, const QString& Port) {
    return QStringLiteral("[") + Host + u':' + Port + u']';
}

// Sets host and port; the host stays set when the port is no whole number.
void SetHostAndPort(TTcpClient& Client, const QString& Host, const QString& Port,
                    const TLogLine& Log) {
    Client.SetHost(Host);
    int Value = 0;
    if (TryStrToInt(Port, Value))
        Client.SetPort(Value);
    else
        Log(QStringLiteral("Incorrect host/port info ") + PairText(Host, Port));
}

// Connects; any failure, the connected handler's included, ends in the log.
bool TryConnect(TTcpClient& Client) {
    try {
        Client.Connect();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

TConsoleCommand ParseConsoleCommand(const QString& Typed, bool Connected) {
    TConsoleCommand Command;
    const QStringList Fields = SplitCommaText(Typed);
    if (Fields.isEmpty())
        return Command;
    if (Fields[0] == u"qvr.connect" && !Connected && Fields.size() == 3) {
        Command.Kind = TConsoleCommand::ckConnect;
        Command.Host = Fields[1];
        Command.Port = Fields[2];
    } else if (Fields[0] == u"qvr.disconnect" && Connected) {
        Command.Kind = TConsoleCommand::ckDisconnect;
    } else if (Connected) {
        Command.Kind = TConsoleCommand::ckSend;
        Command.Line = TrimBlanks(Typed);
    }
    return Command;
}

void RunConsoleCommand(TTcpClient& Client, const QString& Typed, const TLogLine& Log) {
    const TConsoleCommand Command = ParseConsoleCommand(Typed, Client.Connected());
    switch (Command.Kind) {
    case TConsoleCommand::ckNothing:
        break;
    case TConsoleCommand::ckConnect:
        SetHostAndPort(Client, Command.Host, Command.Port, Log);
        if (!TryConnect(Client))
            Log(QStringLiteral("Failed to connect to ") +
                PairText(Client.Host(), QString::number(Client.Port())));
        break;
    case TConsoleCommand::ckDisconnect:
        Client.Disconnect();
        break;
    case TConsoleCommand::ckSend:
        try {
            Client.WriteLn(EncodeWindows1252(Command.Line));
        } catch (const std::exception&) {
        }
        break;
    }
}

QString PresetNameOfCaption(const QString& Caption) {
    return QString(Caption).remove(u'&');
}

void ConnectToPreset(TTcpClient& Client, const TProfileFile& Servers, const QString& PresetName,
                     const TLogLine& Log) {
    if (!Servers.SectionExists(PresetName))
        return;
    Log(QStringLiteral("Connecting to ") + PresetName + QStringLiteral("..."));
    const QString Host = Servers.ReadString(PresetName, QStringLiteral("host"), QString());
    const QString Port = Servers.ReadString(PresetName, QStringLiteral("port"), QString());
    SetHostAndPort(Client, Host, Port, Log);
    if (!TryConnect(Client))
        Log(QStringLiteral("Failed to connect to ") + PairText(Host, Port));
}
