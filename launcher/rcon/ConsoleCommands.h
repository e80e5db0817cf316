// The console page's command line and server menu without their widgets: the
// two local commands, the lines typed for the server, and connecting to a
// server preset. Log lines go out through a callback (the window's log).
#pragma once

#include <QString>

#include <functional>

class TProfileFile;
class TTcpClient;

using TLogLine = std::function<void(const QString&)>;

// What a typed command line asks for.
struct TConsoleCommand {
    enum TKind {
        ckNothing,    // not connected, or nothing typed
        ckConnect,    // "qvr.connect" host port, while not connected
        ckDisconnect, // "qvr.disconnect", while connected
        ckSend        // Line goes to the server
    };
    TKind Kind = ckNothing;
    QString Host, Port; // ckConnect: the two fields as typed
    QString Line;       // ckSend: the typed text, blanks and control characters trimmed
};

// Fields by the comma-text rule; the local commands are matched exactly
// (letter case counts), "qvr.connect" only with exactly two arguments. Any
// other line, and a local command whose condition does not hold, is sent as
// typed (trimmed) when connected.
TConsoleCommand ParseConsoleCommand(const QString& Typed, bool Connected);

// Runs a typed command line on the client. Connection failures end in the log
// ("Incorrect host/port info [h:p]", "Failed to connect to [h:p]"); a failed
// write is silent. An error of the disconnected handler (a reconnection that
// fails) goes up.
void RunConsoleCommand(TTcpClient& Client, const QString& Typed, const TLogLine& Log);

// The preset name of a server menu item: its caption without "&" marks.
QString PresetNameOfCaption(const QString& Caption);

// Connects to a preset of Servers.ini: nothing when the file has no such
// section; else logs "Connecting to <name>...", sets host and port (a port
// that is no whole number logs "Incorrect host/port info [h:p]" and keeps the
// former one) and connects (a failure logs "Failed to connect to [h:p]"),
// with host and port as the file holds them.
void ConnectToPreset(TTcpClient& Client, const TProfileFile& Servers, const QString& PresetName,
                     const TLogLine& Log);
