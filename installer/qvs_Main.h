// The installer's wizard window: five pages (welcome, install folder,
// options, installing, complete) over the stored-file container it carries.
#pragma once

#include "installer/InstallProcedure.h"

#include <QString>
#include <QWidget>

#include <functional>

#include "ui_qvs_Main.h"

class IDialogs;
class IProgramStarter;
class TmxStorage;
class TWindowsInfo;

// What the wizard gets from the world. main() hands the real ones; tests
// hand real ones pointed at temporary folders, or scripted ones.
struct TInstallerServices {
    IDialogs* Dialogs = nullptr;
    IProgramStarter* Starter = nullptr;
    const TWindowsInfo* Folders = nullptr;
    // The host path of the program file that carries the payload.
    QString ProgramFile;
    // Lets go of the single-instance lock, so the launcher started at the end
    // is not turned away by it.
    std::function<void()> ReleaseInstance;
    // Holds the thread for a number of milliseconds.
    std::function<void(int)> Pause;
};

class TfrmMain : public QWidget, private Ui::TfrmMain, private IInstallProgress {
    Q_OBJECT

public:
    // The page states.
    enum { psWelcome = 0, psInstallDir = 1, psOptions = 2, psInstalling = 3, psComplete = 100 };

    explicit TfrmMain(const TInstallerServices& Services, QWidget* Parent = nullptr);

    // True when the payload could not be read: the program ends.
    bool Terminated() const { return FTerminated; }
    int State() const { return FState; }
    // The install folder with its trailing backslash, once the install began.
    const QString& InstallDir() const { return FProcedure.InstallDir(); }
    TmxStorage* Storage = nullptr;

    void btnContinueClick();
    void btnBackClick();
    void btnInstallClick();
    void btnCancelClick();

protected:
    void closeEvent(QCloseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;

private:
    void FormCreate();
    bool FormCloseQuery();
    void FormClose();
    // Runs the procedure and, when it completes, shows the completion page.
    void Install();

    // An error that escapes a handler is shown in an error box (the title,
    // a stop icon, OK) and the program goes on.
    void Guard(const std::function<void()>& Handler);
    void ErrorBox(const QString& Text);
    static void Front(QWidget* Widget, bool Enabled);

    // IInstallProgress, on the installing page.
    bool ProcessPendingInput() override;
    void SetStatus(const QString& Text) override;
    int Position() const override;
    int Maximum() const override;
    void SetPosition(int Position) override;
    void Pause(int Milliseconds) override;

    TInstallerServices FServices;
    TInstallProcedure FProcedure;
    int FState = psWelcome;
    bool FFinish = false; // Continue closes the window
    bool FClosed = false;
    bool FTerminated = false;
};
