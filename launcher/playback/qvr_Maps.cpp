// The singleplayer map menu: the level folders of the current mod.
#include "launcher/playback/qvr_Run.h"

#include "launcher/library/Library.h"
#include "launcher/library/qvr_Library.h"

#include <QAction>
#include <QMenu>

void TRunPanel::FillMapsMenu(QMenu* Menu) {
    if (!Menu)
        return;
    const std::optional<QStringList> Levels =
        ListSubfolders(LevelsDirOf(FShell.GameDir(), FLibrary.CurrentMod()));
    // A folder that cannot be read keeps the items the menu has.
    if (!Levels)
        return;
    qDeleteAll(Menu->actions());
    for (const QString& Name : *Levels) {
        // Owned by the window, as every menu item the window makes: a
        // language reload blanks them until the menu is filled again.
        auto* Item = new QAction(Name, FShell.Window());
        FShell.Connect(Item, &QAction::triggered, this, [this, Item] { OnMapMenuClick(Item); });
        Menu->addAction(Item);
    }
}

void TRunPanel::OnMapMenuClick(QAction* Item) {
    FSelectedSPMap = StripAccelerators(Item->text());
}
