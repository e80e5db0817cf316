// The real dialogs: Qt's message boxes, input box and folder picker.
#pragma once

#include "common/Dialogs.h"

class TQtDialogs : public IDialogs {
public:
    void ShowMessage(QWidget* Owner, TMsgKind Kind, const QString& Title,
                     const QString& Text) override;
    bool AskYesNo(QWidget* Owner, const QString& Title, const QString& Text) override;
    bool InputQuery(QWidget* Owner, const QString& Title, const QString& Prompt,
                    QString& Value) override;
    bool BrowseForFolder(QWidget* Owner, const QString& Title, QString& Folder) override;
    void Beep() override;
    int RunModal(QDialog& Dialog) override;
};
