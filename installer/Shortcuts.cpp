#include "installer/Shortcuts.h"

#include "common/Errors.h"
#include "common/FileSystem.h"
#include "common/ShellOpen.h"
#include "installer/WinDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

// A value of the string kind: backslashes and control characters escaped.
QString EscapeValue(const QString& Value) {
    QString Out;
    for (const QChar C : Value) {
        switch (C.unicode()) {
        case u'\\':
            Out += QStringLiteral("\\\\");
            break;
        case u'\n':
            Out += QStringLiteral("\\n");
            break;
        case u'\r':
            Out += QStringLiteral("\\r");
            break;
        case u'\t':
            Out += QStringLiteral("\\t");
            break;
        default:
            Out += C;
        }
    }
    return Out;
}

// One argument of Exec, always quoted, so blanks and reserved characters
// stay in it; '%' is doubled, as field codes start with it.
QString QuoteExecArgument(const QString& Arg) {
    QString Out = QStringLiteral("\"");
    for (const QChar C : Arg) {
        if (C == u'"' || C == u'`' || C == u'$' || C == u'\\')
            Out += u'\\';
        Out += C;
        if (C == u'%')
            Out += u'%';
    }
    return Out + u'"';
}

QString AbsoluteHostPath(const QString& WinPath) {
    return QDir::cleanPath(QFileInfo(QvrFs::HostPath(WinPath)).absoluteFilePath());
}

} // namespace

QString DesktopEntryText(const QString& Name, const QString& HostProgram,
                         const QStringList& Arguments, const QString& HostWorkDir) {
    QStringList Exec{QuoteExecArgument(HostProgram)};
    for (const QString& Arg : Arguments)
        Exec << QuoteExecArgument(Arg);
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Exec=%2\n"
                          "Path=%3\n")
        .arg(EscapeValue(Name), EscapeValue(Exec.join(u' ')), EscapeValue(HostWorkDir));
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
