// The freedesktop desktop-entry format, as both programs write it: the
// launcher's entry for its file types, the installer's shortcuts.
#pragma once

#include <QString>

// A string value, its escapes applied: backslash, line breaks, tab, and a
// leading blank (which a reader would drop).
QString DesktopEntryValue(const QString& Text);

// One argument of an Exec line: quoted, so blanks and reserved characters
// stay in it, with the four characters that stay special inside quotes
// escaped and "%" doubled so that it is no field code. The line itself is
// then written as a string value.
QString DesktopExecArgument(const QString& Argument);
