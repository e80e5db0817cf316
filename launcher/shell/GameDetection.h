// Finding the game: its install folder in the Wine prefix's registry, its
// program in a folder, and the version its bf2 mod describes.
#pragma once

#include <QString>

// The install folder the game's installer stored, as stored (no backslash
// added); empty when the registry holds none.
QString ReadBF2InstallDir();

// Whether GameDir (ending with a backslash) holds BF2.exe.
bool BF2ExeExists(const QString& GameDir);

// The twelve characters after "<version> " in mods\bf2\mod.desc (from the
// tenth on without the marker), trimmed of blanks at both ends. A file that
// cannot be read raises its file error.
QString ReadBF2Version(const QString& GameDir);
