// The fuzz targets work on memory only; reaching the file-system layer would
// be a fault of the target itself.
#include "common/FileSystem.h"

#include <cstdlib>

QString QvrFs::HostPath(const QString&) {
    std::abort();
}
