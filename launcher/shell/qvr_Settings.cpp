// The Settings tab: its General sub-page, the game-folder picker and OK.
#include "launcher/shell/qvr_Main.h"

#include "common/Dialogs.h"
#include "common/FileSystem.h"
#include "common/Folders.h"
#include "common/ProfileFile.h"
#include "common/Registry.h"

#include <QFile>

void TfrmMain::taSettingsShow() {
    edMyDocs->setText(GetMyDocumentsDir());
    PagesSettings->setCurrentWidget(taGeneral);
}

void TfrmMain::SpeedButton1Click() {
    QString Folder;
    if (!FServices.Dialogs->BrowseForFolder(this, FStrSpecifyBFDir, Folder))
        return;
    edBFDir->setText(AddTrailingBackslash(Folder));
    FGameFound = CheckBF2Exe();
    SetSelfCheckValue(1, GetLangString(GetMyDocumentsDir().isEmpty() ? QStringLiteral("NotFound")
                                                                     : QStringLiteral("Found"),
                                       QStringLiteral("Strings")));
}

void TfrmMain::btnSearchBF2DirClick() {
    edBFDir->setText(ReadBF2InstallDir());
}

void TfrmMain::edBFDirExit() {
    edBFDir->setText(AddTrailingBackslash(edBFDir->text()));
    DemosDir = edBFDir->text() + QStringLiteral("mods\\bf2\\Demos\\");
    FGameFound = CheckBF2Exe();
}

void TfrmMain::btnOkClick() {
    edBFDir->setText(AddTrailingBackslash(edBFDir->text()));
    DemosDir = edBFDir->text() + QStringLiteral("mods\\bf2\\Demos\\");
    FGameFound = CheckBF2Exe();

    TProfileFile& Ini = *SettingsIni;
    Ini.WriteString(QStringLiteral("SETTINGS"), QStringLiteral("bf2dir"), edBFDir->text());
    Ini.WriteString(QStringLiteral("MISC"), QStringLiteral("language"), edLanguage->currentText());
    Ini.WriteString(QStringLiteral("WINDOWS"), QStringLiteral("associatefiles"),
                    cbAssociateFiles->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    Ini.WriteString(QStringLiteral("AUDIO"), QStringLiteral("renderto"),
                    rbRenderToOutput->isChecked() ? QStringLiteral("outputdir")
                                                  : QStringLiteral("projectdir"));
    Ini.WriteString(QStringLiteral("AUDIO"), QStringLiteral("forcesrc"),
                    btnForceSnd->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    Ini.WriteString(QStringLiteral("AUDIO"), QStringLiteral("src"), edSource->currentText());
    Ini.WriteString(QStringLiteral("AUDIO"), QStringLiteral("defsrc"), edDefSource->currentText());
    Ini.WriteString(QStringLiteral("AUDIO"), QStringLiteral("output"), edOutputDir->text());
    if (!edServers->currentText().isEmpty())
        Ini.WriteString(QStringLiteral("SERVERS"), QStringLiteral("selected"),
                        edServers->currentText());

    if (PagesSettings->currentWidget() == taServer && !edServers->currentText().isEmpty())
        StoreServerPreset();

    if (!QvrFs::DirectoryExists(DemosDir) && FGameFound)
        QvrFs::CreateDir(DemosDir);

    // The page's show handler runs here, with the language loaded before OK;
    // an error in it ends OK.
    SetActivePage(taZuruveZevoruvi);

    if (!edLanguage->currentText().isEmpty())
        LoadLanguage(edLanguage->currentText());
    CurrentLanguage = edLanguage->currentText();
    FGameFound = CheckBF2Exe();
    SetSelfCheckValue(1, GetLangString(GetMyDocumentsDir().isEmpty() ? QStringLiteral("NotFound")
                                                                     : QStringLiteral("Found"),
                                       QStringLiteral("Strings")));
    if (cbAssociateFiles->isChecked())
        WriteAssociations();
    RewriteVideoCon();
}

// ---------------------------------------------------------------- file associations

void TfrmMain::WriteAssociationIcons() {
    FIconDir = GetSystemDir() + QStringLiteral("\\qvr\\");
    if (!QvrFs::DirectoryExists(FIconDir))
        QvrFs::CreateDir(FIconDir);
    // Icons once written are the user's: never replaced.
    for (const char* Name : {"bf2demo", "bf2cam"}) {
        const QString Target = FIconDir + QLatin1String(Name) + QStringLiteral(".ico");
        if (QvrFs::FileExists(Target))
            continue;
        QFile Resource(QStringLiteral(":/qvr/ico/%1.ico").arg(QLatin1String(Name)));
        Resource.open(QIODevice::ReadOnly);
        QvrFs::WriteFile(Target, Resource.readAll());
    }
}

void TfrmMain::WriteAssociations() {
    WriteAssociationIcons();
    TRegistryFile Classes(ClassesRegistryPath(), QStringLiteral("\\Machine\\Software\\Classes"));
    const QString Command = QvrFs::WinPathOfHost(FServices.ProgramFile) + QStringLiteral(" %1");
    const QString Reg = QStringLiteral("Reg");
    const QPair<QString, QString> Values[] = {
        {QStringLiteral(".bf2demo"), QStringLiteral("BF2.Demo")},
        {QStringLiteral("BF2.Demo"), GetLangString(QStringLiteral("bf2demo"), Reg)},
        {QStringLiteral("BF2.Demo\\DefaultIcon"), FIconDir + QStringLiteral("bf2demo.ico")},
        {QStringLiteral("BF2.Demo\\Shell\\Open"), GetLangString(QStringLiteral("Open"), Reg)},
        {QStringLiteral("BF2.Demo\\Shell\\Open\\Command"), Command},
        {QStringLiteral(".bf2cam"), QStringLiteral("BF2.Camera")},
        {QStringLiteral("BF2.Camera"), GetLangString(QStringLiteral("bf2cam"), Reg)},
        {QStringLiteral("BF2.Camera\\DefaultIcon"), FIconDir + QStringLiteral("bf2cam.ico")},
        {QStringLiteral("BF2.Camera\\Shell\\Open"), GetLangString(QStringLiteral("Open"), Reg)},
        {QStringLiteral("BF2.Camera\\Shell\\Open\\Command"), Command},
    };
    for (const auto& [Key, Value] : Values)
        Classes.WriteString(Key, QString(), Value);
}
