#include "launcher/shell/qvr_Controls.h"

#include <QComboBox>

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
