// The Profiles sub-page of the settings: the game's player profiles, the
// graphics settings and demo quality of the one chosen, and the rewrite of its
// Video.con when the settings are stored. The profile list and its bold
// drawing of the chosen profile also serve the Bookmarks page.
#pragma once

#include "launcher/playback/VideoSettings.h"
#include "launcher/shell/qvr_Shell.h"

#include <QIcon>
#include <QObject>

class QComboBox;
class QFont;
class QLabel;
class QSlider;
class QTreeWidget;
class QTreeWidgetItem;

class TProfilesPage : public QObject {
    Q_OBJECT

public:
    struct TWidgets {
        QTreeWidget* edProfile;
        QComboBox* edDemoQuality;
        // The lists of the settings, in TVideoControl order: every control
        // of the table but the view distance.
        QComboBox* Lists[vcAntialias + 1];
        QSlider* tbViewDistance;
        QLabel* laView;
    };

    TProfilesPage(IShell& Shell, const TWidgets& W);

    // What the page's controls show now.
    TVideoPage Shown() const;
    // The ID of the profile chosen in the page's list; empty when none.
    QString SelectedProfile() const;

    // Refills List with the profiles (caption: name, first sub-item: ID),
    // none selected; true when at least one was listed. Emptying the list is
    // no choice of the user: no selection handler runs for it.
    bool ListProfiles(QTreeWidget* List);
    // List draws its selected entry in bold from now on.
    void DrawSelectedBold(QTreeWidget* List);

    void taProfilesShow();
    void FillQualityCombo(QComboBox* List, bool WithOff);
    void edProfileSelectItem(QTreeWidgetItem* Item);
    void tbViewDistanceChange();
    static void edProfileCustomDrawItem(const QTreeWidgetItem* Item, QFont& Font);
    // The last step of the settings OK: the chosen profile's Video.con from
    // the page's controls, with its log lines; nothing when no profile is
    // chosen.
    void RewriteVideoCon();

private:
    // Sets the controls to Page; the track bar's change handler runs only
    // when its position changes.
    void Show(const TVideoPage& Page);
    // The [Strings] texts of the current language.
    TTextLookup Strings() const;

    IShell& FShell;
    const TWidgets FW;
    QIcon FProfileImage;
};
