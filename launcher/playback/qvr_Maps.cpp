// The singleplayer map menu: the level folders of the current mod.
#include "launcher/shell/qvr_Main.h"

#include "launcher/library/Library.h"

#include <QAction>
#include <QMenu>

void TfrmMain::FillMapsMenu(QMenu* Menu) {
    if (!Menu)
        return;
    const std::optional<QStringList> Levels = ListSubfolders(
        edBFDir->text() + QStringLiteral("mods\\") + CurrentMod + QStringLiteral("\\Levels\\"));
    // A folder that cannot be read keeps the items the menu has.
    if (!Levels)
        return;
    qDeleteAll(Menu->actions());
    for (const QString& Name : *Levels) {
        // Owned by the window, as every menu item the window makes.
        auto* Item = new QAction(Name, this);
        connect(Item, &QAction::triggered, this,
                [this, Item] { Guard([this, Item] { OnMapMenuClick(Item); }); });
        Menu->addAction(Item);
    }
}

void TfrmMain::OnMapMenuClick(QAction* Item) {
    SelectedSPMap = StripAccelerators(Item->text());
}
