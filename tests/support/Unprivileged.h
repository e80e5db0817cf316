// File permissions do not bind root, and CI runs the tests as root. A check
// that needs them to bind runs here in a child process that has dropped to
// the user nobody first.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

#include <sys/types.h>

// The user and group nobody.
inline constexpr uid_t CNobody = 65534;

// Runs Action and gives back its text. When this process runs as root, the
// Action runs in a child process as the user and group nobody (65534), and
// the files and folders in Paths are handed to that user first (so that
// their owner's permission bits are the ones that count); their own parent
// folders must let others pass, as the system's temporary folder does. Other
// users run Action here. When the child fails, the text says why.
QString RunUnprivileged(const std::function<QString()>& Action, const QStringList& Paths);
