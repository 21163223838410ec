#include "host/TPristupPrava.h"

#include "core/Error.h"
#include "host/HostTableMessages.h"
#include "host/TBFTable.h"

namespace kasovka {

namespace {

const QString kPassword = QStringLiteral("Password");

// True when `table` holds a record whose Password equals `scrambled`, walking
// in index order; the walk stops at the first match.
bool findPassword(TBFTable &table, const QString &scrambled)
{
    const int password = table.FieldIndex(kPassword);
    if (table.First() == TBFTable::EndOfTable)
        return false;
    do {
        if (table.Value(password).toText() == scrambled)
            return true;
    } while (table.Next() != TBFTable::EndOfTable);
    return false;
}

} // namespace

TPristupPrava::TPristupPrava(const QString &dataFolder, const QString &password)
    : m_dataFolder(dataFolder), m_password(password)
{
    if (!m_dataFolder.endsWith(QLatin1Char('/')))
        m_dataFolder += QLatin1Char('/');
}

TRightLevel TPristupPrava::LevelOfText(const QString &text)
{
    if (text == QLatin1String("A"))
        return TRightLevel::Full;
    if (text == QLatin1String("R"))
        return TRightLevel::ReadOnly;
    return TRightLevel::None;
}

QString TPristupPrava::ScramblePassword(const QString &password)
{
    QString scrambled = password;
    unsigned key = PasswordKeyStart;
    for (QChar &c : scrambled) {
        c = QChar(char16_t(c.unicode() ^ (key & 0xFF)));
        ++key;
    }
    return scrambled;
}

bool TPristupPrava::fail(const QString &message)
{
    m_errors.append(message);
    return false;
}

bool TPristupPrava::ReadRights()
{
    m_errors.clear();
    m_userFound = true;
    m_jupdTisk = TRightLevel::Full;
    const QString scrambled = ScramblePassword(m_password);

    const QString pristupPath = m_dataFolder + QStringLiteral("PRISTUP");
    const QString pristup2Path = m_dataFolder + QStringLiteral("PRISTUP2");
    TBFTable pristup;
    TBFTable pristup2;
    if (pristup.Open(pristupPath) != 0)
        return fail(tableOpenFailedText(pristupPath, pristup));
    if (pristup.SetIndex(kPassword) != 0)
        return fail(tableIndexFailedText(pristupPath));
    if (pristup2.Open(pristup2Path) != 0)
        return fail(tableOpenFailedText(pristup2Path, pristup2));
    if (pristup2.SetIndex(kPassword) != 0)
        return fail(tableIndexFailedText(pristup2Path));

    // A table that opened but cannot be read (damaged pages, a field it
    // lacks, a value of a wrong kind) is reported like one that did not open.
    QString reading = pristupPath;
    try {
        if (pristup.RecordCount() > 0) {
            m_userFound = false;
            m_jupdTisk = TRightLevel::None;
            if (findPassword(pristup, scrambled)) {
                const QString right = pristup.Value(QStringLiteral("JUPDTisk")).toText();
                reading = pristup2Path;
                m_userFound = findPassword(pristup2, scrambled);
                if (m_userFound)
                    m_jupdTisk = LevelOfText(right);
            }
        }
    } catch (const Error &error) {
        m_userFound = false;
        m_jupdTisk = TRightLevel::None;
        m_errors.append(tableOpenFailedText(reading));
        m_errors.append(error.text());
        return false;
    }
    return true;
}

QString TPristupPrava::ErrorText() const
{
    QString text;
    for (const QString &message : m_errors)
        text += message + QLatin1Char('\n');
    return text;
}

} // namespace kasovka
