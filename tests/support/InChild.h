// Runs a check in a forked child process, so that what it takes (a lock, a
// changed identity) dies with the child and never touches the test process.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

// The check's answer, or false when the child did not end normally.
template <class TCheck> bool InChild(TCheck Check) {
    const pid_t Pid = ::fork();
    if (Pid == 0)
        ::_exit(Check() ? 0 : 1);
    int Status = 0;
    ::waitpid(Pid, &Status, 0);
    return WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
}
