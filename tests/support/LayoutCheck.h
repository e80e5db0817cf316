// What a person would see cut or crowded in a form: captions of labels,
// buttons, check boxes, radio buttons, group boxes and tabs measured in their
// own fonts against the room their widget gives the text, and texts of
// labels, check boxes and radio buttons that reach into a neighbouring
// control or out of their container. And a screenshot of the form
// as the screen shows it, for a person to look at.
#pragma once

#include "support/WaitUntil.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStringList>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QToolButton>
#include <QWindow>

namespace LayoutCheck {

// The style option a widget paints itself with (initStyleOption is
// protected; a pointer to it, taken through a subclass, is not).
template <class TWidget, class TOption> TOption StyleOption(const TWidget* Widget) {
    struct TOpen : TWidget {
        using TWidget::initStyleOption;
    };
    TOption Option;
    (Widget->*(&TOpen::initStyleOption))(&Option);
    return Option;
}

// One widget's text: the room it is drawn in and the rectangle it covers,
// both in the widget's own coordinates, and the width it needs.
struct TText {
    QString Text;
    QRect Room;
    QRect Covered;
    int Need = 0;
    int NeedHeight = 0;
};

inline QRect Covered(const QRect& Room, int Width, int Height, Qt::Alignment Align) {
    return QStyle::alignedRect(Qt::LeftToRight, Align,
                               QSize(qMin(Width, Room.width()), qMin(Height, Room.height())), Room);
}

inline TText LabelText(const QLabel* Label) {
    TText T;
    T.Text = Label->text();
    const QFontMetrics Fm = Label->fontMetrics();
    const int Margin = Label->margin();
    T.Room = Label->contentsRect().adjusted(Margin, Margin, -Margin, -Margin);
    if (Label->wordWrap()) {
        // Wrapped text needs the height its lines take at the label's width.
        T.Need = 0;
        T.NeedHeight = Label->heightForWidth(Label->width()) - 2 * Margin;
    } else {
        T.Need = Fm.horizontalAdvance(T.Text);
        T.NeedHeight = Fm.height();
    }
    T.Covered = Covered(T.Room, T.Need, T.NeedHeight, Label->alignment());
    return T;
}

inline int IconNeed(const QAbstractButton* Button) {
    return Button->icon().isNull() ? 0 : Button->iconSize().width() + 4;
}

inline TText ButtonText(const QAbstractButton* Button) {
    TText T;
    T.Text = Button->text();
    const QFontMetrics Fm = Button->fontMetrics();
    T.Need = Fm.size(Qt::TextShowMnemonic, T.Text).width();
    T.NeedHeight = Fm.height();
    QStyle* Style = Button->style();
    if (auto* Check = qobject_cast<const QCheckBox*>(Button)) {
        auto Option = StyleOption<QCheckBox, QStyleOptionButton>(Check);
        T.Room = Style->subElementRect(QStyle::SE_CheckBoxContents, &Option, Button);
    } else if (auto* Radio = qobject_cast<const QRadioButton*>(Button)) {
        auto Option = StyleOption<QRadioButton, QStyleOptionButton>(Radio);
        T.Room = Style->subElementRect(QStyle::SE_RadioButtonContents, &Option, Button);
    } else if (auto* Push = qobject_cast<const QPushButton*>(Button)) {
        auto Option = StyleOption<QPushButton, QStyleOptionButton>(Push);
        T.Room = Style->subElementRect(QStyle::SE_PushButtonContents, &Option, Button);
        T.Need += IconNeed(Button);
    } else {
        // A tool button: the size it asks for holds its text, icon and arrow.
        T.Room = Button->rect();
        T.Need = Button->sizeHint().width();
    }
    T.Covered = Covered(T.Room, T.Need, T.NeedHeight, Qt::AlignLeft | Qt::AlignVCenter);
    return T;
}

inline TText GroupTitle(const QGroupBox* Box) {
    TText T;
    T.Text = Box->title();
    auto Option = StyleOption<QGroupBox, QStyleOptionGroupBox>(Box);
    const QRect Label =
        Box->style()->subControlRect(QStyle::CC_GroupBox, &Option, QStyle::SC_GroupBoxLabel, Box);
    // The title may come no nearer the right edge than it starts from the left.
    T.Room = QRect(Label.left(), Label.top(), Box->width() - 2 * Label.left(), Label.height());
    T.Need = Box->fontMetrics().size(Qt::TextShowMnemonic, T.Text).width();
    T.NeedHeight = Box->fontMetrics().height();
    T.Covered = QRect(Label.topLeft(), QSize(T.Need, Label.height()));
    return T;
}

inline QString Describe(const QWidget* W, const QString& Text) {
    return QStringLiteral("%1 \"%2\"").arg(W->objectName(), Text);
}

inline void CheckText(const QWidget* W, const TText& T, QStringList& Faults) {
    if (T.Text.isEmpty())
        return;
    if (T.Need > T.Room.width())
        Faults << QStringLiteral("%1 needs %2 px, has %3")
                      .arg(Describe(W, T.Text))
                      .arg(T.Need)
                      .arg(T.Room.width());
    if (T.NeedHeight > T.Room.height())
        Faults << QStringLiteral("%1 needs %2 px in height, has %3")
                      .arg(Describe(W, T.Text))
                      .arg(T.NeedHeight)
                      .arg(T.Room.height());
}

// A text that reaches into a visible sibling, or out of its parent.
inline void CheckCrowding(const QWidget* W, const TText& T, QStringList& Faults) {
    if (T.Text.isEmpty() || !W->parentWidget())
        return;
    const QRect Text = T.Covered.translated(W->pos());
    for (const QObject* O : W->parentWidget()->children()) {
        auto* Sibling = qobject_cast<const QWidget*>(O);
        if (!Sibling || Sibling == W || !Sibling->isVisibleTo(W->parentWidget()) ||
            Sibling->isWindow())
            continue;
        if (Text.intersects(Sibling->geometry()))
            Faults << QStringLiteral("%1 runs into %2")
                          .arg(Describe(W, T.Text), Sibling->objectName());
    }
    if (!W->parentWidget()->rect().contains(Text))
        Faults << QStringLiteral("%1 runs out of %2")
                      .arg(Describe(W, T.Text), W->parentWidget()->objectName());
}

inline void CheckTabs(const QTabBar* Bar, QStringList& Faults) {
    for (int I = 0; I < Bar->count(); ++I) {
        if (!Bar->isTabVisible(I))
            continue;
        const QRect Tab = Bar->tabRect(I);
        const int Need = Bar->fontMetrics().size(Qt::TextShowMnemonic, Bar->tabText(I)).width() +
                         (Bar->tabIcon(I).isNull() ? 0 : Bar->iconSize().width());
        if (Tab.width() < Need || !Bar->rect().contains(Tab))
            Faults << QStringLiteral("tab \"%1\" of %2 is cut")
                          .arg(Bar->tabText(I), Bar->parentWidget()->objectName());
    }
}

// Every visible control of Root with a name of the form's (Qt's own inner
// widgets have none, or one that starts with "qt_").
inline QStringList Faults(const QWidget* Root) {
    QStringList Faults;
    for (const QWidget* W : Root->findChildren<QWidget*>()) {
        if (!W->isVisibleTo(Root))
            continue;
        if (auto* Bar = qobject_cast<const QTabBar*>(W)) {
            CheckTabs(Bar, Faults);
            continue;
        }
        if (W->objectName().isEmpty() || W->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (auto* Label = qobject_cast<const QLabel*>(W)) {
            if (Label->pixmap().isNull()) {
                const TText T = LabelText(Label);
                CheckText(W, T, Faults);
                CheckCrowding(W, T, Faults);
            }
        } else if (auto* Button = qobject_cast<const QAbstractButton*>(W)) {
            const TText T = ButtonText(Button);
            CheckText(W, T, Faults);
            if (!qobject_cast<const QToolButton*>(W) && !qobject_cast<const QPushButton*>(W))
                CheckCrowding(W, T, Faults);
        } else if (auto* Box = qobject_cast<const QGroupBox*>(W)) {
            const TText T = GroupTitle(Box);
            CheckText(W, T, Faults);
        }
    }
    return Faults;
}

// With QVR_SCREENSHOTS naming a folder, saves the window as the screen shows
// it there as <Name>.png (scripts/screenshots.sh runs the tests that call
// this on a real X server); otherwise does nothing. False when it could not.
inline bool Screenshot(QWidget* Window, const QString& Name) {
    const QString Folder = qEnvironmentVariable("QVR_SCREENSHOTS");
    if (Folder.isEmpty())
        return true;
    QWindow* Handle = Window->windowHandle();
    if (!WaitUntil([&] {
            QCoreApplication::processEvents();
            return Handle && Handle->isExposed();
        }))
        return false;
    // Whatever the window was asked to draw reaches the screen first.
    Window->repaint();
    QCoreApplication::processEvents();
    return Handle->screen()->grabWindow(Window->winId()).save(Folder + u'/' + Name + ".png");
}

} // namespace LayoutCheck
