#include "launcher/shell/qvr_Controls.h"

#include <QComboBox>
#include <QHeaderView>
#include <QScreen>
#include <QTreeWidget>
#include <QWidget>

void SelectByText(QComboBox* List, const QString& Text) {
    for (int I = 0; I < List->count(); ++I)
        if (List->itemText(I).compare(Text, Qt::CaseInsensitive) == 0) {
            List->setCurrentIndex(I);
            return;
        }
    List->setCurrentIndex(-1);
}

QStringList ComboItems(const QComboBox* List) {
    QStringList Items;
    for (int I = 0; I < List->count(); ++I)
        Items << List->itemText(I);
    return Items;
}

void SetComboItems(QComboBox* List, const QStringList& Items) {
    List->clear();
    List->addItems(Items);
    List->setCurrentIndex(-1);
}

QList<QIcon> ImageList(const char* Name, int Count) {
    QList<QIcon> List;
    for (int I = 0; I < Count; ++I)
        List << QIcon(QStringLiteral(":/qvr/%1/%2.png").arg(QLatin1String(Name)).arg(I));
    return List;
}

QString LabelText(const QString& Caption) {
    QString R;
    for (qsizetype I = 0; I < Caption.size(); ++I) {
        if (Caption[I] == u'&') {
            if (I + 1 < Caption.size() && Caption[I + 1] == u'&') {
                R += u'&';
                ++I;
            }
            continue;
        }
        R += Caption[I];
    }
    return R;
}

void CentreOnScreen(QWidget* Window) {
    if (const QScreen* Screen = Window->screen())
        Window->move(Screen->availableGeometry().center() - Window->rect().center());
}

void ApplyDefaultColumnWidths(QWidget* Form) {
    for (QTreeWidget* List : Form->findChildren<QTreeWidget*>()) {
        QHeaderView* Header = List->header();
        // A stretched last column takes the room that is left, but never
        // less than it had: it starts from the least a column can have.
        const bool Stretch = Header->stretchLastSection();
        Header->setStretchLastSection(false);
        for (int Column = 0; Column < Header->count(); ++Column)
            Header->resizeSection(Column, Stretch && Column == Header->count() - 1
                                              ? Header->minimumSectionSize()
                                              : Header->defaultSectionSize());
        Header->setStretchLastSection(Stretch);
    }
}
