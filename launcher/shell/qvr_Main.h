// The launcher's main window: the form, its creation, first showing and
// destruction, the log, the language walk and page switching. The areas own
// their state and handlers, each in its own folder:
//   TSettingsArea (shell/qvr_Settings)  taSettingsShow, SpeedButton1Click,
//       btnSearchBF2DirClick, edBFDirExit, btnOkClick, game detection
//   TLibraryArea (library/qvr_Library)  taZuruveZevoruviShow, ListProjects,
//       FillModsMenu, OnMODMenuClick, edDirsSelect, FillFileList,
//       edFilesSelectItem, btnRefreshClick, menuNewProjectClick,
//       menuRenameProjectClick, menuMoveFilesClick (qvr_ProjectOps),
//       btnScanClick (qvr_Scan)
//   TRunPanel (playback/qvr_Run, qvr_Presets, qvr_Maps)
//       ConfigButtons, btnRunClick, edPresetsChange, btnSavePresetClick,
//       FillMapsMenu, OnMapMenuClick, IsBF2Running
//   TProfilesPage (playback/qvr_Profiles)  ListProfiles, taProfilesShow,
//       FillQualityCombo, edProfileSelectItem (through ApplyVideoSetting of
//       the VideoSettings unit), tbViewDistanceChange,
//       edProfileCustomDrawItem, the Video.con rewrite of OK (RewriteVideoCon)
//   TBookmarksPage (library/qvr_Bookmarks)  taBookmarksShow,
//       edMiniProfilesSelectItem, btnDownloadClick, btnAbortClick,
//       DownloadFile, DownloadProgress, the watchdog CatchDownload, the
//       bookmark column titles
//   TSoundArea (sound/qvr_Sound)  FillRecordingSources, SelectSndSource,
//       ShowSourceVolume, tbVolumeChange, btnRefreshSourcesClick,
//       taSoundCaptureShow, SpeedButton2Click, FormClose's inputs, the
//       capture watch Timer1Timer (StartSoundCapture, StopSoundCapture) and
//       the capture completed at destruction
//   TRconArea (rcon/qvr_Rcon)  the watch timer BF2CatchTimer with the client
//       BF2 (BF2Connected, BF2Disconnected), HandleChatCommand, the console
//       page (taConsoleShow, ConnectToBF2Server, edComKeyPress,
//       btnDisconnectClick, edConsoleEnter), the Servers sub-page
//       (taServerShow, edServersSelect, SpeedButton4Click,
//       menuAddPlayerClick with TfrmAddUser (qvr_AddUser),
//       menuRemovePlayerClick, taServerExit) and the preset save of OK
//       (StoreServerPreset)
// The window makes the areas and wires the steps that cross from one to
// another (qvr_Wiring.cpp).
#pragma once

#include "launcher/shell/qvr_Shell.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QStringList>
#include <QWidget>

#include <memory>

#include "ui_qvr_Main.h"

class TBookmarksPage;
class TLibraryArea;
class TProfileFile;
class TProfilesPage;
class TRconArea;
class TRunPanel;
class TSettingsArea;
class TSoundArea;

// The launcher's version, and the shorter one of the window caption.
inline constexpr const char* CQvrVersion = "1.1.2";
inline constexpr const char* CQvrShortVersion = "1.1";

class TfrmMain : public QWidget, public IShell {
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

    TSettingsArea& Settings() { return *FSettings; }
    TLibraryArea& Library() { return *FLibrary; }
    TRunPanel& RunPanel() { return *FRunPanel; }
    TSoundArea& Sound() { return *FSound; }
    TRconArea& Rcon() { return *FRcon; }
    TProfilesPage& Profiles() { return *FProfiles; }
    TBookmarksPage& Bookmarks() { return *FBookmarks; }

    // IShell
    QWidget* Window() override { return this; }
    const TLauncherServices& Services() const override { return FServices; }
    QString AppDir() const override { return FAppDir; }
    TProfileFile& SettingsIni() override;
    TProfileFile& PresetsIni() override;
    TProfileFile& ServersIni() override;
    QString GameDir() const override;
    bool GameFound() const override;
    void LogLine(const QString& Msg) override;
    QString GetLangString(const QString& Ident, const QString& Section) const override;
    const TMessageTexts& Texts() const override { return FTexts; }
    void LoadLanguage(const QString& Name) override;
    void SwitchToPage(QWidget* Page) override;
    void Guard(const std::function<void()>& Handler) override;
    void ErrorBox(const QString& Text) override;
    void Refuse(const QString& Text) override;
    bool Ask(const QString& Text) override;

protected:
    void showEvent(QShowEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void RequestQuit();

    // Makes the areas, handing each its widgets and the areas it calls, and
    // wires the steps that cross between them.
    void MakeAreas();
    // A page control shows another page: the exit handler of the page left,
    // then the show handler of the page shown, each run guarded: an error in
    // one is shown and whoever switched the page goes on.
    void OnPageChanged(QTabWidget* Pages, int Index);
    void PageShow(QWidget* Page);
    void PageExit(QWidget* Page);
    void ApplyLanguageToComponents();

    Ui::TfrmMain FUi;
    TLauncherServices FServices;
    std::unique_ptr<TLibraryArea> FLibrary;
    std::unique_ptr<TRunPanel> FRunPanel;
    std::unique_ptr<TSoundArea> FSound;
    std::unique_ptr<TRconArea> FRcon;
    std::unique_ptr<TProfilesPage> FProfiles;
    std::unique_ptr<TBookmarksPage> FBookmarks;
    std::unique_ptr<TSettingsArea> FSettings;
    // The show and exit handlers of the pages and sub-pages, and the page
    // each page control showed last.
    QList<QPair<QWidget*, std::function<void()>>> FPageShow, FPageExit;
    QHash<QTabWidget*, QWidget*> FShownPage;

    bool FTerminated = false;
    bool FQuitRequested = false;
    bool FShown = false;
    bool FPageSetByCode = false;
    bool FDestroyed = false;
    bool FBassStarted = false;
    QString FAppDir;
    std::unique_ptr<TProfileFile> FSettingsIni;
    std::unique_ptr<TProfileFile> FPresetsIni;
    std::unique_ptr<TProfileFile> FServersIni;
    std::unique_ptr<TProfileFile> FLanguageIni;
    TMessageTexts FTexts;
};
