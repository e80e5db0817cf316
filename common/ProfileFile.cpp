#include "common/ProfileFile.h"

#include "common/Errors.h"
#include "common/FileSystem.h"
#include "common/TextCodec.h"
#include "common/TextRules.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QSaveFile>
#include <QSet>

#include <sys/stat.h>
#include <time.h>

namespace {

// The longest value a read gives: the profile functions fill a buffer of
// 2048 characters, terminator included.
constexpr qsizetype MaxValueLength = 2047;

// A file modified less than this long ago may be modified again within the
// same time-stamp step without its stamp showing it; its bytes are compared
// at each read until then. Longer than the coarsest step in use (FAT's 2 s).
constexpr time_t RecentSeconds = 3;

enum class TLineKind { Other, Header, Entry };

struct TIniLine {
    QByteArray Raw; // the line's bytes, its line end included
    TLineKind Kind = TLineKind::Other;
    QString Name;       // section or key name, blanks around it dropped
    QString Value;      // entries: everything after the first "=", untrimmed
    bool Blank = false; // nothing but blanks
};

bool IsIniBlank(QChar C) {
    const char16_t U = C.unicode();
    return U == u' ' || (U >= 9 && U <= 13);
}

QStringView TrimBlanks(QStringView S) {
    qsizetype Start = 0, End = S.size();
    while (Start < End && IsIniBlank(S[Start]))
        ++Start;
    while (End > Start && IsIniBlank(S[End - 1]))
        --End;
    return S.mid(Start, End - Start);
}

bool SameName(QStringView A, QStringView B) {
    return A.compare(B, Qt::CaseInsensitive) == 0;
}

// The form under which section names are looked up.
QString NameKey(QStringView Name) {
    return Name.toString().toCaseFolded();
}

} // namespace

// One parse of the file, never changed once made: readers share it.
struct TIniFile {
    bool Utf8 = true;
    bool Unreadable = false; // there, but it could not be read: reads as empty
    QByteArray Bytes;        // the file as read
    QByteArray Bom;
    QList<TIniLine> Lines;
    // Every section name once, in file order, as first spelt.
    QStringList Sections;
    // The entry lines of each section (all its headers), in file order, by
    // the section's folded name; a section of headers only has none.
    QHash<QString, QList<qsizetype>> Entries;

    void Index();
};

void TIniFile::Index() {
    Sections.clear();
    Entries.clear();
    QList<qsizetype>* Current = nullptr;
    for (qsizetype I = 0; I < Lines.size(); ++I) {
        const TIniLine& L = Lines[I];
        if (L.Kind == TLineKind::Header) {
            const QString Key = NameKey(L.Name);
            auto It = Entries.find(Key);
            if (It == Entries.end()) {
                It = Entries.insert(Key, {});
                Sections.append(L.Name);
            }
            Current = &It.value();
        } else if (L.Kind == TLineKind::Entry && Current) {
            Current->append(I);
        }
    }
}

// What tells one state of the file on disk from another.
struct TFileStamp {
    QString HostPath;
    bool Exists = false;
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = 0;
    timespec Modified{};
    timespec Changed{};
};

struct TProfileCache {
    std::shared_ptr<const TIniFile> Ini;
    TFileStamp Stamp;
    bool Recent = false;
};

namespace {

bool SameTime(const timespec& A, const timespec& B) {
    return A.tv_sec == B.tv_sec && A.tv_nsec == B.tv_nsec;
}

bool SameStamp(const TFileStamp& A, const TFileStamp& B) {
    if (A.HostPath != B.HostPath || A.Exists != B.Exists)
        return false;
    return !A.Exists || (A.Device == B.Device && A.Inode == B.Inode && A.Size == B.Size &&
                         SameTime(A.Modified, B.Modified) && SameTime(A.Changed, B.Changed));
}

TFileStamp StampOf(const QString& HostPath) {
    TFileStamp Stamp;
    Stamp.HostPath = HostPath;
    struct stat St;
    if (::stat(QFile::encodeName(HostPath).constData(), &St) != 0)
        return Stamp;
    Stamp.Exists = true;
    Stamp.Device = St.st_dev;
    Stamp.Inode = St.st_ino;
    Stamp.Size = St.st_size;
    Stamp.Modified = St.st_mtim;
    Stamp.Changed = St.st_ctim;
    return Stamp;
}

bool IsRecent(const TFileStamp& Stamp) {
    timespec Now{};
    ::clock_gettime(CLOCK_REALTIME, &Now);
    return Stamp.Exists && Stamp.Modified.tv_sec + RecentSeconds >= Now.tv_sec;
}

void ParseLine(TIniLine& Line, const QString& Text) {
    const QStringView T = TrimBlanks(Text);
    Line.Blank = T.isEmpty();
    if (T.isEmpty() || T.startsWith(u';'))
        return;
    if (T.startsWith(u'[')) {
        // The last "]" closes the name, so a name holding "]" reads back whole.
        const qsizetype Close = T.lastIndexOf(u']');
        if (Close > 0) {
            Line.Kind = TLineKind::Header;
            Line.Name = TrimBlanks(T.mid(1, Close - 1)).toString();
            return;
        }
    }
    const qsizetype Eq = T.indexOf(u'=');
    if (Eq < 0)
        return;
    Line.Kind = TLineKind::Entry;
    Line.Name = TrimBlanks(T.left(Eq)).toString();
    const qsizetype RawEq = Text.indexOf(u'=');
    Line.Value = Text.mid(RawEq + 1);
}

QString DecodeLine(const QByteArray& Raw, bool Utf8) {
    QByteArray Body = Raw;
    while (Body.endsWith('\n') || Body.endsWith('\r'))
        Body.chop(1);
    return Utf8 ? QString::fromUtf8(Body) : DecodeWindows1252(Body);
}

std::shared_ptr<const TIniFile> ParseIni(const QByteArray& Bytes) {
    auto Ini = std::make_shared<TIniFile>();
    Ini->Bytes = Bytes;
    Ini->Utf8 = IsValidUtf8(Bytes);
    QByteArray Body = Bytes;
    if (Ini->Utf8 && Body.startsWith("\xEF\xBB\xBF")) {
        Ini->Bom = Body.left(3);
        Body.remove(0, 3);
    }
    qsizetype Start = 0;
    while (Start < Body.size()) {
        const qsizetype Lf = Body.indexOf('\n', Start);
        const qsizetype End = Lf < 0 ? Body.size() : Lf + 1;
        TIniLine Line;
        Line.Raw = Body.mid(Start, End - Start);
        ParseLine(Line, DecodeLine(Line.Raw, Ini->Utf8));
        Ini->Lines.append(std::move(Line));
        Start = End;
    }
    Ini->Index();
    return Ini;
}

// The file's bytes; false when it exists but cannot be read.
bool ReadBytes(const TFileStamp& Stamp, QByteArray& Bytes) {
    Bytes.clear();
    if (!Stamp.Exists)
        return true;
    QFile File(Stamp.HostPath);
    if (!File.open(QIODevice::ReadOnly))
        return false;
    Bytes = File.readAll();
    return File.error() == QFileDevice::NoError;
}

std::shared_ptr<const TIniFile> UnreadableFile() {
    auto Ini = std::make_shared<TIniFile>();
    Ini->Unreadable = true;
    return Ini;
}

// The entry line of Key in Section, or -1. A section that appears more than
// once is taken as one, in file order; the first of equal keys counts.
qsizetype FindEntry(const TIniFile& Ini, QStringView Section, QStringView Key) {
    const auto It = Ini.Entries.constFind(NameKey(Section));
    if (It == Ini.Entries.cend())
        return -1;
    for (const qsizetype I : It.value())
        if (SameName(Ini.Lines[I].Name, Key))
            return I;
    return -1;
}

QString ReadValue(const QString& Raw) {
    QString Value = TrimBlanks(Raw).toString();
    if (Value.size() >= 2 && (Value.front() == u'"' || Value.front() == u'\'') &&
        Value.back() == Value.front())
        Value = Value.mid(1, Value.size() - 2);
    if (Value.size() > MaxValueLength) {
        qsizetype Cut = MaxValueLength;
        if (Value[Cut - 1].isHighSurrogate())
            --Cut; // never leave half a character
        Value.truncate(Cut);
    }
    return Value;
}

// Text bound for one line of the file. A code 0 ends it, since a reader of
// the file stops there; a line break inside would split the line and plant
// keys or sections of its own, so it becomes a blank.
QString OneLine(const QString& Text) {
    QString Line = Text;
    const qsizetype Nul = Line.indexOf(QChar(0));
    if (Nul >= 0)
        Line.truncate(Nul);
    Line.replace(u'\r', u' ');
    Line.replace(u'\n', u' ');
    return Line;
}

bool IsAscii(const QString& Text) {
    for (QChar C : Text)
        if (C.unicode() >= 0x80)
            return false;
    return true;
}

QByteArray LineEndOf(const TIniFile& Ini) {
    for (const TIniLine& L : Ini.Lines) {
        if (L.Raw.endsWith("\r\n"))
            return QByteArrayLiteral("\r\n");
        if (L.Raw.endsWith('\n'))
            return QByteArrayLiteral("\n");
    }
    return QByteArrayLiteral("\r\n");
}

QByteArray LineEndOf(const QByteArray& Raw) {
    if (Raw.endsWith("\r\n"))
        return QByteArrayLiteral("\r\n");
    if (Raw.endsWith('\n'))
        return QByteArrayLiteral("\n");
    return QByteArray();
}

void InsertLines(TIniFile& Ini, qsizetype At, const QList<QByteArray>& Raws,
                 const QByteArray& Eol) {
    // The line before may be the file's last one, without a line end.
    if (At > 0 && !Ini.Lines[At - 1].Raw.endsWith('\n'))
        Ini.Lines[At - 1].Raw += Eol;
    for (const QByteArray& Raw : Raws) {
        TIniLine Line;
        Line.Raw = Raw + Eol;
        Ini.Lines.insert(At++, Line);
    }
}

// Where a new key of Section goes: after the last line that is not blank in
// the first block of the section; -1 when there is no such section.
qsizetype NewKeyPlace(const TIniFile& Ini, QStringView Section) {
    qsizetype InsertAt = -1;
    bool Inside = false;
    for (qsizetype I = 0; I < Ini.Lines.size(); ++I) {
        const TIniLine& L = Ini.Lines[I];
        if (L.Kind == TLineKind::Header) {
            if (InsertAt >= 0)
                break;
            Inside = SameName(L.Name, Section);
            if (Inside)
                InsertAt = I + 1;
        } else if (Inside && !L.Blank) {
            InsertAt = I + 1;
        }
    }
    return InsertAt;
}

// Every line's text as UTF-8 bytes, for a file read as Windows-1252.
void ConvertToUtf8(TIniFile& Ini) {
    for (TIniLine& L : Ini.Lines)
        L.Raw = EncodeUtf8(DecodeWindows1252(L.Raw));
    Ini.Utf8 = true;
}

QByteArray Compose(const TIniFile& Ini) {
    QByteArray Bytes = Ini.Bom;
    for (const TIniLine& L : Ini.Lines)
        Bytes += L.Raw;
    return Bytes;
}

[[noreturn]] void WriteFailed(const QString& WinPath) {
    throw EIniFileException(QStringLiteral("Unable to write to %1").arg(WinPath));
}

} // namespace

TProfileFile::TProfileFile(const QString& WinPath)
    : FFileName(WinPath), FCache(std::make_shared<TProfileCache>()) {}

QString TProfileFile::FileName() const {
    return FFileName;
}

const TIniFile& TProfileFile::Current() const {
    TProfileCache& Cache = *FCache;
    const TFileStamp Stamp = StampOf(QvrFs::HostPath(FFileName));
    if (Cache.Ini && SameStamp(Stamp, Cache.Stamp) && !Cache.Recent)
        return *Cache.Ini;
    QByteArray Bytes;
    const bool Readable = ReadBytes(Stamp, Bytes);
    // A recent file whose stamp has not moved is parsed again only when its
    // bytes have changed.
    const bool Same = Cache.Ini && SameStamp(Stamp, Cache.Stamp) && Readable &&
                      !Cache.Ini->Unreadable && Bytes == Cache.Ini->Bytes;
    if (!Same)
        Cache.Ini = Readable ? ParseIni(Bytes) : UnreadableFile();
    Cache.Stamp = Stamp;
    Cache.Recent = IsRecent(Stamp);
    return *Cache.Ini;
}

QString TProfileFile::ReadString(const QString& Section, const QString& Key,
                                 const QString& Default) const {
    const TIniFile& Ini = Current();
    const qsizetype I = FindEntry(Ini, TrimBlanks(Section), TrimBlanks(Key));
    return I < 0 ? Default : ReadValue(Ini.Lines[I].Value);
}

int TProfileFile::ReadInteger(const QString& Section, const QString& Key, int Default) const {
    int Value = Default;
    if (!TryStrToInt(ReadString(Section, Key, QString()), Value))
        return Default;
    return Value;
}

void TProfileFile::WriteString(const QString& Section, const QString& Key, const QString& Value) {
    const QString Host = QvrFs::HostPath(FFileName);
    const QFileInfo Info(Host);
    // A file that is there but cannot be read or written must not be
    // replaced by one holding only the new key.
    if (Info.exists() && (Info.isDir() || !Info.isWritable()))
        WriteFailed(FFileName);
    const TIniFile& Before = Current();
    if (Before.Unreadable)
        WriteFailed(FFileName);
    TIniFile Ini = Before;

    const QString SectionName = OneLine(TrimBlanks(Section).toString());
    const QString KeyName = OneLine(TrimBlanks(Key).toString());
    const QString NewValue = OneLine(Value);
    const bool AsciiText = IsAscii(SectionName + KeyName + NewValue);

    // Non-ASCII text put into a file read as Windows-1252 would read back
    // garbled; such a file is turned into UTF-8 as a whole instead.
    if (!Ini.Utf8 && !AsciiText)
        ConvertToUtf8(Ini);

    const QByteArray Eol = LineEndOf(Ini);
    const qsizetype Entry = FindEntry(Ini, SectionName, KeyName);
    if (Entry >= 0) {
        // Keep everything up to the "=" (the key as spelt in the file).
        QByteArray& Raw = Ini.Lines[Entry].Raw;
        const QByteArray End = LineEndOf(Raw);
        Raw = Raw.left(Raw.indexOf('=') + 1) + EncodeUtf8(NewValue) + End;
    } else {
        const QByteArray KeyLine = EncodeUtf8(KeyName + u'=' + NewValue);
        const qsizetype InsertAt = NewKeyPlace(Ini, SectionName);
        if (InsertAt >= 0)
            InsertLines(Ini, InsertAt, {KeyLine}, Eol);
        else
            InsertLines(Ini, Ini.Lines.size(), {EncodeUtf8(u'[' + SectionName + u']'), KeyLine},
                        Eol);
    }

    QByteArray Bytes = Compose(Ini);
    // A Windows-1252 file that no longer holds a byte outside UTF-8 (the
    // write replaced the last one) would read as UTF-8 from now on, and its
    // other keys with it: their text is written as UTF-8 to keep it.
    if (!Ini.Utf8 && IsValidUtf8(Bytes)) {
        ConvertToUtf8(Ini);
        Bytes = Compose(Ini);
    }

    // The new content goes to a temporary file beside the old one and then
    // takes its place, so a failed write leaves the old file whole.
    QSaveFile Out(Host);
    Out.setDirectWriteFallback(true);
    if (!Out.open(QIODevice::WriteOnly) || Out.write(Bytes) != Bytes.size() || !Out.commit())
        WriteFailed(FFileName);

    // What was written is what the next read would parse.
    const TFileStamp Stamp = StampOf(Host);
    FCache->Ini = ParseIni(Bytes);
    FCache->Stamp = Stamp;
    FCache->Recent = IsRecent(Stamp);
}

void TProfileFile::WriteInteger(const QString& Section, const QString& Key, int Value) {
    WriteString(Section, Key, QString::number(Value));
}

bool TProfileFile::SectionExists(const QString& Section) const {
    const TIniFile& Ini = Current();
    const auto It = Ini.Entries.constFind(NameKey(TrimBlanks(Section)));
    return It != Ini.Entries.cend() && !It.value().isEmpty();
}

bool TProfileFile::ValueExists(const QString& Section, const QString& Key) const {
    return FindEntry(Current(), TrimBlanks(Section), TrimBlanks(Key)) >= 0;
}

QStringList TProfileFile::ReadSections() const {
    return Current().Sections;
}

QStringList TProfileFile::ReadSection(const QString& Section) const {
    const TIniFile& Ini = Current();
    QStringList Keys;
    const auto It = Ini.Entries.constFind(NameKey(TrimBlanks(Section)));
    if (It == Ini.Entries.cend())
        return Keys;
    QSet<QString> Seen;
    for (const qsizetype I : It.value())
        if (!Seen.contains(NameKey(Ini.Lines[I].Name))) {
            Seen.insert(NameKey(Ini.Lines[I].Name));
            Keys.append(Ini.Lines[I].Name);
        }
    return Keys;
}
