#include "print/PdfArchive.h"

#include "core/Error.h"

#include <QRegularExpression>

namespace kasovka::print {

namespace {

constexpr qsizetype TailSize = 4096;

QString xmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// A text string of the information dictionary: UTF-16BE with its byte
// order mark, as hex, so that any character survives.
QByteArray pdfText(const QString &text)
{
    QByteArray hex = "<FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + '>';
}

QByteArray pdfDate(const QDateTime &time)
{
    const QDateTime utc = time.toUTC();
    return "(D:" + utc.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + "Z)";
}

QString xmpDate(const QDateTime &time)
{
    return time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"));
}

QByteArray trailerValue(const QByteArray &trailer, const char *pattern)
{
    const QRegularExpression re(QString::fromLatin1(pattern));
    const QRegularExpressionMatch match = re.match(QString::fromLatin1(trailer));
    if (!match.hasMatch())
        throw Error(QStringLiteral("Soubor PDF se nepodařilo dokončit: jeho závěr nemá očekávaný tvar."));
    return match.captured(1).toLatin1();
}

} // namespace

QByteArray xmpMetadata(const PdfDocumentInfo &info)
{
    QString xmp;
    xmp += QStringLiteral("<?xpacket begin=\"\xFEFF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
                          "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
                          "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n");
    xmp += QStringLiteral("<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                          "<dc:format>application/pdf</dc:format>\n");
    xmp += QStringLiteral("<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:title>\n")
               .arg(xmlEscaped(info.title));
    if (!info.author.isEmpty())
        xmp += QStringLiteral("<dc:creator><rdf:Seq><rdf:li>%1</rdf:li></rdf:Seq></dc:creator>\n")
                   .arg(xmlEscaped(info.author));
    if (!info.subject.isEmpty())
        xmp += QStringLiteral("<dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt>"
                              "</dc:description>\n")
                   .arg(xmlEscaped(info.subject));
    xmp += QStringLiteral("</rdf:Description>\n");
    const QString date = xmpDate(info.created);
    xmp += QStringLiteral("<rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n"
                          "<xmp:CreatorTool>%1</xmp:CreatorTool>\n<xmp:CreateDate>%2</xmp:CreateDate>\n"
                          "<xmp:ModifyDate>%2</xmp:ModifyDate>\n<xmp:MetadataDate>%2</xmp:MetadataDate>\n"
                          "</rdf:Description>\n")
               .arg(xmlEscaped(info.creator), date);
    xmp += QStringLiteral("<rdf:Description rdf:about=\"\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\">\n"
                          "<pdf:Producer>%1</pdf:Producer>\n</rdf:Description>\n")
               .arg(xmlEscaped(info.producer));
    xmp += QStringLiteral("<rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\">\n"
                          "<pdfaid:part>1</pdfaid:part>\n<pdfaid:conformance>B</pdfaid:conformance>\n"
                          "</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>");
    return xmp.toUtf8();
}

PdfTailDevice::PdfTailDevice(QIODevice &target) : m_target(target)
{
    open(QIODevice::WriteOnly);
}

qint64 PdfTailDevice::writeData(const char *data, qint64 length)
{
    const qint64 done = m_target.write(data, length);
    if (done <= 0)
        return done;
    m_written += done;
    m_tail.append(data, done);
    if (m_tail.size() > 2 * TailSize)
        m_tail.remove(0, m_tail.size() - TailSize);
    return done;
}

QByteArray informationUpdate(const QByteArray &tail, qint64 size, const PdfDocumentInfo &info)
{
    const qsizetype at = tail.lastIndexOf("trailer");
    if (at < 0)
        throw Error(QStringLiteral("Soubor PDF se nepodařilo dokončit: jeho závěr nemá očekávaný tvar."));
    const QByteArray trailer = tail.mid(at);
    const int objects = trailerValue(trailer, R"(/Size\s+(\d+))").toInt();
    const QByteArray root = trailerValue(trailer, R"(/Root\s+(\d+\s+\d+\s+R))");
    const QByteArray previous = trailerValue(trailer, R"(startxref\s+(\d+))");
    QByteArray id;
    const qsizetype idAt = trailer.indexOf("/ID");
    if (idAt >= 0)
        id = trailer.mid(idAt, trailer.indexOf(']', idAt) + 1 - idAt);

    QByteArray update = "\n";
    const qint64 objectAt = size + update.size();
    update += QByteArray::number(objects) + " 0 obj\n<<\n/Title " + pdfText(info.title) + '\n';
    if (!info.author.isEmpty())
        update += "/Author " + pdfText(info.author) + '\n';
    if (!info.subject.isEmpty())
        update += "/Subject " + pdfText(info.subject) + '\n';
    update += "/Creator " + pdfText(info.creator) + "\n/Producer " + pdfText(info.producer) + '\n';
    update += "/CreationDate " + pdfDate(info.created) + "\n/ModDate " + pdfDate(info.created) + "\n>>\nendobj\n";
    const qint64 xrefAt = size + update.size();
    update += "xref\n" + QByteArray::number(objects) + " 1\n"
              + QByteArray::number(objectAt).rightJustified(10, '0') + " 00000 n \n";
    update += "trailer\n<<\n/Size " + QByteArray::number(objects + 1) + "\n/Info " + QByteArray::number(objects)
              + " 0 R\n/Root " + root + "\n/Prev " + previous + '\n';
    if (!id.isEmpty())
        update += id + '\n';
    update += ">>\nstartxref\n" + QByteArray::number(xrefAt) + "\n%%EOF\n";
    return update;
}

} // namespace kasovka::print
