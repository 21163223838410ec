#pragma once
// The shared string table ([MS-XLS] 2.4.265 SST, 2.5.293
// XLUnicodeRichExtendedString, 2.4.107 EXTSST). Strings keep their
// formatting runs and phonetic data as bytes, so rich texts survive.

#include "workbook/detail/Records.h"

#include <QHash>
#include <QString>

namespace kasovka::detail {

struct SstString {
    QString text;
    QByteArray runs; // 4 bytes per formatting run
    QByteArray ext;  // phonetic block
};

// All texts of a workbook; cells refer to them by index.
class StringPool {
public:
    uint32_t addPlain(const QString &text);
    uint32_t addParsed(SstString s);
    const SstString &at(uint32_t index) const { return m_strings[index]; }
    uint32_t size() const { return uint32_t(m_strings.size()); }

private:
    std::vector<SstString> m_strings;
    QHash<QString, uint32_t> m_plain; // plain texts to their index + 1
};

std::vector<SstString> parseSst(const BiffRecord &sst, const QString &error);

// Appends SST (with CONTINUE) and EXTSST for the strings in order.
// streamPos: the position in the stream at which the SST record begins.
void appendSst(QByteArray &out, const std::vector<const SstString *> &strings,
               uint32_t totalRefs, qsizetype streamPos);

} // namespace kasovka::detail
