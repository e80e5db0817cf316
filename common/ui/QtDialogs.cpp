#include "common/ui/QtDialogs.h"

#include <QDialog>

#include "common/FileSystem.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace {
// Texts join their paragraphs with a bare CR, which a Qt label does not break on.
QString DisplayText(QString Text) {
    Text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    Text.replace(u'\r', u'\n');
    return Text;
}
} // namespace

void TQtDialogs::ShowMessage(QWidget* Owner, TMsgKind Kind, const QString& Title,
                             const QString& Text) {
    QMessageBox::Icon Icon = QMessageBox::Critical;
    switch (Kind) {
    case TMsgKind::Error:
        Icon = QMessageBox::Critical;
        break;
    case TMsgKind::Warning:
        Icon = QMessageBox::Warning;
        break;
    case TMsgKind::Information:
        Icon = QMessageBox::Information;
        break;
    case TMsgKind::Confirmation:
        Icon = QMessageBox::Question;
        break;
    }
    QMessageBox Box(Icon, Title, DisplayText(Text), QMessageBox::Ok, Owner);
    Box.exec();
}

bool TQtDialogs::AskYesNo(QWidget* Owner, const QString& Title, const QString& Text) {
    QMessageBox Box(QMessageBox::Warning, Title, DisplayText(Text),
                    QMessageBox::Yes | QMessageBox::No, Owner);
    return Box.exec() != QMessageBox::No;
}

bool TQtDialogs::InputQuery(QWidget* Owner, const QString& Title, const QString& Prompt,
                            QString& Value) {
    QInputDialog Box(Owner);
    Box.setWindowTitle(Title);
    Box.setLabelText(Prompt);
    Box.setTextValue(Value);
    if (QLineEdit* Edit = Box.findChild<QLineEdit*>())
        Edit->setMaxLength(255);
    if (Box.exec() != QDialog::Accepted)
        return false;
    Value = Box.textValue();
    return true;
}

bool TQtDialogs::BrowseForFolder(QWidget* Owner, const QString& Title, QString& Folder) {
    const QString Host = QFileDialog::getExistingDirectory(Owner, Title, QDir::rootPath());
    if (Host.isEmpty())
        return false;
    Folder = QvrFs::WinPathOfHost(Host);
    while (Folder.endsWith(u'\\') && Folder.size() > 3)
        Folder.chop(1);
    return true;
}

void TQtDialogs::Beep() {
    QApplication::beep();
}

int TQtDialogs::RunModal(QDialog& Dialog) {
    return Dialog.exec();
}
