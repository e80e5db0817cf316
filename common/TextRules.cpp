#include "common/TextRules.h"

#include "common/Errors.h"

#include <limits>

namespace {

bool IsCommaBlank(QChar C) {
    return C.unicode() >= 1 && C.unicode() <= 32;
}

// The field after an opening quote at Text[Pos]; Pos ends right after the
// closing quote, or at the end when none closes the field.
QString TakeQuotedField(const QString& Text, qsizetype& Pos) {
    const qsizetype End = Text.size();
    QString Field;
    qsizetype I = Pos + 1;
    while (I < End) {
        const QChar C = Text[I];
        if (C == u'"') {
            if (I + 1 < End && Text[I + 1] == u'"') {
                Field += u'"';
                I += 2;
                continue;
            }
            Pos = I + 1;
            return Field;
        }
        Field += C;
        ++I;
    }
    // No closing quote: the last character of the text is taken for the
    // closing quote, so the field is the rest of the text without it.
    Pos = End;
    Field.chop(1);
    return Field;
}

int DigitValue(QChar C, int Base) {
    const char16_t U = C.unicode();
    if (U >= u'0' && U <= u'9')
        return U - u'0';
    if (Base == 16 && U >= u'a' && U <= u'f')
        return U - u'a' + 10;
    if (Base == 16 && U >= u'A' && U <= u'F')
        return U - u'A' + 10;
    return -1;
}

[[noreturn]] void InvalidFormat(const QString& Fmt) {
    throw EConvertError(
        QStringLiteral("Format '%1' invalid or incompatible with argument").arg(Fmt));
}

// The largest index, width or precision a format may give: twice the longest
// text a language file holds (2047 characters), so that a hostile format
// cannot ask for gigabytes.
constexpr int CMaxFormatNumber = 4096;

// Reads decimal digits of a format specifier; -1 when there are none. A
// number above CMaxFormatNumber makes the whole format invalid.
int TakeFormatNumber(const QString& Fmt, qsizetype& I) {
    int N = -1;
    while (I < Fmt.size() && Fmt[I] >= u'0' && Fmt[I] <= u'9') {
        N = (N < 0 ? 0 : N) * 10 + (Fmt[I].unicode() - u'0');
        if (N > CMaxFormatNumber)
            InvalidFormat(Fmt);
        ++I;
    }
    return N;
}

} // namespace

QStringList SplitCommaText(const QString& Text) {
    QStringList Fields;
    // A code 0 ends the text: nothing after it is read.
    const qsizetype Nul = Text.indexOf(QChar(0));
    const QString T = Nul >= 0 ? Text.left(Nul) : Text;
    const qsizetype End = T.size();
    qsizetype Pos = 0;
    while (Pos < End && IsCommaBlank(T[Pos]))
        ++Pos;
    while (Pos < End) {
        if (T[Pos] == u'"') {
            Fields.append(TakeQuotedField(T, Pos));
        } else {
            const qsizetype Start = Pos;
            while (Pos < End && !IsCommaBlank(T[Pos]) && T[Pos] != u',')
                ++Pos;
            Fields.append(T.mid(Start, Pos - Start));
        }
        while (Pos < End && IsCommaBlank(T[Pos]))
            ++Pos;
        if (Pos < End && T[Pos] == u',') {
            if (Pos == End - 1)
                Fields.append(QString());
            do
                ++Pos;
            while (Pos < End && IsCommaBlank(T[Pos]));
        }
    }
    return Fields;
}

bool TryStrToInt(const QString& S, int& Value) {
    const qsizetype End = S.size();
    qsizetype I = 0;
    while (I < End && S[I] == u' ')
        ++I;
    bool Negative = false;
    if (I < End && (S[I] == u'+' || S[I] == u'-')) {
        Negative = S[I] == u'-';
        ++I;
    }
    int Base = 10;
    if (I < End && (S[I] == u'$' || S[I] == u'x' || S[I] == u'X')) {
        Base = 16;
        ++I;
    } else if (I + 1 < End && S[I] == u'0' && (S[I + 1] == u'x' || S[I + 1] == u'X')) {
        Base = 16;
        I += 2;
    }
    if (I == End)
        return false;
    // The magnitude may reach 2^31 only for a negative number.
    const qint64 Limit = Negative ? qint64(std::numeric_limits<int>::max()) + 1
                                  : qint64(std::numeric_limits<int>::max());
    qint64 Magnitude = 0;
    for (; I < End; ++I) {
        const int Digit = DigitValue(S[I], Base);
        if (Digit < 0)
            return false;
        Magnitude = Magnitude * Base + Digit;
        if (Magnitude > Limit)
            return false;
    }
    Value = static_cast<int>(Negative ? -Magnitude : Magnitude);
    return true;
}

int StrToInt(const QString& S) {
    int Value = 0;
    if (!TryStrToInt(S, Value))
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(S));
    return Value;
}

QString ValueOfName(const QStringList& Lines, const QString& Name) {
    for (const QString& Line : Lines) {
        const qsizetype Eq = Line.indexOf(u'=');
        if (Eq < 0)
            continue;
        if (QStringView(Line).left(Eq).compare(Name, Qt::CaseInsensitive) == 0)
            return Line.mid(Eq + 1);
    }
    return QString();
}

QString FormatStr(const QString& Fmt, const QStringList& Args) {
    QString Result;
    qsizetype NextArg = 0;
    const qsizetype End = Fmt.size();
    qsizetype I = 0;
    while (I < End) {
        const QChar C = Fmt[I++];
        if (C != u'%') {
            Result += C;
            continue;
        }
        if (I < End && Fmt[I] == u'%') {
            Result += u'%';
            ++I;
            continue;
        }
        // "%" [index ":"] ["-"] [width] ["." precision] type
        int Number = TakeFormatNumber(Fmt, I);
        if (I < End && Fmt[I] == u':') {
            if (Number < 0)
                InvalidFormat(Fmt);
            NextArg = Number;
            ++I;
            Number = -1;
        }
        bool LeftAlign = false;
        if (Number < 0 && I < End && Fmt[I] == u'-') {
            LeftAlign = true;
            ++I;
            Number = TakeFormatNumber(Fmt, I);
        } else if (Number < 0) {
            Number = TakeFormatNumber(Fmt, I);
        }
        const int Width = Number;
        int Precision = -1;
        if (I < End && Fmt[I] == u'.') {
            ++I;
            Precision = TakeFormatNumber(Fmt, I);
            if (Precision < 0)
                InvalidFormat(Fmt);
        }
        // Every argument is a text, so "s" is the only conversion that fits.
        if (I >= End || (Fmt[I] != u's' && Fmt[I] != u'S'))
            InvalidFormat(Fmt);
        ++I;
        if (NextArg >= Args.size())
            InvalidFormat(Fmt);
        QString Arg = Args[NextArg++];
        if (Precision >= 0 && Arg.size() > Precision)
            Arg.truncate(Precision);
        if (Width > Arg.size())
            Arg = LeftAlign ? Arg.leftJustified(Width) : Arg.rightJustified(Width);
        Result += Arg;
    }
    return Result;
}

namespace {
template <class TText, class TCode> TText Trimmed(const TText& Text, TCode Code) {
    qsizetype Begin = 0;
    qsizetype End = Text.size();
    while (Begin < End && Code(Text[Begin]) <= 32)
        ++Begin;
    while (End > Begin && Code(Text[End - 1]) <= 32)
        --End;
    return Text.mid(Begin, End - Begin);
}
} // namespace

QByteArray TrimBlanks(const QByteArray& Text) {
    return Trimmed(Text, [](char C) { return uint(static_cast<unsigned char>(C)); });
}

QString TrimBlanks(const QString& Text) {
    return Trimmed(Text, [](QChar C) { return uint(C.unicode()); });
}
