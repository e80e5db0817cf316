#include "common/Registry.h"

#include "common/Errors.h"
#include "common/FileSystem.h"
#include "common/Folders.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString CHeaderLine = QStringLiteral("WINE REGISTRY Version 2");

// The position of the first Stop after the opening character that no
// backslash escapes, or -1.
qsizetype FindUnescaped(const QString& Line, QChar Stop) {
    for (qsizetype I = 1; I < Line.size(); ++I) {
        if (Line[I] == u'\\')
            ++I;
        else if (Line[I] == Stop)
            return I;
    }
    return -1;
}

// The key name of a header line, unescaped: [Software\\Foo] 123 gives Software\Foo.
bool ParseKeyHeader(const QString& Line, QString& Name) {
    if (!Line.startsWith(u'['))
        return false;
    const qsizetype End = FindUnescaped(Line, u']');
    if (End < 0)
        return false;
    Name = TRegistryFile::UnescapeString(Line.mid(1, End - 1));
    return true;
}

// The value name of a value line: "@" for the default, or the quoted name.
bool ParseValueName(const QString& Line, QString& Name, qsizetype& DataStart) {
    if (Line.startsWith(QLatin1String("@="))) {
        Name.clear();
        DataStart = 2;
        return true;
    }
    if (!Line.startsWith(u'"'))
        return false;
    const qsizetype End = FindUnescaped(Line, u'"');
    if (End < 0 || End + 1 >= Line.size() || Line[End + 1] != u'=')
        return false;
    Name = TRegistryFile::UnescapeString(Line.mid(1, End - 1));
    DataStart = End + 2;
    return true;
}

QString NormaliseKey(QString Key) {
    while (Key.startsWith(u'\\'))
        Key.remove(0, 1);
    while (Key.endsWith(u'\\'))
        Key.chop(1);
    return Key;
}

QString ValueLine(const QString& Name, const QString& Value) {
    const QString Head =
        Name.isEmpty() ? QStringLiteral("@") : u'"' + TRegistryFile::EscapeString(Name) + u'"';
    return Head + QStringLiteral("=\"") + TRegistryFile::EscapeString(Value) + u'"';
}

} // namespace

TRegistryFile::TRegistryFile(QString HostPath, QString RelativeTo)
    : FHostPath(std::move(HostPath)), FRelativeTo(std::move(RelativeTo)) {
    Load();
}

void TRegistryFile::Load() {
    FHeader.clear();
    FKeys.clear();
    QFile F(FHostPath);
    FUnreadable = F.exists() && !F.open(QIODevice::ReadOnly);
    if (!F.isOpen())
        return;
    const QByteArray Bytes = F.readAll();
    if (F.error() != QFileDevice::NoError) {
        FUnreadable = true;
        return;
    }
    const QString Text = QString::fromUtf8(Bytes);
    const QStringList Lines = Text.split(u'\n');
    for (qsizetype I = 0; I < Lines.size(); ++I) {
        QString Line = Lines[I];
        if (Line.endsWith(u'\r'))
            Line.chop(1);
        if (I == Lines.size() - 1 && Line.isEmpty())
            break; // the final line end
        QString Name;
        if (ParseKeyHeader(Line, Name)) {
            FKeys.append({Name, {Line}});
        } else if (FKeys.isEmpty()) {
            FHeader.append(Line);
        } else {
            // A value continued over several lines ends its line in a backslash.
            FKeys.last().Lines.append(Line);
        }
    }
}

int TRegistryFile::FindKey(const QString& Key) const {
    const QString K = NormaliseKey(Key);
    for (int I = 0; I < FKeys.size(); ++I)
        if (FKeys[I].Name.compare(K, Qt::CaseInsensitive) == 0)
            return I;
    return -1;
}

int TRegistryFile::FindValueLine(const TKeyBlock& Block, const QString& Name) const {
    for (int I = 1; I < Block.Lines.size(); ++I) {
        QString N;
        qsizetype Start = 0;
        if (ParseValueName(Block.Lines[I], N, Start) && N.compare(Name, Qt::CaseInsensitive) == 0)
            return I;
    }
    return -1;
}

bool TRegistryFile::KeyExists(const QString& Key) const {
    return FindKey(Key) >= 0;
}

bool TRegistryFile::ReadString(const QString& Key, const QString& Name, QString& Value) const {
    const int K = FindKey(Key);
    if (K < 0)
        return false;
    const int L = FindValueLine(FKeys[K], Name);
    if (L < 0)
        return false;
    QString N;
    qsizetype Start = 0;
    ParseValueName(FKeys[K].Lines[L], N, Start);
    QString Data = FKeys[K].Lines[L].mid(Start);
    if (Data.startsWith(QLatin1String("str(2):")))
        Data = Data.mid(7);
    if (Data.size() < 2 || !Data.startsWith(u'"') || !Data.endsWith(u'"'))
        return false;
    Value = UnescapeString(Data.mid(1, Data.size() - 2));
    return true;
}

bool TRegistryFile::IsWin64() const {
    for (const QString& L : FHeader)
        if (L.trimmed() == QLatin1String("#arch=win64"))
            return true;
    return false;
}

bool TRegistryFile::Save() const {
    // What is in memory is not the whole file then: writing it would lose
    // every key that could not be read.
    if (FUnreadable)
        return false;
    QFileInfo Info(FHostPath);
    QDir().mkpath(Info.absolutePath());
    QSaveFile F(FHostPath);
    if (!F.open(QIODevice::WriteOnly))
        return false;
    QStringList Out;
    if (FHeader.isEmpty())
        Out << CHeaderLine
            << QStringLiteral(";; All keys relative to ") + TRegistryFile::EscapeString(FRelativeTo)
            << QString();
    else
        Out << FHeader;
    for (const TKeyBlock& B : FKeys) {
        Out << B.Lines;
        if (B.Lines.isEmpty() || !B.Lines.last().isEmpty())
            Out << QString();
    }
    F.write(Out.join(u'\n').toUtf8() + '\n');
    return F.commit();
}

void TRegistryFile::CreateKey(const QString& Key) {
    if (FUnreadable)
        Load(); // it may be readable by now
    if (KeyExists(Key))
        return;
    const QString K = NormaliseKey(Key);
    FKeys.append({K,
                  {u'[' + TRegistryFile::EscapeString(K) + QStringLiteral("] ") +
                   QString::number(QDateTime::currentSecsSinceEpoch())}});
    if (!Save()) {
        FKeys.removeLast();
        throw ERegistryException(QStringLiteral("Failed to create key %1").arg(Key));
    }
}

void TRegistryFile::WriteString(const QString& Key, const QString& Name, const QString& Value) {
    CreateKey(Key);
    TKeyBlock& B = FKeys[FindKey(Key)];
    const QStringList Before = B.Lines;
    const int L = FindValueLine(B, Name);
    if (L >= 0) {
        B.Lines[L] = ValueLine(Name, Value);
    } else {
        // Keep values before the blank line that closes the block.
        int At = B.Lines.size();
        while (At > 1 && B.Lines[At - 1].isEmpty())
            --At;
        B.Lines.insert(At, ValueLine(Name, Value));
    }
    if (!Save()) {
        B.Lines = Before;
        throw ERegistryException(QStringLiteral("Failed to set data for '%1'").arg(Name));
    }
}

QString TRegistryFile::EscapeString(const QString& S) {
    QString R;
    R.reserve(S.size() + 8);
    for (QChar C : S) {
        switch (C.unicode()) {
        case '\\':
            R += QLatin1String("\\\\");
            break;
        case '"':
            R += QLatin1String("\\\"");
            break;
        case '\n':
            R += QLatin1String("\\n");
            break;
        case '\r':
            R += QLatin1String("\\r");
            break;
        case '\t':
            R += QLatin1String("\\t");
            break;
        case 0:
            R += QLatin1String("\\0");
            break;
        default:
            if (C.unicode() < 32 || C.unicode() > 126)
                R += QStringLiteral("\\x%1").arg(C.unicode(), 4, 16, QLatin1Char('0'));
            else
                R += C;
        }
    }
    return R;
}

QString TRegistryFile::UnescapeString(const QString& S) {
    QString R;
    R.reserve(S.size());
    for (qsizetype I = 0; I < S.size(); ++I) {
        if (S[I] != u'\\' || I + 1 >= S.size()) {
            R += S[I];
            continue;
        }
        const QChar E = S[++I];
        switch (E.unicode()) {
        case 'n':
            R += u'\n';
            break;
        case 'r':
            R += u'\r';
            break;
        case 't':
            R += u'\t';
            break;
        case '0':
            R += QChar(0);
            break;
        case 'x': {
            qsizetype J = I + 1;
            QString Hex;
            while (J < S.size() && Hex.size() < 4 &&
                   QStringLiteral("0123456789abcdefABCDEF").contains(S[J]))
                Hex += S[J++];
            if (Hex.isEmpty()) {
                R += E;
            } else {
                R += QChar(char16_t(Hex.toUInt(nullptr, 16)));
                I = J - 1;
            }
            break;
        }
        default:
            R += E;
        }
    }
    return R;
}

QString ReadMachineString(const QString& Key, const QString& Name) {
    const QString Path = QvrFs::WinePrefix() + QStringLiteral("/system.reg");
    if (!QFileInfo::exists(Path))
        return {};
    const TRegistryFile Reg(Path);
    QString Value;
    QString K = NormaliseKey(Key);
    // A 32-bit program on a 64-bit prefix sees Software\Wow6432Node as Software.
    if (Reg.IsWin64() && K.startsWith(QLatin1String("Software\\"), Qt::CaseInsensitive)) {
        const QString Wow = QStringLiteral("Software\\Wow6432Node\\") + K.mid(9);
        if (Reg.ReadString(Wow, Name, Value))
            return Value;
    }
    if (Reg.ReadString(K, Name, Value))
        return Value;
    return {};
}

QString ClassesRegistryPath() {
    return GetConfigDir() + QStringLiteral("/classes.reg");
}
