// The launcher's start as its main makes it, in the program folder given as
// the first argument, ending once the window is on screen. Boxes are
// answered at once: a box waiting for a click would measure the user.
#include "common/ShellOpen.h"
#include "common/ui/FormFonts.h"
#include "launcher/platform/ProcessList.h"
#include "launcher/shell/qvr_Main.h"
#include "launcher/sound/qvr_BassLibrary.h"

#include "StartupClock.h"
#include "support/QuietDialogs.h"

#include <QApplication>
#include <QWindow>

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    const QString ProgramFile = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/qvr");
    QApplication App(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    UseFormFonts();
    TQuietDialogs Dialogs;
    TSystemClock Clock;
    TShellStarter Starter;
    TProcFsProcessList Processes;
    TBassLibrary Bass;
    TfrmMain Window({&Dialogs, &Clock, &Starter, &Processes, &Bass, ProgramFile});
    Window.show();
    while (!Window.windowHandle() || !Window.windowHandle()->isExposed())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ShownNow();
}
