// Every path in the program is a Windows-form string (backslashes, drive
// letters, game-relative paths). This layer turns such a string into a host
// path at the moment of access; every file access goes through it.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QFileDevice;

namespace QvrFs {

// The host path for a Windows-form path: backslashes become slashes, a drive
// letter resolves through the Wine prefix, and each component that does not
// exist with its exact case is looked up without regard to case. A relative
// path stays relative (to the process's current folder).
QString HostPath(const QString& WinPath);

// The Wine prefix: $WINEPREFIX, else ~/.wine.
QString WinePrefix();

// The one rule for a file or folder name taken from outside input (a typed
// project name, a name found in a folder, a URL's file name): true when the
// name, put after a folder's path, would not name an entry of that very
// folder. That is a name that is empty; made only of periods and blanks
// (".", "..", "...", ". ": Windows trims trailing periods and blanks, which
// leaves the folder itself or its parent); or holding a "\", "/", ":" or a
// control character (codes 0 to 31 and 127): in a script or a command
// line such a character would end the line or change it.
bool IsUnsafeName(const QString& Name);
// The same rule for a typed path below a folder ("Intro\cam1"): true when
// any of its "\"-separated parts is an unsafe name. So a path that climbs
// out of the folder, starts at its root or a drive, has an empty part, or
// breaks a line is refused; subfolders are not.
bool IsUnsafeSubPath(const QString& Path);

bool FileExists(const QString& WinPath);      // a file, not a folder
bool DirectoryExists(const QString& WinPath); // a folder
// Creates the last level only; false when it cannot (or a parent is missing).
bool CreateDir(const QString& WinPath);

struct TSearchRec {
    QString Name;
    bool IsDir = false;
};

// Entries of a folder matching a mask ("C:\x\*.bf2demo", "dir\*.*"), letter
// case ignored, in the order the file system returns them, folders included.
// "." and ".." are listed for "*"-style masks, as Windows does outside a root.
// A missing or unreadable folder gives no entries.
QList<TSearchRec> FindFiles(const QString& WinPathAndMask);
// The same search, handing each entry to Visit as it is read.
void ForEachFile(const QString& WinPathAndMask,
                 const std::function<void(const TSearchRec&)>& Visit);

// Windows mask match: '*' and '?', case-blind; "*.*" matches every name.
bool MatchesMask(const QString& Name, const QString& Mask);

// Who may read a file the program writes. Usual: a new file is made as the
// umask has it, and a file that is there keeps its mode. Private, for a file
// that holds a password: the file is its owner's alone (mode 0600), a new one
// made so and one that is there narrowed to that before a byte is written.
enum class TFileAccess { Usual, Private };

// Narrows an open file to its owner alone when Access is Private. False when
// that cannot be done (the file is another user's): no secret may go in.
bool NarrowAccess(QFileDevice& File, TFileAccess Access);
// The same for the file at HostPath, when there is one, before anything opens
// it for writing (an open may empty it). False when it is there and cannot be
// narrowed.
bool NarrowExistingFile(const QString& HostPath, TFileAccess Access);

// Whole-file access. Reading raises EFOpenError "Cannot open file \"%s\". %s";
// writing raises EFCreateError "Cannot create file \"%s\". %s", also for a
// private file that cannot be narrowed, which is then left as it was.
QByteArray ReadFile(const QString& WinPath);
void WriteFile(const QString& WinPath, const QByteArray& Data,
               TFileAccess Access = TFileAccess::Usual);

// A text file as lines (CR LF, LF or CR ends a line), decoded as ANSI text.
QStringList LoadLines(const QString& WinPath);
// Lines saved as UTF-8, each ended by CR LF.
void SaveLines(const QString& WinPath, const QStringList& Lines);

// DeleteFileA: removes a file (not a folder).
bool DeleteFile(const QString& WinPath);

// CopyFileA: copies a file's contents, permission bits and modification time
// to Target. With FailIfExists a target that exists (in any letter case)
// makes it fail; without, an existing target file is replaced. The target
// appears whole or not at all. Fails for a folder or a missing source, a
// missing target folder, a target that is a folder, and a source and target
// that are the same file.
bool CopyFile(const QString& Source, const QString& Target, bool FailIfExists);

// MoveFileA: moves or renames a file or folder, never replacing anything: it
// fails when Target exists in any letter case, unless Target names Source
// itself in another letter case (a rename that changes the case alone). The
// check and the move are one step where the file system allows; a file moved
// to another file system is copied, then removed.
bool MoveFile(const QString& Source, const QString& Target);

// Extract parts of a Windows-form path.
QString ExtractFileName(const QString& WinPath); // after the last '\', '/' or ':'
QString ExtractFilePath(const QString& WinPath); // up to and including that separator
QString ExtractFileExt(const QString& WinPath);  // from the last '.' of the name on
QString ChangeFileExt(const QString& WinPath, const QString& Ext);

// The Windows-form path of a host path (for the program's own file: "Z:\...").
QString WinPathOfHost(const QString& HostPath);

} // namespace QvrFs
