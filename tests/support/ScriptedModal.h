// Modal dialogs for tests: each dialog the window runs is shown without a
// modal loop and handed to the next queued answer, which acts on it as a user
// would (ticks items, clicks its buttons). The dialog's result is what those
// clicks left; a dialog the answer leaves open counts as closed by its close
// box (cancelled).
#pragma once

#include <QDialog>
#include <QQueue>

#include <gtest/gtest.h>

#include <functional>

class TScriptedModal {
public:
    using TAnswer = std::function<void(QDialog&)>;

    void Queue(TAnswer Answer) { FAnswers.enqueue(std::move(Answer)); }
    // The runner to hand to the area that shows dialogs.
    std::function<int(QDialog&)> Runner() {
        return [this](QDialog& Dialog) { return Run(Dialog); };
    }
    int Shown() const { return FShown; }
    bool AllAnswersUsed() const { return FAnswers.isEmpty(); }

private:
    int Run(QDialog& Dialog) {
        ++FShown;
        Dialog.setResult(QDialog::Rejected);
        Dialog.show();
        if (FAnswers.isEmpty())
            ADD_FAILURE() << "unexpected dialog: " << Dialog.objectName().toStdString();
        else
            FAnswers.dequeue()(Dialog);
        if (Dialog.isVisible())
            Dialog.reject();
        return Dialog.result();
    }

    QQueue<TAnswer> FAnswers;
    int FShown = 0;
};
