// Sound capture: the recording inputs of the Sound Capture sub-page and the
// capture watch that records the game's sound while it plays a demo.
#pragma once

#include "launcher/shell/qvr_Shell.h"

#include <QObject>

class QComboBox;
class QLineEdit;
class QRadioButton;
class QSlider;
class QTimer;
class QToolButton;
class TLibraryArea;
class TRunPanel;

// The sub-page's values as the settings OK stores them.
struct TAudioSettings {
    QString RenderTo, ForceSrc, Src, DefSrc, Output;
};

class TSoundArea : public QObject {
    Q_OBJECT

public:
    struct TWidgets {
        QComboBox* edSource;
        QComboBox* edDefSource;
        QToolButton* btnRefreshSources;
        QToolButton* btnForceSnd;
        QSlider* tbVolume;
        QRadioButton* rbRenderToProject;
        QRadioButton* rbRenderToOutput;
        QLineEdit* edOutputDir;
        QToolButton* SpeedButton2;
    };

    TSoundArea(IShell& Shell, const TWidgets& W, const TLibraryArea& Library, TRunPanel& RunPanel);

    QTimer* Timer1() const { return FTimer1; }
    TAudioSettings Values() const;

    // Start-up steps: the stored output folder; the stored inputs selected
    // (the capture input also switched on).
    void LoadOutputDir();
    void SelectStoredSources();
    void ApplyLanguage();
    // A run that captures sound: the stored capture input selected (the
    // capture itself switches it on), and the capture watch started.
    void ArmCapture();

    void FillRecordingSources(QComboBox* List);
    void SelectSndSource();
    void FormClose();

private:
    IShell& FShell;
    const TWidgets FW;
    const TLibraryArea& FLibrary;
    TRunPanel& FRunPanel;
    QTimer* FTimer1 = nullptr;
};
