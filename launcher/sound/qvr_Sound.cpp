// The recording inputs of the sound settings.
#include "launcher/shell/qvr_Main.h"

void TfrmMain::FillRecordingSources(QComboBox*) {}

void TfrmMain::SelectSndSource() {}
