// Shortcuts to a program: on this system a freedesktop desktop entry
// (".desktop" file) written where the shell link would go.
#pragma once

#include <QString>

class TWindowsInfo;

// Writes a desktop entry that starts Target (a Windows-form path) with
// Arguments (split by the Windows rules) in WorkDir. Its file is the link
// name with ".lnk" changed to ".desktop": in the folder of FolderCode (1 to
// 11, see TWindowsInfo; an empty folder gives the root, "\" + name), or, for
// any other code, under its bare name in the current folder. The entry on
// the desktop (code 1) is made executable, as desktops ask of a launcher
// there. A file that cannot be written is not reported.
void CreateShortcut(const TWindowsInfo& Folders, const QString& Target, const QString& Arguments,
                    quint8 FolderCode, const QString& LinkName, const QString& WorkDir);

// The text of such an entry, with host paths: Name, Exec (each argument
// quoted) and Path.
QString DesktopEntryText(const QString& Name, const QString& HostProgram,
                         const QStringList& Arguments, const QString& HostWorkDir);
