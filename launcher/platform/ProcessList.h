// Whether the game is running is asked afresh each time: the launcher keeps no
// handle to the game it started, so it lists the running programs and looks
// for the game's file name among them.
#pragma once

#include <QString>
#include <QStringList>

class IProcessList {
public:
    virtual ~IProcessList() = default;
    // Appends one entry per running process that could be read: the path of
    // its executable, or for a program run by Wine the Windows path of that
    // program. Processes that cannot be read are left out.
    virtual void ListProcessModules(QStringList& List) = 0;
};

// The real list, read from /proc (or a folder laid out like it). Each
// process's "exe" link is read; "cmdline" only for Wine's loader, whose
// command line names the Windows program it runs. A deleted executable counts
// under its old path.
class TProcFsProcessList : public IProcessList {
public:
    explicit TProcFsProcessList(QString ProcRoot = QStringLiteral("/proc"));
    void ListProcessModules(QStringList& List) override;

private:
    QString FProcRoot;
};

// The name rule: the text after the last "\", "/" or ":" equals "BF2.exe",
// with only the letters A-Z compared without regard to case.
bool IsGameModule(const QString& ModulePath);

// Lists the processes and answers true at the first one that is the game.
bool IsBF2Running(IProcessList& Processes);
