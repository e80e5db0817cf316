// The chat commands that privileged players give from the game chat to
// record demos on the server: "!reconnect", "!scene", "!take", "!action" and
// "!cut". Replies go to everyone as say-all lines.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Kept in memory only, from start-up on.
struct TChatCommandState {
    QString SceneName = QStringLiteral("Default");
    int TakeNumber = 1;
    bool ServerRecording = false;
};

// The take's demo name: SceneName + "_take" + TakeNumber, with its extension
// (from the last "." after the last "\" or ":") replaced by ".bf2demo", or
// ".bf2demo" appended when it has none.
QString TakeFileName(const QString& SceneName, int TakeNumber);

// What the caller does after the command's lines are written.
enum class TChatCommandEffect {
    None,
    // Set the client's reconnect request (its Tag) and disconnect.
    Reconnect
};

// Handles one chat text of Player, with PrivilegedPlayers the list of the
// connected preset as saved (the caller reselects it first, and calls this
// only while connected). Every line to send goes through WriteLine at once,
// in order; an error it raises ends the command there, and the state keeps
// what changed before. With no privileged players nothing happens; a player
// not on the list (exact case) is refused, whatever the text. "!take" with a
// number that is no whole number raises EConvertError and changes nothing.
TChatCommandEffect HandleChatCommand(TChatCommandState& State, const QString& Text,
                                     const QString& Player, const QStringList& PrivilegedPlayers,
                                     const std::function<void(const QByteArray&)>& WriteLine);
