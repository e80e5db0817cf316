#include "launcher/library/qvr_Library.h"

#include "common/FileSystem.h"
#include "common/ProfileFile.h"
#include "common/TextRules.h"
#include "launcher/library/Library.h"
#include "launcher/shell/qvr_Controls.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelection>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// A file-list entry answers its caption and kind image itself: a project of
// thousands of files fills the list several times faster than by storing
// both values in every item.
class TFileItem : public QTreeWidgetItem {
public:
    TFileItem(QString Name, QIcon Image)
        : QTreeWidgetItem(UserType), FName(std::move(Name)), FImage(std::move(Image)) {}

    QVariant data(int Column, int Role) const override {
        if (Column == 0 && Role == Qt::DisplayRole)
            return FName;
        if (Column == 0 && Role == Qt::DecorationRole)
            return FImage;
        return QTreeWidgetItem::data(Column, Role);
    }

private:
    QString FName;
    QIcon FImage;
};

const QString CSettings = QStringLiteral("SETTINGS");
const QString CDefaultMod = QStringLiteral("defaultmod");

} // namespace

TLibraryArea::TLibraryArea(IShell& Shell, const TWidgets& W)
    : FShell(Shell), FW(W), FFileIcons(ImageList("imgFileIcons", 3)),
      FMenuIcons(ImageList("imgMenuIcons", 3)) {
    MakeMenu();
    // A user's choice only; whoever reloads the list calls edDirsSelect itself.
    FShell.Connect(FW.edDirs, &QComboBox::activated, this, [this] { edDirsSelect(); });
    // Each item whose selection changed, the one losing it first.
    FShell.Connect(FW.edFiles->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                   [this](const QItemSelection& Selected, const QItemSelection& Deselected) {
                       for (const QItemSelection* Changed : {&Deselected, &Selected})
                           for (const QModelIndex& Index : Changed->indexes())
                               if (Index.column() == 0)
                                   edFilesSelectItem(FW.edFiles->topLevelItem(Index.row()));
                   });
    FShell.Connect(FW.btnRefresh, &QPushButton::clicked, this, [this] { btnRefreshClick(); });
    FShell.Connect(FW.btnScan, &QPushButton::clicked, this, [this] { btnScanClick(); });
}

void TLibraryArea::MakeMenu() {
    // The file list's pop-up menu: Mods, a separator, the project operations.
    // Its items are the window's, so the language walk gives their captions.
    QWidget* Owner = FShell.Window();
    FMenuFiles = new QMenu(Owner);
    FMenuFiles->setObjectName(QStringLiteral("menuFiles"));
    FMenuMods = new QMenu(FMenuFiles);
    QAction* Mods = FMenuMods->menuAction();
    Mods->setParent(Owner);
    Mods->setObjectName(QStringLiteral("menuMods"));
    FMenuFiles->addAction(Mods);
    auto* Separator = new QAction(Owner);
    Separator->setObjectName(QStringLiteral("menuEmpty2"));
    Separator->setSeparator(true);
    FMenuFiles->addAction(Separator);
    const struct {
        const char* Name;
        int Image;
        void (TLibraryArea::*Click)();
    } Items[] = {{"menuNewProject", 1, &TLibraryArea::menuNewProjectClick},
                 {"menuRenameProject", -1, &TLibraryArea::menuRenameProjectClick},
                 {"menuMoveFiles", 2, &TLibraryArea::menuMoveFilesClick}};
    for (const auto& [Name, Image, Click] : Items) {
        auto* Item = new QAction(Owner);
        Item->setObjectName(QLatin1String(Name));
        if (Image >= 0)
            Item->setIcon(FMenuIcons.value(Image));
        FShell.Connect(Item, &QAction::triggered, this, [this, Click] { (this->*Click)(); });
        FMenuFiles->addAction(Item);
    }
    FW.btnOptions->setIcon(QIcon(QStringLiteral(":/qvr/buttons/options.png")));
    FW.btnOptions->setMenu(FMenuFiles);
    FW.btnOptions->setPopupMode(QToolButton::InstantPopup);
}

// ---------------------------------------------------------------- views

QString TLibraryArea::SelectedDemo() const {
    return FW.edSelDemo->text();
}

QString TLibraryArea::SelectedCamera() const {
    return FW.edSelCam->text();
}

QString TLibraryArea::ShownEntry() const {
    return FW.edDirs->currentText();
}

QString TLibraryArea::ShownProjectFolder() const {
    return ProjectFolderOf(FDemosDir, ProjectOfEntry(ShownEntry(), UnassignedText()));
}

void TLibraryArea::SetFileFieldsEnabled(bool Demo, bool Camera) {
    FW.edSelDemo->setEnabled(Demo);
    FW.edSelCam->setEnabled(Camera);
}

// ---------------------------------------------------------------- steps of others

void TLibraryArea::UseBf2DemosDir() {
    FDemosDir = DemosDirOf(FShell.GameDir(), QStringLiteral("bf2"));
}

bool TLibraryArea::CreateMissingDemosDir() {
    if (QvrFs::DirectoryExists(FDemosDir) || !FShell.GameFound())
        return false;
    QvrFs::CreateDir(FDemosDir);
    return true;
}

void TLibraryArea::ReloadProjects() {
    SetComboItems(FW.edDirs, ListProjects({}));
    FW.edDirs->setCurrentIndex(0);
    edDirsSelect();
}

void TLibraryArea::ApplyLanguage() {
    FW.gbFiles->setTitle(
        FormatStr(FShell.GetLangString(QStringLiteral("gbFiles"), QStringLiteral("Captions")),
                  {FCurrentMod}));
}

// ---------------------------------------------------------------- handlers

void TLibraryArea::taZuruveZevoruviShow() {
    const TProfileFile& Ini = FShell.SettingsIni();
    FCurrentMod = Ini.ValueExists(CSettings, CDefaultMod)
                      ? Ini.ReadString(CSettings, CDefaultMod, QString())
                      : QStringLiteral("bf2");
    ApplyLanguage();
    FDemosDir = DemosDirOf(FShell.GameDir(), FCurrentMod);

    // The stored preset overwrites the fields each time the page is shown.
    try {
        if (FHooks.ShowPresets)
            FHooks.ShowPresets();
    } catch (const std::exception&) {
    }

    SetComboItems(FW.edDirs, ListProjects(ComboItems(FW.edDirs)));
    // The position chosen last, not the name.
    if (FDirsTag >= 0 && FDirsTag < FW.edDirs->count())
        FW.edDirs->setCurrentIndex(FDirsTag);
    edDirsSelect();

    FillModsMenu();
}

QStringList TLibraryArea::ListProjects(const QStringList& Current) const {
    const std::optional<QStringList> Projects = ListSubfolders(FDemosDir);
    if (!Projects)
        return Current;
    return QStringList{UnassignedText()} + *Projects;
}

void TLibraryArea::FillModsMenu() {
    qDeleteAll(FMenuMods->actions());
    const QStringList Names =
        ListSubfolders(FShell.GameDir() + QStringLiteral("mods\\")).value_or(QStringList());
    for (const QString& Name : Names) {
        // Owned by the pop-up menu, so the language walk leaves the names alone.
        auto* Item = new QAction(Name, FMenuFiles);
        FShell.Connect(Item, &QAction::triggered, this, [this, Item] { OnMODMenuClick(Item); });
        FMenuMods->addAction(Item);
    }
}

void TLibraryArea::OnMODMenuClick(QAction* Item) {
    FCurrentMod = StripAccelerators(Item->text());
    FDemosDir = DemosDirOf(FShell.GameDir(), FCurrentMod);
    FShell.SettingsIni().WriteString(CSettings, CDefaultMod, FCurrentMod);
    if (!QvrFs::DirectoryExists(FDemosDir))
        QvrFs::CreateDir(FDemosDir);

    SetComboItems(FW.edDirs, ListProjects(ComboItems(FW.edDirs)));
    FW.edDirs->setCurrentIndex(FW.edDirs->count() > 0 ? 0 : -1);
    edDirsSelect();

    FShell.LogLine(FormatStr(QStringLiteral("Changed current mod to %s [%s]"),
                             {FCurrentMod, ModFolderOf(FShell.GameDir(), FCurrentMod)}));
    ApplyLanguage();
    if (FHooks.ModChanged)
        FHooks.ModChanged();
}

void TLibraryArea::edDirsSelect() {
    const QString Shown = FW.edDirs->currentText();
    FDirsTag =
        FW.edDirs->currentIndex() < 0 ? -1 : FW.edDirs->findText(Shown, Qt::MatchFixedString);
    FillFileList(ShownProjectFolder(), FW.edFiles);
}

void TLibraryArea::FillFileList(const QString& Folder, QTreeWidget* List) {
    const QList<TLibraryFile> Files = ListLibraryFiles(Folder);
    {
        // Emptying the list is no choice of the user: the values chosen stay.
        const QSignalBlocker Quiet(List->selectionModel());
        List->clear();
    }
    QList<QTreeWidgetItem*> Items;
    Items.reserve(Files.size());
    for (const TLibraryFile& File : Files)
        Items.append(new TFileItem(File.Name, FFileIcons.value(File.Image)));
    List->addTopLevelItems(Items);
}

void TLibraryArea::edFilesSelectItem(QTreeWidgetItem* Item) {
    if (!Item)
        return;
    const QString Caption = Item->text(0);
    const TFileKind Kind = FileKindOf(Caption);
    if (Kind == TFileKind::Other)
        return;
    const QString Value = LibraryFileValue(
        FCurrentMod, ProjectOfEntry(FW.edDirs->currentText(), UnassignedText()), Caption);
    (Kind == TFileKind::Demo ? FW.edSelDemo : FW.edSelCam)->setText(Value);
}

void TLibraryArea::btnRefreshClick() {
    try {
        const QString Shown = FW.edDirs->currentText();
        SetComboItems(FW.edDirs, ListProjects(ComboItems(FW.edDirs)));
        SelectByText(FW.edDirs, Shown);
        edDirsSelect();
    } catch (const std::exception&) {
    }
}

QString TLibraryArea::UnassignedText() const {
    return LangString("Unassigned");
}

QString TLibraryArea::LangString(const char* Ident) const {
    return FShell.GetLangString(QLatin1String(Ident), QStringLiteral("Strings"));
}
