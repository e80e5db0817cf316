// The single-instance lock as another process sees it.
#pragma once

#include "common/SingleInstance.h"

#include <QFile>
#include <QString>

#include <sys/stat.h>
#include <sys/sysmacros.h>

// Whether the lock is free. Asked of the kernel's list of locks, without
// taking it: a probe that took the lock, however briefly, would turn away a
// program starting at that moment.
inline bool LockIsFree(const QString& Name = QStringLiteral("OneInstance")) {
    struct stat File = {};
    if (::stat(QFile::encodeName(SingleInstanceLockPath(Name)).constData(), &File) != 0)
        return true;
    // Lines like "1: FLOCK  ADVISORY  WRITE 4242 fe:00:10953506 0 EOF".
    const QByteArray Id = QStringLiteral("%1:%2:%3")
                              .arg(major(File.st_dev), 2, 16, QLatin1Char('0'))
                              .arg(minor(File.st_dev), 2, 16, QLatin1Char('0'))
                              .arg(File.st_ino)
                              .toLatin1();
    QFile Locks(QStringLiteral("/proc/locks"));
    if (!Locks.open(QIODevice::ReadOnly))
        return true;
    for (const QByteArray& Line : Locks.readAll().split('\n')) {
        const QList<QByteArray> Fields = Line.simplified().split(' ');
        if (Fields.value(1) == "FLOCK" && Fields.value(5) == Id)
            return false;
    }
    return true;
}
