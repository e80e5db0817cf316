// Projects, mods and the file list.
#include "launcher/shell/qvr_Main.h"

void TfrmMain::ConnectLibraryHandlers() {}
void TfrmMain::taZuruveZevoruviShow() {}
QStringList TfrmMain::ListProjects(const QStringList& Current) const { return Current; }
void TfrmMain::FillModsMenu(QMenu*, QMenu*) {}
void TfrmMain::OnMODMenuClick(QAction*) {}
void TfrmMain::edDirsSelect() {}
void TfrmMain::FillFileList(const QString&, QTreeWidget*) {}
void TfrmMain::edFilesSelectItem(QTreeWidgetItem*) {}
void TfrmMain::btnRefreshClick() {}
QString TfrmMain::UnassignedText() const { return {}; }
QString TfrmMain::ProjectFolder(const QString&) const { return {}; }
