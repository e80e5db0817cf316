// Runs one event handler the way the framework ran them: an error that
// escapes it is handed, as its message, to Show, and the program goes on.
#pragma once

#include "common/Errors.h"

#include <QString>

#include <exception>

template <class THandler, class TShow> void RunGuarded(THandler&& Handler, TShow&& Show) {
    try {
        Handler();
    } catch (const EError& E) {
        Show(E.Message());
    } catch (const std::exception& E) {
        Show(QString::fromLocal8Bit(E.what()));
    }
}
