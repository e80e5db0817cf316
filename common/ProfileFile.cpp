#include "common/ProfileFile.h"

#include "common/Errors.h"
#include "common/FileSystem.h"
#include "common/TextCodec.h"
#include "common/TextRules.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

namespace {

// The longest value a read gives: the profile functions fill a buffer of
// 2048 characters, terminator included.
constexpr qsizetype MaxValueLength = 2047;

enum class TLineKind { Other, Header, Entry };

struct TIniLine {
    QByteArray Raw; // the line's bytes, its line end included
    TLineKind Kind = TLineKind::Other;
    QString Name;       // section or key name, blanks around it dropped
    QString Value;      // entries: everything after the first "=", untrimmed
    bool Blank = false; // nothing but blanks
};

struct TIniFile {
    bool Utf8 = true;
    QByteArray Bom;
    QList<TIniLine> Lines;
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

TIniFile ParseIni(const QByteArray& Bytes) {
    TIniFile Ini;
    Ini.Utf8 = IsValidUtf8(Bytes);
    QByteArray Body = Bytes;
    if (Ini.Utf8 && Body.startsWith("\xEF\xBB\xBF")) {
        Ini.Bom = Body.left(3);
        Body.remove(0, 3);
    }
    qsizetype Start = 0;
    while (Start < Body.size()) {
        const qsizetype Lf = Body.indexOf('\n', Start);
        const qsizetype End = Lf < 0 ? Body.size() : Lf + 1;
        TIniLine Line;
        Line.Raw = Body.mid(Start, End - Start);
        ParseLine(Line, DecodeLine(Line.Raw, Ini.Utf8));
        Ini.Lines.append(std::move(Line));
        Start = End;
    }
    return Ini;
}

// Reads the file as it stands; false when it exists but cannot be read.
bool LoadIni(const QString& HostPath, TIniFile& Ini) {
    QFile File(HostPath);
    if (!File.exists()) {
        Ini = TIniFile();
        return true;
    }
    if (!File.open(QIODevice::ReadOnly))
        return false;
    const QByteArray Bytes = File.readAll();
    if (File.error() != QFileDevice::NoError)
        return false;
    Ini = ParseIni(Bytes);
    return true;
}

TIniFile ReadIni(const QString& WinPath) {
    TIniFile Ini;
    if (!LoadIni(QvrFs::HostPath(WinPath), Ini))
        return TIniFile(); // an unreadable file reads as empty
    return Ini;
}

// Index of the first entry named Key in the section(s) named Section, or -1.
// A section that appears more than once is taken as one, in file order.
qsizetype FindEntry(const TIniFile& Ini, QStringView Section, QStringView Key) {
    bool Inside = false;
    for (qsizetype I = 0; I < Ini.Lines.size(); ++I) {
        const TIniLine& L = Ini.Lines[I];
        if (L.Kind == TLineKind::Header)
            Inside = SameName(L.Name, Section);
        else if (Inside && L.Kind == TLineKind::Entry && SameName(L.Name, Key))
            return I;
    }
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

// Text bound for one line of the file: it ends at a code 0, as the C string
// it once was would, and a line break inside would split the line and plant
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

[[noreturn]] void WriteFailed(const QString& WinPath) {
    throw EIniFileException(QStringLiteral("Unable to write to %1").arg(WinPath));
}

} // namespace

TProfileFile::TProfileFile(const QString& WinPath) : FFileName(WinPath) {}

QString TProfileFile::FileName() const {
    return FFileName;
}

QString TProfileFile::ReadString(const QString& Section, const QString& Key,
                                 const QString& Default) const {
    const TIniFile Ini = ReadIni(FFileName);
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
    TIniFile Ini;
    if (!LoadIni(Host, Ini))
        WriteFailed(FFileName);

    const QString SectionName = OneLine(TrimBlanks(Section).toString());
    const QString KeyName = OneLine(TrimBlanks(Key).toString());
    const QString NewValue = OneLine(Value);

    // Non-ASCII text put into a file read as Windows-1252 would read back
    // garbled; such a file is turned into UTF-8 as a whole instead.
    if (!Ini.Utf8 && !IsAscii(SectionName + KeyName + NewValue)) {
        for (TIniLine& L : Ini.Lines)
            L.Raw = EncodeUtf8(DecodeWindows1252(L.Raw));
        Ini.Utf8 = true;
    }

    const QByteArray Eol = LineEndOf(Ini);
    const qsizetype Entry = FindEntry(Ini, SectionName, KeyName);
    if (Entry >= 0) {
        // Keep everything up to the "=" (the key as spelt in the file).
        QByteArray& Raw = Ini.Lines[Entry].Raw;
        const QByteArray End = LineEndOf(Raw);
        Raw = Raw.left(Raw.indexOf('=') + 1) + EncodeUtf8(NewValue) + End;
    } else {
        const QByteArray KeyLine = EncodeUtf8(KeyName + u'=' + NewValue);
        // After the last line that is not blank in the first block of the section.
        qsizetype InsertAt = -1;
        bool Inside = false;
        for (qsizetype I = 0; I < Ini.Lines.size(); ++I) {
            const TIniLine& L = Ini.Lines[I];
            if (L.Kind == TLineKind::Header) {
                if (InsertAt >= 0)
                    break;
                Inside = SameName(L.Name, SectionName);
                if (Inside)
                    InsertAt = I + 1;
            } else if (Inside && !L.Blank) {
                InsertAt = I + 1;
            }
        }
        if (InsertAt >= 0)
            InsertLines(Ini, InsertAt, {KeyLine}, Eol);
        else
            InsertLines(Ini, Ini.Lines.size(), {EncodeUtf8(u'[' + SectionName + u']'), KeyLine},
                        Eol);
    }

    QByteArray Bytes = Ini.Bom;
    for (const TIniLine& L : Ini.Lines)
        Bytes += L.Raw;

    // The new content goes to a temporary file beside the old one and then
    // takes its place, so a failed write leaves the old file whole.
    QSaveFile Out(Host);
    Out.setDirectWriteFallback(true);
    if (!Out.open(QIODevice::WriteOnly) || Out.write(Bytes) != Bytes.size() || !Out.commit())
        WriteFailed(FFileName);
}

void TProfileFile::WriteInteger(const QString& Section, const QString& Key, int Value) {
    WriteString(Section, Key, QString::number(Value));
}

bool TProfileFile::SectionExists(const QString& Section) const {
    return !ReadSection(Section).isEmpty();
}

bool TProfileFile::ValueExists(const QString& Section, const QString& Key) const {
    const TIniFile Ini = ReadIni(FFileName);
    return FindEntry(Ini, TrimBlanks(Section), TrimBlanks(Key)) >= 0;
}

QStringList TProfileFile::ReadSections() const {
    const TIniFile Ini = ReadIni(FFileName);
    QStringList Names;
    for (const TIniLine& L : Ini.Lines) {
        if (L.Kind != TLineKind::Header)
            continue;
        if (!Names.contains(L.Name, Qt::CaseInsensitive))
            Names.append(L.Name);
    }
    return Names;
}

QStringList TProfileFile::ReadSection(const QString& Section) const {
    const TIniFile Ini = ReadIni(FFileName);
    const QStringView Name = TrimBlanks(Section);
    QStringList Keys;
    bool Inside = false;
    for (const TIniLine& L : Ini.Lines) {
        if (L.Kind == TLineKind::Header)
            Inside = SameName(L.Name, Name);
        else if (Inside && L.Kind == TLineKind::Entry &&
                 !Keys.contains(L.Name, Qt::CaseInsensitive))
            Keys.append(L.Name);
    }
    return Keys;
}
