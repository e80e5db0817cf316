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

// Opening a program: start it detached in a working folder, with a command
// line split into arguments by the Windows rules, as the game and its tools
// expect. Returns whether the program could be started; some callers have
// nothing to do when it could not, and ignore it.
class IProgramStarter {
public:
    virtual ~IProgramStarter() = default;
    virtual bool ShellOpen(const QString& WinFile, const QString& Params,
                           const QString& WinWorkDir) = 0;
};
