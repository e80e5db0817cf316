// The launcher's entry: one instance, the title, the window, the loop.
#include "common/ShellOpen.h"
#include "common/SingleInstance.h"
#include "common/ui/FormFonts.h"
#include "common/ui/QtDialogs.h"
#include "launcher/platform/Download.h"
#include "launcher/platform/ProcessList.h"
#include "launcher/shell/qvr_Main.h"
#include "launcher/sound/qvr_BassLibrary.h"

#include <QApplication>

#include <csignal>

int main(int argc, char** argv) {
    // A second launcher, or a running installer, ends silently.
    if (!AcquireSingleInstance(QStringLiteral("OneInstance")))
        return 0;
    // A file-size limit then fails a write as a full disk does, instead of
    // ending the program in the middle of a capture.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication App(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    // The window is laid out for Tahoma 8 pt.
    UseFormFonts();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/qvr/app/qvr.png")));

    TQtDialogs Dialogs;
    TSystemClock Clock;
    TShellStarter Starter;
    TProcFsProcessList Processes;
    TBassLibrary Bass;
    TUrlDownloader Downloader;
    TfrmMain frmMain({&Dialogs, &Clock, &Starter, &Processes, &Bass,
                      QCoreApplication::applicationFilePath(), &Downloader});
    if (frmMain.Terminated())
        return 0;
    frmMain.show();
    // A request to end made during start-up takes effect once the window
    // has been shown; the loop is not entered then.
    if (!frmMain.QuitRequested())
        App.exec();
    frmMain.FormDestroy();
    return 0;
}
