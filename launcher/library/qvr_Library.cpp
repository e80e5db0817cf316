// Projects, mods and the file list of the ZuruveZevoruvi page.
#include "launcher/shell/qvr_Main.h"

#include "common/FileSystem.h"
#include "common/ProfileFile.h"
#include "common/TextRules.h"
#include "launcher/library/Library.h"

#include <QAction>
#include <QItemSelection>
#include <QMenu>
#include <QSignalBlocker>

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

QStringList Entries(const QComboBox* List) {
    QStringList Items;
    for (int I = 0; I < List->count(); ++I)
        Items << List->itemText(I);
    return Items;
}

// New entries with none selected: a list that was empty would otherwise pick
// its first entry by itself.
void SetEntries(QComboBox* List, const QStringList& Items) {
    List->clear();
    List->addItems(Items);
    List->setCurrentIndex(-1);
}

} // namespace

void TfrmMain::ConnectLibraryHandlers() {
    // A user's choice only; whoever reloads the list calls edDirsSelect itself.
    connect(edDirs, &QComboBox::activated, this, [this] { Guard([this] { edDirsSelect(); }); });
    // Each item whose selection changed, the one losing it first.
    connect(edFiles->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& Selected, const QItemSelection& Deselected) {
                Guard([&] {
                    for (const QItemSelection* Changed : {&Deselected, &Selected})
                        for (const QModelIndex& Index : Changed->indexes())
                            if (Index.column() == 0)
                                edFilesSelectItem(edFiles->topLevelItem(Index.row()));
                });
            });
    connect(btnRefresh, &QAbstractButton::clicked, this,
            [this] { Guard([this] { btnRefreshClick(); }); });
}

void TfrmMain::taZuruveZevoruviShow() {
    CurrentMod = SettingsIni->ValueExists(CSettings, CDefaultMod)
                     ? SettingsIni->ReadString(CSettings, CDefaultMod, QString())
                     : QStringLiteral("bf2");
    gbFiles->setTitle(FormatStr(
        GetLangString(QStringLiteral("gbFiles"), QStringLiteral("Captions")), {CurrentMod}));
    DemosDir =
        edBFDir->text() + QStringLiteral("mods\\") + CurrentMod + QStringLiteral("\\Demos\\");

    // The stored preset overwrites the fields each time the page is shown.
    try {
        ListPresets();
        if (SettingsIni->ValueExists(QStringLiteral("MISC"), QStringLiteral("preset"))) {
            SelectByText(edPresets, SettingsIni->ReadString(QStringLiteral("MISC"),
                                                            QStringLiteral("preset"), QString()));
            edPresetsChange();
        }
    } catch (const std::exception&) {
    }

    SetEntries(edDirs, ListProjects(Entries(edDirs)));
    // The position chosen last, not the name.
    if (edDirsTag >= 0 && edDirsTag < edDirs->count())
        edDirs->setCurrentIndex(edDirsTag);
    edDirsSelect();

    FillModsMenu(menuFiles, menuModsMenu);
}

QStringList TfrmMain::ListProjects(const QStringList& Current) const {
    const std::optional<QStringList> Projects = ListSubfolders(DemosDir);
    if (!Projects)
        return Current;
    return QStringList{UnassignedText()} + *Projects;
}

void TfrmMain::FillModsMenu(QMenu* Owner, QMenu* Mods) {
    qDeleteAll(Mods->actions());
    const QStringList Names =
        ListSubfolders(edBFDir->text() + QStringLiteral("mods\\")).value_or(QStringList());
    for (const QString& Name : Names) {
        // Owned by the pop-up menu, so the language walk leaves the names alone.
        auto* Item = new QAction(Name, Owner);
        connect(Item, &QAction::triggered, this,
                [this, Item] { Guard([this, Item] { OnMODMenuClick(Item); }); });
        Mods->addAction(Item);
    }
}

void TfrmMain::OnMODMenuClick(QAction* Item) {
    CurrentMod = StripAccelerators(Item->text());
    DemosDir =
        edBFDir->text() + QStringLiteral("mods\\") + CurrentMod + QStringLiteral("\\Demos\\");
    SettingsIni->WriteString(CSettings, CDefaultMod, CurrentMod);
    if (!QvrFs::DirectoryExists(DemosDir))
        QvrFs::CreateDir(DemosDir);

    SetEntries(edDirs, ListProjects(Entries(edDirs)));
    edDirs->setCurrentIndex(edDirs->count() > 0 ? 0 : -1);
    edDirsSelect();

    LogLine(FormatStr(QStringLiteral("Changed current mod to %s [%s]"),
                      {CurrentMod, edBFDir->text() + QStringLiteral("mods\\") + CurrentMod}));
    gbFiles->setTitle(FormatStr(
        GetLangString(QStringLiteral("gbFiles"), QStringLiteral("Captions")), {CurrentMod}));
    FillMapsMenu(menuMaps);
    SelectedSPMap.clear();
}

void TfrmMain::edDirsSelect() {
    const QString Shown = edDirs->currentText();
    edDirsTag = edDirs->currentIndex() < 0 ? -1 : edDirs->findText(Shown, Qt::MatchFixedString);
    FillFileList(ProjectFolder(Shown), edFiles);
}

void TfrmMain::FillFileList(const QString& Folder, QTreeWidget* List) {
    const QList<TLibraryFile> Files = ListLibraryFiles(Folder);
    {
        // Emptying the list is no choice of the user: the values chosen stay.
        const QSignalBlocker Quiet(List->selectionModel());
        List->clear();
    }
    QList<QTreeWidgetItem*> Items;
    Items.reserve(Files.size());
    for (const TLibraryFile& File : Files)
        Items.append(new TFileItem(File.Name, imgFileIcons.value(File.Image)));
    List->addTopLevelItems(Items);
}

void TfrmMain::edFilesSelectItem(QTreeWidgetItem* Item) {
    if (!Item)
        return;
    const QString Caption = Item->text(0);
    const TFileKind Kind = FileKindOf(Caption);
    if (Kind == TFileKind::Other)
        return;
    const QString Value = LibraryFileValue(
        CurrentMod, ProjectOfEntry(edDirs->currentText(), UnassignedText()), Caption);
    (Kind == TFileKind::Demo ? edSelDemo : edSelCam)->setText(Value);
}

void TfrmMain::btnRefreshClick() {
    try {
        const QString Shown = edDirs->currentText();
        SetEntries(edDirs, ListProjects(Entries(edDirs)));
        SelectByText(edDirs, Shown);
        edDirsSelect();
    } catch (const std::exception&) {
    }
}

QString TfrmMain::UnassignedText() const {
    return GetLangString(QStringLiteral("Unassigned"), QStringLiteral("Strings"));
}

QString TfrmMain::ProjectFolder(const QString& Entry) const {
    return ProjectFolderOf(DemosDir, ProjectOfEntry(Entry, UnassignedText()));
}
