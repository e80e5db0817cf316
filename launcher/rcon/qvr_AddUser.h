// The Add player dialog: a player's name and the chat commands that every
// privileged player may use (shown ticked and fixed: there are no rights per
// command). The server area captions it, shows it and reads the name back.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmAddUser;
}

class TfrmAddUser : public QDialog {
    Q_OBJECT

public:
    // The name starts empty.
    explicit TfrmAddUser(QWidget* Parent);
    ~TfrmAddUser() override;

    void SetCaptions(const QString& Title, const QString& PlayerName, const QString& Privileges,
                     const QString& Add, const QString& Cancel);
    // The name as typed.
    QString PlayerName() const;

protected:
    void showEvent(QShowEvent* Event) override;

private:
    std::unique_ptr<Ui::TfrmAddUser> FUi;
};
