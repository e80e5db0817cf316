// Starting a program the way the Windows shell's "open" does: detached, in a
// working folder, with its command line split by the Windows rules. No shell
// is involved, so nothing in the command line is ever interpreted by one.
#pragma once

#include "common/Services.h"

#include <QString>
#include <QStringList>

// Splits a command line into arguments by the rules of the Microsoft C runtime
// (the ones CommandLineToArgvW follows for every argument after the program):
// blanks and tabs separate; double quotes group and are removed; 2n
// backslashes before a quote give n backslashes and the quote toggles
// grouping, 2n+1 give n backslashes and a literal quote; other backslashes are
// literal; "" inside a quoted run is a literal quote and the run goes on; an
// unclosed quote runs to the end. The whole text is arguments: no program
// name is taken off the front.
QStringList SplitWindowsCommandLine(const QString& CommandLine);

// The real program starter. WinFile is taken relative to WinWorkDir unless it
// is absolute; both are mapped to host paths. A Windows executable (a file
// that starts with "MZ") runs as `wine <file> <args>` when wine is on the
// PATH; any other file runs itself when it is executable. The program is
// started in a session of its own, inherits no descriptor but the standard
// three, and nothing waits for it.
class TShellStarter : public IProgramStarter {
public:
    bool ShellOpen(const QString& WinFile, const QString& Params, const QString& WinWorkDir,
                   QString* Why = nullptr) override;
};
