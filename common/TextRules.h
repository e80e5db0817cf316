// Small text rules that many parts of both programs share: splitting a
// comma text into fields, reading whole numbers, name=value look-ups and the
// "%s" formats of the language files.
#pragma once

#include <QString>
#include <QStringList>

// Splits a comma text into fields. Commas and blanks (codes 1 to 32) separate
// fields, a field may be enclosed in double quotes (a doubled quote inside
// stands for one), and a code 0 ends the text.
QStringList SplitCommaText(const QString& Text);

// The text without blanks and control characters (codes 0 to 32) at either
// end.
QByteArray TrimBlanks(const QByteArray& Text);
QString TrimBlanks(const QString& Text);

// Reads a whole number: leading spaces, an optional sign, then decimal
// digits or hexadecimal ones after "$", "x", "X", "0x" or "0X"; nothing may
// follow and the value must fit 32 bits signed. Otherwise raises EConvertError
// "'<text>' is not a valid integer value".
int StrToInt(const QString& S);
// The same rule; false (and Value untouched) instead of an error.
bool TryStrToInt(const QString& S, int& Value);

// The value of the first line "name=value" whose name equals Name, letter
// case ignored: everything after the first "=", untrimmed; "" when none.
QString ValueOfName(const QStringList& Lines, const QString& Name);

// Fills a format with text arguments: "%s" takes the next argument, "%%"
// gives "%". A "%s" may carry an index ("%1:s"), a "-" for left alignment, a
// width and a precision ("%-8.3s"), none above 4096. Anything else, or an
// argument missing, raises EConvertError "Format '<fmt>' invalid or
// incompatible with argument".
// Extra arguments are ignored.
QString FormatStr(const QString& Fmt, const QStringList& Args);
