#include "host/THostIniFile.h"

#include "core/Error.h"
#include "host/TBFTable.h"

#include <QFileInfo>

#include <limits>

namespace kasovka {

namespace {

constexpr double kFirstTableVersion = 12.1;

QString datFileName(const QString &fileName)
{
    const QFileInfo info(fileName);
    const QString base = info.completeBaseName().isEmpty() ? info.fileName() : info.completeBaseName();
    const QString folder = fileName.contains(QLatin1Char('/')) ? info.path() + QLatin1Char('/') : QString();
    return folder + base + QLatin1String(".DAT");
}

} // namespace

THostIniFile::THostIniFile(const QString &fileName, const QString &versionText,
                           const QLocale &locale)
    : TIniFile(fileName, locale), m_versionText(versionText)
{
    const QString dat = datFileName(fileName);
    if (versionText == QLatin1String(DefaultVersion)) {
        const QString existing = TBFTable::ResolveTableFile(dat);
        m_tableMode = !existing.isEmpty();
        if (m_tableMode)
            m_tableFileName = existing;
    } else {
        bool ok = false;
        m_versionNumber = locale.toDouble(versionText, &ok);
        if (!ok)
            m_versionNumber = kFirstTableVersion;
        m_tableMode = m_versionNumber >= kFirstTableVersion;
        if (m_tableMode)
            m_tableFileName = dat;
    }
    if (m_tableMode) {
        // A table that does not open leaves every read at its default.
        m_table = std::make_unique<TBFTable>();
        if (m_table->Open(m_tableFileName) == 0)
            m_table->SetIndex(QStringLiteral("Section1+Variable"));
    }
}

THostIniFile::~THostIniFile()
{
    if (m_table)
        m_table->Close();
}

std::optional<Variant> THostIniFile::readValue(const QString &section, const QString &key)
{
    try {
        if (!m_table->IsOpen())
            return std::nullopt;
        m_table->First();
        if (m_table->Seek2(section, key) == TBFTable::SeekFound)
            return m_table->Value(QStringLiteral("Value"));
    } catch (const Error &) {
    }
    return std::nullopt;
}

void THostIniFile::writeValue(const QString &section, const QString &key, const Variant &value)
{
    try {
        if (!m_table->IsOpen())
            return;
        m_table->First();
        if (m_table->Seek2(section, key) == TBFTable::SeekFound) {
            m_table->SetValue(QStringLiteral("Value"), value);
        } else {
            m_table->Append();
            m_table->SetValue(QStringLiteral("Section1"), section);
            m_table->SetValue(QStringLiteral("Variable"), key);
            m_table->SetValue(QStringLiteral("TypeVar"), QString());
            m_table->SetValue(QStringLiteral("Value"), value);
        }
        m_table->Post();
    } catch (const Error &) {
        // Table mode loses a write that cannot be stored without notice.
    }
}

QString THostIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue)
{
    if (!m_tableMode)
        return TIniFile::ReadString(section, key, defaultValue);
    const std::optional<Variant> value = readValue(section, key);
    return value ? value->toText() : defaultValue;
}

int THostIniFile::ReadInteger(const QString &section, const QString &key, int defaultValue)
{
    if (!m_tableMode)
        return TIniFile::ReadInteger(section, key, defaultValue);
    const std::optional<Variant> value = readValue(section, key);
    try {
        if (value) {
            const qint64 number = value->toInt();
            if (number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max())
                return int(number);
        }
    } catch (const Error &) {
    }
    return defaultValue;
}

bool THostIniFile::ReadBool(const QString &section, const QString &key, bool defaultValue)
{
    if (!m_tableMode)
        return TIniFile::ReadBool(section, key, defaultValue);
    const std::optional<Variant> value = readValue(section, key);
    try {
        return value ? value->toBool() : defaultValue;
    } catch (const Error &) {
        return defaultValue;
    }
}

double THostIniFile::readNumber(const QString &section, const QString &key, double defaultValue,
                                bool asDate)
{
    const std::optional<Variant> value = readValue(section, key);
    try {
        if (value)
            return asDate ? value->toDate() : value->toDouble();
    } catch (const Error &) {
    }
    return defaultValue;
}

TDateTime THostIniFile::ReadDate(const QString &section, const QString &key, TDateTime defaultValue)
{
    return m_tableMode ? readNumber(section, key, defaultValue, true)
                       : TIniFile::ReadDate(section, key, defaultValue);
}

TDateTime THostIniFile::ReadDateTime(const QString &section, const QString &key, TDateTime defaultValue)
{
    return m_tableMode ? readNumber(section, key, defaultValue, true)
                       : TIniFile::ReadDateTime(section, key, defaultValue);
}

TDateTime THostIniFile::ReadTime(const QString &section, const QString &key, TDateTime defaultValue)
{
    return m_tableMode ? readNumber(section, key, defaultValue, true)
                       : TIniFile::ReadTime(section, key, defaultValue);
}

double THostIniFile::ReadFloat(const QString &section, const QString &key, double defaultValue)
{
    return m_tableMode ? readNumber(section, key, defaultValue, false)
                       : TIniFile::ReadFloat(section, key, defaultValue);
}

void THostIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    if (m_tableMode)
        writeValue(section, key, Variant(value));
    else
        TIniFile::WriteString(section, key, value);
}

void THostIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    if (m_tableMode)
        writeValue(section, key, Variant(value));
    else
        TIniFile::WriteInteger(section, key, value);
}

void THostIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    if (m_tableMode)
        writeValue(section, key, Variant(value));
    else
        TIniFile::WriteBool(section, key, value);
}

void THostIniFile::WriteDate(const QString &section, const QString &key, TDateTime value)
{
    if (m_tableMode)
        writeValue(section, key, Variant::fromDate(value));
    else
        TIniFile::WriteDate(section, key, value);
}

void THostIniFile::WriteDateTime(const QString &section, const QString &key, TDateTime value)
{
    if (m_tableMode)
        writeValue(section, key, Variant::fromDate(value));
    else
        TIniFile::WriteDateTime(section, key, value);
}

void THostIniFile::WriteTime(const QString &section, const QString &key, TDateTime value)
{
    if (m_tableMode)
        writeValue(section, key, Variant::fromDate(value));
    else
        TIniFile::WriteTime(section, key, value);
}

void THostIniFile::WriteFloat(const QString &section, const QString &key, double value)
{
    if (m_tableMode)
        writeValue(section, key, Variant(value));
    else
        TIniFile::WriteFloat(section, key, value);
}

void THostIniFile::DeleteKey(const QString &section, const QString &key)
{
    if (!m_tableMode) {
        TIniFile::DeleteKey(section, key);
        return;
    }
    try {
        if (!m_table->IsOpen())
            return;
        m_table->First();
        if (m_table->Seek2(section, key) == TBFTable::SeekFound)
            m_table->Delete();
    } catch (const Error &) {
    }
}

int THostIniFile::ReadBinaryStream(const QString &section, const QString &key, QByteArray &value)
{
    return m_tableMode ? 0 : TIniFile::ReadBinaryStream(section, key, value);
}

void THostIniFile::WriteBinaryStream(const QString &section, const QString &key, const QByteArray &value)
{
    if (!m_tableMode)
        TIniFile::WriteBinaryStream(section, key, value);
}

void THostIniFile::ReadSection(const QString &section, QStringList &keys)
{
    if (!m_tableMode)
        TIniFile::ReadSection(section, keys);
}

void THostIniFile::ReadSections(QStringList &sections)
{
    if (!m_tableMode)
        TIniFile::ReadSections(sections);
}

void THostIniFile::ReadSectionValues(const QString &section, QStringList &values)
{
    if (!m_tableMode)
        TIniFile::ReadSectionValues(section, values);
}

void THostIniFile::EraseSection(const QString &section)
{
    if (!m_tableMode)
        TIniFile::EraseSection(section);
}

bool THostIniFile::SectionExists(const QString &section)
{
    if (!m_tableMode)
        return TIniFile::SectionExists(section);
    try {
        return m_table->IsOpen() && m_table->Seek(section) == TBFTable::SeekFound;
    } catch (const Error &) {
        return false;
    }
}

bool THostIniFile::ValueExists(const QString &section, const QString &key)
{
    if (!m_tableMode)
        return TIniFile::ValueExists(section, key);
    return readValue(section, key).has_value();
}

void THostIniFile::UpdateFile()
{
    if (!m_tableMode)
        TIniFile::UpdateFile();
}

} // namespace kasovka
