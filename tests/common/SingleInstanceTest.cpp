// The single-instance lock, held by a real second process.
#include "common/SingleInstance.h"

#include <QFile>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {
// The answer AcquireSingleInstance gives in a fresh child process.
bool AcquireInChild(const QString& Name) {
    const pid_t Pid = ::fork();
    if (Pid == 0)
        ::_exit(AcquireSingleInstance(Name) ? 0 : 1);
    int Status = 0;
    ::waitpid(Pid, &Status, 0);
    return WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
}
} // namespace

TEST(SingleInstance, ASecondProcessIsRefusedWhileTheFirstHoldsTheLock) {
    const QString Name = "OneInstanceTest";
    EXPECT_TRUE(AcquireInChild(Name)); // the lock dies with the child
    EXPECT_TRUE(AcquireSingleInstance(Name));
    EXPECT_FALSE(AcquireInChild(Name));
    EXPECT_TRUE(SingleInstanceLockPath(Name).startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR")));
}
