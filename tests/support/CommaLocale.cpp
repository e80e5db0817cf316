#include "support/CommaLocale.h"

#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace {

// The numeric category alone is enough for the C library's number
// formatting and reading.
const char CSource[] = "LC_NUMERIC\n"
                       "decimal_point \",\"\n"
                       "thousands_sep \".\"\n"
                       "grouping 3;3\n"
                       "END LC_NUMERIC\n";
// No codeset in the name: the compiled locale has none to match.
const char CName[] = "qvrcomma";

QString CompiledLocaleFolder() {
    const QString Folder = TestRoot() + QStringLiteral("/locale");
    if (QFile::exists(Folder + u'/' + QLatin1String(CName) + QStringLiteral("/LC_NUMERIC")))
        return Folder;
    QDir().mkpath(Folder);
    QFile Source(Folder + QStringLiteral("/comma.src"));
    if (!Source.open(QIODevice::WriteOnly) || Source.write(CSource) < 0)
        return {};
    Source.close();
    // localedef warns about the categories the source leaves out and then
    // says so in its exit code; the files are written all the same.
    QProcess Compiler;
    Compiler.setStandardOutputFile(QProcess::nullDevice());
    Compiler.setStandardErrorFile(QProcess::nullDevice());
    Compiler.start(QStringLiteral("localedef"),
                   {QStringLiteral("-c"), QStringLiteral("-i"), Source.fileName(),
                    Folder + u'/' + QLatin1String(CName)});
    Compiler.waitForFinished();
    return Folder;
}

bool HasDecimalComma() {
    char Text[16];
    std::snprintf(Text, sizeof(Text), "%.1f", 0.5);
    return QByteArray(Text) == "0,5";
}

} // namespace

TCommaLocale::TCommaLocale() {
    FOldDefault = QLocale();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    FOldNumeric = std::setlocale(LC_NUMERIC, nullptr);
    FHadLocPath = qEnvironmentVariableIsSet("LOCPATH");
    FOldLocPath = qgetenv("LOCPATH");
    const QString Folder = CompiledLocaleFolder();
    if (!Folder.isEmpty()) {
        qputenv("LOCPATH", QFile::encodeName(Folder));
        std::setlocale(LC_NUMERIC, CName);
    }
    FNumericActive = HasDecimalComma();
}

TCommaLocale::~TCommaLocale() {
    if (FHadLocPath)
        qputenv("LOCPATH", FOldLocPath);
    else
        qunsetenv("LOCPATH");
    std::setlocale(LC_NUMERIC, FOldNumeric.constData());
    QLocale::setDefault(FOldDefault);
}
