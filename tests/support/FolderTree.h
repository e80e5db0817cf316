// A folder's whole content as sorted lines, so that a test compares what is
// on disk after an operation, leftovers included: "sub/" for a folder,
// "sub/name=content" for a file.
#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringList>

inline QStringList FolderTree(const QString& Root) {
    QStringList Lines;
    QDirIterator It(Root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (It.hasNext()) {
        const QString Path = It.next();
        const QString Name = Path.mid(Root.size() + 1);
        if (It.fileInfo().isDir()) {
            Lines << Name + u'/';
            continue;
        }
        QFile F(Path);
        Lines << Name + u'=' +
                     (F.open(QIODevice::ReadOnly) ? QString::fromUtf8(F.readAll())
                                                  : QStringLiteral("<unreadable>"));
    }
    Lines.sort();
    return Lines;
}

// Makes each file of Lines ("sub/name=content") and each folder ("sub/")
// under Root, the form FolderTree gives.
inline bool MakeTree(const QString& Root, const QStringList& Lines) {
    for (const QString& Line : Lines) {
        if (Line.endsWith(u'/')) {
            if (!QDir(Root).mkpath(Line))
                return false;
            continue;
        }
        const qsizetype Eq = Line.indexOf(u'=');
        const QString Path = Root + u'/' + Line.left(Eq);
        QDir().mkpath(Path.left(Path.lastIndexOf(u'/')));
        QFile F(Path);
        if (!F.open(QIODevice::WriteOnly) || F.write(Line.mid(Eq + 1).toUtf8()) < 0)
            return false;
    }
    return true;
}

// Tree with some lines changed, sorted: "-line" drops a line, "line" adds one.
inline QStringList Changed(QStringList Tree, const QStringList& Changes) {
    for (const QString& C : Changes)
        if (C.startsWith(u'-'))
            Tree.removeOne(C.mid(1));
        else
            Tree << C;
    Tree.sort();
    return Tree;
}
