#include "launcher/library/ScanImport.h"

#include "common/FileSystem.h"
#include "common/TextRules.h"

QString DefaultProfileDir(const QString& MyDocumentsDir) {
    return MyDocumentsDir + QStringLiteral("\\Battlefield 2\\Profiles\\Default\\");
}

QString ScanFolderOf(const QString& MyDocumentsDir) {
    return DefaultProfileDir(MyDocumentsDir) + QStringLiteral("Demos\\");
}

bool PrepareScanFolder(const QString& MyDocumentsDir) {
    // Without a documents folder the path would start at the host's root.
    if (MyDocumentsDir.isEmpty())
        return false;
    const QString Folder = ScanFolderOf(MyDocumentsDir);
    if (QvrFs::DirectoryExists(Folder))
        return true;
    if (!QvrFs::DirectoryExists(DefaultProfileDir(MyDocumentsDir)))
        return false;
    QvrFs::CreateDir(Folder);
    return true;
}

QList<TScanEntry> ScanDemos(const QString& Folder, const QString& DemoText,
                            const QString& CameraText) {
    QList<TScanEntry> Entries;
    if (Folder.isEmpty())
        return Entries;
    for (const auto& [Mask, TypeText] : {std::pair{QStringLiteral("*.bf2demo"), &DemoText},
                                         std::pair{QStringLiteral("*.bf2cam"), &CameraText}})
        QvrFs::ForEachFile(Folder + Mask, [&](const QvrFs::TSearchRec& Entry) {
            if (!QvrFs::IsUnsafeName(Entry.Name))
                Entries.append({QvrFs::ChangeFileExt(Entry.Name, QString()), *TypeText});
        });
    return Entries;
}

QString ScanningCaption(const QString& ScanningText, const QString& NoFilesFoundText) {
    return FormatStr(QStringLiteral("%s -- %s"), {ScanningText, NoFilesFoundText});
}

QString FilesFoundCaption(const QString& ScanText, qsizetype Count, const QString& FilesFoundText) {
    return FormatStr(QStringLiteral("%s -- %s %s"),
                     {ScanText, QString::number(Count), FilesFoundText});
}

int ImportScanned(const QString& ScanFolder, const QString& DemosDir,
                  const QList<TScanEntry>& Ticked, const QString& DemoText,
                  const TImportOptions& Options) {
    int Copied = 0;
    for (const TScanEntry& Entry : Ticked) {
        if (QvrFs::IsUnsafeName(Entry.Caption))
            continue;
        const QString Name =
            Entry.Caption +
            (Entry.TypeText == DemoText ? QStringLiteral(".bf2demo") : QStringLiteral(".bf2cam"));
        if (!QvrFs::CopyFile(ScanFolder + Name, DemosDir + Name, Options.DontOverwrite))
            continue;
        ++Copied;
        if (Options.DeleteOriginal)
            QvrFs::DeleteFile(ScanFolder + Name);
    }
    return Copied;
}
