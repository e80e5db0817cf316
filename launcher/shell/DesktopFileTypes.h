// The demo and camera file types as a freedesktop desktop (GNOME, KDE, Xfce
// and the rest) learns them: a shared-mime-info package that names the types
// and their file-name patterns, their icons in the user's icon theme, and a
// desktop entry that opens such files with the launcher. All of it lies in
// the user's data folder, $XDG_DATA_HOME (default ~/.local/share).
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One file type.
struct TDesktopFileType {
    QString Extension; // without the dot: "bf2demo"
    QString Comment;   // the type's name in the language in use; may be empty
    QByteArray Icon;   // a Windows icon file (.ico), one image per size and depth
};

// The user's data folder (host path, no trailing slash).
QString DesktopDataDir();

// "application/x-" + Extension: "application/x-bf2demo".
QString DesktopMimeType(const QString& Extension);

// Writes, replacing what an earlier call wrote (the files are the launcher's
// own, so they follow the language and the program's place):
// - mime/packages/quorvane.xml: each type with its comment, its icon name
//   and the pattern "*.<Extension>" (matched without regard to case);
// - icons/hicolor/<N>x<N>/mimetypes/application-x-<Extension>.png for each
//   size N in the type's icon, from its image of the most colours;
// - applications/quorvane.desktop: the launcher (ProgramFile, a host path),
//   run in its own folder on the opened file, declaring every type; kept out
//   of the menus, where the installer's shortcut stands.
// Then refreshes what the desktop reads instead of these files: the MIME
// database, the desktop entries' MIME cache and an icon cache that is already
// there, each when its tool is on the PATH. Raises EFCreateError
// "Cannot create file "<path>". <reason>" when a file cannot be written.
void WriteDesktopFileTypes(const QString& ProgramFile, const QList<TDesktopFileType>& Types);
