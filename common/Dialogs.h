// Every modal box and the beep go through this one interface, so that tests
// can queue answers and read back what was shown.
#pragma once

#include <QString>

class QDialog;
class QWidget;

enum class TMsgKind { Error, Warning, Information, Confirmation };

class IDialogs {
public:
    virtual ~IDialogs() = default;
    // A box with one OK button.
    virtual void ShowMessage(QWidget* Owner, TMsgKind Kind, const QString& Title,
                             const QString& Text) = 0;
    // A warning box with Yes and No; true for Yes.
    virtual bool AskYesNo(QWidget* Owner, const QString& Title, const QString& Text) = 0;
    // The input box: title, prompt, an edit of at most 255 characters. Returns
    // whether OK was pressed; only then is Value the edited text.
    virtual bool InputQuery(QWidget* Owner, const QString& Title, const QString& Prompt,
                            QString& Value) = 0;
    // The folder picker; returns the chosen folder's Windows-form path, or
    // false on Cancel.
    virtual bool BrowseForFolder(QWidget* Owner, const QString& Title, QString& Folder) = 0;
    // The information beep that comes before a refusal.
    virtual void Beep() = 0;
    // Runs a form of the program's own (Move files, Scan, Add player)
    // modally; its result (QDialog::Accepted or Rejected).
    virtual int RunModal(QDialog& Dialog) = 0;
};
