// Text as the program's files hold it: files the program reads may be UTF-8
// or Windows-1252 (the shipped language files are the latter); the program
// writes UTF-8. Remote-console bytes are Windows-1252.
#pragma once

#include <QByteArray>
#include <QString>

// True when the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool IsValidUtf8(const QByteArray& Bytes);

// Valid UTF-8 is read as UTF-8 with a leading byte-order mark dropped;
// anything else as Windows-1252.
QString DecodeAnsi(const QByteArray& Bytes);

// Every byte as its Windows-1252 character; the five bytes that code page
// leaves undefined map to the code points of the same number.
QString DecodeWindows1252(const QByteArray& Bytes);

// Windows-1252 bytes; a character the code page lacks becomes '?'.
QByteArray EncodeWindows1252(const QString& Text);

QByteArray EncodeUtf8(const QString& Text);
