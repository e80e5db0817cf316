// The project operations of the demo library: a new project, renaming one,
// and moving demo, camera and sound files into a project. Projects are the
// folders directly under a mod's Demos folder (DemosDir, with its trailing
// backslash). Nothing here replaces a file or folder, and an operation that
// fails leaves things as they were.
#pragma once

#include "launcher/library/Library.h"

#include <QList>
#include <QString>
#include <QStringList>

// Whether a project name typed by the user is refused: an empty name, or one
// that would leave the Demos folder or name it (QvrFs::IsUnsafeName). The
// caller shows the same refusal for both.
bool IsProjectNameRefused(const QString& Name);

// Makes the folder of a new project (one level). False when the name is
// refused or the folder cannot be made, also when a project of that name
// exists already in any letter case.
bool NewProject(const QString& DemosDir, const QString& Name);

enum class TRenameResult {
    Unchanged, // the new name equals the old one exactly
    Renamed,
    Failed // a refused name, a missing project, a name taken in any case
};
// Renames the project Old to New. A change of letter case alone is a rename.
// A name that is taken leaves both projects as they were.
TRenameResult RenameProject(const QString& DemosDir, const QString& Old, const QString& New);

// The files that the Move files dialog offers, as items whose names are
// paths relative to DemosDir: first the Demos folder's own files (demos,
// sound files, cameras), then, for each other project in the order of the
// listing, its files as "<project>\<file>" (demos, cameras, sound files).
// Shown is the text shown in the project list; the project whose name
// equals it, letter case ignored, offers none of its files. Files in deeper
// folders are not offered.
QList<TLibraryFile> FilesToOffer(const QString& DemosDir, const QString& Shown);

// Moves the checked files, given as the offer names them, one after the
// other into the folder of Project (empty: the Demos folder itself). A file
// whose name is taken there, in any letter case, stays where it is, and so
// does one that vanished or cannot be moved; the others are still moved.
// Returns how many were moved.
int MoveFilesToProject(const QString& DemosDir, const QString& Project, const QStringList& Checked);
