#include "launcher/rcon/ServerPresets.h"

#include "common/FileSystem.h"
#include "common/Folders.h"
#include "common/ProfileFile.h"
#include "common/TextRules.h"

#include <QRandomGenerator>

namespace {

const QString CHost = QStringLiteral("host");
const QString CPort = QStringLiteral("port");
const QString CPass = QStringLiteral("pass");
const QString CReadChat = QStringLiteral("readchat");
const QString CPrivs = QStringLiteral("privs");
const QString CLocalhost = QString::fromLatin1(CLocalhostPreset);

TServerPreset LocalPreset(const QString& Port, const QString& Pass) {
    TServerPreset Preset;
    Preset.Host = QStringLiteral("localhost");
    Preset.Port = Port;
    Preset.Pass = Pass;
    Preset.ReadChat = true;
    return Preset;
}

bool HasPort(const TServerPreset& Preset, int Port) {
    int PresetPort = 0;
    return TryStrToInt(Preset.Port, PresetPort) && PresetPort == Port;
}

bool NamesServer(const TServerPreset& Preset, const QString& Host, int Port) {
    return Preset.Host.compare(Host, Qt::CaseInsensitive) == 0 && HasPort(Preset, Port);
}

} // namespace

QStringList ServerPresetNames(const TProfileFile& Servers) {
    return Servers.ReadSections();
}

TServerPreset ReadServerPreset(const TProfileFile& Servers, const QString& Name) {
    TServerPreset Preset;
    Preset.Host = Servers.ReadString(Name, CHost, QString());
    Preset.Port = Servers.ReadString(Name, CPort, QString());
    Preset.Pass = Servers.ReadString(Name, CPass, QString());
    Preset.ReadChat = Servers.ReadString(Name, CReadChat, QString()) == u"True";
    Preset.Players = PlayersOfPrivs(Servers.ReadString(Name, CPrivs, QString()));
    return Preset;
}

void WriteServerPreset(TProfileFile& Servers, const QString& Name, const TServerPreset& Preset) {
    Servers.WriteString(Name, CHost, Preset.Host);
    Servers.WriteString(Name, CPort, Preset.Port);
    Servers.WriteString(Name, CPass, Preset.Pass);
    Servers.WriteString(Name, CReadChat,
                        Preset.ReadChat ? QStringLiteral("True") : QStringLiteral("False"));
    Servers.WriteString(Name, CPrivs, PrivsOfPlayers(Preset.Players));
}

QString PrivsOfPlayers(const QStringList& Players) {
    QString Privs;
    for (const QString& Player : Players)
        Privs += QStringLiteral(", ") + Player;
    return Privs;
}

QStringList PlayersOfPrivs(const QString& Privs) {
    QStringList Players;
    for (const QString& Item : SplitCommaText(Privs))
        if (!Item.isEmpty())
            Players.append(Item);
    return Players;
}

std::optional<QString> LoginPassword(const TProfileFile& Servers, const TServerPreset& Shown,
                                     const QString& Host, int Port) {
    if (Host == u"localhost") {
        const TServerPreset Local = ReadServerPreset(Servers, CLocalhost);
        if (HasPort(Local, Port))
            return Local.Pass;
    }
    if (NamesServer(Shown, Host, Port))
        return Shown.Pass;
    for (const QString& Name : ServerPresetNames(Servers)) {
        const TServerPreset Preset = ReadServerPreset(Servers, Name);
        if (NamesServer(Preset, Host, Port))
            return Preset.Pass;
    }
    return std::nullopt;
}

QString AdminCfgPath(const QString& GameDir) {
    return AddTrailingBackslash(GameDir) + QStringLiteral("Admin\\default.cfg");
}

int DrawLocalPassword() {
    return static_cast<int>(QRandomGenerator::system()->bounded(2147483647u));
}

void WriteAdminCfg(const QString& Path, int Password) {
    QvrFs::WriteFile(
        Path, "port=6711\r\npassword=" + QByteArray::number(Password) + "\r\nip=127.0.0.1\r\n",
        QvrFs::TFileAccess::Private);
}

TAdminCfg ReadAdminCfg(const QString& Path) {
    const QStringList Lines = QvrFs::LoadLines(Path);
    return {ValueOfName(Lines, QStringLiteral("port")),
            ValueOfName(Lines, QStringLiteral("password"))};
}

bool EnsureLocalServer(TProfileFile& Servers, const QString& GameDir) {
    const QString Cfg = AdminCfgPath(GameDir);
    if (!QvrFs::FileExists(Cfg)) {
        const int Password = DrawLocalPassword();
        WriteAdminCfg(Cfg, Password);
        WriteServerPreset(Servers, CLocalhost,
                          LocalPreset(QStringLiteral("6711"), QString::number(Password)));
        return true;
    }
    if (Servers.SectionExists(CLocalhost))
        return false;
    WriteServerPreset(Servers, CLocalhost, LocalPreset(QStringLiteral("6711"), QString()));
    if (QvrFs::FileExists(Cfg)) {
        const TAdminCfg Values = ReadAdminCfg(Cfg);
        Servers.WriteString(CLocalhost, CPort, Values.Port);
        Servers.WriteString(CLocalhost, CPass, Values.Password);
    }
    return true;
}
