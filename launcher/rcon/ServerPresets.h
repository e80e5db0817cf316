// Server presets: one section of Servers.ini per server (host, port,
// password, chat reading, privileged players), the local server's preset
// "Localhost" and its admin configuration Admin\default.cfg in the game folder.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class TProfileFile;

inline constexpr char CLocalhostPreset[] = "Localhost";

struct TServerPreset {
    QString Host, Port, Pass; // as typed; the port is not checked here
    bool ReadChat = false;    // "readchat" is exactly "True"
    QStringList Players;      // the privileged players, in list order
    bool operator==(const TServerPreset&) const = default;
};

// The preset names: the file's sections in file order.
QStringList ServerPresetNames(const TProfileFile& Servers);

// The preset of that name; missing keys (or a missing section) read empty.
TServerPreset ReadServerPreset(const TProfileFile& Servers, const QString& Name);
// Writes host, port, pass, readchat ("True"/"False") and privs, in this
// order, key by key; a preset of that name is overwritten key by key.
void WriteServerPreset(TProfileFile& Servers, const QString& Name, const TServerPreset& Preset);

// The "privs" value: ", " before each name (empty for none).
QString PrivsOfPlayers(const QStringList& Players);
// The players of a "privs" value: its non-empty comma-text items, so a name
// holding a blank reads back as two players.
QStringList PlayersOfPrivs(const QString& Privs);

// The password that answers the login challenge of a connection to Host and
// Port. A password goes only to the server it was given for: Shown's (the
// Servers sub-page's fields as they stand) when the connection is to its host
// and port, else that of the first preset of the file with that host and
// port; a host's letter case does not count. The host written "localhost"
// with the "Localhost" preset's port takes that preset's password, the local
// server's own, whatever host the preset names. Nothing when no preset names
// the server: the challenge is left unanswered.
std::optional<QString> LoginPassword(const TProfileFile& Servers, const TServerPreset& Shown,
                                     const QString& Host, int Port);

// Game folder + "Admin\default.cfg" (a backslash added when missing).
QString AdminCfgPath(const QString& GameDir);
// The local server's password: a whole number 0 <= N < 2147483647 from the
// system's random source, so nobody can work it out from the time it was made.
int DrawLocalPassword();
// Writes "port=6711", "password=<N>" and "ip=127.0.0.1", each ended by
// CR LF, in a file for its owner alone. Raises EFCreateError, naming the
// file, when it cannot be written.
void WriteAdminCfg(const QString& Path, int Password);
// The "port" and "password" values of the file (name=value, the name's letter
// case ignored; empty when missing). Raises EFOpenError when unreadable.
struct TAdminCfg {
    QString Port, Password;
};
TAdminCfg ReadAdminCfg(const QString& Path);

// Makes sure the local server has its configuration and preset, when the
// Servers page is shown with a game folder: a missing Admin\default.cfg is
// written with a new password and "Localhost" rewritten whole to match it
// (its privileged players dropped); with the file there but no "Localhost"
// holding a key, the preset is made from the file's port and password.
// Returns whether "Localhost" was written (the page then selects it and
// stores it as the selected preset). Both there: nothing is written.
bool EnsureLocalServer(TProfileFile& Servers, const QString& GameDir);
