#include "launcher/shell/Associations.h"

#include "common/FileSystem.h"
#include "common/Folders.h"
#include "common/Registry.h"

#include <QFile>
#include <QPair>

QString WriteAssociationIcons() {
    const QString IconDir = GetSystemDir() + QStringLiteral("\\qvr\\");
    if (!QvrFs::DirectoryExists(IconDir))
        QvrFs::CreateDir(IconDir);
    for (const char* Name : {"bf2demo", "bf2cam"}) {
        const QString Target = IconDir + QLatin1String(Name) + QStringLiteral(".ico");
        if (QvrFs::FileExists(Target))
            continue;
        QFile Resource(QStringLiteral(":/qvr/ico/%1.ico").arg(QLatin1String(Name)));
        Resource.open(QIODevice::ReadOnly);
        QvrFs::WriteFile(Target, Resource.readAll());
    }
    return IconDir;
}

void WriteAssociations(const QString& ProgramFile, const QString& IconDir,
                       const TAssociationTexts& Texts) {
    TRegistryFile Classes(ClassesRegistryPath(), QStringLiteral("\\Machine\\Software\\Classes"));
    const QString Command = ProgramFile + QStringLiteral(" %1");
    const QPair<QString, QString> Values[] = {
        {QStringLiteral(".bf2demo"), QStringLiteral("BF2.Demo")},
        {QStringLiteral("BF2.Demo"), Texts.DemoType},
        {QStringLiteral("BF2.Demo\\DefaultIcon"), IconDir + QStringLiteral("bf2demo.ico")},
        {QStringLiteral("BF2.Demo\\Shell\\Open"), Texts.Open},
        {QStringLiteral("BF2.Demo\\Shell\\Open\\Command"), Command},
        {QStringLiteral(".bf2cam"), QStringLiteral("BF2.Camera")},
        {QStringLiteral("BF2.Camera"), Texts.CameraType},
        {QStringLiteral("BF2.Camera\\DefaultIcon"), IconDir + QStringLiteral("bf2cam.ico")},
        {QStringLiteral("BF2.Camera\\Shell\\Open"), Texts.Open},
        {QStringLiteral("BF2.Camera\\Shell\\Open\\Command"), Command},
    };
    for (const auto& [Key, Value] : Values)
        Classes.WriteString(Key, QString(), Value);
}
