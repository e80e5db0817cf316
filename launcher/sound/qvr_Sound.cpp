#include "launcher/sound/qvr_Sound.h"

#include "common/Dialogs.h"
#include "common/Errors.h"
#include "common/FileSystem.h"
#include "common/Folders.h"
#include "common/ProfileFile.h"
#include "common/TextRules.h"
#include "launcher/library/qvr_Library.h"
#include "launcher/platform/ProcessList.h"
#include "launcher/playback/qvr_Run.h"
#include "launcher/shell/qvr_Controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

namespace {
const QString CAudio = QStringLiteral("AUDIO");
} // namespace

TSoundArea::TSoundArea(IShell& Shell, const TWidgets& W, const TLibraryArea& Library,
                       TRunPanel& RunPanel)
    : FShell(Shell), FW(W), FLibrary(Library), FRunPanel(RunPanel) {
    FTimer1 = new QTimer(this);
    FTimer1->setObjectName(QStringLiteral("Timer1"));
    FTimer1->setInterval(200);

    FShell.Connect(FW.edSource, &QComboBox::activated, this, [this] { SelectSndSource(); });
    FShell.Connect(FW.tbVolume, &QSlider::valueChanged, this, [this] { tbVolumeChange(); });
    FShell.Connect(FW.btnRefreshSources, &QToolButton::clicked, this,
                   [this] { btnRefreshSourcesClick(); });
    FShell.Connect(FW.SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    FShell.Connect(FTimer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

TSoundArea::~TSoundArea() {
    // The callback must not outlive the file it writes to.
    if (FCapturingSound)
        FShell.Services().Bass->ChannelStop(FRecordChannel);
}

TAudioSettings TSoundArea::Values() const {
    return {FW.rbRenderToOutput->isChecked() ? QStringLiteral("outputdir")
                                             : QStringLiteral("projectdir"),
            FW.btnForceSnd->isChecked() ? QStringLiteral("1") : QStringLiteral("0"),
            FW.edSource->currentText(), FW.edDefSource->currentText(), FW.edOutputDir->text()};
}

// ---------------------------------------------------------------- steps of others

void TSoundArea::LoadOutputDir() {
    FW.edOutputDir->setText(FShell.SettingsIni().ReadString(CAudio, QStringLiteral("output"), {}));
}

void TSoundArea::SelectStoredSources() {
    // The capture input is applied also when the stored one is gone: every
    // input is then switched off.
    if (SelectStored(FW.edSource, QStringLiteral("src")))
        SelectSndSource();
    SelectStored(FW.edDefSource, QStringLiteral("defsrc"));
}

void TSoundArea::ApplyLanguage() {
    FW.btnForceSnd->setText(
        FShell.GetLangString(QStringLiteral("btnForceSnd"), QStringLiteral("Captions")));
}

void TSoundArea::ArmCapture() {
    // Selection only: the input is switched by the capture itself.
    const QString Src = FShell.SettingsIni().ReadString(CAudio, QStringLiteral("src"), {});
    const int Index = Src.isEmpty() ? -1 : FW.edSource->findText(Src, Qt::MatchFixedString);
    if (Index >= 0) {
        const QSignalBlocker Quiet(FW.edSource);
        FW.edSource->setCurrentIndex(Index);
    }
    if (!FTimer1->isActive())
        FTimer1->start();
}

void TSoundArea::ForceSelectedInput() {
    if (FW.btnForceSnd->isChecked())
        SelectSndSource();
}

void TSoundArea::FormDestroy() {
    if (FCapturingSound)
        StopSoundCapture();
}

// ---------------------------------------------------------------- inputs

bool TSoundArea::SelectStored(QComboBox* List, const QString& Key) {
    const QString Name = FShell.SettingsIni().ReadString(CAudio, Key, {});
    if (Name.isEmpty())
        return false;
    SelectByText(List, Name);
    return true;
}

void TSoundArea::SwitchInputs(int Input) {
    IBass& Bass = *FShell.Services().Bass;
    for (int I = 0; Bass.RecordSetInput(I, IBass::CInputOff); ++I) {
    }
    Bass.RecordSetInput(Input, IBass::CInputOn);
}

void TSoundArea::FillRecordingSources(QComboBox* List) {
    IBass& Bass = *FShell.Services().Bass;
    QStringList Names;
    int LastOn = -1;
    for (int I = 0;; ++I) {
        const std::optional<QString> Name = Bass.RecordGetInputName(I);
        if (!Name)
            break;
        Names << *Name;
        if ((Bass.RecordGetInput(I) & IBass::CInputOff) == 0)
            LastOn = I;
    }
    SetComboItems(List, Names);
    List->setCurrentIndex(LastOn);
    SelectSndSource();
}

void TSoundArea::SelectSndSource() {
    SwitchInputs(FW.edSource->currentIndex());
    ShowSourceVolume(FW.edSource);
}

void TSoundArea::ShowSourceVolume(QComboBox* List) {
    // The track bar clamps the level; a changed position runs tbVolumeChange.
    const uint32_t State = FShell.Services().Bass->RecordGetInput(List->currentIndex());
    FW.tbVolume->setValue(static_cast<int>(State & IBass::CInputLevelMask));
}

void TSoundArea::tbVolumeChange() {
    FShell.Services().Bass->RecordSetInput(FW.edSource->currentIndex(),
                                           IBass::CInputLevel |
                                               static_cast<uint32_t>(FW.tbVolume->value()));
}

void TSoundArea::btnRefreshSourcesClick() {
    FillRecordingSources(FW.edSource);
    FillRecordingSources(FW.edDefSource);
}

void TSoundArea::FormClose() {
    // The user's own input back on; a capture that runs goes on.
    SwitchInputs(FW.edDefSource->currentIndex());
    ShowSourceVolume(FW.edDefSource);
}

void TSoundArea::taSoundCaptureShow() {
    const TProfileFile& Ini = FShell.SettingsIni();
    if (FW.edOutputDir->text().isEmpty() &&
        Ini.ReadString(CAudio, QStringLiteral("output"), {}).isEmpty())
        FW.edOutputDir->setText(FShell.AppDir() + QStringLiteral("Audio"));
    const QString RenderTo = Ini.ReadString(CAudio, QStringLiteral("renderto"), {});
    if (RenderTo == QLatin1String("projectdir"))
        FW.rbRenderToProject->setChecked(true);
    else if (RenderTo == QLatin1String("outputdir"))
        FW.rbRenderToOutput->setChecked(true);
    int Force = 0;
    FW.btnForceSnd->setChecked(
        TryStrToInt(Ini.ReadString(CAudio, QStringLiteral("forcesrc"), {}), Force) && Force == 1);
    // Selection only: the inputs keep what a choice already switched.
    SelectStored(FW.edSource, QStringLiteral("src"));
    SelectStored(FW.edDefSource, QStringLiteral("defsrc"));
}

void TSoundArea::SpeedButton2Click() {
    QString Folder;
    if (!FShell.Services().Dialogs->BrowseForFolder(
            FShell.Window(),
            FShell.GetLangString(QStringLiteral("SndOutputDir"), QStringLiteral("Strings")),
            Folder))
        return;
    FW.edOutputDir->setText(AddTrailingBackslash(Folder));
}

// ---------------------------------------------------------------- capture

void TSoundArea::Timer1Timer() {
    if (FInTick)
        return;
    const QScopedValueRollback<bool> Busy(FInTick, true);
    FShell.Guard([this] {
        const TProcessTick Tick(FShell.Services().Processes);
        if (FCapturingSound && FWriteFailed.load(std::memory_order_acquire))
            EndFailedCapture();
        if (FRunPanel.CaptureSoundTicked() && FRunPanel.IsBF2Running() && !FCapturingSound &&
            !FHalted)
            StartSoundCapture();
        if (!FRunPanel.IsBF2Running()) {
            if (FCapturingSound)
                StopSoundCapture();
            // The next appearance of the game is a new run.
            FStartFailed = false;
            FHalted = false;
        }
    });
}

void TSoundArea::StartSoundCapture() {
    QStringList Log;
    QString Failure;
    const bool Started = TryStartCapture(Log, Failure);
    const bool Quiet = !Started && FStartFailed;
    FCapturingSound = Started;
    FStartFailed = !Started;
    if (Quiet)
        return;
    for (const QString& Line : Log)
        FShell.LogLine(Line);
    if (!Failure.isEmpty())
        FShell.ErrorBox(Failure);
}

bool TSoundArea::TryStartCapture(QStringList& Log, QString& Failure) {
    const QString Name = QvrFs::ChangeFileExt(QvrFs::ExtractFileName(FLibrary.SelectedDemo()),
                                              QStringLiteral(".wav"));
    const QString PathLine = QStringLiteral("Recording sound to: [%s]");
    try {
        if (FW.rbRenderToProject->isChecked()) {
            Log << QStringLiteral("Sound output is: [Render to Project Directory]");
            // The project the chooser shows now, whichever the demo is from.
            FCapturePath = FLibrary.ShownProjectFolder() + Name;
            Log << FormatStr(PathLine, {FCapturePath});
            FCaptureStream.Create(FCapturePath);
        } else {
            const QString Folder = FW.edOutputDir->text();
            if (!QvrFs::DirectoryExists(Folder))
                QvrFs::CreateDir(Folder);
            FCapturePath = AddTrailingBackslash(Folder) + Name;
            FCaptureStream.Create(FCapturePath);
            Log << QStringLiteral("Sound output is: [Render to Output Directory]")
                << FormatStr(PathLine, {FCapturePath});
        }
        const int Input = FW.edSource->currentIndex();
        if (Input < 0) {
            // Nothing to record from: the file stays behind, empty.
            FCaptureStream.Finish();
            return false;
        }
        FCaptureStream.WriteHeader();
        SwitchInputs(Input);
    } catch (const EError& E) {
        Failure = E.Message();
        return false;
    }
    FWriteFailed.store(false, std::memory_order_relaxed);
    FRecordChannel =
        FShell.Services().Bass->RecordStart(44100, 2, 0, &TSoundArea::RecordProc, this);
    if (FRecordChannel == 0) {
        // The file keeps its bare header; it is closed before the box shows.
        FCaptureStream.Finish();
        Failure = QStringLiteral("Couldn't start recording!");
        return false;
    }
    return true;
}

int TSoundArea::RecordProc(uint32_t, const void* Buffer, uint32_t Length, void* User) {
    auto* Area = static_cast<TSoundArea*>(User);
    if (Area->FCaptureStream.Append(Buffer, Length))
        return 1;
    // Ends the recording; the watch completes the file.
    Area->FWriteFailed.store(true, std::memory_order_release);
    return 0;
}

void TSoundArea::StopSoundCapture() {
    FShell.Services().Bass->ChannelStop(FRecordChannel);
    FRecordChannel = 0;
    const bool Completed = FCaptureStream.Finish();
    FCapturingSound = false;
    if (FCaptureStream.WriteError() != 0)
        FShell.LogLine(WriteErrorText());
    FShell.LogLine(QStringLiteral("Stopped recording sound"));
    if (!Completed)
        FShell.ErrorBox(FormatStr(QStringLiteral("Write error on \"%s\"."), {FCapturePath}));
}

void TSoundArea::EndFailedCapture() {
    StopSoundCapture();
    FHalted = true;
    FShell.ErrorBox(WriteErrorText());
}

QString TSoundArea::WriteErrorText() const {
    return FormatStr(QStringLiteral("Write error on \"%s\". %s"),
                     {FCapturePath, qt_error_string(FCaptureStream.WriteError())});
}
