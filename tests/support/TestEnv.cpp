#include "support/TestEnv.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

namespace {
QTemporaryDir* GRoot = nullptr;

void SetEnv(const char* Name, const QString& Value) {
    ::setenv(Name, QDir::toNativeSeparators(Value).toLocal8Bit().constData(), 1);
}
} // namespace

void SetUpTestEnvironment() {
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    GRoot = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/qvr-test-XXXXXX"));
    const QString R = GRoot->path();
    for (const char* Sub : {"home", "runtime", "config", "data", "wine"})
        QDir(R).mkpath(QString::fromLatin1(Sub));
    QFile::setPermissions(R + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    SetEnv("HOME", R + QStringLiteral("/home"));
    SetEnv("XDG_RUNTIME_DIR", R + QStringLiteral("/runtime"));
    SetEnv("XDG_CONFIG_HOME", R + QStringLiteral("/config"));
    SetEnv("XDG_DATA_HOME", R + QStringLiteral("/data"));
    SetEnv("WINEPREFIX", R + QStringLiteral("/wine"));
}

QString TestRoot() {
    return GRoot ? GRoot->path() : QString();
}

void TearDownTestEnvironment() {
    delete GRoot;
    GRoot = nullptr;
}
