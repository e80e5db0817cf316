// Dialogs for tests: answers are queued before the action, and everything
// shown is recorded in order (a beep is recorded as its own event).
#pragma once

#include "common/Dialogs.h"

#include <QList>
#include <QQueue>
#include <QString>

#include <functional>

struct TShownDialog {
    enum TWhat { Beep, Message, Question, Input, Folder, Form } What;
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
    // A form is shown without a modal loop and handed to the next queued
    // answer, which acts on it as a user would (ticks items, clicks its
    // buttons). Its result is what those clicks left; a form the answer
    // leaves open counts as closed by its close box.
    int RunModal(QDialog& Dialog) override;

    void QueueYesNo(bool Yes) { FYesNo.enqueue(Yes); }
    // An input or folder answer; a null QString stands for Cancel.
    void QueueInput(const QString& Value) { FInputs.enqueue(Value); }
    void QueueFolder(const QString& Value) { FFolders.enqueue(Value); }
    void QueueForm(std::function<void(QDialog&)> Answer) { FForms.enqueue(std::move(Answer)); }

    const QList<TShownDialog>& Shown() const { return FShown; }
    QStringList Messages() const; // the texts of the message boxes, in order
    int Beeps() const;
    int Forms() const; // how many forms were run
    // Forgets what was shown; every queued answer must have been used.
    void Clear();
    // True when every queued answer was used.
    bool AllAnswersUsed() const {
        return FYesNo.isEmpty() && FInputs.isEmpty() && FFolders.isEmpty() && FForms.isEmpty();
    }

private:
    QList<TShownDialog> FShown;
    QQueue<bool> FYesNo;
    QQueue<QString> FInputs;
    QQueue<QString> FFolders;
    QQueue<std::function<void(QDialog&)>> FForms;
};
