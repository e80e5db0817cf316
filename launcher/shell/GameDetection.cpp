#include "launcher/shell/GameDetection.h"

#include "common/FileSystem.h"
#include "common/Registry.h"
#include "common/TextRules.h"

#include <QStringList>

QString ReadBF2InstallDir() {
    return ReadMachineString(
        QStringLiteral("\\SOFTWARE\\Electronic Arts\\EA GAMES\\Battlefield 2\\"),
        QStringLiteral("InstallDir"));
}

bool BF2ExeExists(const QString& GameDir) {
    return QvrFs::FileExists(GameDir + QStringLiteral("BF2.exe"));
}

QString ReadBF2Version(const QString& GameDir) {
    const QStringList Lines = QvrFs::LoadLines(GameDir + QStringLiteral("mods\\bf2\\mod.desc"));
    QString Text;
    for (const QString& L : Lines)
        Text += L + QStringLiteral("\r\n");
    // The lines are joined with CR LF, so a short version keeps the line
    // break and the start of the next line.
    const qsizetype P = Text.indexOf(QStringLiteral("<version> ")) + 1;
    return TrimBlanks(Text.mid(P + 9, 12));
}
