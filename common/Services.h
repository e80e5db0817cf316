// The world as both programs see it: dialogs, the clock and the start of other
// programs come in through these, so tests hand real ones pointed at temporary
// folders, or scripted ones where a real one cannot run here.
#pragma once

#include <QDateTime>
#include <QString>

class IDialogs;

class IClock {
public:
    virtual ~IClock() = default;
    virtual QDateTime Now() const = 0;
};

class TSystemClock : public IClock {
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};

// Starting a program detached in a working folder, with a command line split
// into arguments by the Windows rules. Returns whether the program could be
// started; when it could not and Why is given, Why says why in a few words
// ("wine is not installed").
class IProgramStarter {
public:
    virtual ~IProgramStarter() = default;
    virtual bool ShellOpen(const QString& WinFile, const QString& Params, const QString& WinWorkDir,
                           QString* Why = nullptr) = 0;
};
