// Scan and Import: the demos and cameras that the game saved into its
// default profile's Demos folder, listed and copied into the current mod's
// Demos folder.
#pragma once

#include <QList>
#include <QString>

// <documents>\Battlefield 2\Profiles\Default\ and its Demos\ folder, from
// the documents folder (no trailing backslash).
QString DefaultProfileDir(const QString& MyDocumentsDir);
QString ScanFolderOf(const QString& MyDocumentsDir);

// Before the dialog opens: false when the default profile folder is missing
// (there is nothing to scan, and no message); otherwise true, after making
// the Demos folder when it is missing (one level; a failure does not count).
bool PrepareScanFolder(const QString& MyDocumentsDir);

// One entry of the scan list: the file name without its last extension, and
// its type text, the dialog's Demo or Camera text.
struct TScanEntry {
    QString Caption;
    QString TypeText;
    bool operator==(const TScanEntry&) const = default;
};

// The scan of Folder (ending with a backslash): every entry matching
// "*.bf2demo" (letter case ignored, folders included), then every one
// matching "*.bf2cam", each in the order of the listing. A name that is not a
// plain Windows file name is left out: it would name another file once put
// back into a path.
QList<TScanEntry> ScanDemos(const QString& Folder, const QString& DemoText,
                            const QString& CameraText);

// The dialog's caption while nothing is listed ("Scanning... -- No files
// found"), and with the number of entries ("Scan -- 5 Files found").
QString ScanningCaption(const QString& ScanningText, const QString& NoFilesFoundText);
QString FilesFoundCaption(const QString& ScanText, qsizetype Count, const QString& FilesFoundText);

struct TImportOptions {
    bool DeleteOriginal = false; // "Delete original file after importing"
    bool DontOverwrite = true;   // "Don't overwrite if file already exists"
};

// Imports the ticked entries in order: ScanFolder + caption + extension is
// copied to DemosDir + caption + extension, the extension being ".bf2demo"
// when the entry's type text equals DemoText exactly and ".bf2cam"
// otherwise. With DontOverwrite a target that exists (in any letter case)
// makes that copy fail; otherwise it is replaced. A failed copy is skipped
// and its source stays; a source is deleted only after its own copy
// succeeded, and only with DeleteOriginal. Returns how many were copied.
int ImportScanned(const QString& ScanFolder, const QString& DemosDir,
                  const QList<TScanEntry>& Ticked, const QString& DemoText,
                  const TImportOptions& Options);
