// Helpers shared by the installer's tests: payloads made on the spot, the
// single-instance lock in a private runtime folder, a progress recorder.
#pragma once

#include "StorageTestUtil.h"
#include "common/SingleInstance.h"
#include "installer/InstallProcedure.h"
#include "support/InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

namespace SetupTest {

inline const QString CInstanceName = QStringLiteral("OneInstance");

// What a payload item holds in these tests.
inline QByteArray ItemBytes(const QString& Name) {
    return "bytes of " + Name.toUtf8() + "\n" + StorageTest::SampleFile(5000);
}

// A container with every item the procedure writes, but Skip; the stored
// bytes of Damage are spoilt in their checksum.
inline void FillStorage(TmxStorage& Storage, const QString& Skip = {}, const QString& Damage = {}) {
    for (const TPayloadItem& Entry : PayloadItems()) {
        if (Entry.Name == Skip)
            continue;
        TmxStoredItem* Item = Storage.StoredItems()->Add();
        Item->SetName(Entry.Name);
        StorageTest::Store(Item, ItemBytes(Entry.Name));
        if (Entry.Name == Damage) {
            QByteArray Stored = StorageTest::StoredBytes(Item);
            Stored[Stored.size() - 1] = char(Stored[Stored.size() - 1] ^ 0x5A);
            StorageTest::SetStoredBytes(Item, Stored);
        }
    }
}

// A program file that carries such a container as its payload.
inline QString MakeProgram(const QString& Dir, const QString& Skip = {},
                           const QString& Damage = {}) {
    TmxStorage Storage;
    FillStorage(Storage, Skip, Damage);
    const QString Path = Dir + QStringLiteral("/qvrsetup");
    QFile File(Path);
    File.open(QIODevice::WriteOnly | QIODevice::Truncate);
    File.write("\x7F"
               "ELF program bytes");
    Storage.SaveToPayload(&File);
    return Path;
}

// A private runtime folder, and with it a lock of this test's own; this
// process lets go of the lock when the scope ends.
class TRuntimeDirScope {
public:
    TRuntimeDirScope() : FOld(qgetenv("XDG_RUNTIME_DIR")) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(FDir.path()));
    }
    ~TRuntimeDirScope() {
        ReleaseSingleInstance(CInstanceName);
        qputenv("XDG_RUNTIME_DIR", FOld);
    }
    QString Path() const { return FDir.path(); }

private:
    QByteArray FOld;
    QTemporaryDir FDir;
};

} // namespace SetupTest
