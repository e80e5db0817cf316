// The installer's entry: one instance, the title, the wizard, the loop.
#include "common/ShellOpen.h"
#include "common/SingleInstance.h"
#include "common/ui/FormFonts.h"
#include "common/ui/QtDialogs.h"
#include "installer/WinDirs.h"
#include "installer/qvs_Main.h"

#include <QApplication>
#include <QThread>

int main(int argc, char** argv) {
    // The shell folders are read once, as the program starts.
    const TWindowsInfo WindowsInfo;
    // A running launcher, or a second installer, ends this one silently.
    const QString InstanceName = QStringLiteral("OneInstance");
    if (!AcquireSingleInstance(InstanceName))
        return 0;
    QApplication App(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane Installer"));
    // The wizard is laid out for Tahoma 8 pt.
    UseFormFonts();

    TQtDialogs Dialogs;
    TShellStarter Starter;
    TInstallerServices Services;
    Services.Dialogs = &Dialogs;
    Services.Starter = &Starter;
    Services.Folders = &WindowsInfo;
    Services.ProgramFile = QCoreApplication::applicationFilePath();
    Services.ReleaseInstance = [InstanceName] { ReleaseSingleInstance(InstanceName); };
    Services.Pause = [](int Milliseconds) { QThread::msleep(Milliseconds); };

    TfrmMain frmMain(Services);
    if (frmMain.Terminated())
        return 1;
    frmMain.show();
    return App.exec();
}
