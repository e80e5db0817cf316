// Run modes, presets, the singleplayer maps and the process watch.
#include "launcher/shell/qvr_Main.h"

void TfrmMain::ConnectPlaybackHandlers() {}
void TfrmMain::edPresetsChange() {}
void TfrmMain::btnSavePresetClick() {}
void TfrmMain::FillMapsMenu(QMenu*) {}
void TfrmMain::OnMapMenuClick(QAction*) {}
void TfrmMain::ConfigButtons(int) {}
void TfrmMain::btnRunClick() {}
bool TfrmMain::IsBF2Running() { return false; }
