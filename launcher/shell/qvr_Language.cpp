// The language files: loading one, the walk that captions the window's
// components by name, and the texts read on demand.
#include "launcher/shell/qvr_Main.h"

#include "common/Dialogs.h"
#include "common/FileSystem.h"
#include "common/ProfileFile.h"
#include "launcher/library/qvr_Bookmarks.h"
#include "launcher/library/qvr_Library.h"
#include "launcher/shell/qvr_Controls.h"
#include "launcher/shell/qvr_Settings.h"
#include "launcher/sound/qvr_Sound.h"

#include <QAction>

namespace {

const QString CFatalLanguage = QStringLiteral(
    "FATAL ERROR: Language file was not found - reinstall Quorvane to fix this error.");

} // namespace

void TfrmMain::LoadLanguage(const QString& Name) {
    const QString Path = FAppDir + QStringLiteral("Languages\\") + Name + QStringLiteral(".lang");
    if (!QvrFs::FileExists(Path)) {
        FServices.Dialogs->Beep();
        ErrorBox(CFatalLanguage);
        RequestQuit();
    }
    FLanguageIni = std::make_unique<TProfileFile>(Path);
    ApplyLanguageToComponents();
    FSettings->ApplyCategoryCaptions();
    // A caption that is no format for the mod's name ends the load here.
    FLibrary->ApplyLanguage();
    FBookmarks->ApplyBookmarkTitles();
    FSound->ApplyLanguage();

    auto Str = [&](const char* Key) {
        return FLanguageIni->ReadString(QStringLiteral("Strings"), QLatin1String(Key), {});
    };
    FTexts = {Str("Params1"),         Str("Params2"),    Str("Unknown"),      Str("BF2Version"),
              Str("CamAndDemoFiles"), Str("SelectDemo"), Str("BFNotFound"),   Str("NoSettings"),
              Str("NameCamera"),      Str("NameVideo"),  Str("SpecifyBFDir"), Str("TimeDemo1"),
              Str("TimeDemo2"),       Str("TimeDemo3"),  Str("RenderVideo1"), Str("RenderVideo2"),
              Str("RenderVideo3"),    Str("Demo"),       Str("NewPreset"),    Str("NamePreset"),
              Str("NoScan")};

    FSettings->ApplyLanguageHeader(
        FLanguageIni->ReadString(QStringLiteral("Header"), QStringLiteral("Author"), {}),
        FLanguageIni->ReadString(QStringLiteral("Header"), QStringLiteral("LastUpdate"), {}));
}

void TfrmMain::ApplyLanguageToComponents() {
    const QString Captions = QStringLiteral("Captions");
    auto Caption = [&](const QObject* C) {
        return FLanguageIni->ReadString(Captions, C->objectName(), {});
    };
    // Children come container first, in the order the form made them.
    const QList<QObject*> Components = findChildren<QObject*>();
    for (QObject* C : Components) {
        if (auto* Group = qobject_cast<QGroupBox*>(C)) {
            Group->setTitle(Caption(C));
        } else if (auto* Check = qobject_cast<QCheckBox*>(C)) {
            Check->setText(Caption(C));
        } else if (auto* Radio = qobject_cast<QRadioButton*>(C)) {
            Radio->setText(Caption(C));
        } else if (auto* Button = qobject_cast<QPushButton*>(C)) {
            Button->setText(Caption(C));
        } else if (auto* Label = qobject_cast<QLabel*>(C)) {
            if (Label != FUi.Image1)
                Label->setText(LabelText(Caption(C)));
        } else if (auto* Action = qobject_cast<QAction*>(C)) {
            // Menu items the window owns; items owned by a menu keep their text.
            if (Action->parent() != this)
                continue;
            if (Action->objectName().left(9) == QLatin1String("menuEmpty"))
                Action->setSeparator(true);
            else
                Action->setText(GetLangString(Action->objectName(), Captions));
        } else if (auto* Page = qobject_cast<QWidget*>(C)) {
            // A tab sheet: the page of a tab control.
            QWidget* Stack = Page->parentWidget();
            auto* Tabs = Stack ? qobject_cast<QTabWidget*>(Stack->parentWidget()) : nullptr;
            if (Tabs && Tabs->indexOf(Page) >= 0)
                Tabs->setTabText(Tabs->indexOf(Page), Caption(C));
        }
    }
}

QString TfrmMain::GetLangString(const QString& Ident, const QString& Section) const {
    try {
        if (FLanguageIni)
            return FLanguageIni->ReadString(Section, Ident, {});
    } catch (...) {
    }
    return {};
}
