/* Sleeps until killed, whatever its arguments: copied under other names it
   stands in for the game and for Wine's loader. With QVR_SLEEPER_EXEC set it
   executes that program on SIGUSR1, keeping its pid, as a program that
   starts another in its place does. */
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/prctl.h>
#include <unistd.h>

static const char* ExecPath;

static void ExecOnSignal(int Signal) {
    (void)Signal;
    execl(ExecPath, ExecPath, (char*)0);
}

int main(void) {
    /* Started by a test or benchmark: die with it, so a crash leaves no strays. */
    const char* Parent = getenv("QVR_SLEEPER_PARENT");
    if (Parent) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != (pid_t)atol(Parent))
            return 0;
    }
    ExecPath = getenv("QVR_SLEEPER_EXEC");
    if (ExecPath && *ExecPath) {
        struct sigaction Action;
        memset(&Action, 0, sizeof Action);
        Action.sa_handler = ExecOnSignal;
        Action.sa_flags = SA_NODEFER; /* the new program starts with nothing blocked */
        sigaction(SIGUSR1, &Action, 0);
    }
    for (;;)
        pause();
}
