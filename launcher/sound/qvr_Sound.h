// Sound capture: the recording inputs of the Sound Capture sub-page and the
// capture watch that records the game's sound while it plays a demo.
#pragma once

#include "launcher/shell/qvr_Shell.h"
#include "launcher/sound/WavCapture.h"

#include <QObject>

#include <atomic>
#include <cstdint>

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
    // A recording still running is stopped before its file goes (the file
    // completes itself as it closes).
    ~TSoundArea() override;

    QTimer* Timer1() const { return FTimer1; }
    TAudioSettings Values() const;
    // Whether a capture runs.
    bool CapturingSound() const { return FCapturingSound; }

    // Start-up steps: the stored output folder; the stored inputs selected
    // (the capture input also switched on).
    void LoadOutputDir();
    void SelectStoredSources();
    void ApplyLanguage();
    // A run that captures sound: the stored capture input selected (the
    // capture itself switches it on), and the capture watch started.
    void ArmCapture();
    // One tick of the game watch: while the Force button is down, the
    // capture input is switched on again (undoing other programs' changes).
    void ForceSelectedInput();
    // The window's destruction: a capture still running is stopped and its
    // file completed, so that no capture is left with a header of zero sizes.
    void FormDestroy();

    void FillRecordingSources(QComboBox* List);
    void SelectSndSource();
    void ShowSourceVolume(QComboBox* List);
    void tbVolumeChange();
    void btnRefreshSourcesClick();
    void FormClose();
    void taSoundCaptureShow();
    void SpeedButton2Click();

    // The capture watch, one tick: a capture starts when the game is seen
    // with Capture Sound ticked and stops when the game has gone.
    //
    // A tick that comes while a box of an earlier tick is open (the box's
    // loop lets the timer tick on) does nothing. A start that fails is
    // reported (its log lines and its box) once; the next ticks try again
    // quietly until a capture starts or the game has gone. A write that
    // fails (disk full, size limit) ends the recording: the next tick
    // completes the file with what it holds and reports the error, and no
    // capture starts again, which would replace that file, until the game
    // has gone.
    void Timer1Timer();

private:
    // Only the watch starts and stops a capture, so that a file is never
    // created anew while a recording still writes to it.
    void StartSoundCapture();
    void StopSoundCapture();
    // Selects the entry named by an [AUDIO] key; false, and the list left as
    // it is, when the key is empty.
    bool SelectStored(QComboBox* List, const QString& Key);
    // Every input off, then Input on (-1: none is switched on).
    void SwitchInputs(int Input);
    // The steps of a start; false when no recording runs after them. Log
    // gets the log lines, Failure the text of a box (empty: none).
    bool TryStartCapture(QStringList& Log, QString& Failure);
    // After a failed write: the capture stopped, completed and reported.
    void EndFailedCapture();
    // The failed write of the last capture, with the system's reason.
    QString WriteErrorText() const;
    // Called on the recording thread: appends the sound to the open file.
    static int RecordProc(uint32_t Channel, const void* Buffer, uint32_t Length, void* User);

    IShell& FShell;
    const TWidgets FW;
    const TLibraryArea& FLibrary;
    TRunPanel& FRunPanel;
    QTimer* FTimer1 = nullptr;

    // Written by the window's thread; while a recording runs, only its
    // callback touches the file and the failure flag.
    TWavCapture FCaptureStream;
    QString FCapturePath;
    uint32_t FRecordChannel = 0;
    bool FCapturingSound = false;
    std::atomic<bool> FWriteFailed{false};
    bool FInTick = false;
    // A start failed (and was reported) during this appearance of the game.
    bool FStartFailed = false;
    // A write failed during this appearance of the game: no new capture.
    bool FHalted = false;
};
