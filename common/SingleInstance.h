// The named mutex "OneInstance" of both programs: an flock on a lock file of
// that name. The kernel releases it when the process ends.
#pragma once

#include <QString>

// False only when another process holds the lock. Any other failure (a lock
// folder or file that cannot be made, or whose place another user has taken)
// lets start-up go on: a program that cannot guard against a second copy
// still runs.
bool AcquireSingleInstance(const QString& Name);

// Lets go of the lock this process took, so that a program started now is
// not turned away by it. Nothing happens when this process does not hold it.
void ReleaseSingleInstance(const QString& Name);

// The lock file's path: $XDG_RUNTIME_DIR/<Name>, else /tmp/quorvane-<uid>/<Name>,
// in a folder of the user's own that only the user may enter (made with mode
// 0700; one that is a link or another user's is not used). A link in the
// lock file's place is never followed.
QString SingleInstanceLockPath(const QString& Name);
