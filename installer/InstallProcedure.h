// The install procedure: writes the launcher's files from the container's
// stored items into the chosen folder and makes the shortcuts. It has no
// widgets of its own; the wizard window shows its progress.
#pragma once

#include <QList>
#include <QString>

class TmxStorage;
class TWindowsInfo;

// What the procedure reports to, and asks of, the window it runs in.
class IInstallProgress {
public:
    virtual ~IInstallProgress() = default;
    // Handles the input queued so far (painting, clicks, a close request).
    // False when that ended the installation: the window was closed.
    virtual bool ProcessPendingInput() = 0;
    virtual void SetStatus(const QString& Text) = 0;
    virtual int Position() const = 0;
    virtual int Maximum() const = 0;
    virtual void SetPosition(int Position) = 0;
    // Holds the program for a while, so the last status can be read.
    virtual void Pause(int Milliseconds) = 0;
};

struct TInstallOptions {
    QString InstallDirText; // the install folder as typed: not validated
    bool CreateShortcuts = true;
    bool AddDesktopShortcut = true;
};

enum class TInstallResult { Completed, Abandoned };

// Where a stored item goes.
enum class TItemFolder { Install, Languages };

// One stored item of the payload, by name, with its place in the program
// folder the launcher reads: the program and its audio library beside each
// other (the program loads the library from its own folder), the language
// files in Languages, the presets beside the program.
struct TPayloadItem {
    QString Name;
    TItemFolder Folder;
    bool Executable;
};

// The items, in the order they are written.
const QList<TPayloadItem>& PayloadItems();

// The launcher's file name in the install folder, and the shortcuts' name.
inline const QString CLauncherFile = QStringLiteral("qvr");
inline const QString CShortcutName = QStringLiteral("Quorvane v1.2.lnk");

class TInstallProcedure {
public:
    TInstallProcedure(TmxStorage& Storage, const TWindowsInfo& Folders)
        : FStorage(Storage), FFolders(Folders) {}

    // Installs; raises an EError at the step that fails and leaves what was
    // written before it. Every stored item is found and checked before
    // anything is written, so a missing or damaged one writes nothing.
    // Abandoned when the window was closed while the procedure let it handle
    // input: the remaining steps are skipped.
    TInstallResult Install(const TInstallOptions& Options, IInstallProgress& Progress);

    // The install folder with its trailing backslash, set once the procedure
    // has begun ("\" for an empty text: the root).
    const QString& InstallDir() const { return FInstallDir; }

private:
    void CheckItems() const;
    void WriteItems(const QString& LanguageDir) const;

    TmxStorage& FStorage;
    const TWindowsInfo& FFolders;
    QString FInstallDir;
};
