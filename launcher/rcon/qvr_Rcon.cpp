// The server page's part of the settings OK.
#include "launcher/shell/qvr_Main.h"

void TfrmMain::StoreServerPreset() {}
