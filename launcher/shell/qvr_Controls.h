// Small rules for the window's controls, shared by every area.
#pragma once

#include <QIcon>
#include <QList>
#include <QStringList>

class QComboBox;
class QWidget;

// Selects the first entry equal to Text, letter case ignored; none when no
// entry is equal.
void SelectByText(QComboBox* List, const QString& Text);

// The entries of a list, in order.
QStringList ComboItems(const QComboBox* List);

// New entries with none selected: a list that was empty would otherwise pick
// its first entry by itself.
void SetComboItems(QComboBox* List, const QStringList& Items);

// An image list of the resources: ":/qvr/<Name>/0.png" to Count - 1.
QList<QIcon> ImageList(const char* Name, int Count);

// The text a label shows for a caption: a label has no accelerator, so "&&"
// is one "&" and a single "&" is dropped.
QString LabelText(const QString& Caption);

// Places a window in the middle of the screen it is on.
void CentreOnScreen(QWidget* Window);

// Gives the columns of every list view of a form the width its header's
// default section size sets: the form's columns exist before that size is
// applied, so they would keep Qt's own default.
void ApplyDefaultColumnWidths(QWidget* Form);
