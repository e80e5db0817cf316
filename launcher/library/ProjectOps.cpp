#include "launcher/library/ProjectOps.h"

#include "common/FileSystem.h"

bool IsProjectNameRefused(const QString& Name) {
    return QvrFs::IsUnsafeName(Name);
}

bool NewProject(const QString& DemosDir, const QString& Name) {
    // The folder is looked up without regard to case, so an existing project
    // of the name in another case is found, not made a second time.
    return !IsProjectNameRefused(Name) && QvrFs::CreateDir(DemosDir + Name);
}

TRenameResult RenameProject(const QString& DemosDir, const QString& Old, const QString& New) {
    if (New == Old)
        return TRenameResult::Unchanged;
    // An empty old name would name the Demos folder itself.
    if (IsProjectNameRefused(Old) || IsProjectNameRefused(New))
        return TRenameResult::Failed;
    return QvrFs::MoveFile(DemosDir + Old, DemosDir + New) ? TRenameResult::Renamed
                                                           : TRenameResult::Failed;
}

QList<TLibraryFile> FilesToOffer(const QString& DemosDir, const QString& Shown) {
    QList<TLibraryFile> Files = ListLibraryFiles(DemosDir, {fiDemo, fiSound, fiCamera});
    for (const QString& Project : ListSubfolders(DemosDir).value_or(QStringList())) {
        if (Project.compare(Shown, Qt::CaseInsensitive) == 0)
            continue;
        for (TLibraryFile& File : ListLibraryFiles(ProjectFolderOf(DemosDir, Project))) {
            File.Name = Project + u'\\' + File.Name;
            Files.append(std::move(File));
        }
    }
    return Files;
}

int MoveFilesToProject(const QString& DemosDir, const QString& Project,
                       const QStringList& Checked) {
    if (!Project.isEmpty() && IsProjectNameRefused(Project))
        return 0;
    const QString Target = ProjectFolderOf(DemosDir, Project);
    int Moved = 0;
    for (const QString& Caption : Checked) {
        // A caption is "<file>" or "<project>\<file>", each a plain name.
        const QStringList Parts = Caption.split(u'\\');
        if (Parts.size() > 2 || QvrFs::IsUnsafeSubPath(Caption))
            continue;
        if (QvrFs::MoveFile(DemosDir + Caption, Target + Parts.back()))
            ++Moved;
    }
    return Moved;
}
