// Video presets.
#include "launcher/shell/qvr_Main.h"

void TfrmMain::ConnectPresetHandlers() {}
void TfrmMain::edPresetsChange() {}
void TfrmMain::btnSavePresetClick() {}
