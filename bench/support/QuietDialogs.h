// Boxes answered at once for benchmarks: a box waiting for a click would
// measure the user. Messages go to the error stream, so a bench that
// stumbles says why.
#pragma once

#include "common/Dialogs.h"

#include <QDialog>
#include <QString>

#include <cstdio>

class TQuietDialogs : public IDialogs {
public:
    void ShowMessage(QWidget*, TMsgKind, const QString&, const QString& Text) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(Text));
    }
    bool AskYesNo(QWidget*, const QString&, const QString&) override { return false; }
    bool InputQuery(QWidget*, const QString&, const QString&, QString&) override { return false; }
    bool BrowseForFolder(QWidget*, const QString&, QString&) override { return false; }
    void Beep() override {}
    int RunModal(QDialog&) override { return QDialog::Rejected; }
};
