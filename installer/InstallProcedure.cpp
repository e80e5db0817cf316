#include "installer/InstallProcedure.h"

#include "common/Errors.h"
#include "common/FileSystem.h"
#include "common/Folders.h"
#include "installer/Shortcuts.h"
#include "installer/WinDirs.h"
#include "installer/mxStorage.h"

#include <QDir>
#include <QFile>

namespace {

// Takes an extraction and keeps nothing: the check of a stored item.
class TDiscard : public QIODevice {
public:
    TDiscard() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 Len) override { return Len; }
};

// Folder codes of the user's Programs menu folder and desktop.
constexpr quint8 CProgramsFolder = 6;
constexpr quint8 CDesktopFolder = 1;

// Creates a folder with every missing parent; the outcome shows later, when
// a file cannot be written there.
void ForceDirectories(const QString& WinDir) {
    QDir().mkpath(QvrFs::HostPath(WinDir));
}

void MakeExecutable(const QString& WinPath) {
    const QString Host = QvrFs::HostPath(WinPath);
    QFile::Permissions Perms = QFile::permissions(Host) | QFile::ExeOwner | QFile::ExeUser;
    if (Perms & QFile::ReadGroup)
        Perms |= QFile::ExeGroup;
    if (Perms & QFile::ReadOther)
        Perms |= QFile::ExeOther;
    if (!QFile::setPermissions(Host, Perms))
        throw EInOutError(QStringLiteral("Cannot make file \"%1\" executable.").arg(WinPath));
}

} // namespace

const QList<TPayloadItem>& PayloadItems() {
    static const QList<TPayloadItem> Items = {
        {CLauncherFile, TItemFolder::Install, true},
        {QStringLiteral("libbass.so"), TItemFolder::Install, true},
        {QStringLiteral("English.lang"), TItemFolder::Languages, false},
        {QStringLiteral("Italian.lang"), TItemFolder::Languages, false},
        {QStringLiteral("Spanish.lang"), TItemFolder::Languages, false},
        {QStringLiteral("Swedish.lang"), TItemFolder::Languages, false},
        {QStringLiteral("Presets.ini"), TItemFolder::Install, false},
    };
    return Items;
}

TInstallResult TInstallProcedure::Install(const TInstallOptions& Options,
                                          IInstallProgress& Progress) {
    FInstallDir = AddTrailingBackslash(Options.InstallDirText);
    const QString LanguageDir = AddTrailingBackslash(FInstallDir + QStringLiteral("Languages"));

    CheckItems();
    if (!QvrFs::DirectoryExists(FInstallDir))
        ForceDirectories(FInstallDir);
    if (!QvrFs::DirectoryExists(LanguageDir))
        ForceDirectories(LanguageDir);
    WriteItems(LanguageDir);

    const QString Target = FInstallDir + CLauncherFile;
    const std::pair<bool, quint8> Shortcuts[] = {{Options.CreateShortcuts, CProgramsFolder},
                                                 {Options.AddDesktopShortcut, CDesktopFolder}};
    for (const auto& [Wanted, FolderCode] : Shortcuts) {
        if (!Wanted)
            continue;
        if (!Progress.ProcessPendingInput())
            return TInstallResult::Abandoned;
        Progress.SetStatus(QStringLiteral("Creating Shortcuts..."));
        CreateShortcut(FFolders, Target, QString(), FolderCode, CShortcutName, FInstallDir);
        Progress.SetPosition(Progress.Position() + 1);
    }

    if (!Progress.ProcessPendingInput())
        return TInstallResult::Abandoned;
    Progress.SetStatus(QStringLiteral("Install complete"));
    Progress.SetPosition(Progress.Maximum());
    Progress.Pause(2000);
    return TInstallResult::Completed;
}

void TInstallProcedure::CheckItems() const {
    for (const TPayloadItem& Entry : PayloadItems()) {
        TmxStoredItem* Item = FStorage.FindItem(Entry.Name);
        if (!Item)
            throw EError(QStringLiteral("The installer is damaged: the stored file \"%1\" is "
                                        "missing.")
                             .arg(Entry.Name));
        try {
            TDiscard Sink;
            Item->SaveToStream(&Sink);
        } catch (const EError& E) {
            throw EError(QStringLiteral("The installer is damaged: the stored file \"%1\" "
                                        "cannot be read (%2).")
                             .arg(Entry.Name, E.Message()));
        }
    }
}

void TInstallProcedure::WriteItems(const QString& LanguageDir) const {
    for (const TPayloadItem& Entry : PayloadItems()) {
        const QString Path =
            (Entry.Folder == TItemFolder::Languages ? LanguageDir : FInstallDir) + Entry.Name;
        FStorage.FindItem(Entry.Name)->SaveToFile(Path);
        if (Entry.Executable)
            MakeExecutable(Path);
    }
}
