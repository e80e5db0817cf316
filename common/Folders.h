// Standard folders and the trailing-backslash rule, shared by both programs.
#pragma once

#include <QString>

// The user's documents folder (XDG), Windows form, no trailing backslash;
// empty when it cannot be determined.
QString GetMyDocumentsDir();
// GetMyDocumentsDir + "\Battlefield 2\".
QString GetBF2DocsDir();
// The stand-in for the Windows system folder: $XDG_DATA_HOME/quorvane/system
// (created on demand), Windows form, no trailing backslash.
QString GetSystemDir();
// The per-user program folder, ~/.local/opt, Windows form, no trailing backslash.
QString GetProgramFilesDir();
// The launcher's per-user config folder, $XDG_CONFIG_HOME/quorvane (host form).
QString GetConfigDir();

// S + "\" unless S already ends in a backslash (only the backslash counts).
QString AddTrailingBackslash(const QString& S);
