#include "common/FileSystem.h"

#include "common/Errors.h"
#include "common/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace QvrFs {

namespace {

QString SysErrorText(int Code) {
    return QString::fromLocal8Bit(std::strerror(Code));
}

bool IsSep(QChar C) {
    return C == u'\\' || C == u'/';
}

bool HasDriveLetter(const QString& S) {
    return S.size() >= 2 && S[1] == u':' && S[0].unicode() < 128 && S[0].isLetter();
}

// The host folder behind a drive letter: the prefix's dosdevices link when it
// is there; Wine's usual C: and Z: otherwise.
QString DriveRoot(QChar Letter) {
    const QString Prefix = WinePrefix();
    const QChar Lower = Letter.toLower();
    const QString Link = Prefix + QStringLiteral("/dosdevices/") + Lower + u':';
    QFileInfo Info(Link);
    if (Info.exists())
        return Info.canonicalFilePath();
    if (Lower == u'z')
        return QStringLiteral("/");
    if (Lower == u'c')
        return Prefix + QStringLiteral("/drive_c");
    return Link;
}

// The entry of Dir whose name equals Name ignoring case, or an empty string.
QString FindCaseBlind(const QString& Dir, const QString& Name) {
    QDir D(Dir.isEmpty() ? QStringLiteral(".") : Dir);
    const QStringList Entries =
        D.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& E : Entries)
        if (E.compare(Name, Qt::CaseInsensitive) == 0)
            return E;
    return {};
}

QString JoinHost(const QString& Base, const QString& Name) {
    if (Base.isEmpty())
        return Name;
    if (Base.endsWith(u'/'))
        return Base + Name;
    return Base + u'/' + Name;
}

} // namespace

QString WinePrefix() {
    const QByteArray Env = qgetenv("WINEPREFIX");
    if (!Env.isEmpty())
        return QString::fromLocal8Bit(Env);
    return QDir::homePath() + QStringLiteral("/.wine");
}

QString HostPath(const QString& WinPath) {
    QString Base;
    QString Rest = WinPath;
    if (HasDriveLetter(WinPath)) {
        Base = DriveRoot(WinPath[0]);
        Rest = WinPath.mid(2);
    } else if (!WinPath.isEmpty() && IsSep(WinPath[0])) {
        Base = QStringLiteral("/");
    }
    Rest.replace(u'\\', u'/');
    const bool TrailingSep = !Rest.isEmpty() && Rest.endsWith(u'/');
    const QStringList Parts = Rest.split(u'/', Qt::SkipEmptyParts);

    // The common case first: the path exists with its exact letter case.
    QString Direct = Base;
    for (const QString& P : Parts)
        Direct = JoinHost(Direct, P);
    if (Parts.isEmpty() || QFileInfo::exists(Direct))
        return TrailingSep && !Direct.endsWith(u'/') ? Direct + u'/' : Direct;

    QString Result = Base;
    bool Resolving = true;
    for (const QString& P : Parts) {
        QString Name = P;
        if (Resolving && P != QLatin1String(".") && P != QLatin1String("..")) {
            const QString Exact = JoinHost(Result, P);
            if (!QFileInfo::exists(Exact)) {
                const QString Found = FindCaseBlind(Result, P);
                if (Found.isEmpty())
                    Resolving = false; // what follows cannot exist either
                else
                    Name = Found;
            }
        }
        Result = JoinHost(Result, Name);
    }
    if (TrailingSep && !Result.endsWith(u'/'))
        Result += u'/';
    return Result;
}

bool IsUnsafeName(const QString& Name) {
    if (Name.isEmpty() || Name == QLatin1String(".") || Name == QLatin1String(".."))
        return true;
    for (QChar C : Name)
        if (C == u'\\' || C == u'/' || C == u':' || C.unicode() < 32 || C.unicode() == 127)
            return true;
    return false;
}

bool FileExists(const QString& WinPath) {
    if (WinPath.isEmpty())
        return false;
    const QFileInfo Info(HostPath(WinPath));
    return Info.exists() && !Info.isDir();
}

bool DirectoryExists(const QString& WinPath) {
    if (WinPath.isEmpty())
        return false;
    return QFileInfo(HostPath(WinPath)).isDir();
}

bool CreateDir(const QString& WinPath) {
    if (WinPath.isEmpty())
        return false;
    QString Host = HostPath(WinPath);
    while (Host.size() > 1 && Host.endsWith(u'/'))
        Host.chop(1);
    return ::mkdir(QFile::encodeName(Host).constData(), 0777) == 0;
}

bool MatchesMask(const QString& Name, const QString& Mask) {
    if (Mask == QLatin1String("*") || Mask == QLatin1String("*.*"))
        return true;
    // "*.ext", the common case: a case-blind comparison of the name's tail.
    if (Mask.startsWith(u'*') && Mask.indexOf(u'*', 1) < 0 && Mask.indexOf(u'?') < 0)
        return Name.size() >= Mask.size() - 1 &&
               QStringView(Name)
                       .right(Mask.size() - 1)
                       .compare(QStringView(Mask).mid(1), Qt::CaseInsensitive) == 0;
    // Iterative glob with one backtrack point, case-blind.
    qsizetype N = 0, M = 0, StarM = -1, StarN = 0;
    while (N < Name.size()) {
        if (M < Mask.size() &&
            (Mask[M] == u'?' || Mask[M].toCaseFolded() == Name[N].toCaseFolded())) {
            ++N;
            ++M;
        } else if (M < Mask.size() && Mask[M] == u'*') {
            StarM = M++;
            StarN = N;
        } else if (StarM >= 0) {
            M = StarM + 1;
            N = ++StarN;
        } else {
            return false;
        }
    }
    while (M < Mask.size() && Mask[M] == u'*')
        ++M;
    return M == Mask.size();
}

void ForEachFile(const QString& WinPathAndMask,
                 const std::function<void(const TSearchRec&)>& Visit) {
    qsizetype Cut = -1;
    for (qsizetype I = WinPathAndMask.size() - 1; I >= 0; --I)
        if (IsSep(WinPathAndMask[I]) || (I == 1 && WinPathAndMask[I] == u':')) {
            Cut = I;
            break;
        }
    const QString Folder = WinPathAndMask.left(Cut + 1);
    const QString Mask = WinPathAndMask.mid(Cut + 1);
    if (Mask.isEmpty())
        return;
    const QString Host = Folder.isEmpty() ? QStringLiteral(".") : HostPath(Folder);
    const QByteArray Encoded = QFile::encodeName(Host);
    DIR* D = ::opendir(Encoded.constData());
    if (!D)
        return;
    while (dirent* E = ::readdir(D)) {
        const QString Name = QFile::decodeName(E->d_name);
        if (!MatchesMask(Name, Mask))
            continue;
        TSearchRec Rec;
        Rec.Name = Name;
        // The entry's type comes with the listing on most file systems; a
        // link or an unknown type is looked at to see what it points to.
        if (E->d_type == DT_DIR || E->d_type == DT_REG) {
            Rec.IsDir = E->d_type == DT_DIR;
        } else {
            struct stat St;
            Rec.IsDir = ::fstatat(::dirfd(D), E->d_name, &St, 0) == 0 && S_ISDIR(St.st_mode);
        }
        Visit(Rec);
    }
    ::closedir(D);
}

QList<TSearchRec> FindFiles(const QString& WinPathAndMask) {
    QList<TSearchRec> Result;
    ForEachFile(WinPathAndMask, [&](const TSearchRec& Rec) { Result.append(Rec); });
    return Result;
}

QByteArray ReadFile(const QString& WinPath) {
    QFile F(HostPath(WinPath));
    const QFileInfo Info(F.fileName());
    if (WinPath.isEmpty() || !Info.exists() || Info.isDir() || !F.open(QIODevice::ReadOnly)) {
        const int Code = WinPath.isEmpty() || !Info.exists() ? ENOENT
                         : Info.isDir()                      ? EISDIR
                                                             : EACCES;
        throw EFOpenError(
            QStringLiteral("Cannot open file \"%1\". %2").arg(WinPath, SysErrorText(Code)));
    }
    const QByteArray Data = F.readAll();
    if (F.error() != QFileDevice::NoError)
        throw EInOutError(QStringLiteral("Read error on \"%1\". %2").arg(WinPath, F.errorString()));
    return Data;
}

void WriteFile(const QString& WinPath, const QByteArray& Data) {
    QFile F(HostPath(WinPath));
    const QFileInfo Info(F.fileName());
    if (WinPath.isEmpty() || Info.isDir() || !F.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const int Code = WinPath.isEmpty() || !Info.dir().exists() ? ENOENT
                         : Info.isDir()                            ? EISDIR
                                                                   : EACCES;
        throw EFCreateError(
            QStringLiteral("Cannot create file \"%1\". %2").arg(WinPath, SysErrorText(Code)));
    }
    if (F.write(Data) != Data.size() || !F.flush())
        throw EInOutError(
            QStringLiteral("Write error on \"%1\". %2").arg(WinPath, F.errorString()));
}

QStringList LoadLines(const QString& WinPath) {
    const QString Text = DecodeAnsi(ReadFile(WinPath));
    QStringList Lines;
    qsizetype Start = 0;
    for (qsizetype I = 0; I < Text.size(); ++I) {
        if (Text[I] == u'\r' || Text[I] == u'\n') {
            Lines.append(Text.mid(Start, I - Start));
            if (Text[I] == u'\r' && I + 1 < Text.size() && Text[I + 1] == u'\n')
                ++I;
            Start = I + 1;
        }
    }
    if (Start < Text.size())
        Lines.append(Text.mid(Start));
    return Lines;
}

void SaveLines(const QString& WinPath, const QStringList& Lines) {
    QByteArray Data;
    for (const QString& L : Lines) {
        Data += L.toUtf8();
        Data += "\r\n";
    }
    WriteFile(WinPath, Data);
}

bool DeleteFile(const QString& WinPath) {
    if (WinPath.isEmpty())
        return false;
    return QFile::remove(HostPath(WinPath));
}

namespace {
qsizetype LastDelimiter(const QString& S) {
    for (qsizetype I = S.size() - 1; I >= 0; --I)
        if (S[I] == u'\\' || S[I] == u'/' || S[I] == u':')
            return I;
    return -1;
}
} // namespace

QString ExtractFileName(const QString& WinPath) {
    return WinPath.mid(LastDelimiter(WinPath) + 1);
}

QString ExtractFilePath(const QString& WinPath) {
    return WinPath.left(LastDelimiter(WinPath) + 1);
}

QString ExtractFileExt(const QString& WinPath) {
    const qsizetype Dot = WinPath.lastIndexOf(u'.');
    if (Dot < 0 || Dot < LastDelimiter(WinPath))
        return {};
    return WinPath.mid(Dot);
}

QString ChangeFileExt(const QString& WinPath, const QString& Ext) {
    const qsizetype Dot = WinPath.lastIndexOf(u'.');
    if (Dot < 0 || Dot < LastDelimiter(WinPath))
        return WinPath + Ext;
    return WinPath.left(Dot) + Ext;
}

QString WinPathOfHost(const QString& HostPath) {
    QString S = QDir::cleanPath(QFileInfo(HostPath).absoluteFilePath());
    if (HostPath.endsWith(u'/') && !S.endsWith(u'/'))
        S += u'/';
    S.replace(u'/', u'\\');
    return QStringLiteral("Z:") + S;
}

} // namespace QvrFs
