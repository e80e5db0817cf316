// Runs a check in a forked child process, so that what it takes (a lock, a
// changed identity) dies with the child and never touches the test process.
#pragma once

#include <cerrno>
#include <sys/wait.h>
#include <unistd.h>

// The check's answer, or false when the child did not end normally.
template <class TCheck> bool InChild(TCheck Check) {
    const pid_t Pid = ::fork();
    if (Pid == 0)
        ::_exit(Check() ? 0 : 1);
    if (Pid < 0)
        return false;
    // A signal (the end of another child, say) must not pass for an answer.
    int Status = 0;
    pid_t Done;
    while ((Done = ::waitpid(Pid, &Status, 0)) < 0 && errno == EINTR) {
    }
    return Done == Pid && WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
}
