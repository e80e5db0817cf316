// How failed checks show Qt's strings: as quoted text, not as lists of
// characters or bytes. Every test source is compiled with this header first
// (qvr_add_test sees to it): a printer that some sources of a program saw and
// others did not would leave the linker to pick one of the two at random.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <ostream>

inline void PrintTo(const QString& Text, std::ostream* Os) {
    *Os << '"' << Text.toStdString() << '"';
}

// Printable ASCII as it is, line ends and tabs as \r, \n and \t, every
// other byte as \xNN.
inline void PrintTo(const QByteArray& Bytes, std::ostream* Os) {
    *Os << '"';
    for (const char C : Bytes) {
        if (C >= 0x20 && C < 0x7F && C != '\\' && C != '"') {
            *Os << C;
        } else if (C == '\r' || C == '\n' || C == '\t') {
            *Os << (C == '\r' ? "\\r" : C == '\n' ? "\\n" : "\\t");
        } else {
            char Escape[5];
            std::snprintf(Escape, sizeof Escape, "\\x%02X", static_cast<unsigned char>(C));
            *Os << Escape;
        }
    }
    *Os << '"';
}
