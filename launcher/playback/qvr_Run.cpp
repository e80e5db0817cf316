// Run modes and the start of the game.
#include "launcher/shell/qvr_Main.h"

void TfrmMain::ConnectPlaybackHandlers() {}
void TfrmMain::ConfigButtons(int) {}
void TfrmMain::btnRunClick() {}
bool TfrmMain::IsBF2Running() { return false; }
