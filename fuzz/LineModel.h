// What a stream of remote-console bytes must come out as, worked out on the
// whole stream at once: each LF-ended piece is a line (a CR before the LF
// dropped) or, over the limit, one "too long"; an unended piece at the end
// counts only when it is over the limit already. The readers cut the stream
// as it arrives and must give the same.
#pragma once

#include <QByteArray>
#include <QList>

#include <cstdlib>

inline const QByteArray CTooLong = QByteArrayLiteral("\x01(too long)\x01");

inline QList<QByteArray> ExpectedLines(const QByteArray& Stream, qsizetype Max) {
    QList<QByteArray> Lines;
    qsizetype Start = 0;
    for (;;) {
        const qsizetype Lf = Stream.indexOf('\n', Start);
        if (Lf < 0) {
            if (Stream.size() - Start > Max)
                Lines.append(CTooLong);
            return Lines;
        }
        QByteArray Line = Stream.mid(Start, Lf - Start);
        if (Line.size() > Max) {
            Lines.append(CTooLong);
        } else {
            if (Line.endsWith('\r'))
                Line.chop(1);
            Lines.append(Line);
        }
        Start = Lf + 1;
    }
}

inline void Check(bool Condition) {
    if (!Condition)
        std::abort();
}
