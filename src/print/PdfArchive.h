#pragma once
// What makes a written PDF fit for the archive (PDF/A-1b, since accounting
// records are kept for years): the XMP metadata naming the conformance,
// and a document information dictionary that matches it. Qt writes the
// information dictionary without an author or a subject, so the writer
// appends an incremental update with the complete one once the pages are
// written; PDF/A allows incremental updates.

#include <QByteArray>
#include <QDateTime>
#include <QIODevice>
#include <QString>

namespace kasovka::print {

struct PdfDocumentInfo {
    QString title;
    QString author;  // the firm; left out when empty
    QString subject; // the report and its period
    QString creator; // "Kasovka 3.10"
    QString producer;
    QDateTime created;
};

// The XMP packet: PDF/A-1 part 1 conformance B, with the same title,
// author, subject, tools and dates as the information dictionary.
QByteArray xmpMetadata(const PdfDocumentInfo &info);

// Passes every write on to `target` and keeps the last bytes written, where
// the writer's trailer stands.
class PdfTailDevice : public QIODevice {
public:
    explicit PdfTailDevice(QIODevice &target);
    qint64 written() const { return m_written; }
    const QByteArray &tail() const { return m_tail; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override;

private:
    QIODevice &m_target;
    QByteArray m_tail;
    qint64 m_written = 0;
};

// The incremental update that gives the file (of `size` bytes, ending with
// `tail`) the new information dictionary. Throws Error when the trailer
// does not read as expected.
QByteArray informationUpdate(const QByteArray &tail, qint64 size, const PdfDocumentInfo &info);

} // namespace kasovka::print
