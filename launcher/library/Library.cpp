#include "launcher/library/Library.h"

#include "common/FileSystem.h"

QString ModFolderOf(const QString& GameDir, const QString& Mod) {
    return GameDir + QStringLiteral("mods\\") + Mod;
}

QString DemosDirOf(const QString& GameDir, const QString& Mod) {
    return ModFolderOf(GameDir, Mod) + QStringLiteral("\\Demos\\");
}

QString LevelsDirOf(const QString& GameDir, const QString& Mod) {
    return ModFolderOf(GameDir, Mod) + QStringLiteral("\\Levels\\");
}

std::optional<QStringList> ListSubfolders(const QString& Folder) {
    // An empty folder would search the process's current folder.
    if (Folder.isEmpty())
        return std::nullopt;
    const QList<QvrFs::TSearchRec> Entries = QvrFs::FindFiles(Folder + QStringLiteral("*.*"));
    if (Entries.isEmpty())
        return std::nullopt;
    QStringList Names;
    for (const QvrFs::TSearchRec& R : Entries)
        if (R.IsDir && !QvrFs::IsUnsafeName(R.Name))
            Names.append(R.Name);
    return Names;
}

QList<TLibraryFile> ListLibraryFiles(const QString& Folder,
                                     const std::array<TFileImage, 3>& Order) {
    // One listing sorted into the three groups gives what one search per mask
    // gives, at a third of the reads; each group keeps the directory order.
    static const QPair<QString, TFileImage> Masks[] = {{QStringLiteral("*.bf2demo"), fiDemo},
                                                       {QStringLiteral("*.bf2cam"), fiCamera},
                                                       {QStringLiteral("*.wav"), fiSound}};
    // An empty folder would search the process's current folder.
    if (Folder.isEmpty())
        return {};
    QList<TLibraryFile> Groups[3];
    QvrFs::ForEachFile(Folder + QStringLiteral("*"), [&](const QvrFs::TSearchRec& Entry) {
        // A name that would change what a script or a command line says is
        // never offered.
        if (QvrFs::IsUnsafeName(Entry.Name))
            return;
        for (const auto& [Mask, Image] : Masks)
            if (QvrFs::MatchesMask(Entry.Name, Mask)) {
                Groups[Image].append({Entry.Name, Image});
                break;
            }
    });
    QList<TLibraryFile> Files;
    Files.reserve(Groups[0].size() + Groups[1].size() + Groups[2].size());
    for (const TFileImage Image : Order)
        for (TLibraryFile& File : Groups[Image])
            Files.append(std::move(File));
    return Files;
}

TFileKind FileKindOf(const QString& Caption) {
    QString Ext = QvrFs::ExtractFileExt(Caption);
    for (QChar& C : Ext)
        if (C >= u'A' && C <= u'Z')
            C = QChar(C.unicode() + (u'a' - u'A'));
    if (Ext == QLatin1String(".bf2demo"))
        return TFileKind::Demo;
    if (Ext == QLatin1String(".bf2cam"))
        return TFileKind::Camera;
    return TFileKind::Other;
}

QString ProjectOfEntry(const QString& Entry, const QString& Unassigned) {
    return Entry == Unassigned ? QString() : Entry;
}

QString ProjectFolderOf(const QString& DemosDir, const QString& Project) {
    return Project.isEmpty() ? DemosDir : DemosDir + Project + u'\\';
}

QString LibraryFileValue(const QString& Mod, const QString& Project, const QString& FileName) {
    // Relative to the game folder: the Demos folder of an empty game folder.
    return ProjectFolderOf(DemosDirOf(QString(), Mod), Project) + FileName;
}

QString StripAccelerators(const QString& Caption) {
    QString S = Caption;
    return S.remove(u'&');
}
