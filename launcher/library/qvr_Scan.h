// The Scan and Import dialog: the demos and cameras of the game's default
// profile, each with a check box, and the two import options. It reads its
// texts from the language file itself and scans each time it is shown; the
// library area runs it and imports what was ticked.
#pragma once

#include "launcher/library/ScanImport.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <memory>

class IShell;

namespace Ui {
class TfrmScan;
}

class TfrmScan : public QDialog {
    Q_OBJECT

public:
    TfrmScan(IShell& Shell, QWidget* Parent);
    ~TfrmScan() override;

    // Captions, texts and column titles from Languages\<Name>.lang. False when
    // that file is missing, after the fatal message: the texts are then empty.
    bool LoadLanguage(const QString& Name);
    void FormShow();
    void btnPureScanClick();
    void edFilesChange();

    // The folder of the last scan, and what the import needs of the dialog.
    QString ScanFolder() const { return FScanFolder; }
    QString DemoText() const { return FStrDemo; }
    QList<TScanEntry> TickedEntries() const;
    TImportOptions Options() const;

protected:
    void showEvent(QShowEvent* Event) override;

private:
    IShell& FShell;
    std::unique_ptr<Ui::TfrmScan> FUi;
    QString FScanFolder;
    QString FStrScan, FStrScanning, FStrFilename, FStrFiletype, FStrCamera, FStrDemo,
        FStrFilesFound, FStrNoFilesFound;
};
