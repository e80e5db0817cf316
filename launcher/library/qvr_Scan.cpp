#include "launcher/library/qvr_Scan.h"

#include "common/FileSystem.h"
#include "common/Folders.h"
#include "common/ProfileFile.h"
#include "launcher/library/qvr_Library.h"

#include "common/Dialogs.h"
#include "launcher/shell/qvr_Controls.h"

#include <QShowEvent>
#include <QSignalBlocker>

#include "ui_qvr_Scan.h"

namespace {

const QString CFatalLanguage = QStringLiteral(
    "FATAL ERROR: Languages file was not found - reinstall Quorvane to fix this error.");

enum { CNameColumn = 0, CTypeColumn = 1 };

} // namespace

TfrmScan::TfrmScan(IShell& Shell, QWidget* Parent)
    : QDialog(Parent), FShell(Shell), FUi(std::make_unique<Ui::TfrmScan>()) {
    FUi->setupUi(this);
    setFixedSize(size());
    FUi->edFiles->header()->resizeSection(CNameColumn, 240);
    FUi->edFiles->header()->resizeSection(CTypeColumn, 90);
    connect(FUi->btnImport, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    FShell.Connect(FUi->btnPureScan, &QPushButton::clicked, this, [this] { btnPureScanClick(); });
    // Every change of an entry: added, its text set, ticked or cleared, or
    // its selection changed.
    QAbstractItemModel* Model = FUi->edFiles->model();
    FShell.Connect(Model, &QAbstractItemModel::rowsInserted, this, [this] { edFilesChange(); });
    FShell.Connect(Model, &QAbstractItemModel::dataChanged, this, [this] { edFilesChange(); });
    FShell.Connect(FUi->edFiles, &QTreeWidget::itemSelectionChanged, this,
                   [this] { edFilesChange(); });
}

TfrmScan::~TfrmScan() = default;

bool TfrmScan::LoadLanguage(const QString& Name) {
    const QString Path =
        FShell.AppDir() + QStringLiteral("Languages\\") + Name + QStringLiteral(".lang");
    const bool Found = QvrFs::FileExists(Path);
    if (!Found)
        FShell.Refuse(CFatalLanguage);
    // A missing file reads as empty: every text below becomes empty.
    const TProfileFile Lang(Path);
    const QString Captions = QStringLiteral("Captions");
    auto Caption = [&](const QWidget* C) { return Lang.ReadString(Captions, C->objectName(), {}); };
    // Group boxes, buttons, check boxes and labels; the list keeps its own.
    for (QWidget* C : findChildren<QWidget*>()) {
        if (auto* Group = qobject_cast<QGroupBox*>(C))
            Group->setTitle(Caption(C));
        else if (auto* Button = qobject_cast<QPushButton*>(C))
            Button->setText(Caption(C));
        else if (auto* Check = qobject_cast<QCheckBox*>(C))
            Check->setText(Caption(C));
        else if (auto* Label = qobject_cast<QLabel*>(C))
            Label->setText(LabelText(Caption(C)));
    }
    auto Str = [&](const char* Key) {
        return Lang.ReadString(QStringLiteral("Strings"), QLatin1String(Key), {});
    };
    FStrScan = Str("Scan");
    FStrScanning = Str("Scanning");
    FStrFilename = Str("Filename");
    FStrFiletype = Str("Filetype");
    FStrCamera = Str("Camera");
    FStrDemo = Str("Demo");
    FStrFilesFound = Str("FilesFound");
    FStrNoFilesFound = Str("NoFilesFound");
    FUi->edFiles->headerItem()->setText(CNameColumn, FStrFilename);
    FUi->edFiles->headerItem()->setText(CTypeColumn, FStrFiletype);
    return Found;
}

void TfrmScan::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    if (Event->spontaneous())
        return;
    CentreOnScreen(this);
    FShell.Guard([this] { FormShow(); });
}

void TfrmScan::FormShow() {
    FUi->btnPureScan->click();
}

void TfrmScan::btnPureScanClick() {
    setWindowTitle(ScanningCaption(FStrScanning, FStrNoFilesFound));
    {
        // Emptying the list is no change of an entry: the caption stays.
        const QSignalBlocker Quiet(FUi->edFiles);
        FUi->edFiles->clear();
    }
    FScanFolder = ScanFolderOf(GetMyDocumentsDir());
    for (const TScanEntry& Entry : ScanDemos(FScanFolder, FStrDemo, FStrCamera)) {
        auto* Item = new QTreeWidgetItem({Entry.Caption, Entry.TypeText});
        Item->setFlags(Item->flags() | Qt::ItemIsUserCheckable);
        Item->setCheckState(CNameColumn, Qt::Unchecked);
        FUi->edFiles->addTopLevelItem(Item);
    }
}

void TfrmScan::edFilesChange() {
    setWindowTitle(FilesFoundCaption(FStrScan, FUi->edFiles->topLevelItemCount(), FStrFilesFound));
}

QList<TScanEntry> TfrmScan::TickedEntries() const {
    QList<TScanEntry> Ticked;
    for (int I = 0; I < FUi->edFiles->topLevelItemCount(); ++I) {
        const QTreeWidgetItem* Item = FUi->edFiles->topLevelItem(I);
        if (Item->checkState(CNameColumn) == Qt::Checked)
            Ticked.append({Item->text(CNameColumn), Item->text(CTypeColumn)});
    }
    return Ticked;
}

TImportOptions TfrmScan::Options() const {
    return {FUi->cbDelete->isChecked(), FUi->cbOverwrite->isChecked()};
}

// ---------------------------------------------------------------- the library's handler

void TLibraryArea::btnScanClick() {
    if (!FShell.GameFound()) {
        FShell.Refuse(FShell.Texts().NoScan);
        return;
    }
    if (!PrepareScanFolder(GetMyDocumentsDir()))
        return;
    TfrmScan Scan(FShell, FShell.Window());
    if (!Scan.LoadLanguage(FHooks.CurrentLanguage ? FHooks.CurrentLanguage() : QString())) {
        // The program ends: the dialog would close as cancelled the moment
        // it opened, and nothing is imported.
        if (FHooks.RequestQuit)
            FHooks.RequestQuit();
        return;
    }
    // Without a Demos folder (the page never finished showing) the bare
    // names would be paths in the working folder. The file list is not
    // refreshed: Refresh shows the imported files.
    if (FShell.Services().Dialogs->RunModal(Scan) == QDialog::Accepted && !FDemosDir.isEmpty())
        ImportScanned(Scan.ScanFolder(), FDemosDir, Scan.TickedEntries(), Scan.DemoText(),
                      Scan.Options());
}
