// The demo library of the ZuruveZevoruvi page: the current mod and its
// Demos folder, the project list, the file list that fills the demo and
// camera fields, the pop-up menu with the Mods submenu and the project
// operations (qvr_ProjectOps.cpp), and Scan and Import (qvr_Scan.cpp).
#pragma once

#include "launcher/shell/qvr_Shell.h"

#include <QIcon>
#include <QList>
#include <QObject>

#include <functional>

class QAction;
class QComboBox;
class QDialog;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

class TLibraryArea : public QObject {
    Q_OBJECT

public:
    struct TWidgets {
        QGroupBox* gbFiles;
        QComboBox* edDirs;
        QToolButton* btnOptions;
        QTreeWidget* edFiles;
        QLineEdit* edSelDemo;
        QLineEdit* edSelCam;
        QPushButton* btnRefresh;
        QPushButton* btnScan;
    };
    // Steps of other areas that the library's own steps include.
    struct THooks {
        // Showing the page refills the presets and applies the stored one.
        std::function<void()> ShowPresets;
        // A new current mod: its maps, and no map chosen.
        std::function<void()> ModChanged;
        // The name of the language the window speaks, for the Scan dialog.
        std::function<QString()> CurrentLanguage;
        // Asks the program to end (the Scan dialog found no language file).
        std::function<void()> RequestQuit;
    };

    TLibraryArea(IShell& Shell, const TWidgets& W);
    void SetHooks(const THooks& Hooks) { FHooks = Hooks; }

    QString CurrentMod() const { return FCurrentMod; }
    // The current mod's Demos folder, with a trailing backslash.
    QString DemosDir() const { return FDemosDir; }
    // The game-relative demo and camera values chosen in the file list.
    QString SelectedDemo() const;
    QString SelectedCamera() const;
    // The entry the project list shows, and its folder.
    QString ShownEntry() const;
    QString ShownProjectFolder() const;
    // The position of the entry chosen last (-1: none).
    int DirsTag() const { return FDirsTag; }
    // The Mods submenu of the file list's pop-up menu.
    QMenu* ModsMenu() const { return FMenuMods; }
    // The images of demo, camera and sound entries.
    const QList<QIcon>& FileIcons() const { return FFileIcons; }

    // Which of the demo and camera fields the run mode lets the user see as
    // in use.
    void SetFileFieldsEnabled(bool Demo, bool Camera);
    // Leaving the game folder's edit, and OK: the Demos folder of the mod
    // bf2, whatever mod is current, until the page is shown again.
    void UseBf2DemosDir();
    // Creates the Demos folder (one level) when it is missing and the game
    // was found; true when it did.
    bool CreateMissingDemosDir();
    // The first showing, after making the Demos folder: the projects afresh,
    // the Unassigned entry chosen.
    void ReloadProjects();
    // The caption of the file group, which names the current mod.
    void ApplyLanguage();

    void taZuruveZevoruviShow();
    // The Unassigned entry and the projects of the Demos folder; Current
    // when the folder cannot be searched.
    QStringList ListProjects(const QStringList& Current) const;
    void FillModsMenu();
    void OnMODMenuClick(QAction* Item);
    void edDirsSelect();
    void FillFileList(const QString& Folder, QTreeWidget* List);
    void edFilesSelectItem(QTreeWidgetItem* Item);
    void btnRefreshClick();

    void menuNewProjectClick();
    void menuRenameProjectClick();
    void menuMoveFilesClick();
    void btnScanClick();

private:
    QString UnassignedText() const;
    QString LangString(const char* Ident) const;
    // The input box for a project name, titled with the text of Title; false
    // on Cancel, and after the refusal of a name that is empty or would leave
    // the Demos folder.
    bool AskProjectName(const char* Title, QString& Name);
    // The text of the entry chosen; the Unassigned text when none is.
    QString ChosenEntry() const;
    // Reloads the project list and chooses the entry of Name, letter case
    // ignored (none when there is no such entry).
    void ReloadAndChoose(const QString& Name);
    void MakeMenu();

    IShell& FShell;
    const TWidgets FW;
    THooks FHooks;
    QString FCurrentMod;
    QString FDemosDir;
    int FDirsTag = 0;
    QList<QIcon> FFileIcons, FMenuIcons;
    QMenu* FMenuFiles = nullptr;
    QMenu* FMenuMods = nullptr;
};
