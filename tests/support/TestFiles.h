// Real files for tests, by host path.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

// Writes a file, making its folders; false when it cannot.
inline bool WriteHostFile(const QString& Path, const QByteArray& Data) {
    QDir().mkpath(QFileInfo(Path).absolutePath());
    QFile F(Path);
    return F.open(QIODevice::WriteOnly | QIODevice::Truncate) && F.write(Data) == Data.size();
}

// A file's bytes; empty when it cannot be read.
inline QByteArray ReadHostFile(const QString& Path) {
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

// The names of a folder's entries of the given kinds, in the order the file
// system lists them, hidden ones included.
inline QStringList HostListing(const QString& Dir, QDir::Filters Kinds = QDir::AllEntries) {
    QStringList Names;
    QDirIterator It(Dir, Kinds | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (It.hasNext()) {
        It.next();
        Names << It.fileName();
    }
    return Names;
}
