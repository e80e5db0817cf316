// Dialogs for tests: answers are queued before the action, and everything
// shown is recorded in order (a beep is recorded as its own event).
#pragma once

#include "common/Dialogs.h"

#include <QList>
#include <QQueue>
#include <QString>

struct TShownDialog {
    enum TWhat { Beep, Message, Question, Input, Folder } What;
    TMsgKind Kind = TMsgKind::Error;
    QString Title;
    QString Text;
};

class TScriptedDialogs : public IDialogs {
public:
    void ShowMessage(QWidget* Owner, TMsgKind Kind, const QString& Title,
                     const QString& Text) override;
    bool AskYesNo(QWidget* Owner, const QString& Title, const QString& Text) override;
    bool InputQuery(QWidget* Owner, const QString& Title, const QString& Prompt,
                    QString& Value) override;
    bool BrowseForFolder(QWidget* Owner, const QString& Title, QString& Folder) override;
    void Beep() override;

    void QueueYesNo(bool Yes) { FYesNo.enqueue(Yes); }
    // An input or folder answer; a null QString stands for Cancel.
    void QueueInput(const QString& Value) { FInputs.enqueue(Value); }
    void QueueFolder(const QString& Value) { FFolders.enqueue(Value); }

    const QList<TShownDialog>& Shown() const { return FShown; }
    QStringList Messages() const; // the texts of the message boxes, in order
    int Beeps() const;
    void Clear();
    // True when every queued answer was used.
    bool AllAnswersUsed() const {
        return FYesNo.isEmpty() && FInputs.isEmpty() && FFolders.isEmpty();
    }

private:
    QList<TShownDialog> FShown;
    QQueue<bool> FYesNo;
    QQueue<QString> FInputs;
    QQueue<QString> FFolders;
};
