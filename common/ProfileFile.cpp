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

#include <cstring>
#include <limits>

#include <sys/stat.h>
#include <time.h>

namespace {

// The longest value a read gives: what fits a buffer of 2048 characters with
// its terminator, the most that the Windows readers of the same files see.
constexpr qsizetype MaxValueLength = 2047;

// A file modified less than this long ago may be modified again within the
// same time-stamp step without its stamp showing it; its bytes are compared
// at each read until then. Longer than the coarsest step in use (FAT's 2 s).
constexpr time_t RecentSeconds = 3;

enum class TLineKind { Other, Header, Entry };

// One line of the file, as byte ranges of the file's bytes. Parsing works on
// bytes: every byte that matters to the syntax is ASCII, which a UTF-8
// sequence never holds, so names and values are decoded only when asked for.
struct TIniLine {
    qsizetype Start = 0; // where the line starts in the file's bytes
    qint32 Size = 0;     // its bytes, its line end included
    qint32 Body = 0;     // its bytes without the line end
    // From the line's start: the section or key name, blanks around it
    // dropped; for entries the value is everything after the first "=" up to
    // the line end, untrimmed.
    qint32 NameAt = 0, NameSize = 0, ValueAt = 0;
    qint32 Next = -1; // entries: the next entry line of the same section
    TLineKind Kind = TLineKind::Other;
    bool Blank = false; // nothing but blanks
};

// Files are parsed only up to this size (line positions are 32-bit); a
// larger one is no settings file and reads as unreadable.
constexpr qsizetype MaxFileSize = std::numeric_limits<qint32>::max();

bool IsIniBlank(char C) {
    return C == ' ' || (C >= 9 && C <= 13);
}

bool IsIniBlank(QChar C) {
    return C.unicode() < 0x80 && IsIniBlank(char(C.unicode()));
}

QStringView TrimIniBlanks(QStringView S) {
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

// A section name as a hash key that ignores letter case: the hash folds each
// character as the case-blind comparison does.
struct TNameKey {
    QString Name;
    bool operator==(const TNameKey& Other) const {
        return Name == Other.Name || SameName(Name, Other.Name);
    }
};

size_t qHash(const TNameKey& Key, size_t Seed = 0) {
    quint64 Hash = Seed ^ 0x9E3779B97F4A7C15ull;
    const QStringView S = Key.Name;
    for (qsizetype I = 0; I < S.size(); ++I) {
        char32_t C = S[I].unicode();
        if (C >= u'A' && C <= u'Z')
            C += u'a' - u'A';
        else if (QChar::isHighSurrogate(C) && I + 1 < S.size() && S[I + 1].isLowSurrogate())
            C = QChar::toCaseFolded(QChar::surrogateToUcs4(char16_t(C), S[++I].unicode()));
        else if (C >= 0x80)
            C = QChar::toCaseFolded(C);
        Hash = (Hash ^ C) * 0x100000001B3ull;
    }
    // Spread the bits, as the table uses the low ones.
    Hash ^= Hash >> 33;
    Hash *= 0xFF51AFD7ED558CCDull;
    Hash ^= Hash >> 33;
    return size_t(Hash);
}

} // namespace

// One parse of the file, never changed once made: readers share it.
struct TIniFile {
    bool Utf8 = true;
    bool Unreadable = false; // there, but it could not be read: reads as empty
    QByteArray Bytes;        // the file as read
    qsizetype BomSize = 0;   // a UTF-8 byte-order mark before the first line
    QList<TIniLine> Lines;
    // Every section once, in file order, as first spelt, with the entry
    // lines of all its headers in file order (none for headers only).
    struct TSection {
        QString Name;
        qint32 First = -1, Last = -1; // entry lines, linked through Next
    };
    QList<TSection> Sections;
    QHash<TNameKey, qsizetype> SectionIndex; // into Sections, plus one

    QString Text(qsizetype At, qsizetype Size) const;
    QString Name(const TIniLine& L) const { return Text(L.Start + L.NameAt, L.NameSize); }
    QByteArray Raw(const TIniLine& L) const {
        return QByteArray::fromRawData(Bytes.constData() + L.Start, L.Size);
    }
    const TSection* Section(QStringView Name) const;
};

QString TIniFile::Text(qsizetype At, qsizetype Size) const {
    if (Utf8)
        return QString::fromUtf8(Bytes.constData() + At, Size);
    return DecodeWindows1252(QByteArray::fromRawData(Bytes.constData() + At, Size));
}

const TIniFile::TSection* TIniFile::Section(QStringView Name) const {
    const auto It = SectionIndex.constFind(TNameKey{Name.toString()});
    return It == SectionIndex.cend() ? nullptr : &Sections[It.value() - 1];
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

// Line is the line's bytes, P its first byte in the file.
void ParseLine(TIniLine& Line, const char* P) {
    qint32 Body = Line.Size;
    while (Body > 0 && (P[Body - 1] == '\n' || P[Body - 1] == '\r'))
        --Body;
    Line.Body = Body;
    qint32 Start = 0, End = Body;
    while (Start < End && IsIniBlank(P[Start]))
        ++Start;
    while (End > Start && IsIniBlank(P[End - 1]))
        --End;
    Line.Blank = Start == End;
    if (Line.Blank || P[Start] == ';')
        return;
    const auto SetName = [&](qint32 From, qint32 To) {
        while (From < To && IsIniBlank(P[From]))
            ++From;
        while (To > From && IsIniBlank(P[To - 1]))
            --To;
        Line.NameAt = From;
        Line.NameSize = To - From;
    };
    if (P[Start] == '[') {
        // The last "]" closes the name, so a name holding "]" reads back whole.
        qint32 Close = End - 1;
        while (Close > Start && P[Close] != ']')
            --Close;
        if (Close > Start) {
            Line.Kind = TLineKind::Header;
            SetName(Start + 1, Close);
            return;
        }
    }
    const char* Eq = static_cast<const char*>(std::memchr(P + Start, '=', size_t(End - Start)));
    if (!Eq)
        return;
    Line.Kind = TLineKind::Entry;
    SetName(Start, qint32(Eq - P));
    Line.ValueAt = qint32(Eq - P + 1);
}

qsizetype CountOf(const QByteArray& Bytes, char C) {
    qsizetype Count = 0;
    const char* P = Bytes.constData();
    const char* End = P + Bytes.size();
    while ((P = static_cast<const char*>(std::memchr(P, C, size_t(End - P))))) {
        ++Count;
        ++P;
    }
    return Count;
}

std::shared_ptr<const TIniFile> ParseIni(const QByteArray& Bytes) {
    auto Ini = std::make_shared<TIniFile>();
    Ini->Bytes = Bytes;
    Ini->Utf8 = IsValidUtf8(Bytes);
    if (Ini->Utf8 && Bytes.startsWith("\xEF\xBB\xBF"))
        Ini->BomSize = 3;
    Ini->Lines.reserve(CountOf(Bytes, '\n') + 1);
    Ini->SectionIndex.reserve(CountOf(Bytes, '['));
    const char* Data = Bytes.constData();
    qsizetype Current = -1; // the section the lines belong to
    qsizetype Start = Ini->BomSize;
    while (Start < Bytes.size()) {
        const auto* Lf =
            static_cast<const char*>(std::memchr(Data + Start, '\n', size_t(Bytes.size() - Start)));
        const qsizetype End = Lf ? Lf - Data + 1 : Bytes.size();
        TIniLine Line;
        Line.Start = Start;
        Line.Size = qint32(End - Start);
        ParseLine(Line, Data + Start);
        if (Line.Kind == TLineKind::Header) {
            TNameKey Key{Ini->Name(Line)};
            qsizetype& Slot = Ini->SectionIndex[Key]; // 0 for a new name
            if (Slot == 0) {
                Ini->Sections.append({Key.Name});
                Slot = Ini->Sections.size();
            }
            Current = Slot - 1;
        } else if (Line.Kind == TLineKind::Entry && Current >= 0) {
            TIniFile::TSection& Section = Ini->Sections[Current];
            const auto I = qint32(Ini->Lines.size());
            if (Section.Last >= 0)
                Ini->Lines[Section.Last].Next = I;
            else
                Section.First = I;
            Section.Last = I;
        }
        Ini->Lines.append(Line);
        Start = End;
    }
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

bool IsAscii(QStringView Text) {
    for (QChar C : Text)
        if (C.unicode() >= 0x80)
            return false;
    return true;
}

char16_t AsciiLower(char16_t C) {
    return C >= u'A' && C <= u'Z' ? C + (u'a' - u'A') : C;
}

// Whether the line's name is Name, letter case ignored. Two ASCII names are
// compared as the bytes stand, without decoding them.
bool HasName(const TIniFile& Ini, const TIniLine& L, QStringView Name, bool AsciiName) {
    const auto* P =
        reinterpret_cast<const unsigned char*>(Ini.Bytes.constData() + L.Start + L.NameAt);
    bool Ascii = AsciiName;
    for (qint32 I = 0; Ascii && I < L.NameSize; ++I)
        Ascii = P[I] < 0x80;
    if (!Ascii)
        return SameName(Ini.Name(L), Name);
    if (Name.size() != L.NameSize)
        return false;
    for (qint32 I = 0; I < L.NameSize; ++I)
        if (AsciiLower(Name[I].unicode()) != AsciiLower(P[I]))
            return false;
    return true;
}

// The entry line of Key in Section, or -1. A section that appears more than
// once is taken as one, in file order; the first of equal keys counts.
qsizetype FindEntry(const TIniFile& Ini, QStringView Section, QStringView Key) {
    const bool Ascii = IsAscii(Key);
    if (const TIniFile::TSection* S = Ini.Section(Section))
        for (qint32 I = S->First; I >= 0; I = Ini.Lines[I].Next)
            if (HasName(Ini, Ini.Lines[I], Key, Ascii))
                return I;
    return -1;
}

QString ReadValue(const QString& Raw) {
    QString Value = TrimIniBlanks(Raw).toString();
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

QByteArray LineEndOf(const QByteArray& Raw) {
    if (Raw.endsWith("\r\n"))
        return QByteArrayLiteral("\r\n");
    if (Raw.endsWith('\n'))
        return QByteArrayLiteral("\n");
    return QByteArray();
}

// The line end of the file's first ended line; CR LF for a file without one.
QByteArray LineEndOf(const QList<QByteArray>& Raws) {
    for (const QByteArray& Raw : Raws)
        if (Raw.endsWith('\n'))
            return LineEndOf(Raw);
    return QByteArrayLiteral("\r\n");
}

void InsertLines(QList<QByteArray>& Raws, qsizetype At, const QList<QByteArray>& New,
                 const QByteArray& Eol) {
    // The line before may be the file's last one, without a line end.
    if (At > 0 && !Raws[At - 1].endsWith('\n'))
        Raws[At - 1] += Eol;
    for (const QByteArray& Raw : New)
        Raws.insert(At++, Raw + Eol);
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
            Inside = SameName(Ini.Name(L), Section);
            if (Inside)
                InsertAt = I + 1;
        } else if (Inside && !L.Blank) {
            InsertAt = I + 1;
        }
    }
    return InsertAt;
}

// Every line's text as UTF-8 bytes, for a file read as Windows-1252.
void ConvertToUtf8(QList<QByteArray>& Raws) {
    for (QByteArray& Raw : Raws)
        Raw = EncodeUtf8(DecodeWindows1252(Raw));
}

QByteArray Compose(const QByteArray& Bom, const QList<QByteArray>& Raws) {
    QByteArray Bytes = Bom;
    for (const QByteArray& Raw : Raws)
        Bytes += Raw;
    return Bytes;
}

[[noreturn]] void WriteFailed(const QString& WinPath) {
    throw EIniFileException(QStringLiteral("Unable to write to %1").arg(WinPath));
}

} // namespace

TProfileFile::TProfileFile(const QString& WinPath, QvrFs::TFileAccess Access)
    : FFileName(WinPath), FAccess(Access), FCache(std::make_shared<TProfileCache>()) {}

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
        Cache.Ini = Readable && Bytes.size() <= MaxFileSize ? ParseIni(Bytes) : UnreadableFile();
    Cache.Stamp = Stamp;
    Cache.Recent = IsRecent(Stamp);
    return *Cache.Ini;
}

QString TProfileFile::ReadString(const QString& Section, const QString& Key,
                                 const QString& Default) const {
    const TIniFile& Ini = Current();
    const qsizetype I = FindEntry(Ini, TrimIniBlanks(Section), TrimIniBlanks(Key));
    if (I < 0)
        return Default;
    const TIniLine& L = Ini.Lines[I];
    return ReadValue(Ini.Text(L.Start + L.ValueAt, L.Body - L.ValueAt));
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
    Current();
    // Held here: the lines below point into its bytes.
    const std::shared_ptr<const TIniFile> Before = FCache->Ini;
    if (Before->Unreadable)
        WriteFailed(FFileName);

    const QString SectionName = OneLine(TrimIniBlanks(Section).toString());
    const QString KeyName = OneLine(TrimIniBlanks(Key).toString());
    const QString NewValue = OneLine(Value);

    QList<QByteArray> Raws;
    Raws.reserve(Before->Lines.size() + 2);
    for (const TIniLine& L : Before->Lines)
        Raws.append(Before->Raw(L));
    // Non-ASCII text put into a file read as Windows-1252 would read back
    // garbled; such a file is turned into UTF-8 as a whole instead.
    bool Utf8 = Before->Utf8;
    if (!Utf8 && !IsAscii(SectionName + KeyName + NewValue)) {
        ConvertToUtf8(Raws);
        Utf8 = true;
    }

    const QByteArray Eol = LineEndOf(Raws);
    const qsizetype Entry = FindEntry(*Before, SectionName, KeyName);
    if (Entry >= 0) {
        // Keep everything up to the "=" (the key as spelt in the file).
        QByteArray& Raw = Raws[Entry];
        const QByteArray End = LineEndOf(Raw);
        Raw = Raw.left(Raw.indexOf('=') + 1) + EncodeUtf8(NewValue) + End;
    } else {
        const QByteArray KeyLine = EncodeUtf8(KeyName + u'=' + NewValue);
        const qsizetype InsertAt = NewKeyPlace(*Before, SectionName);
        if (InsertAt >= 0)
            InsertLines(Raws, InsertAt, {KeyLine}, Eol);
        else
            InsertLines(Raws, Raws.size(), {EncodeUtf8(u'[' + SectionName + u']'), KeyLine}, Eol);
    }

    const QByteArray Bom = Before->Bytes.left(Before->BomSize);
    QByteArray Bytes = Compose(Bom, Raws);
    // A Windows-1252 file that no longer holds a byte outside UTF-8 (the
    // write replaced the last one) would read as UTF-8 from now on, and its
    // other keys with it: their text is written as UTF-8 to keep it.
    if (!Utf8 && IsValidUtf8(Bytes)) {
        ConvertToUtf8(Raws);
        Bytes = Compose(Bom, Raws);
    }

    // The new content goes to a temporary file beside the old one and then
    // takes its place, so a failed write leaves the old file whole. Where no
    // temporary file can be made the file is written in place, emptied first:
    // a private one is narrowed before that, and left whole when it cannot
    // be; a new one is narrowed while still empty.
    if (!QvrFs::NarrowExistingFile(Host, FAccess))
        WriteFailed(FFileName);
    QSaveFile Out(Host);
    Out.setDirectWriteFallback(true);
    if (!Out.open(QIODevice::WriteOnly) || !QvrFs::NarrowAccess(Out, FAccess) ||
        Out.write(Bytes) != Bytes.size() || !Out.commit())
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
    const TIniFile::TSection* S = Current().Section(TrimIniBlanks(Section));
    return S && S->First >= 0;
}

bool TProfileFile::ValueExists(const QString& Section, const QString& Key) const {
    return FindEntry(Current(), TrimIniBlanks(Section), TrimIniBlanks(Key)) >= 0;
}

QStringList TProfileFile::ReadSections() const {
    const TIniFile& Ini = Current();
    QStringList Names;
    Names.reserve(Ini.Sections.size());
    for (const TIniFile::TSection& S : Ini.Sections)
        Names.append(S.Name);
    return Names;
}

QStringList TProfileFile::ReadSection(const QString& Section) const {
    const TIniFile& Ini = Current();
    QStringList Keys;
    const TIniFile::TSection* S = Ini.Section(TrimIniBlanks(Section));
    if (!S)
        return Keys;
    QSet<TNameKey> Seen;
    for (qint32 I = S->First; I >= 0; I = Ini.Lines[I].Next) {
        TNameKey Name{Ini.Name(Ini.Lines[I])};
        if (!Seen.contains(Name)) {
            Keys.append(Name.Name);
            Seen.insert(std::move(Name));
        }
    }
    return Keys;
}
