// The game's documents folder of a test process (under its private HOME), as
// GetBF2DocsDir names it: emptied when made and removed at the end, so that
// each test sees only the profiles it writes.
#pragma once

#include "support/TestFiles.h"

#include <QDir>

class TGameDocs {
public:
    TGameDocs() { QDir(Host()).removeRecursively(); }
    ~TGameDocs() { QDir(Host()).removeRecursively(); }
    TGameDocs(const TGameDocs&) = delete;
    TGameDocs& operator=(const TGameDocs&) = delete;

    static QString Host() { return QDir::homePath() + QStringLiteral("/Documents/Battlefield 2"); }
    // The host path of a file of the Profiles folder ("<id>/<name>", or a
    // name of the folder itself).
    static QString Profiles(const QString& Name) {
        return Host() + QStringLiteral("/Profiles/") + Name;
    }
    static bool Write(const QString& Name, const QByteArray& Text) {
        return WriteHostFile(Profiles(Name), Text);
    }
    static QByteArray Read(const QString& Name) { return ReadHostFile(Profiles(Name)); }
};
