// The user's shell folders, where the installer puts its shortcuts. Each
// folder has a code from 1 to 11; on this system they are the XDG user
// folders (user-dirs.dirs) and the freedesktop folders, and a folder with no
// counterpart here reads empty.
#pragma once

#include <QString>

#include <optional>

class TWindowsInfo {
public:
    // Reads the eleven folders, once: later changes are not seen.
    TWindowsInfo();

    // Windows-form paths without a trailing backslash, or empty.
    QString Desktop;   // 1: XDG desktop folder
    QString Favorites; // 2: none
    QString Fonts;     // 3: $XDG_DATA_HOME/fonts
    QString NetHood;   // 4: none
    QString Personal;  // 5: XDG documents folder
    QString Programs;  // 6: $XDG_DATA_HOME/applications
    QString Recent;    // 7: none
    QString SendTo;    // 8: none
    QString StartMenu; // 9: $XDG_DATA_HOME/applications
    QString Startup;   // 10: $XDG_CONFIG_HOME/autostart
    QString Templates; // 11: XDG templates folder

    // The folder of a code from 1 to 11; none for any other code.
    std::optional<QString> Folder(int Code) const;
    // Whether the folder of a code is one that the desktop reads from but
    // makes only on demand (applications, autostart, fonts): a shortcut made
    // there creates it. The user's own folders (desktop, documents,
    // templates) are never made by the installer.
    static bool MadeOnDemand(int Code);
};
