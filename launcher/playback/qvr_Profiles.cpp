#include "launcher/playback/qvr_Profiles.h"

#include "common/Folders.h"
#include "launcher/shell/qvr_Controls.h"

#include <QComboBox>
#include <QItemSelection>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyledItemDelegate>
#include <QTreeWidget>

namespace {

// Hands the font of each entry to the page's drawing rule before the
// default drawing goes on.
class TProfileDelegate : public QStyledItemDelegate {
public:
    explicit TProfileDelegate(QTreeWidget* List) : QStyledItemDelegate(List), FList(List) {}

protected:
    void initStyleOption(QStyleOptionViewItem* Option, const QModelIndex& Index) const override {
        QStyledItemDelegate::initStyleOption(Option, Index);
        TProfilesPage::edProfileCustomDrawItem(FList->topLevelItem(Index.row()), Option->font);
    }

private:
    QTreeWidget* FList;
};

} // namespace

TProfilesPage::TProfilesPage(IShell& Shell, const TWidgets& W)
    : FShell(Shell), FW(W), FProfileImage(ImageList("imgSelfCheck", 5).value(4)) {
    DrawSelectedBold(FW.edProfile);
    // Each entry whose selection changed, the one losing it first; each read
    // is a handler of its own, so an error in the first still lets the
    // second run.
    FShell.Connect(FW.edProfile->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                   [this](const QItemSelection& Selected, const QItemSelection& Deselected) {
                       for (const QItemSelection* Changed : {&Deselected, &Selected})
                           for (const QModelIndex& Index : Changed->indexes())
                               if (Index.column() == 0)
                                   FShell.Guard([&] {
                                       edProfileSelectItem(FW.edProfile->topLevelItem(Index.row()));
                                   });
                   });
    FShell.Connect(FW.tbViewDistance, &QSlider::valueChanged, this,
                   [this] { tbViewDistanceChange(); });
}

TVideoPage TProfilesPage::Shown() const {
    TVideoPage Page;
    for (int C = 0; C <= vcAntialias; ++C)
        Page.Position[C] = FW.Lists[C]->currentIndex();
    Page.Position[vcViewDistance] = FW.tbViewDistance->value();
    Page.DemoQualityEntries = FW.edDemoQuality->count();
    Page.DemoQuality = FW.edDemoQuality->currentIndex();
    return Page;
}

void TProfilesPage::Show(const TVideoPage& Page) {
    for (int C = 0; C <= vcAntialias; ++C)
        FW.Lists[C]->setCurrentIndex(Page.Position[C]);
    FW.tbViewDistance->setValue(Page.Position[vcViewDistance]);
    // The display's entries go for good, never come back.
    if (Page.DemoQualityEntries < FW.edDemoQuality->count())
        FW.edDemoQuality->clear();
    FW.edDemoQuality->setCurrentIndex(Page.DemoQuality);
}

QString TProfilesPage::SelectedProfile() const {
    const QList<QTreeWidgetItem*> Selected = FW.edProfile->selectedItems();
    return Selected.isEmpty() ? QString() : Selected.first()->text(1);
}

bool TProfilesPage::ListProfiles(QTreeWidget* List) {
    {
        const QSignalBlocker Quiet(List->selectionModel());
        List->clear();
    }
    // A profile folder without Profile.con ends the listing with its error,
    // its row already added.
    return ::ListProfiles(GetBF2DocsDir(), [&](const TProfileRow& Row) {
        auto* Item = new QTreeWidgetItem(List, QStringList{Row.Name, Row.Id});
        Item->setIcon(0, FProfileImage);
    });
}

void TProfilesPage::DrawSelectedBold(QTreeWidget* List) {
    List->setItemDelegate(new TProfileDelegate(List));
}

void TProfilesPage::taProfilesShow() {
    {
        // Whatever the page showed stays until a profile is chosen again.
        const QSignalBlocker Quiet(FW.edProfile->selectionModel());
        FW.edProfile->selectionModel()->clearSelection();
    }
    for (int C = 0; C <= vcAntialias; ++C) {
        QComboBox* List = FW.Lists[C];
        List->clear();
        const TVideoSetting& S = CVideoSettings[C];
        if (S.Kind == TVideoKind::Level)
            FillQualityCombo(List, S.WithOff);
        else
            SetComboItems(List, VideoListEntries(TVideoControl(C), Strings()));
    }
    ListProfiles(FW.edProfile);
}

void TProfilesPage::FillQualityCombo(QComboBox* List, bool WithOff) {
    const int Current = List->currentIndex();
    List->addItems(QualityEntries(WithOff, Strings()));
    // Appending to an empty list would select its first entry.
    List->setCurrentIndex(Current);
}

void TProfilesPage::edProfileSelectItem(QTreeWidgetItem* Item) {
    if (!Item)
        return;
    TVideoPage Page = Shown();
    // What the files set before an error stays shown.
    try {
        ReadProfileVideo(ProfileFolder(GetBF2DocsDir(), Item->text(1)), Page);
    } catch (...) {
        Show(Page);
        throw;
    }
    Show(Page);
}

TTextLookup TProfilesPage::Strings() const {
    return
        [this](const QString& Key) { return FShell.GetLangString(Key, QStringLiteral("Strings")); };
}

void TProfilesPage::tbViewDistanceChange() {
    FW.laView->setText(ViewDistanceLabel(FW.tbViewDistance->value()));
}

void TProfilesPage::edProfileCustomDrawItem(const QTreeWidgetItem* Item, QFont& Font) {
    Font.setBold(Item && Item->isSelected());
}

void TProfilesPage::RewriteVideoCon() {
    const QString Id = SelectedProfile();
    if (Id.isEmpty())
        return;
    SaveVideoCon(ProfileFolder(GetBF2DocsDir(), Id) + QStringLiteral("Video.con"), Shown(),
                 [this](const QString& Line) { FShell.LogLine(Line); });
}
