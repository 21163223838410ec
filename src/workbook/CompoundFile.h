#pragma once
// The compound file (structured storage) image of a workbook: every stream
// and storage of the file as a tree in memory. The reader accepts version 3
// and 4 files; the writer produces version 3 files (512-byte sectors).

#include <QByteArray>
#include <QString>
#include <vector>

class QIODevice;

namespace kasovka {

// One directory entry: a storage with children or a stream with bytes.
struct TXlsStorage {
    QString name;
    bool isStorage = false;
    QByteArray classId = QByteArray(16, '\0');
    uint32_t stateBits = 0;
    QByteArray times = QByteArray(16, '\0'); // creation and modification FILETIMEs
    QByteArray data;                          // streams only
    std::vector<TXlsStorage> children;        // storages only

    // The child with the given name, compared ignoring letter case as the
    // compound file does; nullptr when there is none.
    TXlsStorage *child(const QString &childName);
    const TXlsStorage *child(const QString &childName) const;
};

class TOle2Storage {
public:
    // True when the bytes begin with the compound file signature.
    static bool hasSignature(const QByteArray &file);
    // Reads the whole tree; the root entry becomes the returned storage.
    // Damaged structures raise `damagedText`.
    static TXlsStorage read(const QByteArray &file, const QString &damagedText);
    // Writes a version 3 file holding the tree; false when the device
    // refused a write. The largest stream's bytes become the file's own,
    // so that a large workbook is not held twice while it is written.
    static bool write(TXlsStorage root, QIODevice &device);
    // The same file in memory.
    static QByteArray write(const TXlsStorage &root);
};

} // namespace kasovka
