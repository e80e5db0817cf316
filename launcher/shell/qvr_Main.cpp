#include "launcher/shell/qvr_Main.h"

#include "common/Dialogs.h"
#include "common/Errors.h"
#include "common/FileSystem.h"
#include "common/Folders.h"
#include "common/ProfileFile.h"
#include "common/Registry.h"
#include "common/TextRules.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QPixmap>
#include <QRandomGenerator>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QTimer>

namespace {

const QString CFatalLanguage = QStringLiteral(
    "FATAL ERROR: Language file was not found - reinstall Quorvane to fix this error.");

QList<QIcon> LoadImageList(const QString& Name, int Count) {
    QList<QIcon> List;
    for (int I = 0; I < Count; ++I)
        List << QIcon(QStringLiteral(":/qvr/%1/%2.png").arg(Name).arg(I));
    return List;
}

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
    setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(644, 544);
    // The top left corner until a stored position is applied.
    move(0, 0);
    MakeCodeComponents();
    ConnectShellHandlers();
    ConnectPlaybackHandlers();
    ConnectPresetHandlers();
    ConnectLibraryHandlers();
    Guard([this] { FormCreate(); });
}

TfrmMain::~TfrmMain() {
    if (!FTerminated)
        FormDestroy();
}

void TfrmMain::MakeCodeComponents() {
    imgTabs = LoadImageList(QStringLiteral("imgTabs"), 6);
    imgSelfCheck = LoadImageList(QStringLiteral("imgSelfCheck"), 5);
    imgFileIcons = LoadImageList(QStringLiteral("imgFileIcons"), 3);
    imgMenuIcons = LoadImageList(QStringLiteral("imgMenuIcons"), 3);

    // Tab icons, and the help tab that the launcher never shows.
    const QList<QPair<QWidget*, int>> Icons = {
        {taZuruveZevoruvi, 0}, {taBookmarks, 4}, {taSettings, 1}, {taConsole, 5}, {taAbout, 3}};
    for (const auto& [Page, Icon] : Icons)
        Pages->setTabIcon(Pages->indexOf(Page), imgTabs.value(Icon));
    Pages->setTabVisible(Pages->indexOf(taHelp), false);
    PagesSettings->tabBar()->hide();
    Image1->setPixmap(QPixmap(QStringLiteral(":/qvr/about.jpg")));
    btnSearchBF2Dir->setIcon(QIcon(QStringLiteral(":/qvr/buttons/search.png")));
    btnSavePreset->setIcon(QIcon(QStringLiteral(":/qvr/buttons/save.png")));
    btnOptions->setIcon(QIcon(QStringLiteral(":/qvr/buttons/options.png")));
    btnMaps->setIcon(QIcon(QStringLiteral(":/qvr/buttons/maps.png")));
    const QPair<QToolButton*, int> Modes[] = {{btnPlayNoCam, 0},  {btnPlayWithCam, 1},
                                              {btnPlayRecCam, 2}, {btnRender, 3},
                                              {btnTimeDemo, 5},   {btnSP, 6}};
    for (const auto& [Button, Mode] : Modes)
        Button->setIcon(QIcon(QStringLiteral(":/qvr/modes/%1.png").arg(Mode)));

    // The file list's pop-up menu: Mods, a separator, the project operations.
    menuFiles = new QMenu(this);
    menuFiles->setObjectName(QStringLiteral("menuFiles"));
    menuModsMenu = new QMenu(menuFiles);
    menuMods = menuModsMenu->menuAction();
    menuMods->setParent(this);
    menuMods->setObjectName(QStringLiteral("menuMods"));
    menuFiles->addAction(menuMods);
    menuEmpty2 = new QAction(this);
    menuEmpty2->setObjectName(QStringLiteral("menuEmpty2"));
    menuEmpty2->setSeparator(true);
    menuFiles->addAction(menuEmpty2);
    auto MakeItem = [this](const char* Name, int Image) {
        auto* Item = new QAction(this);
        Item->setObjectName(QLatin1String(Name));
        if (Image >= 0)
            Item->setIcon(imgMenuIcons.value(Image));
        menuFiles->addAction(Item);
        return Item;
    };
    menuNewProject = MakeItem("menuNewProject", 1);
    menuRenameProject = MakeItem("menuRenameProject", -1);
    menuMoveFiles = MakeItem("menuMoveFiles", 2);
    btnOptions->setMenu(menuFiles);
    btnOptions->setPopupMode(QToolButton::InstantPopup);

    menuMaps = new QMenu(this);
    menuMaps->setObjectName(QStringLiteral("menuMaps"));
    btnMaps->setMenu(menuMaps);
    btnMaps->setPopupMode(QToolButton::MenuButtonPopup);
    laSingleplayer->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(laSingleplayer, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& At) { menuMaps->popup(laSingleplayer->mapToGlobal(At)); });

    auto MakeTimer = [this](const char* Name, int Interval) {
        auto* T = new QTimer(this);
        T->setObjectName(QLatin1String(Name));
        T->setInterval(Interval);
        return T;
    };
    BF2Catch = MakeTimer("BF2Catch", 1000);
    BF2Catch->setProperty("Tag", 1);
    Timer1 = MakeTimer("Timer1", 200);
    CatchDownload = MakeTimer("CatchDownload", 5000);
}

void TfrmMain::ConnectShellHandlers() {
    connect(Pages, &QTabWidget::currentChanged, this, &TfrmMain::OnPageChanged);
    QToolButton* Categories[] = {btnSettingsCategories0Items0, btnSettingsCategories0Items1,
                                 btnSettingsCategories0Items2, btnSettingsCategories0Items3};
    QWidget* SubPages[] = {taGeneral, taSoundCapture, taProfiles, taServer};
    for (int I = 0; I < 4; ++I)
        connect(Categories[I], &QToolButton::clicked, this, [this, Page = SubPages[I]] {
            Guard([&] { PagesSettings->setCurrentWidget(Page); });
        });
    connect(SpeedButton1, &QToolButton::clicked, this,
            [this] { Guard([this] { SpeedButton1Click(); }); });
    connect(btnSearchBF2Dir, &QAbstractButton::clicked, this,
            [this] { Guard([this] { btnSearchBF2DirClick(); }); });
    edBFDir->installEventFilter(this);
    connect(btnOk, &QPushButton::clicked, this, [this] { Guard([this] { btnOkClick(); }); });
}

bool TfrmMain::eventFilter(QObject* Watched, QEvent* Event) {
    // The game-folder edit's exit handler runs when the focus moves on to
    // another control: not for its own context menu, nor while another
    // window (the folder picker, another program) is active.
    if (Watched == edBFDir && Event->type() == QEvent::FocusOut) {
        const Qt::FocusReason Reason = static_cast<QFocusEvent*>(Event)->reason();
        if (Reason != Qt::PopupFocusReason && Reason != Qt::ActiveWindowFocusReason)
            Guard([this] { edBFDirExit(); });
    }
    return QWidget::eventFilter(Watched, Event);
}

void TfrmMain::OnPageChanged(int Index) {
    if (!FPageSetByCode)
        Guard([&] { PageShow(Pages->widget(Index)); });
}

void TfrmMain::SetActivePage(QWidget* Page) {
    if (Pages->currentWidget() == Page)
        return;
    {
        const QScopedValueRollback<bool> ByCode(FPageSetByCode, true);
        Pages->setCurrentWidget(Page);
    }
    PageShow(Page);
}

void TfrmMain::PageShow(QWidget* Page) {
    if (Page == taZuruveZevoruvi)
        taZuruveZevoruviShow();
    else if (Page == taSettings)
        taSettingsShow();
}

// ---------------------------------------------------------------- handlers

void TfrmMain::Guard(const std::function<void()>& Handler) {
    try {
        Handler();
    } catch (const EError& E) {
        ErrorBox(E.Message());
    } catch (const std::exception& E) {
        ErrorBox(QString::fromLocal8Bit(E.what()));
    }
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

void TfrmMain::RequestQuit() {
    // Posted: the program ends when its message loop next runs. A request
    // made during start-up, before that loop runs, is seen by main.
    FQuitRequested = true;
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

// ---------------------------------------------------------------- lifecycle

void TfrmMain::FormCreate() {
    // Remote-console state.
    RconSession.LastChatLine.clear();
    RconSession.RconLoggedIn = false;
    FRandom.seed(quint32(FServices.Clock->Now().toMSecsSinceEpoch()));
    RconSession.ServerRecording = false;
    RconSession.SceneName = QStringLiteral("Default");
    RconSession.TakeNumber = 1;

    edCom->clearEditText();
    edConsole->clear();

    // The banner, without time stamps.
    const QDate Today = FServices.Clock->Now().date();
    edConsole->appendPlainText(
        QStringLiteral(" QUORVANE v%1 (%2)").arg(CQvrShortVersion, CQvrVersion));
    edConsole->appendPlainText(QString());
    edConsole->appendPlainText(u' ' + QLocale::system().toString(Today, QLocale::ShortFormat));
    edConsole->appendPlainText(QString());
    edConsole->appendPlainText(
        QStringLiteral(" \u00BB This console was written with debugging purposes in mind, "
                       "nothing more."));
    edConsole->appendPlainText(QString());
    LogLine(QStringLiteral("Quorvane was initiated"));

    if (FServices.Bass->GetVersion() != 0x00010002) {
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
    FillRecordingSources(edSource);
    FillRecordingSources(edDefSource);

    setWindowTitle(QCoreApplication::applicationName() + QStringLiteral("  v") +
                   QLatin1String(CQvrShortVersion));
    AppDir =
        AddTrailingBackslash(QvrFs::WinPathOfHost(QFileInfo(FServices.ProgramFile).absolutePath()));

    SettingsIni = std::make_unique<TProfileFile>(AppDir + QStringLiteral("Settings.ini"));
    PresetsIni = std::make_unique<TProfileFile>(AppDir + QStringLiteral("Presets.ini"));
    ServersIni = std::make_unique<TProfileFile>(AppDir + QStringLiteral("Servers.ini"));

    edBFDir->setText(
        SettingsIni->ReadString(QStringLiteral("SETTINGS"), QStringLiteral("bf2dir"), {}));
    edOutputDir->setText(
        SettingsIni->ReadString(QStringLiteral("AUDIO"), QStringLiteral("output"), {}));

    // Held in one byte, as the setting always was: only the low 8 bits count.
    int Associate = 0;
    if (!TryStrToInt(SettingsIni->ReadString(QStringLiteral("WINDOWS"),
                                             QStringLiteral("associatefiles"), {}),
                     Associate))
        Associate = 0;
    if ((Associate & 0xFF) == 1) {
        cbAssociateFiles->setChecked(true);
        WriteAssociationIcons();
    } else {
        cbAssociateFiles->setChecked(false);
    }

    CurrentLanguage =
        SettingsIni->ValueExists(QStringLiteral("MISC"), QStringLiteral("language"))
            ? SettingsIni->ReadString(QStringLiteral("MISC"), QStringLiteral("language"), {})
            : QStringLiteral("English");

    auto FillLanguages = [this] {
        edLanguage->clear();
        edLanguage->addItems(
            ListFileNames(AppDir + QStringLiteral("Languages\\"), QStringLiteral("*.lang")));
        SelectByText(edLanguage, CurrentLanguage);
    };
    try {
        LoadLanguage(CurrentLanguage);
    } catch (...) {
        FillLanguages();
        throw;
    }
    FillLanguages();

    const QString Src = SettingsIni->ReadString(QStringLiteral("AUDIO"), QStringLiteral("src"), {});
    if (!Src.isEmpty()) {
        SelectByText(edSource, Src);
        SelectSndSource();
    }
    const QString DefSrc =
        SettingsIni->ReadString(QStringLiteral("AUDIO"), QStringLiteral("defsrc"), {});
    if (!DefSrc.isEmpty())
        SelectByText(edDefSource, DefSrc);

    edDiagnostics->clear();
    const QString Titles[] = {QStringLiteral("BF2.exe"),
                              GetLangString(QStringLiteral("MyDocs"), QStringLiteral("Strings")),
                              FStrBF2Version};
    for (int Row = 0; Row < 3; ++Row) {
        auto* Item = new QTreeWidgetItem(edDiagnostics, {Titles[Row], QString()});
        Item->setIcon(0, imgSelfCheck.value(Row));
        Item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    FGameFound = false;
    SetSelfCheckValue(1, GetLangString(GetMyDocumentsDir().isEmpty() ? QStringLiteral("NotFound")
                                                                     : QStringLiteral("Found"),
                                       QStringLiteral("Strings")));
}

void TfrmMain::showEvent(QShowEvent* Event) {
    QWidget::showEvent(Event);
    if (!FShown && !Event->spontaneous()) {
        FShown = true;
        Guard([this] { FormShow(); });
    }
}

void TfrmMain::FormShow() {
    if (SettingsIni->SectionExists(QStringLiteral("SETTINGS"))) {
        // An error in the page's show handler is shown and FormShow goes on.
        Pages->setCurrentWidget(taZuruveZevoruvi);
        gbConfig->setFocus();
    } else {
        FServices.Dialogs->Beep();
        ErrorBox(FStrNoSettings);
        Pages->setCurrentWidget(taSettings);
        edBFDir->setFocus();
        edBFDir->setText(ReadBF2InstallDir());
    }
    PagesSettings->setCurrentWidget(taGeneral);
    FGameFound = CheckBF2Exe();
    SetSelfCheckValue(1, GetLangString(GetMyDocumentsDir().isEmpty() ? QStringLiteral("NotFound")
                                                                     : QStringLiteral("Found"),
                                       QStringLiteral("Strings")));
    SetSelfCheckValue(2, GetBF2Version());

    // Top first; a bad top applies neither value, a bad left keeps the new top.
    try {
        const int Top =
            StrToInt(SettingsIni->ReadString(QStringLiteral("WINDOW"), QStringLiteral("top"), {}));
        move(x(), Top);
        const int Left =
            StrToInt(SettingsIni->ReadString(QStringLiteral("WINDOW"), QStringLiteral("left"), {}));
        move(Left, y());
    } catch (const EConvertError&) {
    }

    if (!QvrFs::DirectoryExists(DemosDir) && FGameFound) {
        QvrFs::CreateDir(DemosDir);
        edDirs->clear();
        edDirs->addItems(ListProjects({}));
        edDirs->setCurrentIndex(0);
        edDirsSelect();
    }
}

void TfrmMain::keyPressEvent(QKeyEvent* Event) {
    // Enter presses the default button of the page shown, as a dialog would.
    if (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) {
        QWidget* Page = Pages->currentWidget();
        QPushButton* Default = Page == taZuruveZevoruvi ? btnRun
                               : Page == taSettings     ? btnOk
                               : Page == taBookmarks    ? btnDownload
                                                        : nullptr;
        if (Default && Default->isVisible() && Default->isEnabled()) {
            Default->click();
            return;
        }
    }
    QWidget::keyPressEvent(Event);
}

void TfrmMain::closeEvent(QCloseEvent* Event) {
    Guard([this] { FormClose(); });
    QWidget::closeEvent(Event);
}

void TfrmMain::FormClose() {
    // The sound capture work restores the default recording input here.
}

void TfrmMain::FormDestroy() {
    if (FDestroyed || FTerminated)
        return;
    FDestroyed = true;
    Guard([this] {
        SettingsIni->WriteString(QStringLiteral("WINDOW"), QStringLiteral("top"),
                                 QString::number(y()));
        SettingsIni->WriteString(QStringLiteral("WINDOW"), QStringLiteral("left"),
                                 QString::number(x()));
        SettingsIni->WriteString(QStringLiteral("MISC"), QStringLiteral("preset"),
                                 edPresets->currentText());
        const QString Logs = AppDir + QStringLiteral("Logs");
        if (!QvrFs::DirectoryExists(Logs))
            QvrFs::CreateDir(Logs);
        const QString Stamp = FServices.Clock->Now().toString(QStringLiteral("ddMMyy HHmm"));
        QvrFs::SaveLines(AppDir + QStringLiteral("Logs\\QVR Log ") + Stamp + QStringLiteral(" v") +
                             QLatin1String(CQvrVersion) + QStringLiteral(".txt"),
                         edConsole->toPlainText().split(u'\n'));
        SettingsIni.reset();
        PresetsIni.reset();
        LanguageIni.reset();
        ServersIni.reset();
        FServices.Bass->RecordFree();
        FServices.Bass->Free();
        FServices.Bass->Stop();
    });
}

void TfrmMain::LogLine(const QString& Msg) {
    edConsole->appendPlainText(
        QStringLiteral("[%1] %2").arg(LongTimeText(FServices.Clock->Now().time()), Msg));
}

// ---------------------------------------------------------------- language

void TfrmMain::LoadLanguage(const QString& Name) {
    const QString Path = AppDir + QStringLiteral("Languages\\") + Name + QStringLiteral(".lang");
    if (!QvrFs::FileExists(Path)) {
        FServices.Dialogs->Beep();
        ErrorBox(CFatalLanguage);
        RequestQuit();
    }
    LanguageIni = std::make_unique<TProfileFile>(Path);
    ApplyLanguageToComponents();

    const QString Captions = QStringLiteral("Captions");
    const QString Strings = QStringLiteral("Strings");
    btnSettingsCategories0Items0->setText(GetLangString(QStringLiteral("btnGeneral"), Captions));
    btnSettingsCategories0Items1->setText(
        GetLangString(QStringLiteral("btnSoundCapture"), Captions));
    btnSettingsCategories0Items2->setText(GetLangString(QStringLiteral("btnProfiles"), Captions));
    btnSettingsCategories0Items3->setText(
        GetLangString(QStringLiteral("btnServerSettings"), Captions));
    gbFiles->setTitle(FormatStr(GetLangString(QStringLiteral("gbFiles"), Captions), {CurrentMod}));
    const char* Columns[] = {"bmServer", "bmMap", "bmDate", "bmURL"};
    for (int I = 0; I < 4; ++I)
        edBookmarks->headerItem()->setText(I, GetLangString(QLatin1String(Columns[I]), Strings));
    btnForceSnd->setText(GetLangString(QStringLiteral("btnForceSnd"), Captions));

    auto Str = [&](const char* Key) {
        return LanguageIni->ReadString(Strings, QLatin1String(Key), {});
    };
    FStrParams1 = Str("Params1");
    FStrParams2 = Str("Params2");
    FStrUnknown = Str("Unknown");
    FStrBF2Version = Str("BF2Version");
    FStrCamAndDemoFiles = Str("CamAndDemoFiles");
    FStrSelectDemo = Str("SelectDemo");
    FStrBFNotFound = Str("BFNotFound");
    FStrNoSettings = Str("NoSettings");
    FStrNameCamera = Str("NameCamera");
    FStrNameVideo = Str("NameVideo");
    FStrSpecifyBFDir = Str("SpecifyBFDir");
    FStrTimeDemo1 = Str("TimeDemo1");
    FStrTimeDemo2 = Str("TimeDemo2");
    FStrTimeDemo3 = Str("TimeDemo3");
    FStrRenderVideo1 = Str("RenderVideo1");
    FStrRenderVideo2 = Str("RenderVideo2");
    FStrRenderVideo3 = Str("RenderVideo3");
    FStrDemo = Str("Demo");
    FStrNewPreset = Str("NewPreset");
    FStrNamePreset = Str("NamePreset");
    FStrNoScan = Str("NoScan");

    laLangAuthor->setText(
        LanguageIni->ReadString(QStringLiteral("Header"), QStringLiteral("Author"), {}));
    laLangDate->setText(
        LanguageIni->ReadString(QStringLiteral("Header"), QStringLiteral("LastUpdate"), {}));

    if (edDiagnostics->topLevelItemCount() >= 3) {
        SetSelfCheckTitle(1, GetLangString(QStringLiteral("MyDocs"), Strings));
        SetSelfCheckTitle(2, FStrBF2Version);
    }
}

namespace {
// A label shows no accelerator: "&&" is one "&", a single "&" is dropped.
QString LabelText(const QString& Caption) {
    QString R;
    for (qsizetype I = 0; I < Caption.size(); ++I) {
        if (Caption[I] == u'&') {
            if (I + 1 < Caption.size() && Caption[I + 1] == u'&') {
                R += u'&';
                ++I;
            }
            continue;
        }
        R += Caption[I];
    }
    return R;
}
} // namespace

void TfrmMain::ApplyLanguageToComponents() {
    const QString Captions = QStringLiteral("Captions");
    auto Caption = [&](const QObject* C) {
        return LanguageIni->ReadString(Captions, C->objectName(), {});
    };
    // Children come container first, in the order the form made them.
    const QList<QObject*> Components = findChildren<QObject*>();
    for (QObject* C : Components) {
        if (auto* Group = qobject_cast<QGroupBox*>(C)) {
            Group->setTitle(Caption(C));
        } else if (auto* Check = qobject_cast<QCheckBox*>(C)) {
            Check->setText(Caption(C));
        } else if (auto* Radio = qobject_cast<QRadioButton*>(C)) {
            Radio->setText(Caption(C));
        } else if (auto* Button = qobject_cast<QPushButton*>(C)) {
            Button->setText(Caption(C));
        } else if (auto* Label = qobject_cast<QLabel*>(C)) {
            if (Label != Image1)
                Label->setText(LabelText(Caption(C)));
        } else if (auto* Action = qobject_cast<QAction*>(C)) {
            // Menu items the window owns; items owned by a menu keep their text.
            if (Action->parent() != this)
                continue;
            if (Action->objectName().left(9) == QLatin1String("menuEmpty"))
                Action->setSeparator(true);
            else
                Action->setText(GetLangString(Action->objectName(), Captions));
        } else if (auto* Page = qobject_cast<QWidget*>(C)) {
            // A tab sheet: the page of a tab control.
            QWidget* Stack = Page->parentWidget();
            auto* Tabs = Stack ? qobject_cast<QTabWidget*>(Stack->parentWidget()) : nullptr;
            if (Tabs && Tabs->indexOf(Page) >= 0)
                Tabs->setTabText(Tabs->indexOf(Page), Caption(C));
        }
    }
}

QString TfrmMain::GetLangString(const QString& Ident, const QString& Section) const {
    try {
        if (LanguageIni)
            return LanguageIni->ReadString(Section, Ident, {});
    } catch (...) {
    }
    return {};
}

QStringList TfrmMain::ListFileNames(const QString& Dir, const QString& Mask) const {
    QStringList List;
    for (const QvrFs::TSearchRec& R : QvrFs::FindFiles(Dir + Mask)) {
        const qsizetype Dot = R.Name.lastIndexOf(u'.');
        List << (Dot >= 0 ? R.Name.left(Dot) : R.Name);
    }
    return List;
}

void TfrmMain::SelectByText(QComboBox* List, const QString& Text) {
    for (int I = 0; I < List->count(); ++I)
        if (List->itemText(I).compare(Text, Qt::CaseInsensitive) == 0) {
            List->setCurrentIndex(I);
            return;
        }
    List->setCurrentIndex(-1);
}

// ---------------------------------------------------------------- game detection

QString TfrmMain::ReadBF2InstallDir() const {
    return ReadMachineString(
        QStringLiteral("\\SOFTWARE\\Electronic Arts\\EA GAMES\\Battlefield 2\\"),
        QStringLiteral("InstallDir"));
}

void TfrmMain::SetSelfCheckValue(int Row, const QString& Value) {
    if (QTreeWidgetItem* Item = edDiagnostics->topLevelItem(Row))
        Item->setText(1, Value);
}

void TfrmMain::SetSelfCheckTitle(int Row, const QString& Title) {
    if (QTreeWidgetItem* Item = edDiagnostics->topLevelItem(Row))
        Item->setText(0, Title);
}

bool TfrmMain::CheckBF2Exe() {
    const bool Found = QvrFs::FileExists(edBFDir->text() + QStringLiteral("BF2.exe"));
    SetSelfCheckValue(0, GetLangString(Found ? QStringLiteral("Found") : QStringLiteral("NotFound"),
                                       QStringLiteral("Strings")));
    return Found;
}

QString TfrmMain::GetBF2Version() const {
    if (!FGameFound)
        return FStrUnknown;
    const QStringList Lines =
        QvrFs::LoadLines(edBFDir->text() + QStringLiteral("mods\\bf2\\mod.desc"));
    QString Text;
    for (const QString& L : Lines)
        Text += L + QStringLiteral("\r\n");
    // The twelve characters right after the marker (or from the tenth on
    // without it), trimmed at both ends only.
    const qsizetype P = Text.indexOf(QStringLiteral("<version> ")) + 1;
    QString Version = Text.mid(P + 9, 12);
    qsizetype B = 0, E = Version.size();
    while (B < E && Version[B].unicode() <= 32)
        ++B;
    while (E > B && Version[E - 1].unicode() <= 32)
        --E;
    return Version.mid(B, E - B);
}
