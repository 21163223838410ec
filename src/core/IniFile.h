#pragma once
// INI profile files with the classic rules: sections and keys compared
// ignoring letter case, the first occurrence wins, values trimmed of blanks
// (and of one pair of enclosing double quotes), lines starting with ";" and
// any other lines kept when a value is written; a missing file, section or
// key gives the default. Lines without "=" are not keys.
//
// Reading: UTF-8 with or without BOM; bytes that are not valid UTF-8 are read
// as Windows-1250 (a UTF-16 LE BOM is honoured too). Writing: every Write*,
// DeleteKey and EraseSection rereads the file under a lock file beside it
// ("<file>.lock", left in place), so that two programs changing one file
// keep each other's changes, and replaces it at once (a new file renamed over it;
// core/OutputFile.h), always as UTF-8. A link at the file's name is read
// through, but a write replaces it with a file of the written values only,
// so nothing of the file it points to is copied. A file that cannot be written throws kasovka::Error, and so does a
// write to a file that exists but could not be read (or exceeds 64 MB),
// which would otherwise be lost. Reads pick up changes made by others: the
// file is reread when its size or time stamp changed.
//
// Culture-invariant forms written: integers in decimal, Booleans "1"/"0",
// floats with "." and the shortest exact digits, dates "YYYY-MM-DD",
// date-times "YYYY-MM-DDTHH:MM:SS", times "HH:MM:SS", binary data as
// upper-case hex. Reads accept these and the forms of the file's locale
// (decimal comma, the short date format, "date time").
//
// All operations are virtual so that a settings store kept elsewhere can
// stand behind the same interface.

#include "core/DateConvention.h"
#include "core/DateTime.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace kasovka {

class TIniFile {
public:
    /// The locale gives the accepted local forms of numbers and dates.
    explicit TIniFile(const QString &fileName, const QLocale &locale = programLocale());
    virtual ~TIniFile();
    TIniFile(const TIniFile &) = delete;
    TIniFile &operator=(const TIniFile &) = delete;

    const QString &FileName() const { return m_fileName; }

    virtual QString ReadString(const QString &section, const QString &key, const QString &defaultValue);
    virtual void WriteString(const QString &section, const QString &key, const QString &value);
    /// Decimal or hexadecimal ("0x1F", "$1F"); other text or a value outside
    /// 32 bits gives the default.
    virtual int ReadInteger(const QString &section, const QString &key, int defaultValue);
    virtual void WriteInteger(const QString &section, const QString &key, int value);
    /// An integer (non-zero is true) or true/false, yes/no, ano/ne.
    virtual bool ReadBool(const QString &section, const QString &key, bool defaultValue);
    virtual void WriteBool(const QString &section, const QString &key, bool value);
    /// The day part of a date or date-time text.
    virtual TDateTime ReadDate(const QString &section, const QString &key, TDateTime defaultValue);
    virtual void WriteDate(const QString &section, const QString &key, TDateTime value);
    virtual TDateTime ReadDateTime(const QString &section, const QString &key, TDateTime defaultValue);
    virtual void WriteDateTime(const QString &section, const QString &key, TDateTime value);
    virtual double ReadFloat(const QString &section, const QString &key, double defaultValue);
    virtual void WriteFloat(const QString &section, const QString &key, double value);
    /// The time of day (fraction) of a time or date-time text.
    virtual TDateTime ReadTime(const QString &section, const QString &key, TDateTime defaultValue);
    virtual void WriteTime(const QString &section, const QString &key, TDateTime value);
    /// Replaces `value` with the decoded bytes and returns their number
    /// (0 and an empty `value` when missing or not hex).
    virtual int ReadBinaryStream(const QString &section, const QString &key, QByteArray &value);
    virtual void WriteBinaryStream(const QString &section, const QString &key, const QByteArray &value);

    virtual void DeleteKey(const QString &section, const QString &key);
    /// Replaces `keys` with the section's keys in file order.
    virtual void ReadSection(const QString &section, QStringList &keys);
    /// Replaces `sections` with the section names in file order.
    virtual void ReadSections(QStringList &sections);
    /// Replaces `values` with "key=value" lines of the section.
    virtual void ReadSectionValues(const QString &section, QStringList &values);
    virtual void EraseSection(const QString &section);
    virtual bool SectionExists(const QString &section);
    virtual bool ValueExists(const QString &section, const QString &key);
    /// Writes are immediate, so this only makes sure the file on disk
    /// matches the last write.
    virtual void UpdateFile();

protected:
    const QLocale &locale() const { return m_locale; }

private:
    // Rereads the file under its lock and saves it when `change` (which
    // edits the lines) returns true.
    void modify(const std::function<bool()> &change);

    struct Impl;
    QString m_fileName;
    QLocale m_locale;
    std::unique_ptr<Impl> d;
};

/// Decodes bytes of the Windows-1250 code page (bytes that the code page
/// leaves undefined become U+FFFD).
QString decodeWindows1250(const QByteArray &bytes);
/// The text of an INI file's bytes: UTF-8 (BOM stripped) when valid, UTF-16
/// LE with its BOM, otherwise Windows-1250.
QString decodeIniBytes(const QByteArray &bytes);

} // namespace kasovka
