// The launcher's main window. It owns the launcher's state; each subsystem
// folder defines that subsystem's handlers of this class in its own files.
#pragma once

#include "launcher/shell/qvr_Services.h"

#include <QIcon>
#include <QList>
#include <QRandomGenerator>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

#include "ui_qvr_Main.h"

class QComboBox;
class QMenu;
class QAction;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class QLabel;
class QLineEdit;
class TProfileFile;

// The number of the current run mode; each mode button carries it in its Tag.
enum TRunMode {
    rmPlayUserCam = 0,
    rmPlayRecordedCam = 1,
    rmRecordCam = 2,
    rmRenderVideo = 3,
    rmTimeDemo = 5,
    rmSingleplayer = 6
};

// Remote-console state, set up at start-up.
struct TRconSession {
    QString LastChatLine;
    bool RconLoggedIn = false;
    QString SceneName;
    int TakeNumber = 1;
    bool ServerRecording = false;
};

// The launcher's version, and the shorter one of the window caption.
inline constexpr const char* CQvrVersion = "1.1.2";
inline constexpr const char* CQvrShortVersion = "1.1";

class TfrmMain : public QWidget, private Ui::TfrmMain {
    Q_OBJECT

public:
    explicit TfrmMain(const TLauncherServices& Services, QWidget* Parent = nullptr);
    ~TfrmMain() override;

    // True when start-up asked the program to end (a wrong audio library
    // version, or a missing language file).
    bool Terminated() const { return FTerminated; }
    bool QuitRequested() const { return FQuitRequested; }

    // Runs the destruction steps once (also run by the destructor).
    void FormDestroy();

    // ---- shell: lifecycle, log, language, game detection
    void LogLine(const QString& Msg);
    void LoadLanguage(const QString& Name);
    QString GetLangString(const QString& Ident, const QString& Section) const;
    QStringList ListFileNames(const QString& Dir, const QString& Mask) const;
    QString ReadBF2InstallDir() const;
    bool CheckBF2Exe();
    QString GetBF2Version() const;
    void WriteAssociationIcons();

    // ---- shell: settings page
    void taSettingsShow();
    void SpeedButton1Click();
    void btnSearchBF2DirClick();
    void edBFDirExit();
    void btnOkClick();
    // Steps of OK that the server and profile pages supply.
    void StoreServerPreset();
    void RewriteVideoCon();

    // ---- playback: presets, maps, run modes, process watch
    void edPresetsChange();
    void btnSavePresetClick();
    void FillMapsMenu(QMenu* Menu);
    void OnMapMenuClick(QAction* Item);
    void ConfigButtons(int Mode);
    void btnRunClick();
    bool IsBF2Running();

    // ---- library: projects, mods and file list
    void taZuruveZevoruviShow();
    QStringList ListProjects(const QStringList& Current) const;
    void FillModsMenu(QMenu* Owner, QMenu* Mods);
    void OnMODMenuClick(QAction* Item);
    void edDirsSelect();
    void FillFileList(const QString& Folder, QTreeWidget* List);
    void edFilesSelectItem(QTreeWidgetItem* Item);
    void btnRefreshClick();

    // ---- sound (the recording inputs are filled by the sound capture work)
    void FillRecordingSources(QComboBox* List);
    void SelectSndSource();

    // Shared state, named as the design names it.
    QString AppDir;
    QString CurrentLanguage;
    QString CurrentMod;
    QString DemosDir;
    QString SelectedSPMap;
    std::unique_ptr<TProfileFile> SettingsIni;
    std::unique_ptr<TProfileFile> PresetsIni;
    std::unique_ptr<TProfileFile> ServersIni;
    std::unique_ptr<TProfileFile> LanguageIni;
    TRconSession RconSession;
    int edDirsTag = 0;           // the project entry chosen last (-1: none)
    int RunMode = rmPlayUserCam; // the run button's Tag

    // Menus, timers and image lists made in code (the form holds the widgets).
    QMenu* menuFiles = nullptr;
    QMenu* menuModsMenu = nullptr; // the submenu behind the menuMods item
    QAction* menuMods = nullptr;
    QAction* menuEmpty2 = nullptr;
    QAction* menuNewProject = nullptr;
    QAction* menuRenameProject = nullptr;
    QAction* menuMoveFiles = nullptr;
    QMenu* menuMaps = nullptr;
    QTimer* BF2Catch = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* CatchDownload = nullptr;
    QList<QIcon> imgTabs, imgSelfCheck, imgFileIcons, imgMenuIcons;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();

    // Runs one handler the way the framework ran event handlers: an error that
    // escapes it is shown in the standard error box and the program goes on.
    void Guard(const std::function<void()>& Handler);
    // A refusal: the asterisk beep, then an error box with one OK button.
    void Refuse(const QString& Text);
    void ErrorBox(const QString& Text);
    void RequestQuit();

    void MakeCodeComponents();
    void ConnectShellHandlers();
    void ConnectPlaybackHandlers();
    void ConnectPresetHandlers();
    void ConnectLibraryHandlers();
    // The page's show handler, run guarded: an error in it is shown and
    // whoever switched the page goes on.
    void OnPageChanged(int Index);
    // A switch whose show-handler error ends the handler that switched.
    void SetActivePage(QWidget* Page);
    void PageShow(QWidget* Page);
    void SetSelfCheckValue(int Row, const QString& Value);
    void SetSelfCheckTitle(int Row, const QString& Title);
    void ApplyLanguageToComponents();
    void SelectByText(QComboBox* List, const QString& Text);
    void WriteAssociations();
    QString UnassignedText() const;
    QString ProjectFolder(const QString& Entry) const;
    // edPresets := the preset names, none selected.
    void ListPresets();

    TLauncherServices FServices;
    bool FTerminated = false;
    bool FQuitRequested = false;
    bool FShown = false;
    bool FPageSetByCode = false;
    bool FDestroyed = false;
    bool FGameFound = false;
    bool FBassStarted = false;
    QString FIconDir;
    // Seeded from the clock at start-up; draws the local server's password.
    QRandomGenerator FRandom;

    // The message texts of the current language.
    QString FStrParams1, FStrParams2, FStrUnknown, FStrBF2Version, FStrCamAndDemoFiles,
        FStrSelectDemo, FStrBFNotFound, FStrNoSettings, FStrNameCamera, FStrNameVideo,
        FStrSpecifyBFDir, FStrTimeDemo1, FStrTimeDemo2, FStrTimeDemo3, FStrRenderVideo1,
        FStrRenderVideo2, FStrRenderVideo3, FStrDemo, FStrNewPreset, FStrNamePreset, FStrNoScan;
};
