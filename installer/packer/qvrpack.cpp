// qvrpack: makes the payload that the installer carries, from a list of
// files, each stored under a name at a compression level.
//
//   qvrpack [--stub PROGRAM] OUTPUT LIST
//
// LIST is a UTF-8 text file with one item per line, fields separated by TAB:
//
//   NAME <TAB> FILE <TAB> LEVEL
//
// NAME is the item's name (unique, letter case ignored), FILE the file to
// store (relative to the list's folder) and LEVEL one of clNone, clFastest,
// clDefault, clMax. Blank lines and lines that start with '#' are skipped.
// Items keep the list's order.
//
// OUTPUT receives the payload, which the installer reads from the end of its
// own program file; with --stub it is PROGRAM's bytes with the payload
// appended (and PROGRAM's permissions), i.e. the finished installer.

#include "installer/mxStorage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>

namespace {

[[noreturn]] void Fail(const QString& Message) {
    throw EError(Message);
}

TCompressionLevel ParseLevel(const QString& Text, const QString& Where) {
    TCompressionLevel Level;
    if (!CompressionLevelOfName(Text.toUtf8(), Level))
        Fail(QStringLiteral("%1: unknown level \"%2\"").arg(Where, Text));
    return Level;
}

void AddItem(TmxStorage& Storage, const QString& Name, const QString& Path,
             TCompressionLevel Level) {
    QFile Source(Path);
    if (!Source.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("Cannot open file \"%1\". %2").arg(Path, Source.errorString()));
    TmxStoredItem* Item = Storage.StoredItems()->Add();
    Item->SetName(Name);
    Item->SetCompression(Level);
    Item->LoadFromStream(&Source);
    Item->SetFileName(QFileInfo(Path).fileName());
}

void Pack(TmxStorage& Storage, const QString& ListPath) {
    QFile List(ListPath);
    if (!List.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("Cannot open file \"%1\". %2").arg(ListPath, List.errorString()));
    const QDir Base = QFileInfo(ListPath).absoluteDir();
    // The packer stands where the reader of a persisted description stands:
    // it sets FileName and FileSize, which are closed to later writes.
    TmxStorageLoading Loading(&Storage);
    int LineNo = 0;
    while (!List.atEnd()) {
        QString Line = QString::fromUtf8(List.readLine());
        ++LineNo;
        while (Line.endsWith(QLatin1Char('\n')) || Line.endsWith(QLatin1Char('\r')))
            Line.chop(1);
        if (Line.trimmed().isEmpty() || Line.startsWith(QLatin1Char('#')))
            continue;
        const QString Where = QStringLiteral("%1:%2").arg(ListPath).arg(LineNo);
        const QStringList Fields = Line.split(QLatin1Char('\t'));
        if (Fields.size() != 3)
            Fail(QStringLiteral("%1: expected NAME<TAB>FILE<TAB>LEVEL").arg(Where));
        try {
            AddItem(Storage, Fields[0], Base.filePath(Fields[1]), ParseLevel(Fields[2], Where));
        } catch (const EError& E) {
            Fail(QStringLiteral("%1: %2").arg(Where, E.Message()));
        }
    }
}

void Write(const TmxStorage& Storage, const QString& OutputPath, const QString& StubPath) {
    QSaveFile Output(OutputPath);
    if (!Output.open(QIODevice::WriteOnly))
        Fail(QStringLiteral("Cannot create file \"%1\". %2").arg(OutputPath, Output.errorString()));
    if (!StubPath.isEmpty()) {
        QFile Stub(StubPath);
        if (!Stub.open(QIODevice::ReadOnly))
            Fail(QStringLiteral("Cannot open file \"%1\". %2").arg(StubPath, Stub.errorString()));
        while (!Stub.atEnd()) {
            const QByteArray Chunk = Stub.read(1 << 20);
            if (Chunk.isEmpty() || Output.write(Chunk) != Chunk.size())
                Fail(QStringLiteral("Cannot copy \"%1\"").arg(StubPath));
        }
    }
    Storage.SaveToPayload(&Output);
    if (!StubPath.isEmpty())
        Output.setPermissions(QFile::permissions(StubPath));
    if (!Output.commit())
        Fail(QStringLiteral("Cannot create file \"%1\". %2").arg(OutputPath, Output.errorString()));
}

int Usage() {
    std::fputs("usage: qvrpack [--stub PROGRAM] OUTPUT LIST\n"
               "LIST: one item per line, NAME<TAB>FILE<TAB>LEVEL "
               "(clNone, clFastest, clDefault, clMax)\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QStringList Args;
    for (int I = 1; I < argc; ++I)
        Args << QString::fromLocal8Bit(argv[I]);
    QString StubPath;
    if (Args.size() >= 2 && Args[0] == QLatin1String("--stub")) {
        StubPath = Args[1];
        Args.remove(0, 2);
    }
    if (Args.size() != 2)
        return Usage();
    try {
        TmxStorage Storage;
        Pack(Storage, Args[1]);
        Write(Storage, Args[0], StubPath);
    } catch (const EError& E) {
        std::fprintf(stderr, "qvrpack: %s\n", E.what());
        return 1;
    }
    return 0;
}
