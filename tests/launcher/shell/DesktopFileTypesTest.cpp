// The file types as a freedesktop desktop reads them, in this test process's
// private data folder ($XDG_DATA_HOME), checked with the desktop's own tools
// where they are installed.
#include "launcher/shell/DesktopFileTypes.h"

#include "common/Errors.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

QByteArray Icon(const char* Name) {
    return ReadHostFile(QStringLiteral(QVR_SOURCE_DIR "/resources/icons/") + QLatin1String(Name) +
                        QStringLiteral(".ico"));
}

QList<TDesktopFileType> Types(const QString& DemoComment, const QString& CameraComment) {
    return {{"bf2demo", DemoComment, Icon("bf2demo")}, {"bf2cam", CameraComment, Icon("bf2cam")}};
}

// Runs a host tool; its standard output, or a null string when it is not
// installed.
QString RunTool(const QString& Tool, const QStringList& Arguments,
                const QProcessEnvironment& Env = QProcessEnvironment::systemEnvironment()) {
    const QString Program = QStandardPaths::findExecutable(Tool);
    if (Program.isEmpty())
        return QString();
    QProcess P;
    P.setProcessEnvironment(Env);
    P.start(Program, Arguments);
    P.waitForFinished(60000);
    return QString::fromUtf8(P.readAllStandardOutput() + P.readAllStandardError()).trimmed();
}

// The <mime-type> elements of a package: type -> "comment|icon|glob".
QMap<QString, QString> MimeTypes(const QByteArray& Xml) {
    QMap<QString, QString> Types;
    QXmlStreamReader Reader(Xml);
    QString Type;
    while (!Reader.atEnd()) {
        if (Reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto Name = Reader.name();
        if (Name == u"mime-type")
            Type = Reader.attributes().value("type").toString();
        else if (Name == u"comment")
            Types[Type] += Reader.readElementText() + u'|';
        else if (Name == u"icon")
            Types[Type] += Reader.attributes().value("name").toString() + u'|';
        else if (Name == u"glob")
            Types[Type] += Reader.attributes().value("pattern").toString();
    }
    EXPECT_FALSE(Reader.hasError()) << Reader.errorString().toStdString();
    return Types;
}

TEST(DesktopFileTypes, FilesLandWhereTheDesktopLooks) {
    const QString Data = DesktopDataDir();
    ASSERT_EQ(Data, qEnvironmentVariable("XDG_DATA_HOME"));
    const QString Program = "/opt/Quor vane \"1\" $HOME 100%/bin\\x/qvr";
    WriteDesktopFileTypes(Program, Types("Old name", "Old camera"));
    // A later call replaces what the first wrote.
    WriteDesktopFileTypes(Program, Types("Battlefield 2 Demo <&>", ""));

    EXPECT_EQ(MimeTypes(ReadHostFile(Data + "/mime/packages/quorvane.xml")),
              (QMap<QString, QString>{{"application/x-bf2demo",
                                       "Battlefield 2 Demo <&>|application-x-bf2demo|*.bf2demo"},
                                      {"application/x-bf2cam", "application-x-bf2cam|*.bf2cam"}}));

    // Every size of the icon, from its 32-bit image: only that one has soft
    // edges (alpha between clear and solid).
    for (const char* Name : {"application-x-bf2demo", "application-x-bf2cam"})
        for (int Size : {16, 32, 48}) {
            const QString Path = QStringLiteral("%1/icons/hicolor/%2x%2/mimetypes/%3.png")
                                     .arg(Data)
                                     .arg(Size)
                                     .arg(QLatin1String(Name));
            QImage Png;
            ASSERT_TRUE(Png.load(Path, "PNG")) << Path.toStdString();
            EXPECT_EQ(Png.size(), QSize(Size, Size));
            bool Soft = false;
            for (int Y = 0; Y < Size && !Soft; ++Y)
                for (int X = 0; X < Size && !Soft; ++X)
                    Soft = qAlpha(Png.pixel(X, Y)) > 0 && qAlpha(Png.pixel(X, Y)) < 255;
            EXPECT_TRUE(Soft) << Path.toStdString();
        }
    EXPECT_EQ(QDir(Data + "/icons/hicolor").entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{"16x16", "32x32", "48x48"}));

    const QString Entry = QString::fromUtf8(ReadHostFile(Data + "/applications/quorvane.desktop"));
    const QStringList Lines = Entry.split(u'\n');
    EXPECT_EQ(Lines.first(), "[Desktop Entry]");
    // Quoted, "\"", "$" and "\" escaped in the quotes, "%" doubled, and then
    // every backslash escaped once more as the file's strings are.
    EXPECT_TRUE(Lines.contains(R"(Exec="/opt/Quor vane \\"1\\" \\$HOME 100%%/bin\\\\x/qvr" %f)"))
        << Entry.toStdString();
    EXPECT_TRUE(Lines.contains(R"(Path=/opt/Quor vane "1" $HOME 100%/bin\\x)"));
    EXPECT_TRUE(Lines.contains("MimeType=application/x-bf2demo;application/x-bf2cam;"));
    EXPECT_TRUE(Lines.contains("NoDisplay=true"));
    const QString Problems =
        RunTool("desktop-file-validate", {Data + "/applications/quorvane.desktop"});
    EXPECT_TRUE(Problems.isEmpty()) << Problems.toStdString();

    // The caches the desktop reads are renewed when their tools are here.
    if (!QStandardPaths::findExecutable("update-desktop-database").isEmpty()) {
        EXPECT_TRUE(ReadHostFile(Data + "/applications/mimeinfo.cache")
                        .contains("application/x-bf2demo=quorvane.desktop;"));
    }
    if (!QStandardPaths::findExecutable("update-mime-database").isEmpty()) {
        EXPECT_TRUE(ReadHostFile(Data + "/mime/globs2").contains("application/x-bf2cam:*.bf2cam"));
    }
}

TEST(DesktopFileTypes, TheDesktopTellsADemoByItsName) {
    // xdg-mime answers through GIO under GNOME; elsewhere through the
    // "mimetype" tool, or through "file", which knows no MIME database.
    const bool Gio = !QStandardPaths::findExecutable("gio").isEmpty();
    if (QStandardPaths::findExecutable("xdg-mime").isEmpty() ||
        QStandardPaths::findExecutable("update-mime-database").isEmpty() ||
        (!Gio && QStandardPaths::findExecutable("mimetype").isEmpty()))
        GTEST_SKIP() << "no xdg-mime that reads the MIME database here";
    WriteDesktopFileTypes("/opt/quorvane/qvr", Types("Battlefield 2 Demo", "Battlefield 2 Camera"));

    QTemporaryDir Dir;
    for (const char* Name : {"take1.bf2demo", "TAKE2.BF2CAM"}) {
        QFile F(Dir.filePath(Name));
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write(QByteArray("\x00\x01\x02 recorded match", 19));
    }
    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    if (Gio) {
        Env.insert("XDG_CURRENT_DESKTOP", "GNOME");
        Env.insert("GIO_USE_VFS", "local");
    }
    EXPECT_EQ(RunTool("xdg-mime", {"query", "filetype", Dir.filePath("take1.bf2demo")}, Env),
              "application/x-bf2demo");
    EXPECT_EQ(RunTool("xdg-mime", {"query", "filetype", Dir.filePath("TAKE2.BF2CAM")}, Env),
              "application/x-bf2cam");
}

TEST(DesktopFileTypes, AFileThatCannotBeWrittenRaisesTheFileError) {
    QTemporaryDir Dir;
    const QString NotAFolder = Dir.filePath("data");
    QFile(NotAFolder).open(QIODevice::WriteOnly);
    const QByteArray Saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(NotAFolder));
    try {
        WriteDesktopFileTypes("/opt/quorvane/qvr", Types("Demo", "Camera"));
        ADD_FAILURE() << "no error";
    } catch (const EFCreateError& E) {
        EXPECT_TRUE(E.Message().startsWith("Cannot create file \"" + NotAFolder +
                                           "/mime/packages/quorvane.xml\". "))
            << E.Message().toStdString();
    }
    qputenv("XDG_DATA_HOME", Saved);
}

} // namespace
