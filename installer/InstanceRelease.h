// Letting go of the single-instance lock before the process ends.
#pragma once

#include <QString>

// Releases the lock that AcquireSingleInstance(Name) took in this process,
// so that a program started now is not turned away by it. Nothing happens
// when this process does not hold it.
void ReleaseSingleInstance(const QString& Name);
