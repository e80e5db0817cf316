// The single-instance lock as another process sees it.
#pragma once

#include "common/SingleInstance.h"
#include "support/InChild.h"

// Whether the lock is free, asked from a child so that this process never
// takes it by asking.
inline bool LockIsFree(const QString& Name = QStringLiteral("OneInstance")) {
    return InChild([&] { return AcquireSingleInstance(Name); });
}
