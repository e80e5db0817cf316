#include "launcher/rcon/qvr_Rcon.h"

#include <QComboBox>
#include <QTimer>

TRconArea::TRconArea(IShell& Shell, const TWidgets& W, TRunPanel& RunPanel, TSoundArea& Sound)
    : FShell(Shell), FW(W), FRunPanel(RunPanel), FSound(Sound) {
    FBF2Catch = new QTimer(this);
    FBF2Catch->setObjectName(QStringLiteral("BF2Catch"));
    FBF2Catch->setInterval(1000);
    // The game-watch state: 1 until the game is seen.
    FBF2Catch->setProperty("Tag", 1);
}

QString TRconArea::SelectedPreset() const {
    return FW.edServers->currentText();
}

void TRconArea::Reset() {
    FSession = TRconSession();
    FW.edCom->clearEditText();
}

void TRconArea::StoreServerPreset() {}
