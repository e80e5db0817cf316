// The single-instance lock, held by a real second process.
#include "common/SingleInstance.h"

#include "support/InChild.h"
#include "support/InstanceLock.h"

#include <QFile>
#include <gtest/gtest.h>

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
