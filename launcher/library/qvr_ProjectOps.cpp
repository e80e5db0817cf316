// The library area's project operations: a new project, renaming the chosen
// one, and the Move files dialog. Nothing here replaces a file or folder,
// and a file operation that fails is not reported.
#include "launcher/library/qvr_Library.h"

#include "common/Dialogs.h"
#include "common/TextRules.h"
#include "launcher/library/Library.h"
#include "launcher/library/ProjectOps.h"
#include "launcher/library/qvr_MoveFiles.h"
#include "launcher/shell/qvr_Controls.h"

#include <QComboBox>

void TLibraryArea::menuNewProjectClick() {
    // Without a Demos folder (the page never finished showing) a project
    // folder would be made beside the program's working folder.
    if (FDemosDir.isEmpty())
        return;
    QString Name;
    if (!AskProjectName("NewProject", Name))
        return;
    // A project of that name in any letter case is chosen instead of made.
    NewProject(FDemosDir, Name);
    ReloadAndChoose(Name);
    menuMoveFilesClick();
}

void TLibraryArea::menuRenameProjectClick() {
    // The Unassigned entry is the Demos folder itself, and so is no entry.
    if (FW.edDirs->currentIndex() <= 0 || FDemosDir.isEmpty())
        return;
    const QString Old = FW.edDirs->currentText();
    QString Name = Old;
    if (!AskProjectName("RenameProject", Name))
        return;
    // A name that is taken leaves both projects, and the other is chosen.
    if (RenameProject(FDemosDir, Old, Name) == TRenameResult::Unchanged)
        return;
    ReloadAndChoose(Name);
}

void TLibraryArea::menuMoveFilesClick() {
    if (FDemosDir.isEmpty())
        return;
    const QString Chosen = ChosenEntry();
    TfrmMoveFiles Dialog(FShell.Window());
    for (const TLibraryFile& File : FilesToOffer(FDemosDir, Chosen))
        Dialog.AddFile(File.Name, FFileIcons.value(File.Image));
    auto Caption = [this](const char* Name) {
        return FShell.GetLangString(QLatin1String(Name), QStringLiteral("Captions"));
    };
    Dialog.SetCaptions(Caption("frmMoveFiles"), FormatStr(Caption("laMoveFiles"), {Chosen}),
                       Caption("btnMoveFiles"), Caption("btnCancel"));
    if (FShell.Services().Dialogs->RunModal(Dialog) == QDialog::Accepted)
        MoveFilesToProject(FDemosDir, ProjectOfEntry(Chosen, UnassignedText()),
                           Dialog.CheckedFiles());
    // Also after Cancel: files may have changed meanwhile.
    btnRefreshClick();
}

bool TLibraryArea::AskProjectName(const char* Title, QString& Name) {
    if (!FShell.Services().Dialogs->InputQuery(FShell.Window(), LangString(Title),
                                               LangString("ProjectName"), Name))
        return false;
    // An empty name, and one that would leave the Demos folder, alike.
    if (IsProjectNameRefused(Name)) {
        FShell.Refuse(LangString("ProjectNameInvalid"));
        return false;
    }
    return true;
}

QString TLibraryArea::ChosenEntry() const {
    return FW.edDirs->currentIndex() < 0 ? UnassignedText() : FW.edDirs->currentText();
}

void TLibraryArea::ReloadAndChoose(const QString& Name) {
    SetComboItems(FW.edDirs, ListProjects(ComboItems(FW.edDirs)));
    SelectByText(FW.edDirs, Name);
    edDirsSelect();
}
