#include "common/DesktopEntry.h"

QString DesktopEntryValue(const QString& Text) {
    QString Value;
    for (const QChar C : Text) {
        switch (C.unicode()) {
        case u'\\':
            Value += QLatin1String("\\\\");
            break;
        case u'\n':
            Value += QLatin1String("\\n");
            break;
        case u'\r':
            Value += QLatin1String("\\r");
            break;
        case u'\t':
            Value += QLatin1String("\\t");
            break;
        default:
            Value += C;
        }
    }
    if (Value.startsWith(u' '))
        Value.replace(0, 1, QStringLiteral("\\s"));
    return Value;
}

QString DesktopExecArgument(const QString& Argument) {
    QString Quoted = QStringLiteral("\"");
    for (const QChar C : Argument) {
        if (C == u'"' || C == u'`' || C == u'$' || C == u'\\')
            Quoted += u'\\';
        if (C == u'%')
            Quoted += u'%';
        Quoted += C;
    }
    return Quoted + u'"';
}
