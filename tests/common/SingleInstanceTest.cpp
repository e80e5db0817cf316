// The single-instance lock, held by a real second process.
#include "common/SingleInstance.h"

#include "support/InChild.h"
#include "support/InstanceLock.h"
#include "support/TestFiles.h"
#include "support/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The answer AcquireSingleInstance gives in a fresh child process.
bool AcquireInChild(const QString& Name) {
    return InChild([&] { return AcquireSingleInstance(Name); });
}
} // namespace

TEST(SingleInstance, ASecondProcessIsRefusedWhileTheFirstHoldsTheLock) {
    const QString Name = "OneInstanceTest";
    EXPECT_TRUE(AcquireInChild(Name)); // the lock dies with the child
    EXPECT_TRUE(AcquireSingleInstance(Name));
    EXPECT_FALSE(AcquireInChild(Name));
    EXPECT_TRUE(SingleInstanceLockPath(Name).startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR")));
}

TEST(SingleInstance, AReleasedLockIsFreeForTheNextStart) {
    const QString Name = "OneInstanceRelease";
    ASSERT_TRUE(AcquireSingleInstance(Name));
    EXPECT_FALSE(LockIsFree(Name));
    ReleaseSingleInstance(Name);
    EXPECT_TRUE(LockIsFree(Name));
    // Releasing a lock that is not held changes nothing.
    ReleaseSingleInstance(Name);
    EXPECT_TRUE(AcquireSingleInstance(Name));
    ReleaseSingleInstance(Name);
}

namespace {

const QString CName = QStringLiteral("OneInstance");

// A user id that names no user: its folder in /tmp is this test's alone.
uid_t UnusedUid() {
    uid_t Uid = 60000 + uid_t(::getpid() % 5000);
    while (::getpwuid(Uid))
        ++Uid;
    return Uid;
}

// Removes a file, link or folder; a link's target is left alone.
void RemoveEntry(const QString& Path) {
    const QFileInfo Info(Path);
    if (Info.isSymLink() || Info.isFile())
        QFile::remove(Path);
    else if (Info.isDir())
        QDir(Path).removeRecursively();
}

// Sets an entry's mode and owner, its group left as it is.
bool Own(const QString& Path, mode_t Mode, uid_t Owner) {
    const QByteArray P = QFile::encodeName(Path);
    return ::chmod(P.constData(), Mode) == 0 && ::chown(P.constData(), Owner, gid_t(-1)) == 0;
}

// Starts the program in a child process as user Uid, with Runtime as its
// runtime folder (none when empty): true when it goes on, and a second copy
// started then is turned away as Guarded says.
bool StartsAs(uid_t Uid, const QString& Runtime, bool Guarded) {
    return InChild([&] {
        if (::getuid() != Uid &&
            (::setgroups(0, nullptr) != 0 || ::setgid(Uid) != 0 || ::setuid(Uid) != 0))
            return false;
        if (Runtime.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(Runtime));
        return AcquireSingleInstance(CName) && AcquireInChild(CName) != Guarded;
    });
}

} // namespace

// What another user of the machine can plant where the lock goes: none of it
// turns the program away, and no link is followed. Without a runtime folder
// the lock goes in /tmp; each start there runs as a user of its own, which
// takes root (as in CI), else those cases are skipped: they would share the
// folder with the user's own programs.
TEST(SingleInstance, WhatOthersPlantAtTheLocksPlaceNeitherStopsNorMisleadsIt) {
    enum class TPlant { Nothing, OthersFolder, LinkAsFolder, OthersLockInOpenFolder, LinkAsLock };
    const struct {
        TPlant Plant;
        bool Runtime;       // XDG_RUNTIME_DIR names a folder of the user's
        bool Guarded;       // a second copy is then turned away
        mode_t FolderAfter; // the lock's folder as lstat sees it afterwards
        bool UsersFolder;   // ... and whether the user owns it
    } Cases[] = {
        {TPlant::Nothing, false, true, S_IFDIR | 0700, true},
        {TPlant::OthersFolder, false, false, S_IFDIR | 0777, false},
        {TPlant::LinkAsFolder, false, false, S_IFLNK | 0777, false},
        {TPlant::OthersLockInOpenFolder, false, false, S_IFDIR | 0700, true},
        {TPlant::LinkAsLock, false, false, S_IFDIR | 0700, true},
        {TPlant::LinkAsLock, true, false, S_IFDIR | 0700, true},
    };
    const bool Root = ::geteuid() == 0;
    const uid_t User = Root ? UnusedUid() : ::getuid();
    const QString TmpFolder = QStringLiteral("/tmp/quorvane-%1").arg(User);
    const auto Cleanup = qScopeGuard([&] {
        if (Root)
            RemoveEntry(TmpFolder);
    });
    QTemporaryDir Tmp;
    const QString Runtime = Tmp.filePath("runtime"), Elsewhere = Tmp.filePath("elsewhere");
    ASSERT_TRUE(QDir().mkpath(Runtime) && QDir().mkpath(Elsewhere));
    for (const QString& Path : {Tmp.path(), Runtime, Elsewhere})
        ASSERT_TRUE(Own(Path, 0700, User)) << Path.toStdString();

    bool Skipped = false;
    for (const auto& C : Cases) {
        SCOPED_TRACE(testing::Message() << "case " << &C - Cases);
        if (!C.Runtime && !Root) {
            Skipped = true;
            continue;
        }
        const QString Folder = C.Runtime ? Runtime : TmpFolder;
        const QString Lock = Folder + u'/' + CName;
        if (!C.Runtime)
            RemoveEntry(TmpFolder);
        int Holder = -1; // holds the planted lock, as the user who planted it would
        switch (C.Plant) {
        case TPlant::Nothing:
            break;
        case TPlant::OthersFolder:
        case TPlant::OthersLockInOpenFolder:
            ASSERT_TRUE(QDir().mkdir(Folder));
            ASSERT_TRUE(Own(Folder, 0777, C.Plant == TPlant::OthersFolder ? CNobody : User));
            ASSERT_TRUE(WriteHostFile(Lock, {}) && Own(Lock, 0666, CNobody));
            Holder = ::open(QFile::encodeName(Lock).constData(), O_RDWR | O_CLOEXEC);
            ASSERT_EQ(::flock(Holder, LOCK_EX), 0);
            break;
        case TPlant::LinkAsFolder:
            ASSERT_TRUE(QFile::link(Elsewhere, Folder));
            break;
        case TPlant::LinkAsLock:
            ASSERT_TRUE(QDir().mkpath(Folder) && Own(Folder, 0700, User));
            ASSERT_TRUE(QFile::link(Elsewhere + "/Target", Lock));
            break;
        }

        EXPECT_TRUE(StartsAs(User, C.Runtime ? Runtime : QString(), C.Guarded));
        struct stat St = {};
        ASSERT_EQ(::lstat(QFile::encodeName(Folder).constData(), &St), 0);
        EXPECT_EQ(St.st_mode, C.FolderAfter);
        EXPECT_EQ(St.st_uid == User, C.UsersFolder);
        EXPECT_EQ(HostListing(Elsewhere), QStringList());
        if (Holder >= 0)
            ::close(Holder);
    }
    if (Skipped)
        GTEST_SKIP() << "the cases without a runtime folder need root, as CI runs the tests";
}
