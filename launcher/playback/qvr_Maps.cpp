// The singleplayer map menu.
#include "launcher/shell/qvr_Main.h"

void TfrmMain::FillMapsMenu(QMenu*) {}
void TfrmMain::OnMapMenuClick(QAction*) {}
