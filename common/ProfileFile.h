// A settings (INI) file read and written key by key, with the rules of the
// Windows profile-string functions that the game's and the program's files
// follow. The parsed file is kept and reused while the file on disk is
// unchanged (same inode, size, modification and change times to the
// nanosecond), so an edit from outside is seen at the next read; every write
// goes to the file at once. An object is used from one thread at a time.
#pragma once

#include "common/FileSystem.h"

#include <QString>
#include <QStringList>

#include <memory>

struct TIniFile;
struct TProfileCache;

class TProfileFile {
public:
    // Opening creates nothing; a missing file reads as empty. Access says who
    // may read the file as written: Private for one that holds passwords.
    explicit TProfileFile(const QString& WinPath,
                          QvrFs::TFileAccess Access = QvrFs::TFileAccess::Usual);

    QString FileName() const;

    // The value after the first "=" of the key's line, blanks around it and
    // one pair of enclosing quotes (" or ') dropped, at most 2047 characters.
    // Section and key names compare without regard to case. A missing file,
    // section or key gives Default; so does a file that cannot be read.
    QString ReadString(const QString& Section, const QString& Key, const QString& Default) const;
    // The value read by the whole-number rule; Default when missing or bad.
    int ReadInteger(const QString& Section, const QString& Key, int Default) const;

    // Sets the key's value in the file at once, creating the file, the
    // section (at the end of the file) and the key (at the end of its section)
    // when missing. Every other line keeps its bytes, unless the file was read
    // as Windows-1252 and the write would change how it decodes: the whole
    // file is then turned into UTF-8, so every other key keeps the text it
    // had. Raises EIniFileException "Unable to write to <file name>" when the
    // file cannot be read or written; the file is then as it was.
    void WriteString(const QString& Section, const QString& Key, const QString& Value);
    void WriteInteger(const QString& Section, const QString& Key, int Value);

    // True only when the section holds at least one key.
    bool SectionExists(const QString& Section) const;
    // True when the key is in the section, also with an empty value.
    bool ValueExists(const QString& Section, const QString& Key) const;
    // Section names in file order, each once, with or without keys.
    QStringList ReadSections() const;
    // Key names of a section in file order.
    QStringList ReadSection(const QString& Section) const;

private:
    // The parsed file as it is on disk now: the kept one while the file is
    // unchanged, else read and parsed again.
    const TIniFile& Current() const;

    QString FFileName;
    QvrFs::TFileAccess FAccess;
    // The parsed file and what it was read from; copies share it.
    std::shared_ptr<TProfileCache> FCache;
};
