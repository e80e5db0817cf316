// The named mutex "OneInstance" of both programs: an flock on a lock file of
// that name. The kernel releases it when the process ends.
#pragma once

#include <QString>

// False only when another process holds the lock. Any other failure (no
// runtime folder, a lock file that cannot be opened) lets start-up go on:
// a missing guard must not keep the program from running.
bool AcquireSingleInstance(const QString& Name);

// The lock file's path: $XDG_RUNTIME_DIR/<Name>, else /tmp/<Name>-<uid>.
QString SingleInstanceLockPath(const QString& Name);
