#include "installer/WinDirs.h"

#include "common/FileSystem.h"
#include "common/Folders.h"

#include <QDir>
#include <QStandardPaths>

namespace {

// A host folder in the Windows form of the rest of the program, without a
// trailing backslash; empty stays empty.
QString WinFolder(const QString& Host) {
    return Host.isEmpty() ? QString() : QvrFs::WinPathOfHost(QDir::cleanPath(Host));
}

QString Writable(QStandardPaths::StandardLocation Location, const char* Sub = nullptr) {
    const QString Base = QStandardPaths::writableLocation(Location);
    if (Base.isEmpty())
        return {};
    return WinFolder(Sub ? Base + u'/' + QLatin1String(Sub) : Base);
}

} // namespace

TWindowsInfo::TWindowsInfo() {
    // QStandardPaths reads the XDG user folders from user-dirs.dirs.
    Desktop = Writable(QStandardPaths::DesktopLocation);
    Fonts = Writable(QStandardPaths::GenericDataLocation, "fonts");
    Personal = GetMyDocumentsDir();
    Programs = Writable(QStandardPaths::ApplicationsLocation);
    StartMenu = Programs;
    Startup = Writable(QStandardPaths::GenericConfigLocation, "autostart");
    Templates = Writable(QStandardPaths::TemplatesLocation);
}

std::optional<QString> TWindowsInfo::Folder(int Code) const {
    const QString* const Fields[] = {&Desktop,   &Favorites, &Fonts,    &NetHood,
                                     &Personal,  &Programs,  &Recent,   &SendTo,
                                     &StartMenu, &Startup,   &Templates};
    if (Code < 1 || Code > 11)
        return std::nullopt;
    return *Fields[Code - 1];
}

bool TWindowsInfo::MadeOnDemand(int Code) {
    return Code == 3 || Code == 6 || Code == 9 || Code == 10;
}
