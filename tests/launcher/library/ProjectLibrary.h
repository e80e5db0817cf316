// The Demos folder that the project-operation tests start from, in the form
// MakeTree and FolderTree take: files of the Demos folder itself; the project
// Abc with a file of each kind, one named as a file of the Demos folder, and
// one in a deeper folder; the project Xyz.
#pragma once

#include <QString>
#include <QStringList>

inline const QStringList CProjectLibrary = {
    "a.bf2demo=a", "s.wav=s",   "c.bf2cam=c",           "Abc/", "Abc/a.bf2demo=b", "Abc/y.bf2cam=y",
    "Abc/z.wav=z", "Abc/deep/", "Abc/deep/d.bf2demo=d", "Xyz/", "Xyz/Y.BF2CAM=y2"};

// The changes to that folder (in the form Changed takes) when Abc is renamed.
inline QStringList AbcRenamedTo(const QString& To) {
    QStringList Changes;
    for (const QString F :
         {"/", "/a.bf2demo=b", "/y.bf2cam=y", "/z.wav=z", "/deep/", "/deep/d.bf2demo=d"})
        Changes << "-Abc" + F << To + F;
    return Changes;
}
