// The demo library's folder rules: the projects under a mod's Demos folder,
// the mods and level folders, the demo, camera and sound files of a project,
// and the game-relative values of a chosen file.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// A mod's folder under the game folder (ending with a backslash), without a
// trailing backslash: <game>mods\<mod>.
QString ModFolderOf(const QString& GameDir, const QString& Mod);
// A mod's Demos and Levels folders, each with a trailing backslash.
QString DemosDirOf(const QString& GameDir, const QString& Mod);
QString LevelsDirOf(const QString& GameDir, const QString& Mod);

// The names of the subfolders of Folder (ending with a backslash), in the
// order of the listing, "." and ".." left out. A name that is not a plain
// Windows folder name (one holding a separator, for instance) is left out
// too: put back into a path it would name another folder, perhaps outside
// this one. None when the search finds no entry at all (the folder is
// missing or cannot be read).
std::optional<QStringList> ListSubfolders(const QString& Folder);

// The image of a file list item.
enum TFileImage { fiDemo = 0, fiCamera = 1, fiSound = 2 };

struct TLibraryFile {
    QString Name; // file name with extension
    TFileImage Image;
    bool operator==(const TLibraryFile&) const = default;
};

// The order of the kinds in the file list: demos, cameras, sound files.
constexpr std::array<TFileImage, 3> CFileListOrder{fiDemo, fiCamera, fiSound};

// The entries of Folder (ending with a backslash) that match "*.bf2demo",
// "*.bf2cam" and "*.wav", grouped by kind in the given order, each group in
// the order of the listing. Names compare without regard to case; folders
// whose names match are listed as well. A name that is not a plain Windows
// file name is left out (see ListSubfolders). A missing folder gives none.
// The folder is read once.
QList<TLibraryFile> ListLibraryFiles(const QString& Folder,
                                     const std::array<TFileImage, 3>& Order = CFileListOrder);

// What a chosen file is, by the extension of its caption (from its last "."
// on, letters A to Z compared without regard to case).
enum class TFileKind { Demo, Camera, Other };
TFileKind FileKindOf(const QString& Caption);

// The project that an entry of the project list stands for: empty for the
// Demos folder itself, that is for the Unassigned entry (exact comparison)
// and for no entry at all.
QString ProjectOfEntry(const QString& Entry, const QString& Unassigned);

// The folder of a project (empty: the Demos folder itself), with a trailing
// backslash.
QString ProjectFolderOf(const QString& DemosDir, const QString& Project);

// The game-relative value of a file of a project (empty: the Demos folder
// itself): mods\<mod>\Demos\[<project>\]<file>.
QString LibraryFileValue(const QString& Mod, const QString& Project, const QString& FileName);

// A menu caption without its accelerator marks: every "&" removed.
QString StripAccelerators(const QString& Caption);
