#include "common/FileSystem.h"

#include "common/Errors.h"
#include "common/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    bool OnlyPeriodsAndBlanks = true;
    for (const QChar C : Name) {
        if (C == u'\\' || C == u'/' || C == u':' || C.unicode() < 32 || C.unicode() == 127)
            return true;
        if (C != u'.' && C != u' ')
            OnlyPeriodsAndBlanks = false;
    }
    return OnlyPeriodsAndBlanks;
}

bool IsUnsafeSubPath(const QString& Path) {
    const QStringList Parts = Path.split(u'\\');
    return std::any_of(Parts.begin(), Parts.end(), IsUnsafeName);
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

namespace {
// What a private file's mode allows: its owner reads and writes it.
constexpr QFileDevice::Permissions COwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

[[noreturn]] void CreateFailed(const QString& WinPath, int Code) {
    throw EFCreateError(
        QStringLiteral("Cannot create file \"%1\". %2").arg(WinPath, SysErrorText(Code)));
}
} // namespace

bool NarrowAccess(QFileDevice& File, TFileAccess Access) {
    return Access == TFileAccess::Usual || File.setPermissions(COwnerOnly);
}

bool NarrowExistingFile(const QString& HostPath, TFileAccess Access) {
    return Access == TFileAccess::Usual ||
           ::chmod(QFile::encodeName(HostPath).constData(), S_IRUSR | S_IWUSR) == 0 ||
           errno == ENOENT;
}

void WriteFile(const QString& WinPath, const QByteArray& Data, TFileAccess Access) {
    QFile F(HostPath(WinPath));
    const QFileInfo Info(F.fileName());
    // A private file is made for its owner alone, and one that is there is
    // emptied only once narrowed: opened to append, it keeps its bytes until
    // then.
    const bool Private = Access == TFileAccess::Private;
    const auto Open = [&] {
        if (!Private)
            return F.open(QIODevice::WriteOnly | QIODevice::Truncate);
        return F.open(QIODevice::WriteOnly | QIODevice::Append, COwnerOnly);
    };
    if (WinPath.isEmpty() || Info.isDir() || !Open()) {
        CreateFailed(WinPath, WinPath.isEmpty() || !Info.dir().exists() ? ENOENT
                              : Info.isDir()                            ? EISDIR
                                                                        : EACCES);
    }
    if (Private && !(NarrowAccess(F, Access) && F.resize(0)))
        CreateFailed(WinPath, EPERM);
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

QByteArray Encoded(const QString& HostPath) {
    return QFile::encodeName(HostPath);
}

bool LStat(const QString& HostPath, struct stat& St) {
    return ::lstat(Encoded(HostPath).constData(), &St) == 0;
}

// Where the last component of a Windows-form path would live on the host:
// its folder, resolved as every path is, and its name as written (trailing
// separators dropped). False when there is no usable name.
bool SplitHost(const QString& WinPath, QString& Folder, QString& Name) {
    QString Path = WinPath;
    while (!Path.isEmpty() && IsSep(Path.back()))
        Path.chop(1);
    qsizetype Cut = Path.size() - 1;
    while (Cut >= 0 && !IsSep(Path[Cut]) && !(Cut == 1 && HasDriveLetter(Path)))
        --Cut;
    Name = Path.mid(Cut + 1);
    if (IsUnsafeName(Name))
        return false;
    Folder = Cut < 0 ? QStringLiteral(".") : HostPath(Path.left(Cut + 1));
    return true;
}

// The name under which Name exists in the host folder Folder: itself when it
// exists as written, else an entry equal to it without regard to case, as
// Windows sees names; empty when there is none.
QString ExistingName(const QString& Folder, const QString& Name) {
    struct stat St;
    if (LStat(JoinHost(Folder, Name), St))
        return Name;
    return FindCaseBlind(Folder, Name);
}

// Renames From to To unless To exists, in one step where the file system
// offers it; else a hard link for a file, else a check before the rename.
bool RenameNoReplace(const QString& From, const QString& To) {
    const QByteArray F = Encoded(From), T = Encoded(To);
    if (::renameat2(AT_FDCWD, F.constData(), AT_FDCWD, T.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return false;
    if (::link(F.constData(), T.constData()) == 0) {
        if (::unlink(F.constData()) == 0)
            return true;
        ::unlink(T.constData());
        return false;
    }
    if (errno == EEXIST)
        return false;
    struct stat St;
    return !LStat(To, St) && errno == ENOENT && ::rename(F.constData(), T.constData()) == 0;
}

bool WriteAll(int Fd, const char* Data, ssize_t Size) {
    while (Size > 0) {
        const ssize_t N = ::write(Fd, Data, static_cast<size_t>(Size));
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0)
            return false;
        Data += N;
        Size -= N;
    }
    return true;
}

// Copies the regular file From into a new file beside To, then puts it in
// To's place: replacing what is there, or only where nothing is.
bool CopyHostFile(const QString& From, const QString& ToFolder, const QString& ToName,
                  bool Replace) {
    const int In = ::open(Encoded(From).constData(), O_RDONLY | O_CLOEXEC);
    if (In < 0)
        return false;
    struct stat Src, Dst;
    const QString To = JoinHost(ToFolder, ToName);
    // A folder is not copied, nor a file onto itself (which would empty it).
    if (::fstat(In, &Src) != 0 || !S_ISREG(Src.st_mode) ||
        (LStat(To, Dst) &&
         (S_ISDIR(Dst.st_mode) || (Dst.st_dev == Src.st_dev && Dst.st_ino == Src.st_ino)))) {
        ::close(In);
        return false;
    }
    QByteArray Temp = Encoded(JoinHost(ToFolder, QStringLiteral(".qvr-copy-XXXXXX")));
    const int Out = ::mkostemp(Temp.data(), O_CLOEXEC);
    if (Out < 0) {
        ::close(In);
        return false;
    }
    bool Ok = true;
    char Buffer[65536];
    for (;;) {
        const ssize_t N = ::read(In, Buffer, sizeof Buffer);
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0) {
            Ok = N == 0;
            break;
        }
        if (!WriteAll(Out, Buffer, N)) {
            Ok = false;
            break;
        }
    }
    const struct timespec Times[2] = {Src.st_atim, Src.st_mtim};
    Ok = Ok && ::fchmod(Out, Src.st_mode & 07777) == 0 && ::futimens(Out, Times) == 0;
    Ok = ::close(Out) == 0 && Ok;
    ::close(In);
    const QString TempPath = QFile::decodeName(Temp);
    Ok = Ok && (Replace ? ::rename(Temp.constData(), Encoded(To).constData()) == 0
                        : RenameNoReplace(TempPath, To));
    if (!Ok)
        ::unlink(Temp.constData());
    return Ok;
}

} // namespace

bool CopyFile(const QString& Source, const QString& Target, bool FailIfExists) {
    QString Folder, Name;
    if (Source.isEmpty() || !SplitHost(Target, Folder, Name))
        return false;
    // An existing target is found, and replaced, in any letter case.
    const QString Existing = ExistingName(Folder, Name);
    if (!Existing.isEmpty()) {
        if (FailIfExists)
            return false;
        Name = Existing;
    }
    return CopyHostFile(HostPath(Source), Folder, Name, !FailIfExists);
}

bool MoveFile(const QString& Source, const QString& Target) {
    QString FromFolder, FromName, Folder, Name;
    if (!SplitHost(Source, FromFolder, FromName) || !SplitHost(Target, Folder, Name))
        return false;
    FromName = ExistingName(FromFolder, FromName);
    struct stat From;
    if (FromName.isEmpty() || !LStat(JoinHost(FromFolder, FromName), From))
        return false;
    const QString FromPath = JoinHost(FromFolder, FromName);
    // Taken: unless it is the source itself under another letter case.
    const QString Existing = ExistingName(Folder, Name);
    if (!Existing.isEmpty()) {
        struct stat St;
        if (Existing == Name || !LStat(JoinHost(Folder, Existing), St) ||
            St.st_dev != From.st_dev || St.st_ino != From.st_ino)
            return false;
    }
    const QString To = JoinHost(Folder, Name);
    if (RenameNoReplace(FromPath, To))
        return true;
    // Another file system: a file is copied, then removed; a folder is not moved.
    if (errno != EXDEV || !S_ISREG(From.st_mode) || !CopyHostFile(FromPath, Folder, Name, false))
        return false;
    if (::unlink(Encoded(FromPath).constData()) == 0)
        return true;
    ::unlink(Encoded(To).constData());
    return false;
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
