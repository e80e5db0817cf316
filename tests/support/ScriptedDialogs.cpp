#include "support/ScriptedDialogs.h"

#include <QDialog>
#include <gtest/gtest.h>

void TScriptedDialogs::ShowMessage(QWidget*, TMsgKind Kind, const QString& Title,
                                   const QString& Text) {
    FShown.append({TShownDialog::Message, Kind, Title, Text});
}

bool TScriptedDialogs::AskYesNo(QWidget*, const QString& Title, const QString& Text) {
    FShown.append({TShownDialog::Question, TMsgKind::Warning, Title, Text});
    if (FYesNo.isEmpty()) {
        ADD_FAILURE() << "unexpected question: " << Text.toStdString();
        return false;
    }
    return FYesNo.dequeue();
}

bool TScriptedDialogs::InputQuery(QWidget*, const QString& Title, const QString& Prompt,
                                  QString& Value) {
    FShown.append({TShownDialog::Input, TMsgKind::Confirmation, Title, Prompt});
    if (FInputs.isEmpty()) {
        ADD_FAILURE() << "unexpected input box: " << Prompt.toStdString();
        return false;
    }
    const QString Answer = FInputs.dequeue();
    if (Answer.isNull())
        return false;
    Value = Answer.left(255);
    return true;
}

bool TScriptedDialogs::BrowseForFolder(QWidget*, const QString& Title, QString& Folder) {
    FShown.append({TShownDialog::Folder, TMsgKind::Confirmation, Title, QString()});
    if (FFolders.isEmpty()) {
        ADD_FAILURE() << "unexpected folder picker";
        return false;
    }
    const QString Answer = FFolders.dequeue();
    if (Answer.isNull())
        return false;
    Folder = Answer;
    return true;
}

void TScriptedDialogs::Beep() {
    FShown.append({TShownDialog::Beep, TMsgKind::Error, {}, {}});
}

int TScriptedDialogs::RunModal(QDialog& Dialog) {
    FShown.append({TShownDialog::Form, TMsgKind::Confirmation, Dialog.objectName(), {}});
    Dialog.setResult(QDialog::Rejected);
    Dialog.show();
    if (FForms.isEmpty())
        ADD_FAILURE() << "unexpected form: " << Dialog.objectName().toStdString();
    else
        FForms.dequeue()(Dialog);
    if (Dialog.isVisible())
        Dialog.reject();
    return Dialog.result();
}

QStringList TScriptedDialogs::Messages() const {
    QStringList R;
    for (const TShownDialog& D : FShown)
        if (D.What == TShownDialog::Message)
            R << D.Text;
    return R;
}

int TScriptedDialogs::Beeps() const {
    int N = 0;
    for (const TShownDialog& D : FShown)
        N += D.What == TShownDialog::Beep;
    return N;
}

int TScriptedDialogs::Forms() const {
    int N = 0;
    for (const TShownDialog& D : FShown)
        N += D.What == TShownDialog::Form;
    return N;
}

void TScriptedDialogs::Clear() {
    // An answer queued for a box that never opened is a test that did not
    // go where it meant to; clearing must not hide it.
    EXPECT_TRUE(AllAnswersUsed()) << "an answer was queued for a box that never opened";
    FShown.clear();
    FYesNo.clear();
    FInputs.clear();
    FFolders.clear();
    FForms.clear();
}
