#pragma once
// Host settings that live either in a classic INI file (ROK.INI) or, in newer
// host versions, in a host settings table of the same base name (ROK.DAT)
// with the fields Section1, Variable, TypeVar, Value and the index
// "Section1+Variable". The object reads and writes through the INI interface
// without the caller knowing which form the host uses.
//
// In table mode nothing fails visibly: a read that cannot be served returns
// its default, a write that cannot be stored is lost. Nothing is cached; every
// read seeks afresh. The whole-section and stream operations do nothing in
// table mode (the given lists stay as they were, ReadBinaryStream gives 0).

#include "core/DateConvention.h"
#include "core/IniFile.h"

#include <QLocale>
#include <QString>

#include <memory>
#include <optional>

namespace kasovka {

class TBFTable;
class Variant;

class THostIniFile : public TIniFile {
public:
    static constexpr const char *DefaultVersion = "00.000";

    // With the version "00.000": table mode when the ".DAT" file of the
    // given name exists (letter case of the file name ignored), otherwise INI
    // mode. Any other version is read as a number with the locale's decimal
    // separator (12.1 when it does not read): below 12.1 INI mode, otherwise
    // table mode on the ".DAT" name, existing or not.
    explicit THostIniFile(const QString &fileName,
                          const QString &versionText = QString::fromLatin1(DefaultVersion),
                          const QLocale &locale = programLocale());
    ~THostIniFile() override;

    bool TableMode() const { return m_tableMode; }
    // The .DAT path in table mode, empty in INI mode.
    const QString &TableFileName() const { return m_tableFileName; }
    const QString &VersionText() const { return m_versionText; }
    // The version as a number; 0 for "00.000".
    double VersionNumber() const { return m_versionNumber; }

    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) override;
    void WriteString(const QString &section, const QString &key, const QString &value) override;
    int ReadInteger(const QString &section, const QString &key, int defaultValue) override;
    void WriteInteger(const QString &section, const QString &key, int value) override;
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) override;
    void WriteBool(const QString &section, const QString &key, bool value) override;
    TDateTime ReadDate(const QString &section, const QString &key, TDateTime defaultValue) override;
    void WriteDate(const QString &section, const QString &key, TDateTime value) override;
    TDateTime ReadDateTime(const QString &section, const QString &key, TDateTime defaultValue) override;
    void WriteDateTime(const QString &section, const QString &key, TDateTime value) override;
    double ReadFloat(const QString &section, const QString &key, double defaultValue) override;
    void WriteFloat(const QString &section, const QString &key, double value) override;
    TDateTime ReadTime(const QString &section, const QString &key, TDateTime defaultValue) override;
    void WriteTime(const QString &section, const QString &key, TDateTime value) override;
    int ReadBinaryStream(const QString &section, const QString &key, QByteArray &value) override;
    void WriteBinaryStream(const QString &section, const QString &key, const QByteArray &value) override;
    void DeleteKey(const QString &section, const QString &key) override;
    void ReadSection(const QString &section, QStringList &keys) override;
    void ReadSections(QStringList &sections) override;
    void ReadSectionValues(const QString &section, QStringList &values) override;
    void EraseSection(const QString &section) override;
    bool SectionExists(const QString &section) override;
    bool ValueExists(const QString &section, const QString &key) override;
    void UpdateFile() override;

private:
    std::optional<Variant> readValue(const QString &section, const QString &key);
    double readNumber(const QString &section, const QString &key, double defaultValue, bool asDate);
    void writeValue(const QString &section, const QString &key, const Variant &value);

    QString m_tableFileName;
    QString m_versionText;
    double m_versionNumber = 0;
    bool m_tableMode = false;
    std::unique_ptr<TBFTable> m_table;
};

} // namespace kasovka
