#include "launcher/rcon/qvr_AddUser.h"

#include "launcher/shell/qvr_Controls.h"

#include "ui_qvr_AddUser.h"

TfrmAddUser::TfrmAddUser(QWidget* Parent)
    : QDialog(Parent), FUi(std::make_unique<Ui::TfrmAddUser>()) {
    FUi->setupUi(this);
    setFixedSize(size());
    FUi->edName->clear();
    // Enter is the default button's; Esc and the close box cancel.
    connect(FUi->btnAdd, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmAddUser::~TfrmAddUser() = default;

void TfrmAddUser::SetCaptions(const QString& Title, const QString& PlayerName,
                              const QString& Privileges, const QString& Add,
                              const QString& Cancel) {
    setWindowTitle(Title);
    FUi->laPlayerName->setText(LabelText(PlayerName));
    FUi->gbPrivileges->setTitle(Privileges);
    FUi->btnAdd->setText(Add);
    FUi->btnCancel->setText(Cancel);
}

QString TfrmAddUser::PlayerName() const {
    return FUi->edName->text();
}

void TfrmAddUser::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    CentreOnScreen(this);
}
