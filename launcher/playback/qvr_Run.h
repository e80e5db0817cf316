// The parameter checks of the run panel: each checks one edit and shows the
// result in the edit's label.
#pragma once

class QLabel;
class QLineEdit;

// The label's text in pure red when not valid, else in the normal window-text
// colour. A null label (a field without one) is left alone.
void SetLabelValid(QLabel* Label, bool Valid);
// The edit's text is a whole number within Min..Max inclusive.
bool ValidateIntRange(QLineEdit* Edit, QLabel* Label, int Min, int Max);
// The edit's text is more than blanks.
bool ValidateNotEmpty(QLineEdit* Edit, QLabel* Label);
