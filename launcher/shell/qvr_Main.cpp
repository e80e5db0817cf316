#include "launcher/shell/qvr_Main.h"

#include "common/Dialogs.h"
#include "common/Errors.h"
#include "common/FileSystem.h"
#include "common/Folders.h"
#include "common/Guard.h"
#include "common/ProfileFile.h"
#include "common/TextRules.h"
#include "launcher/library/qvr_Bookmarks.h"
#include "launcher/library/qvr_Library.h"
#include "launcher/playback/qvr_Profiles.h"
#include "launcher/playback/qvr_Run.h"
#include "launcher/rcon/qvr_Rcon.h"
#include "launcher/shell/qvr_Settings.h"
#include "launcher/sound/qvr_Sound.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLocale>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QTime>
#include <QTimer>

namespace {

// The system's long time format without the time zone, which the clock of a
// log line has no use for.
QString LongTimeText(const QTime& Time) {
    QString Format = QLocale::system().timeFormat(QLocale::LongFormat);
    Format.remove(u't');
    return QLocale::system().toString(Time, Format.trimmed());
}

} // namespace

TfrmMain::TfrmMain(const TLauncherServices& Services, QWidget* Parent)
    : QWidget(Parent), FServices(Services) {
    FUi.setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(644, 544);
    // The top left corner until a stored position is applied.
    move(0, 0);
    MakeAreas();
    Guard([this] { FormCreate(); });
}

TfrmMain::~TfrmMain() {
    if (!FTerminated)
        FormDestroy();
}

// ---------------------------------------------------------------- shell services

TProfileFile& TfrmMain::SettingsIni() {
    return *FSettingsIni;
}

TProfileFile& TfrmMain::PresetsIni() {
    return *FPresetsIni;
}

TProfileFile& TfrmMain::ServersIni() {
    return *FServersIni;
}

QString TfrmMain::GameDir() const {
    return FSettings->GameDir();
}

bool TfrmMain::GameFound() const {
    return FSettings->GameFound();
}

void TfrmMain::LogLine(const QString& Msg) {
    FUi.edConsole->appendPlainText(
        QStringLiteral("[%1] %2").arg(LongTimeText(FServices.Clock->Now().time()), Msg));
}

void TfrmMain::Guard(const std::function<void()>& Handler) {
    RunGuarded(Handler, [this](const QString& Text) { ErrorBox(Text); });
}

void TfrmMain::ErrorBox(const QString& Text) {
    // Once the program is asked to end, a box would close the moment it
    // opened: it is not shown at all.
    if (FQuitRequested)
        return;
    FServices.Dialogs->ShowMessage(this, TMsgKind::Error, QCoreApplication::applicationName(),
                                   Text);
}

void TfrmMain::Refuse(const QString& Text) {
    FServices.Dialogs->Beep();
    ErrorBox(Text);
}

bool TfrmMain::Ask(const QString& Text) {
    return FServices.Dialogs->AskYesNo(this, QCoreApplication::applicationName(), Text);
}

void TfrmMain::RequestQuit() {
    // Posted: the program ends when its message loop next runs. A request
    // made during start-up, before that loop runs, is seen by main.
    FQuitRequested = true;
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

// ---------------------------------------------------------------- pages

void TfrmMain::OnPageChanged(QTabWidget* Pages, int Index) {
    QWidget* Left = FShownPage.value(Pages);
    QWidget* Shown = Pages->widget(Index);
    FShownPage.insert(Pages, Shown);
    Guard([&] { PageExit(Left); });
    if (!FPageSetByCode)
        Guard([&] { PageShow(Shown); });
}

void TfrmMain::SwitchToPage(QWidget* Page) {
    if (FUi.Pages->currentWidget() == Page)
        return;
    {
        const QScopedValueRollback<bool> ByCode(FPageSetByCode, true);
        FUi.Pages->setCurrentWidget(Page);
    }
    PageShow(Page);
}

void TfrmMain::PageShow(QWidget* Page) {
    for (const auto& [Shown, Handler] : FPageShow)
        if (Shown == Page)
            Handler();
}

void TfrmMain::PageExit(QWidget* Page) {
    for (const auto& [Left, Handler] : FPageExit)
        if (Left == Page)
            Handler();
}

void TfrmMain::keyPressEvent(QKeyEvent* Event) {
    // Enter presses the default button of the page shown, as a dialog would.
    if (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) {
        QWidget* Page = FUi.Pages->currentWidget();
        QPushButton* Default = Page == FUi.taZuruveZevoruvi ? FUi.btnRun
                               : Page == FUi.taSettings     ? FUi.btnOk
                               : Page == FUi.taBookmarks    ? FUi.btnDownload
                                                            : nullptr;
        if (Default && Default->isVisible() && Default->isEnabled()) {
            Default->click();
            return;
        }
    }
    QWidget::keyPressEvent(Event);
}

// ---------------------------------------------------------------- lifecycle

void TfrmMain::FormCreate() {
    FRcon->Reset();
    FUi.edConsole->clear();

    // The banner, without time stamps.
    const QDate Today = FServices.Clock->Now().date();
    FUi.edConsole->appendPlainText(
        QStringLiteral(" QUORVANE v%1 (%2)").arg(CQvrShortVersion, CQvrVersion));
    FUi.edConsole->appendPlainText(QString());
    FUi.edConsole->appendPlainText(u' ' + QLocale::system().toString(Today, QLocale::ShortFormat));
    FUi.edConsole->appendPlainText(QString());
    FUi.edConsole->appendPlainText(
        QStringLiteral(" \u00BB This console was written with debugging purposes in mind, "
                       "nothing more."));
    FUi.edConsole->appendPlainText(QString());
    LogLine(QStringLiteral("Quorvane was initiated"));

    if (FServices.Bass->GetVersion() != CBassVersion) {
        ErrorBox(QStringLiteral("BASS version 2.1 was not loaded!"));
        FTerminated = true;
        return;
    }
    FBassStarted = FServices.Bass->RecordInit(0) && FServices.Bass->Init(1, 44100, 0, this);
    if (!FBassStarted) {
        FServices.Bass->RecordFree();
        FServices.Bass->Free();
        ErrorBox(QStringLiteral("Cannot start default recording device!"));
    }
    FSound->FillRecordingSources(FUi.edSource);
    FSound->FillRecordingSources(FUi.edDefSource);

    setWindowTitle(QCoreApplication::applicationName() + QStringLiteral("  v") +
                   QLatin1String(CQvrShortVersion));
    FAppDir =
        AddTrailingBackslash(QvrFs::WinPathOfHost(QFileInfo(FServices.ProgramFile).absolutePath()));

    FSettingsIni = std::make_unique<TProfileFile>(FAppDir + QStringLiteral("Settings.ini"));
    FPresetsIni = std::make_unique<TProfileFile>(FAppDir + QStringLiteral("Presets.ini"));
    // Every preset's remote-console password is in it.
    FServersIni = std::make_unique<TProfileFile>(FAppDir + QStringLiteral("Servers.ini"),
                                                 QvrFs::TFileAccess::Private);
    // The watch timer runs from start-up on and is never stopped; its ticks
    // read the server presets, so it starts once their file is open.
    FRcon->BF2Catch()->start();

    FSettings->LoadGameDir();
    FSound->LoadOutputDir();
    FSettings->LoadAssociations();

    // The language list is filled also when the load fails.
    const QString Language = FSettings->ReadStoredLanguage();
    try {
        LoadLanguage(Language);
    } catch (...) {
        FSettings->FillLanguages();
        throw;
    }
    FSettings->FillLanguages();

    FSound->SelectStoredSources();
    FSettings->FillSelfCheck();
}

void TfrmMain::showEvent(QShowEvent* Event) {
    QWidget::showEvent(Event);
    if (!FShown && !Event->spontaneous()) {
        FShown = true;
        Guard([this] { FormShow(); });
    }
}

void TfrmMain::FormShow() {
    if (FSettingsIni->SectionExists(QStringLiteral("SETTINGS"))) {
        // An error in the page's show handler is shown and FormShow goes on.
        FUi.Pages->setCurrentWidget(FUi.taZuruveZevoruvi);
        FUi.gbConfig->setFocus();
    } else {
        FServices.Dialogs->Beep();
        ErrorBox(FTexts.NoSettings);
        FUi.Pages->setCurrentWidget(FUi.taSettings);
        FSettings->ProposeGameDir();
    }
    FUi.PagesSettings->setCurrentWidget(FUi.taGeneral);
    FSettings->CheckGame();

    // Top first; a bad top applies neither value, a bad left keeps the new top.
    try {
        const int Top =
            StrToInt(FSettingsIni->ReadString(QStringLiteral("WINDOW"), QStringLiteral("top"), {}));
        move(x(), Top);
        const int Left = StrToInt(
            FSettingsIni->ReadString(QStringLiteral("WINDOW"), QStringLiteral("left"), {}));
        move(Left, y());
    } catch (const EConvertError&) {
    }

    if (FLibrary->CreateMissingDemosDir())
        FLibrary->ReloadProjects();
}

void TfrmMain::closeEvent(QCloseEvent* Event) {
    Guard([this] { FormClose(); });
    QWidget::closeEvent(Event);
}

void TfrmMain::FormClose() {
    FSound->FormClose();
}

void TfrmMain::FormDestroy() {
    if (FDestroyed || FTerminated)
        return;
    FDestroyed = true;
    // Its ticks read the settings files, which are closed below.
    FRcon->BF2Catch()->stop();
    // A capture still running is completed first: its log line goes into
    // the log file.
    Guard([this] { FSound->FormDestroy(); });
    Guard([this] {
        FSettingsIni->WriteString(QStringLiteral("WINDOW"), QStringLiteral("top"),
                                  QString::number(y()));
        FSettingsIni->WriteString(QStringLiteral("WINDOW"), QStringLiteral("left"),
                                  QString::number(x()));
        FSettingsIni->WriteString(QStringLiteral("MISC"), QStringLiteral("preset"),
                                  FRunPanel->CurrentPreset());
        const QString Logs = FAppDir + QStringLiteral("Logs");
        if (!QvrFs::DirectoryExists(Logs))
            QvrFs::CreateDir(Logs);
        const QString Stamp = FServices.Clock->Now().toString(QStringLiteral("ddMMyy HHmm"));
        QvrFs::SaveLines(FAppDir + QStringLiteral("Logs\\QVR Log ") + Stamp + QStringLiteral(" v") +
                             QLatin1String(CQvrVersion) + QStringLiteral(".txt"),
                         FUi.edConsole->toPlainText().split(u'\n'));
        FSettingsIni.reset();
        FPresetsIni.reset();
        FLanguageIni.reset();
        FServersIni.reset();
        FServices.Bass->RecordFree();
        FServices.Bass->Free();
        FServices.Bass->Stop();
    });
}
