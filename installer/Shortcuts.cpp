#include "installer/Shortcuts.h"

#include "common/DesktopEntry.h"
#include "common/Errors.h"
#include "common/FileSystem.h"
#include "common/ShellOpen.h"
#include "installer/WinDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

QString AbsoluteHostPath(const QString& WinPath) {
    return QDir::cleanPath(QFileInfo(QvrFs::HostPath(WinPath)).absoluteFilePath());
}

} // namespace

QString DesktopEntryText(const QString& Name, const QString& HostProgram,
                         const QStringList& Arguments, const QString& HostWorkDir) {
    QStringList Exec{DesktopExecArgument(HostProgram)};
    for (const QString& Arg : Arguments)
        Exec << DesktopExecArgument(Arg);
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Exec=%2\n"
                          "Path=%3\n")
        .arg(DesktopEntryValue(Name), DesktopEntryValue(Exec.join(u' ')),
             DesktopEntryValue(HostWorkDir));
}

void CreateShortcut(const TWindowsInfo& Folders, const QString& Target, const QString& Arguments,
                    quint8 FolderCode, const QString& LinkName, const QString& WorkDir) {
    const QString FileName =
        QvrFs::ExtractFileExt(LinkName).compare(QStringLiteral(".lnk"), Qt::CaseInsensitive) == 0
            ? QvrFs::ChangeFileExt(LinkName, QStringLiteral(".desktop"))
            : LinkName + QStringLiteral(".desktop");
    const std::optional<QString> Folder = Folders.Folder(FolderCode);
    const QString Path = Folder ? *Folder + u'\\' + FileName : FileName;
    if (Folder && !Folder->isEmpty() && TWindowsInfo::MadeOnDemand(FolderCode))
        QDir().mkpath(QvrFs::HostPath(*Folder));

    const QString Text =
        DesktopEntryText(QvrFs::ChangeFileExt(FileName, QString()), AbsoluteHostPath(Target),
                         SplitWindowsCommandLine(Arguments), AbsoluteHostPath(WorkDir));
    try {
        QvrFs::WriteFile(Path, Text.toUtf8());
    } catch (const EError&) {
        return; // as a link that the shell could not save: not reported
    }
    if (FolderCode == 1) {
        const QString Host = QvrFs::HostPath(Path);
        QFile::setPermissions(Host, QFile::permissions(Host) | QFile::ExeOwner | QFile::ExeUser);
    }
}
