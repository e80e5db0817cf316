#include "common/Folders.h"

#include "common/FileSystem.h"

#include <QDir>
#include <QStandardPaths>

namespace {
QString WinFolder(const QString& Host) {
    if (Host.isEmpty())
        return {};
    QString W = QvrFs::WinPathOfHost(Host);
    while (W.endsWith(u'\\') && W.size() > 3)
        W.chop(1);
    return W;
}
} // namespace

QString GetMyDocumentsDir() {
    // QStandardPaths reads the XDG user folders (user-dirs.dirs) for us.
    if (QDir::homePath().isEmpty() || QDir::homePath() == QLatin1String("/"))
        return {};
    return WinFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

QString GetBF2DocsDir() {
    return GetMyDocumentsDir() + QStringLiteral("\\Battlefield 2\\");
}

QString GetSystemDir() {
    const QString Data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (Data.isEmpty())
        return {};
    const QString Dir = Data + QStringLiteral("/quorvane/system");
    QDir().mkpath(Dir);
    return WinFolder(Dir);
}

QString GetProgramFilesDir() {
    if (QDir::homePath().isEmpty())
        return {};
    return WinFolder(QDir::homePath() + QStringLiteral("/.local/opt"));
}

QString GetConfigDir() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/quorvane");
}

QString AddTrailingBackslash(const QString& S) {
    if (S.endsWith(u'\\'))
        return S;
    return S + u'\\';
}
