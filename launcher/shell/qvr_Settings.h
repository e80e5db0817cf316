// The Settings tab: its category buttons, the General sub-page (game folder,
// Self-Check list, file associations, language) and OK, which stores every
// sub-page's values and applies them.
#pragma once

#include "launcher/shell/qvr_Shell.h"

#include <QIcon>
#include <QList>
#include <QObject>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QWidget;
class TLibraryArea;
class TProfilesPage;
class TRconArea;
class TSoundArea;

class TSettingsArea : public QObject {
    Q_OBJECT

public:
    struct TWidgets {
        QTabWidget* PagesSettings;
        QWidget* taGeneral;
        QWidget* taServer;
        QToolButton* Categories[4];
        QWidget* SubPages[4];
        QTreeWidget* edDiagnostics;
        QLineEdit* edBFDir;
        QToolButton* btnSearchBF2Dir;
        QToolButton* SpeedButton1;
        QLineEdit* edMyDocs;
        QCheckBox* cbAssociateFiles;
        QComboBox* edLanguage;
        QLabel* laLangAuthor;
        QLabel* laLangDate;
        QPushButton* btnOk;
        QWidget* taZuruveZevoruvi; // the page OK ends on
    };
    // The areas whose values OK stores and whose steps it runs.
    struct TAreas {
        TLibraryArea& Library;
        TSoundArea& Sound;
        TRconArea& Rcon;
        TProfilesPage& Profiles;
    };

    TSettingsArea(IShell& Shell, const TWidgets& W, const TAreas& Areas);

    // The game folder: the text of the game-folder edit.
    QString GameDir() const;
    // Whether the game folder held BF2.exe when last checked.
    bool GameFound() const { return FGameFound; }

    // Start-up steps: the stored game folder; the stored file-association
    // choice (ticked, it writes the icons); the language list with Current
    // selected; the Self-Check rows.
    void LoadGameDir();
    void LoadAssociations();
    // The stored language ("English" when none), which becomes the current one.
    QString ReadStoredLanguage();
    QString CurrentLanguage() const { return FCurrentLanguage; }
    void FillLanguages();
    void FillSelfCheck();
    // The captions the language walk cannot give by name: the category
    // buttons; the language's author and date, and the Self-Check titles.
    void ApplyCategoryCaptions();
    void ApplyLanguageHeader(const QString& Author, const QString& Date);
    // The first showing without stored settings: the registry's game folder.
    void ProposeGameDir();
    // The first showing: the game check and the three Self-Check values.
    void CheckGame();

    void taSettingsShow();
    void SpeedButton1Click();
    void btnSearchBF2DirClick();
    void edBFDirExit();
    void btnOkClick();
    // FGameFound from BF2.exe in the game folder, shown in Self-Check row 0.
    void CheckBF2Exe();

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    // Self-Check row 1: whether the documents folder is known.
    void ShowDocumentsCheck();
    void SetSelfCheckValue(int Row, const QString& Value);
    void SetSelfCheckTitle(int Row, const QString& Title);
    void WriteAssociations();

    IShell& FShell;
    const TWidgets FW;
    TAreas FAreas;
    bool FGameFound = false;
    QString FCurrentLanguage;
    QList<QIcon> FSelfCheckImages;
};
