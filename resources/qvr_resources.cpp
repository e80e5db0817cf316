#include "resources/qvr_resources.h"

#include <QFile>

bool qvrResourcesPresent() {
    return QFile::exists(QStringLiteral(":/qvr/app/qvr.png")) &&
           QFile::exists(QStringLiteral(":/qvr/ico/bf2demo.ico")) &&
           QFile::exists(QStringLiteral(":/qvr/ico/bf2cam.ico"));
}
