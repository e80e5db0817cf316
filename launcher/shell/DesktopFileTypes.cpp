#include "launcher/shell/DesktopFileTypes.h"

#include "common/DesktopEntry.h"

#include "common/Errors.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QMap>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QXmlStreamWriter>

namespace {

const QString CPackageName = QStringLiteral("quorvane");

// The file is written beside its place and then takes it, so a desktop that
// watches these folders never reads half a file.
void WriteWhole(const QString& HostPath, const QByteArray& Bytes) {
    QSaveFile File(HostPath);
    if (!QDir().mkpath(QFileInfo(HostPath).absolutePath()) || !File.open(QIODevice::WriteOnly) ||
        File.write(Bytes) != Bytes.size() || !File.commit())
        throw EFCreateError(
            QStringLiteral("Cannot create file \"%1\". %2").arg(HostPath, File.errorString()));
}

QString IconName(const TDesktopFileType& Type) {
    return DesktopMimeType(Type.Extension).replace(u'/', u'-');
}

QByteArray MimePackage(const QList<TDesktopFileType>& Types) {
    QByteArray Xml;
    QXmlStreamWriter Writer(&Xml);
    Writer.setAutoFormatting(true);
    Writer.writeStartDocument();
    Writer.writeStartElement(QStringLiteral("mime-info"));
    Writer.writeDefaultNamespace(
        QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
    for (const TDesktopFileType& Type : Types) {
        Writer.writeStartElement(QStringLiteral("mime-type"));
        Writer.writeAttribute(QStringLiteral("type"), DesktopMimeType(Type.Extension));
        if (!Type.Comment.isEmpty())
            Writer.writeTextElement(QStringLiteral("comment"), Type.Comment);
        Writer.writeEmptyElement(QStringLiteral("icon"));
        Writer.writeAttribute(QStringLiteral("name"), IconName(Type));
        Writer.writeEmptyElement(QStringLiteral("glob"));
        Writer.writeAttribute(QStringLiteral("pattern"), QStringLiteral("*.") + Type.Extension);
        Writer.writeEndElement();
    }
    Writer.writeEndDocument();
    return Xml;
}

// The bit depth of each image of an icon file, in the file's order, from its
// directory (a 6-byte header, then 16 bytes per image).
QList<int> IconDepths(const QByteArray& Ico) {
    QList<int> Depths;
    const auto* P = reinterpret_cast<const uchar*>(Ico.constData());
    if (Ico.size() < 6)
        return Depths;
    const int Count = P[4] | P[5] << 8;
    for (int I = 0; I < Count && 6 + 16 * (I + 1) <= Ico.size(); ++I) {
        const uchar* Entry = P + 6 + 16 * I;
        Depths.append(Entry[6] | Entry[7] << 8);
    }
    return Depths;
}

// The icon's images as PNG files by size, each from the deepest image of
// that size.
QMap<int, QByteArray> IconPngs(const QByteArray& Ico) {
    const QList<int> Depths = IconDepths(Ico);
    QBuffer Source;
    Source.setData(Ico);
    Source.open(QIODevice::ReadOnly);
    QImageReader Reader(&Source, "ico");
    QMap<int, QImage> Best;
    QMap<int, int> BestDepth;
    for (int I = 0; I < Reader.imageCount(); ++I) {
        if (!Reader.jumpToImage(I))
            break;
        const QImage Image = Reader.read();
        if (Image.isNull() || Image.width() != Image.height())
            continue;
        const int Size = Image.width();
        const int Depth = I < Depths.size() ? Depths[I] : Image.depth();
        if (!Best.contains(Size) || Depth > BestDepth[Size]) {
            Best[Size] = Image;
            BestDepth[Size] = Depth;
        }
    }
    QMap<int, QByteArray> Pngs;
    for (auto It = Best.cbegin(); It != Best.cend(); ++It) {
        QBuffer Png;
        Png.open(QIODevice::WriteOnly);
        if (It.value().save(&Png, "PNG"))
            Pngs[It.key()] = Png.data();
    }
    return Pngs;
}

QByteArray DesktopEntry(const QString& ProgramFile, const QList<TDesktopFileType>& Types) {
    QString MimeTypes;
    for (const TDesktopFileType& Type : Types)
        MimeTypes += DesktopMimeType(Type.Extension) + u';';
    const QString Entry =
        QStringLiteral("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Quorvane\n"
                       "Exec=%1 %f\n"
                       "Path=%2\n"
                       "MimeType=%3\n"
                       "NoDisplay=true\n"
                       "Terminal=false\n")
            .arg(DesktopEntryValue(DesktopExecArgument(ProgramFile)),
                 DesktopEntryValue(QFileInfo(ProgramFile).absolutePath()), MimeTypes);
    return Entry.toUtf8();
}

// Runs a host tool and waits for it; a tool that is not there is no error.
void RunTool(const QString& Name, const QStringList& Arguments) {
    const QString Program = QStandardPaths::findExecutable(Name);
    if (Program.isEmpty())
        return;
    QProcess Tool;
    Tool.setProgram(Program);
    Tool.setArguments(Arguments);
    Tool.setStandardOutputFile(QProcess::nullDevice());
    Tool.setStandardErrorFile(QProcess::nullDevice());
    Tool.start();
    Tool.waitForFinished(60000);
}

} // namespace

QString DesktopDataDir() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString DesktopMimeType(const QString& Extension) {
    return QStringLiteral("application/x-") + Extension;
}

void WriteDesktopFileTypes(const QString& ProgramFile, const QList<TDesktopFileType>& Types) {
    const QString Data = DesktopDataDir();
    const QString Mime = Data + QStringLiteral("/mime");
    const QString Applications = Data + QStringLiteral("/applications");
    const QString Theme = Data + QStringLiteral("/icons/hicolor");

    WriteWhole(Mime + QStringLiteral("/packages/") + CPackageName + QStringLiteral(".xml"),
               MimePackage(Types));
    for (const TDesktopFileType& Type : Types) {
        const QMap<int, QByteArray> Pngs = IconPngs(Type.Icon);
        for (auto It = Pngs.cbegin(); It != Pngs.cend(); ++It)
            WriteWhole(QStringLiteral("%1/%2x%2/mimetypes/%3.png")
                           .arg(Theme)
                           .arg(It.key())
                           .arg(IconName(Type)),
                       It.value());
    }
    WriteWhole(Applications + u'/' + CPackageName + QStringLiteral(".desktop"),
               DesktopEntry(ProgramFile, Types));

    RunTool(QStringLiteral("update-mime-database"), {Mime});
    RunTool(QStringLiteral("update-desktop-database"), {Applications});
    // A cache made here would hide icons that other programs add later
    // without renewing it; one that is there is kept current.
    if (QFileInfo::exists(Theme + QStringLiteral("/icon-theme.cache")))
        RunTool(QStringLiteral("gtk-update-icon-cache"),
                {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("-f"), Theme});
}
