// Whether the game is running is asked afresh each time: the launcher keeps no
// handle to the game it started, so it lists the running programs and looks
// for the game's file name among them.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/types.h>

class IProcessList {
public:
    virtual ~IProcessList() = default;
    // Appends one entry per running process that could be read: the path of
    // its executable, or for a program run by Wine the Windows path of that
    // program. Processes that cannot be read are left out.
    virtual void ListProcessModules(QStringList& List) = 0;

    // True when some running process is the game (the name rule below). This
    // one lists every process; a list that can answer more cheaply overrides
    // it, always with the answer a full listing would give at that moment.
    virtual bool IsGameRunning();

    // A timer tick begins and ends (see TProcessTick). Between the two, a list
    // may answer "not running" again from a scan of the same tick that found
    // no game, so the several questions of one tick cost one scan. Ticks may
    // nest (a tick that waits lets another timer tick); every begin and every
    // end drops what an earlier scan found. By default nothing is kept.
    virtual void BeginTick() {}
    virtual void EndTick() {}
};

// One timer tick for the length of its life: a timer handler that asks the
// game question more than once makes one first. Without a list it does
// nothing.
class TProcessTick {
public:
    explicit TProcessTick(IProcessList* Processes);
    ~TProcessTick();
    TProcessTick(const TProcessTick&) = delete;
    TProcessTick& operator=(const TProcessTick&) = delete;

private:
    IProcessList* FProcesses;
};

// The real list, read from /proc (or a folder laid out like it). Each
// process's "exe" link is read; "cmdline" only for Wine's loader, whose
// command line names the Windows program it runs. A deleted executable counts
// under its old path.
//
// The game question remembers the game once found, by its pid and start time
// (field 22 of "stat"): while that process lives and still runs the game, the
// answer comes from it alone; otherwise all processes are scanned again. Only
// the game is remembered: a process that is not the game now may become it by
// exec, keeping its pid and start time.
class TProcFsProcessList : public IProcessList {
public:
    explicit TProcFsProcessList(QString ProcRoot = QStringLiteral("/proc"));
    void ListProcessModules(QStringList& List) override;
    bool IsGameRunning() override;
    void BeginTick() override;
    void EndTick() override;

private:
    bool IsRememberedGameRunning();
    bool ScanForGame();

    QString FProcRoot;
    QByteArray FProcRootName; // the same, encoded for the system calls
    pid_t FGamePid = -1;
    unsigned long long FGameStart = 0;
    int FTickDepth = 0;
    bool FNoGameThisTick = false;
};

// The name rule: the text after the last "\", "/" or ":" equals "BF2.exe",
// with only the letters A-Z compared without regard to case.
bool IsGameModule(const QString& ModulePath);

// The game question of the window's timers: Processes.IsGameRunning().
bool IsBF2Running(IProcessList& Processes);
