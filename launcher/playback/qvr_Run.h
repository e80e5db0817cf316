// The run panel of the ZuruveZevoruvi page: the run modes, the video presets
// and the singleplayer maps, the parameter checks and the start of the game.
#pragma once

#include "launcher/playback/RunScript.h"
#include "launcher/shell/qvr_Shell.h"

#include <QObject>

#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class TLibraryArea;

// The label's text in pure red when not valid, else in the normal window-text
// colour. A null label (a field without one) is left alone.
void SetLabelValid(QLabel* Label, bool Valid);
// The edit's text is a whole number within Min..Max inclusive.
bool ValidateIntRange(QLineEdit* Edit, QLabel* Label, int Min, int Max);
// The edit's text is more than blanks.
bool ValidateNotEmpty(QLineEdit* Edit, QLabel* Label);

class TRunPanel : public QObject {
    Q_OBJECT

public:
    struct TModeButton {
        QToolButton* Button;
        QLabel* Label;
        TRunMode Mode;
    };
    struct TWidgets {
        TModeButton Modes[6];
        QToolButton* btnMaps;
        QComboBox* edPresets;
        QToolButton* btnSavePreset;
        QLineEdit *edWidth, *edHeight, *edPosX, *edPosY, *edFPS, *edFOV;
        QLabel *laWidth, *laHeight, *laFPS, *laFOV;
        QCheckBox* cbWinMode;
        QCheckBox* cbRenderStats;
        QLineEdit* edCamName;
        QLineEdit* edVideoName;
        QCheckBox* cbCaptureSound;
        QPushButton* btnRun;
    };
    struct THooks {
        // A run of the recorded camera with Capture Sound ticked.
        std::function<void()> ArmCapture;
    };

    TRunPanel(IShell& Shell, const TWidgets& W, TLibraryArea& Library);
    void SetHooks(const THooks& Hooks) { FHooks = Hooks; }

    int RunMode() const { return FRunMode; }
    QString SelectedSPMap() const { return FSelectedSPMap; }
    QMenu* MapsMenu() const { return FMenuMaps; }
    bool CaptureSoundTicked() const;
    // Whether the game runs now: asked afresh of the process list.
    bool IsBF2Running();

    // Showing the library's page: the presets afresh, the stored one applied.
    void ShowPresets();
    // A new current mod: its maps, and no map chosen.
    void ModChanged();
    // The preset in use, stored at exit.
    QString CurrentPreset() const;

    void ConfigButtons(int Mode);
    void btnRunClick();
    void edPresetsChange();
    void btnSavePresetClick();
    void FillMapsMenu(QMenu* Menu);
    void OnMapMenuClick(QAction* Item);

private:
    // edPresets := the preset names, none selected.
    void ListPresets();
    // Every field is checked, so that every label shows its field's state.
    bool ValidateParameters();
    TRunValues GatherValues() const;

    IShell& FShell;
    const TWidgets FW;
    TLibraryArea& FLibrary;
    THooks FHooks;
    int FRunMode = rmPlayUserCam;
    QString FSelectedSPMap;
    QMenu* FMenuMaps = nullptr;
};
