// The window's wiring: the areas, the widgets each gets, and the steps that
// cross from one area to another.
#include "launcher/shell/qvr_Main.h"

#include "launcher/library/qvr_Bookmarks.h"
#include "launcher/library/qvr_Library.h"
#include "launcher/playback/qvr_Profiles.h"
#include "launcher/playback/qvr_Run.h"
#include "launcher/rcon/qvr_Rcon.h"
#include "launcher/shell/qvr_Controls.h"
#include "launcher/shell/qvr_Settings.h"
#include "launcher/sound/qvr_Sound.h"

#include <QPixmap>

void TfrmMain::MakeAreas() {
    Ui::TfrmMain& U = FUi;

    // Tab icons, and the help tab that the launcher never shows.
    const QList<QIcon> TabImages = ImageList("imgTabs", 6);
    const QPair<QWidget*, int> Icons[] = {{U.taZuruveZevoruvi, 0},
                                          {U.taBookmarks, 4},
                                          {U.taSettings, 1},
                                          {U.taConsole, 5},
                                          {U.taAbout, 3}};
    for (const auto& [Page, Icon] : Icons)
        U.Pages->setTabIcon(U.Pages->indexOf(Page), TabImages.value(Icon));
    U.Pages->setTabVisible(U.Pages->indexOf(U.taHelp), false);
    // The file list's one column is 235 pixels wide, room for whole names;
    // the other lists likewise get the widths the form gives.
    ApplyDefaultColumnWidths(this);

    FLibrary = std::make_unique<TLibraryArea>(
        *this, TLibraryArea::TWidgets{U.gbFiles, U.edDirs, U.btnOptions, U.edFiles, U.edSelDemo,
                                      U.edSelCam, U.btnRefresh, U.btnScan});
    FRunPanel = std::make_unique<TRunPanel>(
        *this,
        TRunPanel::TWidgets{{{U.btnPlayNoCam, U.laPlayDemoUserCam, rmPlayUserCam},
                             {U.btnPlayWithCam, U.laPlayDemoRecordedCam, rmPlayRecordedCam},
                             {U.btnPlayRecCam, U.laPlayDemoRecordCam, rmRecordCam},
                             {U.btnRender, U.laRenderVideo, rmRenderVideo},
                             {U.btnTimeDemo, U.laTimeDemo, rmTimeDemo},
                             {U.btnSP, U.laSingleplayer, rmSingleplayer}},
                            U.btnMaps,
                            U.edPresets,
                            U.btnSavePreset,
                            U.edWidth,
                            U.edHeight,
                            U.edPosX,
                            U.edPosY,
                            U.edFPS,
                            U.edFOV,
                            U.laWidth,
                            U.laHeight,
                            U.laFPS,
                            U.laFOV,
                            U.cbWinMode,
                            U.cbRenderStats,
                            U.edCamName,
                            U.edVideoName,
                            U.cbCaptureSound,
                            U.btnRun},
        *FLibrary);
    FSound = std::make_unique<TSoundArea>(
        *this,
        TSoundArea::TWidgets{U.edSource, U.edDefSource, U.btnRefreshSources, U.btnForceSnd,
                             U.tbVolume, U.rbRenderToProject, U.rbRenderToOutput, U.edOutputDir,
                             U.SpeedButton2},
        *FLibrary, *FRunPanel);
    FRcon = std::make_unique<TRconArea>(
        *this,
        TRconArea::TWidgets{U.edServers, U.SpeedButton4, U.edHost, U.edPort, U.edPass, U.cbReadChat,
                            U.edPlayers, U.edConsole, U.edCom, U.btnConnect, U.btnDisconnect},
        *FRunPanel, *FSound);
    FProfiles = std::make_unique<TProfilesPage>(
        *this, TProfilesPage::TWidgets{U.edProfile,
                                       U.edDemoQuality,
                                       {U.edTerrainQuality, U.edGeometryQuality, U.edLightQuality,
                                        U.edDynLightQuality, U.edDynShadow, U.edEffectsQuality,
                                        U.edTextureQuality, U.edTxtFilterQuality, U.edAntialias},
                                       U.tbViewDistance,
                                       U.laView});
    FBookmarks = std::make_unique<TBookmarksPage>(
        *this,
        TBookmarksPage::TWidgets{U.edMiniProfiles, U.edBookmarks, U.btnDownload, U.btnAbort,
                                 U.ProgressBar1, U.laDownloadInfo, U.laFilename},
        *FProfiles, *FLibrary);
    FSettings = std::make_unique<TSettingsArea>(
        *this,
        TSettingsArea::TWidgets{U.PagesSettings,
                                U.taGeneral,
                                U.taServer,
                                {U.btnSettingsCategories0Items0, U.btnSettingsCategories0Items1,
                                 U.btnSettingsCategories0Items2, U.btnSettingsCategories0Items3},
                                {U.taGeneral, U.taSoundCapture, U.taProfiles, U.taServer},
                                U.edDiagnostics,
                                U.edBFDir,
                                U.btnSearchBF2Dir,
                                U.SpeedButton1,
                                U.edMyDocs,
                                U.cbAssociateFiles,
                                U.edLanguage,
                                U.laLangAuthor,
                                U.laLangDate,
                                U.btnOk,
                                U.taZuruveZevoruvi},
        TSettingsArea::TAreas{*FLibrary, *FSound, *FRcon, *FProfiles});

    // Steps of one area that run another's.
    FLibrary->SetHooks({[this] { FRunPanel->ShowPresets(); }, [this] { FRunPanel->ModChanged(); },
                        [this] { return FSettings->CurrentLanguage(); },
                        [this] { RequestQuit(); }});
    FRunPanel->SetHooks({[this] { FSound->ArmCapture(); }});

    // The show handlers of the pages.
    FPageShow = {
        {U.taZuruveZevoruvi, [this] { FLibrary->taZuruveZevoruviShow(); }},
        // The picture is decoded when its page is first shown, not at start.
        {U.taAbout,
         [this] {
             if (FUi.Image1->pixmap().isNull())
                 FUi.Image1->setPixmap(QPixmap(QStringLiteral(":/qvr/about.jpg")));
         }},
        {U.taSettings, [this] { FSettings->taSettingsShow(); }},
        {U.taSoundCapture, [this] { FSound->taSoundCaptureShow(); }},
        {U.taProfiles, [this] { FProfiles->taProfilesShow(); }},
        {U.taBookmarks, [this] { FBookmarks->taBookmarksShow(); }},
        {U.taServer, [this] { FRcon->taServerShow(); }},
        {U.taConsole, [this] { FRcon->taConsoleShow(); }},
    };
    FPageExit = {
        {U.taServer, [this] { FRcon->taServerExit(); }},
    };
    for (QTabWidget* Pages : {U.Pages, U.PagesSettings}) {
        FShownPage.insert(Pages, Pages->currentWidget());
        connect(Pages, &QTabWidget::currentChanged, this,
                [this, Pages](int Index) { OnPageChanged(Pages, Index); });
    }
}
