// The registry layer: registry files in Wine's text format ("WINE REGISTRY
// Version 2"). The game's install folder is read from the Wine prefix's
// system.reg; the launcher's file types live in a file of its own.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class TRegistryFile {
public:
    // HostPath: the file (it may not exist yet). RelativeTo: the root comment
    // written into a new file, e.g. "\\Machine" or "\\Machine\\Software\\Classes".
    explicit TRegistryFile(QString HostPath, QString RelativeTo = QStringLiteral("\\Machine"));

    // Reads the file afresh. A missing or unreadable file reads as empty.
    void Load();

    // A string value (REG_SZ or REG_EXPAND_SZ); Name "" is the default value.
    // Key paths use single backslashes and compare without regard to case.
    bool ReadString(const QString& Key, const QString& Name, QString& Value) const;
    bool KeyExists(const QString& Key) const;

    // Creates the key when missing; raises "Failed to create key %s" when the
    // file cannot be written, or is there but cannot be read (it is then left
    // as it is, never replaced by the keys that could be read).
    void CreateKey(const QString& Key);
    // Sets a string value, creating the key when missing; raises "Failed to
    // set data for '%s'" (or the key's error) on the same failures.
    void WriteString(const QString& Key, const QString& Name, const QString& Value);

    // Whether the registry is a 64-bit prefix's (#arch=win64).
    bool IsWin64() const;

    static QString EscapeString(const QString& S);
    static QString UnescapeString(const QString& S);

private:
    struct TKeyBlock {
        QString Name;      // unescaped, single backslashes
        QStringList Lines; // the header line and the value lines, as in the file
    };
    int FindKey(const QString& Key) const;
    int FindValueLine(const TKeyBlock& Block, const QString& Name) const;
    bool Save() const;

    QString FHostPath;
    QString FRelativeTo;
    bool FUnreadable = false; // there, but could not be read
    QStringList FHeader;
    QList<TKeyBlock> FKeys;
};

// HKEY_LOCAL_MACHINE\<Key> value Name from the Wine prefix, as a 32-bit
// program sees it (a 64-bit prefix keeps such keys under Wow6432Node).
QString ReadMachineString(const QString& Key, const QString& Name);

// The launcher's own stand-in for HKEY_CLASSES_ROOT.
QString ClassesRegistryPath();
