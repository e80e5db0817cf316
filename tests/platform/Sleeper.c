/* Sleeps until killed, whatever its arguments: copied under other names it
   stands in for the game and for Wine's loader. */
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <unistd.h>

int main(void) {
    /* Started by a test or benchmark: die with it, so a crash leaves no strays. */
    const char* Parent = getenv("QVR_SLEEPER_PARENT");
    if (Parent) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != (pid_t)atol(Parent))
            return 0;
    }
    for (;;)
        pause();
}
