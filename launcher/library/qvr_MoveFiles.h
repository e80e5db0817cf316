// The Move files dialog: a list of files with a check box each. It has no
// behaviour of its own: the library area fills it, shows it and reads back
// which files were checked.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QStringList>

#include <memory>

namespace Ui {
class TfrmMoveFiles;
}

class TfrmMoveFiles : public QDialog {
    Q_OBJECT

public:
    explicit TfrmMoveFiles(QWidget* Parent);
    ~TfrmMoveFiles() override;

    // The dialog's caption, the label above the list and the two buttons.
    void SetCaptions(const QString& Title, const QString& Label, const QString& MoveFiles,
                     const QString& Cancel);
    // Adds an unchecked item; its caption is the file's path relative to the
    // Demos folder.
    void AddFile(const QString& Caption, const QIcon& Image);
    // The captions of the checked items, first to last.
    QStringList CheckedFiles() const;

protected:
    void showEvent(QShowEvent* Event) override;

private:
    std::unique_ptr<Ui::TfrmMoveFiles> FUi;
};
