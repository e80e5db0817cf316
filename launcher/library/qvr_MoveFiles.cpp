#include "launcher/library/qvr_MoveFiles.h"

#include "launcher/shell/qvr_Controls.h"

#include <QHeaderView>

#include "ui_qvr_MoveFiles.h"

TfrmMoveFiles::TfrmMoveFiles(QWidget* Parent)
    : QDialog(Parent), FUi(std::make_unique<Ui::TfrmMoveFiles>()) {
    FUi->setupUi(this);
    setFixedSize(size());
    FUi->edFiles->header()->resizeSection(0, 430);
    // Enter is the default button's; Esc and the close box cancel.
    connect(FUi->btnMoveFiles, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmMoveFiles::~TfrmMoveFiles() = default;

void TfrmMoveFiles::SetCaptions(const QString& Title, const QString& Label,
                                const QString& MoveFiles, const QString& Cancel) {
    setWindowTitle(Title);
    FUi->laMoveFiles->setText(LabelText(Label));
    FUi->btnMoveFiles->setText(MoveFiles);
    FUi->btnCancel->setText(Cancel);
}

void TfrmMoveFiles::AddFile(const QString& Caption, const QIcon& Image) {
    auto* Item = new QTreeWidgetItem(FUi->edFiles, {Caption});
    Item->setIcon(0, Image);
    Item->setFlags(Item->flags() | Qt::ItemIsUserCheckable);
    Item->setCheckState(0, Qt::Unchecked);
}

QStringList TfrmMoveFiles::CheckedFiles() const {
    QStringList Checked;
    for (int I = 0; I < FUi->edFiles->topLevelItemCount(); ++I) {
        const QTreeWidgetItem* Item = FUi->edFiles->topLevelItem(I);
        if (Item->checkState(0) == Qt::Checked)
            Checked << Item->text(0);
    }
    return Checked;
}

void TfrmMoveFiles::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    CentreOnScreen(this);
}
