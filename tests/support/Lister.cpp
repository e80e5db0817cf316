// Prints the process list, one entry a line; the tests run it as another user.
#include "launcher/platform/ProcessList.h"

#include <cstdio>

int main() {
    TProcFsProcessList Processes;
    QStringList List;
    Processes.ListProcessModules(List);
    for (const QString& Module : List)
        std::printf("%s\n", Module.toUtf8().constData());
    return 0;
}
