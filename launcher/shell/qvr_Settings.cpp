#include "launcher/shell/qvr_Settings.h"

#include "common/Dialogs.h"
#include "common/FileSystem.h"
#include "common/Folders.h"
#include "common/ProfileFile.h"
#include "common/TextRules.h"
#include "launcher/library/qvr_Library.h"
#include "launcher/playback/qvr_Profiles.h"
#include "launcher/rcon/qvr_Rcon.h"
#include "launcher/shell/Associations.h"
#include "launcher/shell/DesktopFileTypes.h"
#include "launcher/shell/GameDetection.h"
#include "launcher/shell/qvr_Controls.h"
#include "launcher/sound/qvr_Sound.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

namespace {
const QString CStrings = QStringLiteral("Strings");

} // namespace

TSettingsArea::TSettingsArea(IShell& Shell, const TWidgets& W, const TAreas& Areas)
    : FShell(Shell), FW(W), FAreas(Areas), FSelfCheckImages(ImageList("imgSelfCheck", 5)) {
    FW.PagesSettings->tabBar()->hide();
    FW.btnSearchBF2Dir->setIcon(QIcon(QStringLiteral(":/qvr/buttons/search.png")));
    for (int I = 0; I < 4; ++I)
        FShell.Connect(FW.Categories[I], &QToolButton::clicked, this,
                       [this, Page = FW.SubPages[I]] { FW.PagesSettings->setCurrentWidget(Page); });
    FShell.Connect(FW.SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    FShell.Connect(FW.btnSearchBF2Dir, &QToolButton::clicked, this,
                   [this] { btnSearchBF2DirClick(); });
    FShell.Connect(FW.btnOk, &QPushButton::clicked, this, [this] { btnOkClick(); });
    FW.edBFDir->installEventFilter(this);
}

bool TSettingsArea::eventFilter(QObject* Watched, QEvent* Event) {
    // The game-folder edit's exit handler runs when the focus moves on to
    // another control: not for its own context menu, nor while another
    // window (the folder picker, another program) is active.
    if (Watched == FW.edBFDir && Event->type() == QEvent::FocusOut) {
        const Qt::FocusReason Reason = static_cast<QFocusEvent*>(Event)->reason();
        if (Reason != Qt::PopupFocusReason && Reason != Qt::ActiveWindowFocusReason)
            FShell.Guard([this] { edBFDirExit(); });
    }
    return QObject::eventFilter(Watched, Event);
}

QString TSettingsArea::GameDir() const {
    return FW.edBFDir->text();
}

// ---------------------------------------------------------------- start-up

void TSettingsArea::LoadGameDir() {
    FW.edBFDir->setText(
        FShell.SettingsIni().ReadString(QStringLiteral("SETTINGS"), QStringLiteral("bf2dir"), {}));
}

void TSettingsArea::LoadAssociations() {
    // Only the low byte of the stored number counts.
    int Associate = 0;
    if (!TryStrToInt(FShell.SettingsIni().ReadString(QStringLiteral("WINDOWS"),
                                                     QStringLiteral("associatefiles"), {}),
                     Associate))
        Associate = 0;
    FW.cbAssociateFiles->setChecked((Associate & 0xFF) == 1);
    if (FW.cbAssociateFiles->isChecked())
        WriteAssociationIcons();
}

QString TSettingsArea::ReadStoredLanguage() {
    const TProfileFile& Ini = FShell.SettingsIni();
    FCurrentLanguage = Ini.ValueExists(QStringLiteral("MISC"), QStringLiteral("language"))
                           ? Ini.ReadString(QStringLiteral("MISC"), QStringLiteral("language"), {})
                           : QStringLiteral("English");
    return FCurrentLanguage;
}

void TSettingsArea::FillLanguages() {
    FW.edLanguage->clear();
    for (const QvrFs::TSearchRec& R :
         QvrFs::FindFiles(FShell.AppDir() + QStringLiteral("Languages\\*.lang")))
        FW.edLanguage->addItem(QvrFs::ChangeFileExt(R.Name, QString()));
    SelectByText(FW.edLanguage, FCurrentLanguage);
}

void TSettingsArea::FillSelfCheck() {
    FW.edDiagnostics->clear();
    const QString Titles[] = {QStringLiteral("BF2.exe"),
                              FShell.GetLangString(QStringLiteral("MyDocs"), CStrings),
                              FShell.Texts().BF2Version};
    for (int Row = 0; Row < 3; ++Row) {
        auto* Item = new QTreeWidgetItem(FW.edDiagnostics, {Titles[Row], QString()});
        Item->setIcon(0, FSelfCheckImages.value(Row));
        Item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    FGameFound = false;
    ShowDocumentsCheck();
}

void TSettingsArea::ApplyCategoryCaptions() {
    const QString Captions = QStringLiteral("Captions");
    const char* Keys[] = {"btnGeneral", "btnSoundCapture", "btnProfiles", "btnServerSettings"};
    for (int I = 0; I < 4; ++I)
        FW.Categories[I]->setText(FShell.GetLangString(QLatin1String(Keys[I]), Captions));
}

void TSettingsArea::ApplyLanguageHeader(const QString& Author, const QString& Date) {
    FW.laLangAuthor->setText(Author);
    FW.laLangDate->setText(Date);
    // The rows are made after the load at start-up.
    if (FW.edDiagnostics->topLevelItemCount() >= 3) {
        SetSelfCheckTitle(1, FShell.GetLangString(QStringLiteral("MyDocs"), CStrings));
        SetSelfCheckTitle(2, FShell.Texts().BF2Version);
    }
}

void TSettingsArea::ProposeGameDir() {
    FW.edBFDir->setFocus();
    FW.edBFDir->setText(ReadBF2InstallDir());
}

void TSettingsArea::CheckGame() {
    CheckBF2Exe();
    ShowDocumentsCheck();
    SetSelfCheckValue(2, FGameFound ? ReadBF2Version(GameDir()) : FShell.Texts().Unknown);
}

// ---------------------------------------------------------------- handlers

void TSettingsArea::taSettingsShow() {
    FW.edMyDocs->setText(GetMyDocumentsDir());
    FW.PagesSettings->setCurrentWidget(FW.taGeneral);
}

void TSettingsArea::SpeedButton1Click() {
    QString Folder;
    if (!FShell.Services().Dialogs->BrowseForFolder(FShell.Window(), FShell.Texts().SpecifyBFDir,
                                                    Folder))
        return;
    FW.edBFDir->setText(AddTrailingBackslash(Folder));
    CheckBF2Exe();
    ShowDocumentsCheck();
}

void TSettingsArea::btnSearchBF2DirClick() {
    FW.edBFDir->setText(ReadBF2InstallDir());
}

void TSettingsArea::edBFDirExit() {
    FW.edBFDir->setText(AddTrailingBackslash(FW.edBFDir->text()));
    FAreas.Library.UseBf2DemosDir();
    CheckBF2Exe();
}

void TSettingsArea::btnOkClick() {
    FW.edBFDir->setText(AddTrailingBackslash(FW.edBFDir->text()));
    FAreas.Library.UseBf2DemosDir();
    CheckBF2Exe();

    TProfileFile& Ini = FShell.SettingsIni();
    Ini.WriteString(QStringLiteral("SETTINGS"), QStringLiteral("bf2dir"), FW.edBFDir->text());
    Ini.WriteString(QStringLiteral("MISC"), QStringLiteral("language"),
                    FW.edLanguage->currentText());
    Ini.WriteString(QStringLiteral("WINDOWS"), QStringLiteral("associatefiles"),
                    FW.cbAssociateFiles->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    const TAudioSettings Audio = FAreas.Sound.Values();
    Ini.WriteString(QStringLiteral("AUDIO"), QStringLiteral("renderto"), Audio.RenderTo);
    Ini.WriteString(QStringLiteral("AUDIO"), QStringLiteral("forcesrc"), Audio.ForceSrc);
    Ini.WriteString(QStringLiteral("AUDIO"), QStringLiteral("src"), Audio.Src);
    Ini.WriteString(QStringLiteral("AUDIO"), QStringLiteral("defsrc"), Audio.DefSrc);
    Ini.WriteString(QStringLiteral("AUDIO"), QStringLiteral("output"), Audio.Output);
    const QString Server = FAreas.Rcon.SelectedPreset();
    if (!Server.isEmpty())
        Ini.WriteString(QStringLiteral("SERVERS"), QStringLiteral("selected"), Server);

    if (FW.PagesSettings->currentWidget() == FW.taServer && !Server.isEmpty())
        FAreas.Rcon.StoreServerPreset();

    FAreas.Library.CreateMissingDemosDir();

    // The page's show handler runs here, with the language loaded before OK;
    // an error in it ends OK.
    FShell.SwitchToPage(FW.taZuruveZevoruvi);

    const QString Language = FW.edLanguage->currentText();
    if (!Language.isEmpty())
        FShell.LoadLanguage(Language);
    FCurrentLanguage = Language;
    CheckBF2Exe();
    ShowDocumentsCheck();
    if (FW.cbAssociateFiles->isChecked())
        WriteAssociations();
    FAreas.Profiles.RewriteVideoCon();
}

// ---------------------------------------------------------------- game detection

void TSettingsArea::CheckBF2Exe() {
    FGameFound = BF2ExeExists(GameDir());
    SetSelfCheckValue(
        0, FShell.GetLangString(FGameFound ? QStringLiteral("Found") : QStringLiteral("NotFound"),
                                CStrings));
}

void TSettingsArea::ShowDocumentsCheck() {
    SetSelfCheckValue(1, FShell.GetLangString(GetMyDocumentsDir().isEmpty()
                                                  ? QStringLiteral("NotFound")
                                                  : QStringLiteral("Found"),
                                              CStrings));
}

void TSettingsArea::SetSelfCheckValue(int Row, const QString& Value) {
    if (QTreeWidgetItem* Item = FW.edDiagnostics->topLevelItem(Row))
        Item->setText(1, Value);
}

void TSettingsArea::SetSelfCheckTitle(int Row, const QString& Title) {
    if (QTreeWidgetItem* Item = FW.edDiagnostics->topLevelItem(Row))
        Item->setText(0, Title);
}

// ---------------------------------------------------------------- file associations

void TSettingsArea::WriteAssociations() {
    const QString IconDir = WriteAssociationIcons();
    const QString Reg = QStringLiteral("Reg");
    const TAssociationTexts Texts{FShell.GetLangString(QStringLiteral("bf2demo"), Reg),
                                  FShell.GetLangString(QStringLiteral("bf2cam"), Reg),
                                  FShell.GetLangString(QStringLiteral("Open"), Reg)};
    const QString ProgramFile = FShell.Services().ProgramFile;
    ::WriteAssociations(QvrFs::WinPathOfHost(ProgramFile), IconDir, Texts);
    // The same two types as the Linux desktop reads them, so that a file
    // manager shows their icons and opens them with the launcher.
    auto Icon = [](const QString& Resource) {
        QFile File(Resource);
        File.open(QIODevice::ReadOnly);
        return File.readAll();
    };
    WriteDesktopFileTypes(ProgramFile, {{QStringLiteral("bf2demo"), Texts.DemoType,
                                         Icon(QStringLiteral(":/qvr/ico/bf2demo.ico"))},
                                        {QStringLiteral("bf2cam"), Texts.CameraType,
                                         Icon(QStringLiteral(":/qvr/ico/bf2cam.ico"))}});
}
