#include "launcher/sound/qvr_Sound.h"

#include "common/ProfileFile.h"
#include "launcher/shell/qvr_Controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
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
}

TAudioSettings TSoundArea::Values() const {
    return {FW.rbRenderToOutput->isChecked() ? QStringLiteral("outputdir")
                                             : QStringLiteral("projectdir"),
            FW.btnForceSnd->isChecked() ? QStringLiteral("1") : QStringLiteral("0"),
            FW.edSource->currentText(), FW.edDefSource->currentText(), FW.edOutputDir->text()};
}

void TSoundArea::LoadOutputDir() {
    FW.edOutputDir->setText(FShell.SettingsIni().ReadString(CAudio, QStringLiteral("output"), {}));
}

void TSoundArea::SelectStoredSources() {
    const TProfileFile& Ini = FShell.SettingsIni();
    const QString Src = Ini.ReadString(CAudio, QStringLiteral("src"), {});
    if (!Src.isEmpty()) {
        SelectByText(FW.edSource, Src);
        SelectSndSource();
    }
    const QString DefSrc = Ini.ReadString(CAudio, QStringLiteral("defsrc"), {});
    if (!DefSrc.isEmpty())
        SelectByText(FW.edDefSource, DefSrc);
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

void TSoundArea::FillRecordingSources(QComboBox*) {}

void TSoundArea::SelectSndSource() {}

void TSoundArea::FormClose() {}
