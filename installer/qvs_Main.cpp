#include "installer/qvs_Main.h"

#include "common/Dialogs.h"
#include "common/Errors.h"
#include "common/FileSystem.h"
#include "common/Folders.h"
#include "common/Guard.h"
#include "common/Services.h"
#include "installer/WinDirs.h"
#include "installer/mxStorage.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QPixmap>
#include <QScreen>

TfrmMain::TfrmMain(const TInstallerServices& Services, QWidget* Parent)
    : QWidget(Parent), Storage(new TmxStorage(this)), FServices(Services),
      FProcedure(*Storage, *Services.Folders) {
    setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(557, 351);
    QPalette White = palette();
    White.setColor(QPalette::Window, Qt::white);
    setPalette(White);
    if (const QScreen* Screen = screen())
        move(Screen->availableGeometry().center() - rect().center());

    Image1->setPixmap(QPixmap(QStringLiteral(":/qvs/banner_left.jpg")));
    Image2->setPixmap(QPixmap(QStringLiteral(":/qvs/banner_top.jpg")));
    // The picture stands to the right of the caption.
    for (QPushButton* Button : {btnContinue, btnInstall}) {
        Button->setIcon(QIcon(QStringLiteral(":/qvs/next.png")));
        Button->setLayoutDirection(Qt::RightToLeft);
    }
    btnInstall->lower();

    connect(btnContinue, &QPushButton::clicked, this,
            [this] { Guard([this] { btnContinueClick(); }); });
    connect(btnBack, &QPushButton::clicked, this, [this] { Guard([this] { btnBackClick(); }); });
    connect(btnInstall, &QPushButton::clicked, this, [this] { btnInstallClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });

    // The stored items come with the window.
    try {
        Storage->LoadFromFile(QvrFs::WinPathOfHost(FServices.ProgramFile));
    } catch (const EError& E) {
        ErrorBox(QStringLiteral("The installer is damaged: its stored files cannot be read (%1).")
                     .arg(E.Message()));
        FTerminated = true;
        return;
    }
    Guard([this] { FormCreate(); });
}

void TfrmMain::FormCreate() {
    setWindowTitle(QCoreApplication::applicationName());
    paMain->raise();
    edInstallDir->setText(AddTrailingBackslash(GetProgramFilesDir()) + QStringLiteral("Quorvane"));
}

void TfrmMain::Guard(const std::function<void()>& Handler) {
    RunGuarded(Handler, [this](const QString& Text) { ErrorBox(Text); });
}

void TfrmMain::ErrorBox(const QString& Text) {
    FServices.Dialogs->ShowMessage(this, TMsgKind::Error, QCoreApplication::applicationName(),
                                   Text);
}

void TfrmMain::Front(QWidget* Widget, bool Enabled) {
    Widget->setEnabled(Enabled);
    if (Enabled)
        Widget->raise();
    else
        Widget->lower();
}

// ---------------------------------------------------------------- page moves

void TfrmMain::btnContinueClick() {
    switch (FState) {
    case psWelcome:
        paInstallDir->raise();
        FState = psInstallDir;
        break;
    case psInstallDir:
        paOptions->raise();
        Front(btnContinue, false);
        Front(btnInstall, true);
        FState = psOptions;
        break;
    case psComplete:
        if (FFinish)
            close();
        break;
    default:
        break;
    }
}

void TfrmMain::btnBackClick() {
    switch (FState) {
    case psInstallDir:
        paMain->raise();
        FState = psWelcome;
        break;
    case psOptions:
        paInstallDir->raise();
        Front(btnContinue, true);
        Front(btnInstall, false);
        FState = psInstallDir;
        break;
    default:
        break;
    }
}

void TfrmMain::btnCancelClick() {
    close();
}

void TfrmMain::keyPressEvent(QKeyEvent* Event) {
    // Enter presses the default button: Continue or Install, whichever is usable.
    if (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) {
        for (QPushButton* Default : {btnContinue, btnInstall}) {
            if (Default->isVisible() && Default->isEnabled()) {
                Default->click();
                return;
            }
        }
    }
    QWidget::keyPressEvent(Event);
}

// ---------------------------------------------------------------- install

void TfrmMain::btnInstallClick() {
    if (FState != psOptions)
        return;
    btnBack->setEnabled(false);
    btnBack->hide();
    btnInstall->setEnabled(false);
    paExtractFiles->raise();
    FState = psInstalling;
    Guard([this] { Install(); });
}

void TfrmMain::Install() {
    const TInstallOptions Options{edInstallDir->text(), cbCreateShortcuts->isChecked(),
                                  cbAddDesktopShortcut->isChecked()};
    if (FProcedure.Install(Options, *this) == TInstallResult::Abandoned)
        return;
    paInstallComplete->raise();
    btnCancel->setEnabled(false);
    btnCancel->hide();
    btnContinue->setText(QStringLiteral("Finish"));
    FFinish = true;
    Front(btnContinue, true);
    FState = psComplete;
}

bool TfrmMain::ProcessPendingInput() {
    QCoreApplication::processEvents();
    return !FClosed;
}

void TfrmMain::SetStatus(const QString& Text) {
    laPath->setText(Text);
}

int TfrmMain::Position() const {
    return barProgress->value();
}

int TfrmMain::Maximum() const {
    return barProgress->maximum();
}

void TfrmMain::SetPosition(int Position) {
    barProgress->setValue(Position);
}

void TfrmMain::Pause(int Milliseconds) {
    // Paint the last status before the thread is held.
    repaint();
    if (FServices.Pause)
        FServices.Pause(Milliseconds);
}

// ---------------------------------------------------------------- closing

void TfrmMain::closeEvent(QCloseEvent* Event) {
    if (!FClosed && !FormCloseQuery()) {
        Event->ignore();
        return;
    }
    if (!FClosed) {
        FClosed = true;
        Guard([this] { FormClose(); });
    }
    Event->accept();
}

bool TfrmMain::FormCloseQuery() {
    if (FFinish)
        return true;
    FServices.Dialogs->Beep();
    return FServices.Dialogs->AskYesNo(
        this, QCoreApplication::applicationName(),
        QStringLiteral("This will abort the Quorvane installation, are you sure?"));
}

void TfrmMain::FormClose() {
    if (!cbLaunchQVR->isChecked() || FState != psComplete)
        return;
    if (FServices.ReleaseInstance)
        FServices.ReleaseInstance();
    FServices.Starter->ShellOpen(CLauncherFile, QString(), InstallDir());
}
