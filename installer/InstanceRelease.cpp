#include "installer/InstanceRelease.h"

#include "common/SingleInstance.h"

#include <QByteArray>
#include <QFile>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

void ReleaseSingleInstance(const QString& Name) {
    // The guard keeps its descriptor to itself, and the lock lives exactly as
    // long as a descriptor of this process is open on the lock file: closing
    // every such descriptor lets it go.
    struct stat Lock = {};
    if (::stat(QFile::encodeName(SingleInstanceLockPath(Name)).constData(), &Lock) != 0)
        return;
    DIR* Fds = ::opendir("/proc/self/fd");
    if (!Fds)
        return;
    const int Own = ::dirfd(Fds);
    std::vector<int> Open;
    while (const dirent* Entry = ::readdir(Fds)) {
        bool Ok = false;
        const int Fd = QByteArray(Entry->d_name).toInt(&Ok);
        struct stat File = {};
        if (Ok && Fd != Own && ::fstat(Fd, &File) == 0 && File.st_dev == Lock.st_dev &&
            File.st_ino == Lock.st_ino)
            Open.push_back(Fd);
    }
    ::closedir(Fds);
    for (const int Fd : Open)
        ::close(Fd);
}
