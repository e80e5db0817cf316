// The installer's stored-file container: every file that the installer writes
// is held here, compressed, for the life of the wizard window, and written out
// by name. The same unit stores files (the build-time packer uses that side)
// and reads and writes the container's persisted description, the payload
// that the installer carries at the end of its own program file.
#pragma once

#include "common/Errors.h"
#include "installer/mxStreams.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QObject>
#include <QString>

#include <functional>

class QIODevice;
class TmxStorage;
class TmxStoredItem;
class TmxStoredItems;

// The stored form of an item: clNone keeps the file's bytes as they are, the
// others hold one zlib stream at zlib level 1, -1 (zlib's default) and 9.
enum TCompressionLevel : quint8 { clNone = 0, clFastest = 1, clDefault = 2, clMax = 3 };

// A level's identifier as the persisted description and the packer's list
// write it: "clNone", "clFastest", "clDefault", "clMax".
const char* CompressionLevelName(TCompressionLevel Level);
// The level of such an identifier; false (and Level untouched) for any other.
bool CompressionLevelOfName(const QByteArray& Name, TCompressionLevel& Level);

using TmxNotifyEvent = std::function<void(TmxStoredItem* Sender)>;
// Stream is the source of a store or the destination of an extraction.
using TmxStreamEvent = std::function<void(TmxStoredItem* Sender, QIODevice* Stream)>;

// A name taken by another item: "Duplicated stored item name".
class EmxStorageError : public EError {
    using EError::EError;
};

// One stored file. It is made by (and inserted into) a TmxStoredItems list,
// which gives it its default name; deleting it takes it out of the list.
class TmxStoredItem {
public:
    explicit TmxStoredItem(TmxStoredItems* Collection);
    ~TmxStoredItem();
    TmxStoredItem(const TmxStoredItem&) = delete;
    TmxStoredItem& operator=(const TmxStoredItem&) = delete;

    TmxStoredItems* Collection() const { return FCollection; }

    qint32 Tag() const { return FTag; }
    void SetTag(qint32 Value) { FTag = Value; }

    const QString& Name() const { return FName; }
    // A change of letter case alone is not taken; a name that another item
    // bears (letter case ignored) raises EmxStorageError.
    void SetName(const QString& Value);

    // FileName and FileSize are set only while the container is loading (the
    // payload reader, the packer); other writes are ignored.
    const QString& FileName() const { return FFileName; }
    void SetFileName(const QString& Value);
    qint32 FileSize() const { return FFileSize; }
    void SetFileSize(qint32 Value);

    TCompressionLevel Compression() const { return FCompression; }
    // Outside loading, a new level re-stores the item at that level, so that
    // the stored bytes always match it.
    void SetCompression(TCompressionLevel Value);

    // The number of stored bytes.
    qint32 Size() const { return static_cast<qint32>(FStored.size()); }
    // Size / FileSize in percent, two decimals with the locale's decimal
    // separator: "96.84%"; "100%" when FileSize is 0.
    QString Ratio(const QLocale& Locale = QLocale()) const;

    // Extracts the file into Dest (an open, writable device); nothing happens
    // without one. Inflates straight into Dest through a fixed buffer.
    void SaveToStream(QIODevice* Dest);
    // Creates (or replaces) the file at a Windows-form path and extracts into
    // it; EFCreateError "Cannot create file \"%s\". %s" when it cannot.
    void SaveToFile(const QString& Path);
    // Stores the whole of Source (an open, readable device) at the item's
    // level. No source, or an empty one, only empties the item.
    void LoadFromStream(QIODevice* Source);

    // The StoredItem value: Int32 little-endian N, then the N stored bytes.
    void ReadData(QIODevice* Stream);
    void WriteData(QIODevice* Stream) const;

    TmxNotifyEvent OnDestroy;
    TmxStreamEvent OnBeforeLoad;
    TmxStreamEvent OnBeforeSave;
    TmxNotifyEvent OnAfterLoad;
    TmxNotifyEvent OnAfterSave;

private:
    bool Loading() const;

    TmxStoredItems* FCollection;
    qint32 FTag = 0;
    QString FName;
    QString FFileName;
    qint32 FFileSize = 0;
    QByteArray FStored;
    TCompressionLevel FCompression = clDefault;
};

// The ordered item list of a container (indexes from 0). It owns its items.
class TmxStoredItems {
public:
    explicit TmxStoredItems(TmxStorage* Owner) : FOwner(Owner) {}
    ~TmxStoredItems();
    TmxStoredItems(const TmxStoredItems&) = delete;
    TmxStoredItems& operator=(const TmxStoredItems&) = delete;

    TmxStorage* Owner() const { return FOwner; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EError "List index out of bounds (%d)" outside 0 .. Count - 1.
    TmxStoredItem* Items(int Index) const;

    // A new item with the defaults and its default name, at the end.
    TmxStoredItem* Add();
    void Delete(int Index);
    void Clear();

private:
    friend class TmxStoredItem;
    friend class TmxStorage;
    TmxStoredItem* ItemNamed(const QString& Name) const;
    // Another item than Except that bears Name, letter case ignored.
    bool NameTaken(const QString& Name, const TmxStoredItem* Except) const;
    // "mxStoredItem%d" with the lowest n that no other item bears.
    QString DefaultName(const TmxStoredItem* Item);
    void NameSet(TmxStoredItem* Item, const QString& Old, const QString& New);
    void NameDropped(TmxStoredItem* Item, const QString& Name);

    TmxStorage* FOwner;
    QList<TmxStoredItem*> FItems;
    // Names by their case-folded form, so that a payload of many items loads
    // in linear time.
    QHash<QString, TmxStoredItem*> FNames;
    // Every default number below this one is taken.
    int FDefaultLow = 1;
};

// The container. Its owner (the wizard window) destroys it, and with it every
// item.
class TmxStorage : public QObject {
public:
    explicit TmxStorage(QObject* AOwner = nullptr);
    ~TmxStorage() override;

    TmxStoredItems* StoredItems() const { return FStoredItems; }

    // The first item whose name equals Name, letter case ignored; none when
    // no item matches.
    TmxStoredItem* FindItem(const QString& Name) const;
    // The item at Index; none outside 0 .. count - 1.
    TmxStoredItem* GetItem(qint32 Index) const;

    // Sums over the items of FileSize and of Size.
    qint64 OriginalSize() const;
    qint64 Size() const;
    // Size / OriginalSize as an item's Ratio is formatted; "100%" when
    // OriginalSize is 0.
    QString Ratio(const QLocale& Locale = QLocale()) const;
    // "1.2": major and minor of the version word.
    QString Version() const;

    // Set while the persisted description is read (and while the packer
    // fills the container).
    bool Loading() const { return FLoading > 0; }

    // The persisted description, read from and written at the device's
    // current position. Reading replaces every item; a damaged description
    // raises an EError and leaves the container empty.
    void ReadDescription(QIODevice* Stream);
    void WriteDescription(QIODevice* Stream) const;

    // The payload: the description followed by a trailer that lets a reader
    // find it at the end of a file, such as the installer's own program file
    // with the payload appended. Both need a random-access device.
    void SaveToPayload(QIODevice* Stream) const;
    void LoadFromPayload(QIODevice* Stream);
    // LoadFromPayload on a file (Windows-form path); EFOpenError
    // "Cannot open file \"%s\". %s" when it cannot be opened.
    void LoadFromFile(const QString& Path);

private:
    friend class TmxStorageLoading;

    quint16 FVersion = 0x0102;
    TmxStoredItems* FStoredItems;
    int FLoading = 0;
};

// Holds a container in its loading state for the life of the object: the
// payload reader uses it, and so does the packer, which sets FileName and
// FileSize as a read would.
class TmxStorageLoading {
public:
    explicit TmxStorageLoading(TmxStorage* Storage) : FStorage(Storage) { ++FStorage->FLoading; }
    ~TmxStorageLoading() { --FStorage->FLoading; }
    TmxStorageLoading(const TmxStorageLoading&) = delete;
    TmxStorageLoading& operator=(const TmxStorageLoading&) = delete;

private:
    TmxStorage* FStorage;
};
