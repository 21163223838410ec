#include "core/IniFile.h"

#include "core/Error.h"
#include "core/OutputFile.h"
#include "core/SystemError.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kasovka {

namespace {

struct IniLine {
    enum class Kind { Other, Section, Key };
    QString text; // as read, for lines kept untouched
    Kind kind = Kind::Other;
    QString folded; // case-folded section or key name
    QString name;
    QString value;
};

IniLine parseLine(const QString &text)
{
    IniLine line;
    line.text = text;
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(u'[')) {
        const qsizetype close = trimmed.indexOf(u']');
        line.kind = IniLine::Kind::Section;
        line.name = trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
        line.folded = line.name.toCaseFolded();
        return line;
    }
    if (trimmed.startsWith(u';'))
        return line;
    const qsizetype eq = trimmed.indexOf(u'=');
    if (eq <= 0)
        return line;
    line.name = trimmed.left(eq).trimmed();
    if (line.name.isEmpty())
        return line;
    line.kind = IniLine::Kind::Key;
    line.folded = line.name.toCaseFolded();
    line.value = trimmed.mid(eq + 1).trimmed();
    if (line.value.size() >= 2 && line.value.startsWith(u'"') && line.value.endsWith(u'"'))
        line.value = line.value.mid(1, line.value.size() - 2);
    return line;
}

std::optional<int> parseInteger(const QString &text)
{
    const QString t = text.trimmed();
    bool ok = false;
    const int value = t.toInt(&ok, 10);
    if (ok)
        return value;
    QStringView hex;
    if (t.startsWith(u"0x", Qt::CaseInsensitive))
        hex = QStringView(t).mid(2);
    else if (t.startsWith(u'$'))
        hex = QStringView(t).mid(1);
    if (hex.isEmpty())
        return std::nullopt;
    const uint bits = hex.toUInt(&ok, 16);
    return ok ? std::optional<int>(int(bits)) : std::nullopt;
}

} // namespace

// Settings files are small; anything this large is not one and is not
// loaded whole into memory.
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
// A writer holds the lock for milliseconds; one that waits this long meets
// a lock that is not being released.
constexpr int LockWaitMs = 10000;
constexpr int LockRetryMaxMs = 100;

struct TIniFile::Impl {
    std::vector<IniLine> lines;
    bool loaded = false;
    bool unreadable = false; // present but not read: writing would destroy it
    bool exists = false;
    qint64 size = -1;
    QDateTime modified;
    bool bom = false;
    QString eol = QStringLiteral("\n");

    void refresh(const QString &fileName);
    void load(const QString &fileName);
    void save(const QString &fileName);
    /// First line of the first section of that name, or -1.
    int findSection(const QString &section) const;
    /// End (exclusive) of the section that starts at `header`.
    int sectionEnd(int header) const;
    int findKey(int header, const QString &folded) const;
};

void TIniFile::Impl::refresh(const QString &fileName)
{
    const QFileInfo info(fileName);
    const bool nowExists = info.isFile();
    if (loaded && nowExists == exists && (!nowExists || (info.size() == size && info.lastModified() == modified)))
        return;
    load(fileName);
}

void TIniFile::Impl::load(const QString &fileName)
{
    lines.clear();
    bom = false;
    eol = QStringLiteral("\n");
    loaded = true;
    QFile file(fileName);
    const QFileInfo info(fileName);
    exists = info.isFile();
    size = info.size();
    modified = info.lastModified();
    unreadable = false;
    if (!exists)
        return;
    if (size > MaxFileSize || !file.open(QIODevice::ReadOnly)) {
        unreadable = true;
        return;
    }
    const QByteArray bytes = file.readAll();
    bom = bytes.startsWith("\xEF\xBB\xBF");
    const QString text = decodeIniBytes(bytes);
    const qsizetype firstBreak = text.indexOf(u'\n');
    if (firstBreak > 0 && text[firstBreak - 1] == u'\r')
        eol = QStringLiteral("\r\n");
    const QList<QStringView> parts = QStringView(text).split(u'\n');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        QStringView part = parts[i];
        if (part.endsWith(u'\r'))
            part.chop(1);
        if (i == parts.size() - 1 && part.isEmpty())
            break; // the file ended with a line break
        lines.push_back(parseLine(part.toString()));
    }
}

void TIniFile::Impl::save(const QString &fileName)
{
    if (unreadable)
        throw Error(QStringLiteral("Soubor nastavení %1 nelze přečíst, a proto do něj nelze zapisovat.").arg(fileName));
    QString text;
    for (const IniLine &line : lines)
        text += line.text + eol;
    QByteArray bytes = text.toUtf8();
    if (bom)
        bytes.prepend("\xEF\xBB\xBF");
    // A link at the file is replaced, never written through.
    TOutputFile file(fileName, {.noun = QStringLiteral("Soubor nastavení"), .replace = true});
    file.open();
    file.write(bytes);
    file.commit();
    const QFileInfo info(fileName);
    exists = true;
    size = info.size();
    modified = info.lastModified();
}

int TIniFile::Impl::findSection(const QString &section) const
{
    const QString folded = section.trimmed().toCaseFolded();
    for (int i = 0; i < int(lines.size()); ++i) {
        if (lines[size_t(i)].kind == IniLine::Kind::Section && lines[size_t(i)].folded == folded)
            return i;
    }
    return -1;
}

int TIniFile::Impl::sectionEnd(int header) const
{
    int i = header + 1;
    while (i < int(lines.size()) && lines[size_t(i)].kind != IniLine::Kind::Section)
        ++i;
    return i;
}

int TIniFile::Impl::findKey(int header, const QString &folded) const
{
    if (header < 0)
        return -1;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (lines[size_t(i)].kind == IniLine::Kind::Key && lines[size_t(i)].folded == folded)
            return i;
    }
    return -1;
}

namespace {

// An flock on "<settings>.lock", which stays in place: removing it would let
// a waiting writer lock a file that is no longer there. The system frees the
// lock of a process that ends, so no lock is ever stale. The file is never
// read, so its size does not matter; anything else at its name (a pipe, a
// device, a link, a folder) could block or mislead, and is refused for good.
class SettingsLock {
public:
    explicit SettingsLock(const QString &settings)
    {
        const QString lockName = settings + QStringLiteral(".lock");
        // Read-only is enough for flock, and opens a lock another user made.
        m_file.fd = ::open(QFile::encodeName(lockName).constData(),
                           O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        if (m_file.fd < 0) {
            const int error = errno;
            if (error == ELOOP || error == EISDIR || error == ENXIO)
                throw notAFile(settings, lockName);
            throw Error(QStringLiteral("Soubor nastavení %1 nelze zapsat, protože jeho zámek %2 nelze otevřít: %3.")
                            .arg(settings, lockName, systemErrorText(error)));
        }
        struct stat info {};
        if (::fstat(m_file.fd, &info) != 0 || !S_ISREG(info.st_mode))
            throw notAFile(settings, lockName);
        const QDeadlineTimer deadline(LockWaitMs);
        for (int pause = 5; ::flock(m_file.fd, LOCK_EX | LOCK_NB) != 0; pause = std::min(2 * pause, LockRetryMaxMs)) {
            const int error = errno;
            if (error == EINTR)
                continue;
            if (error != EWOULDBLOCK)
                throw Error(QStringLiteral("Soubor nastavení %1 nelze zapsat, protože jeho zámek %2 nelze zamknout: %3.")
                                .arg(settings, lockName, systemErrorText(error)));
            if (deadline.hasExpired())
                throw Error(QStringLiteral("Soubor nastavení %1 právě zapisuje jiný program; zkuste to prosím znovu.")
                                .arg(settings));
            std::this_thread::sleep_for(std::chrono::milliseconds(pause));
        }
    }

private:
    // Closed (and so unlocked) also when the constructor throws.
    struct Descriptor {
        int fd = -1;
        ~Descriptor()
        {
            if (fd >= 0)
                ::close(fd);
        }
    };

    static Error notAFile(const QString &settings, const QString &lockName)
    {
        return Error(QStringLiteral("Soubor nastavení %1 nelze zapsat, protože jeho zámek %2 není obyčejný soubor; "
                                    "smažte ho prosím (nebo o to požádejte správce počítače).")
                         .arg(settings, lockName));
    }

    Descriptor m_file;
};

} // namespace

// Two programs (two users of one configuration) may change one file at
// once: each change rereads the file under a lock file beside it, so what
// the other wrote in the meantime is kept.
void TIniFile::modify(const std::function<bool()> &change)
{
    const SettingsLock lock(m_fileName);
    d->load(m_fileName);
    // A link is replaced by the file written, never written through; what
    // it points to (anything the user may read) is not carried into a file
    // that others may read.
    if (QFileInfo(m_fileName).isSymLink()) {
        d->lines.clear();
        d->bom = false;
        d->unreadable = false;
    }
    if (change())
        d->save(m_fileName);
}

// ---------------------------------------------------------------- strings

TIniFile::TIniFile(const QString &fileName, const QLocale &locale)
    : m_fileName(fileName), m_locale(locale), d(std::make_unique<Impl>())
{
}

TIniFile::~TIniFile() = default;

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue)
{
    d->refresh(m_fileName);
    const int line = d->findKey(d->findSection(section), key.trimmed().toCaseFolded());
    return line < 0 ? defaultValue : d->lines[size_t(line)].value;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    const QString s = section.trimmed();
    const QString k = key.trimmed();
    // A line break, "=" or "]" in a name would change the file's structure.
    const auto unsafe = [](const QString &t) { return t.contains(u'\n') || t.contains(u'\r'); };
    if (s.isEmpty() || k.isEmpty() || unsafe(s) || unsafe(k) || s.contains(u']') || k.contains(u'=')
        || k.startsWith(u'[') || k.startsWith(u';'))
        throw Error(QStringLiteral("Neplatný název sekce nebo klíče \"%1\" / \"%2\" v souboru %3.")
                        .arg(section, key, m_fileName));
    QString clean = value;
    clean.replace(u'\r', u' ').replace(u'\n', u' ');
    const IniLine entry = parseLine(k + u'=' + clean);
    modify([&] {
        const int header = d->findSection(s);
        if (header < 0) {
            if (!d->lines.empty() && !d->lines.back().text.trimmed().isEmpty())
                d->lines.push_back(parseLine(QString()));
            d->lines.push_back(parseLine(u'[' + s + u']'));
            d->lines.push_back(entry);
        } else if (const int line = d->findKey(header, k.toCaseFolded()); line >= 0) {
            if (d->lines[size_t(line)].text == entry.text)
                return false;
            d->lines[size_t(line)] = entry;
        } else {
            // After the section's last non-blank line.
            int at = d->sectionEnd(header);
            while (at > header + 1 && d->lines[size_t(at - 1)].text.trimmed().isEmpty())
                --at;
            d->lines.insert(d->lines.begin() + at, entry);
        }
        return true;
    });
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int defaultValue)
{
    return parseInteger(ReadString(section, key, QString())).value_or(defaultValue);
}

void TIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool defaultValue)
{
    const QString text = ReadString(section, key, QString()).trimmed().toLower();
    if (const std::optional<int> number = parseInteger(text))
        return *number != 0;
    if (text == u"true" || text == u"yes" || text == u"ano")
        return true;
    if (text == u"false" || text == u"no" || text == u"ne")
        return false;
    return defaultValue;
}

void TIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

// ---------------------------------------------------------------- numbers, dates

namespace {

std::optional<TDateTime> parseDateTimeText(const QString &text, const QLocale &locale)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    if (const auto iso = parseIsoDate(t))
        return iso;
    if (const auto local = parseShortDate(t, locale))
        return local;
    const qsizetype blank = t.indexOf(u' ');
    if (blank < 0)
        return std::nullopt;
    const auto day = parseShortDate(QStringView(t).left(blank), locale);
    const auto time = parseIsoTime(QStringView(t).mid(blank + 1));
    if (!day || !time)
        return std::nullopt;
    return *day < 0 ? *day - *time : *day + *time;
}

} // namespace

double TIniFile::ReadFloat(const QString &section, const QString &key, double defaultValue)
{
    const QString text = ReadString(section, key, QString()).trimmed();
    bool ok = false;
    double value = QLocale::c().toDouble(text, &ok);
    if (!ok)
        value = m_locale.toDouble(text, &ok);
    return ok ? value : defaultValue;
}

void TIniFile::WriteFloat(const QString &section, const QString &key, double value)
{
    WriteString(section, key, QLocale::c().toString(value, 'g', QLocale::FloatingPointShortest));
}

TDateTime TIniFile::ReadDate(const QString &section, const QString &key, TDateTime defaultValue)
{
    const auto value = parseDateTimeText(ReadString(section, key, QString()), m_locale);
    return value ? datePart(*value) : defaultValue;
}

void TIniFile::WriteDate(const QString &section, const QString &key, TDateTime value)
{
    WriteString(section, key, formatIsoDate(datePart(value)));
}

TDateTime TIniFile::ReadDateTime(const QString &section, const QString &key, TDateTime defaultValue)
{
    return parseDateTimeText(ReadString(section, key, QString()), m_locale).value_or(defaultValue);
}

void TIniFile::WriteDateTime(const QString &section, const QString &key, TDateTime value)
{
    WriteString(section, key, formatIsoDate(value));
}

TDateTime TIniFile::ReadTime(const QString &section, const QString &key, TDateTime defaultValue)
{
    const QString text = ReadString(section, key, QString());
    if (const auto time = parseIsoTime(text))
        return *time;
    const auto value = parseDateTimeText(text, m_locale);
    return value ? timePart(*value) : defaultValue;
}

void TIniFile::WriteTime(const QString &section, const QString &key, TDateTime value)
{
    WriteString(section, key, formatIsoTime(value));
}

int TIniFile::ReadBinaryStream(const QString &section, const QString &key, QByteArray &value)
{
    const QString text = ReadString(section, key, QString());
    value.clear();
    if (text.size() % 2 != 0)
        return 0;
    for (QChar c : text) {
        if (!isxdigit(c.unicode()) || c.unicode() > 127)
            return 0;
    }
    value = QByteArray::fromHex(text.toLatin1());
    return int(value.size());
}

void TIniFile::WriteBinaryStream(const QString &section, const QString &key, const QByteArray &value)
{
    WriteString(section, key, QString::fromLatin1(value.toHex().toUpper()));
}

// ---------------------------------------------------------------- sections

void TIniFile::DeleteKey(const QString &section, const QString &key)
{
    const QString folded = key.trimmed().toCaseFolded();
    modify([&] {
        const int header = d->findSection(section);
        bool changed = false;
        // Every copy goes, so that a later duplicate does not surface.
        for (int line = d->findKey(header, folded); line >= 0; line = d->findKey(header, folded)) {
            d->lines.erase(d->lines.begin() + line);
            changed = true;
        }
        return changed;
    });
}

void TIniFile::ReadSection(const QString &section, QStringList &keys)
{
    keys.clear();
    d->refresh(m_fileName);
    const int header = d->findSection(section);
    if (header < 0)
        return;
    QStringList folded;
    const int end = d->sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const IniLine &line = d->lines[size_t(i)];
        if (line.kind == IniLine::Kind::Key && !folded.contains(line.folded)) {
            folded.append(line.folded);
            keys.append(line.name);
        }
    }
}

void TIniFile::ReadSections(QStringList &sections)
{
    sections.clear();
    d->refresh(m_fileName);
    QStringList folded;
    for (const IniLine &line : d->lines) {
        if (line.kind == IniLine::Kind::Section && !folded.contains(line.folded)) {
            folded.append(line.folded);
            sections.append(line.name);
        }
    }
}

void TIniFile::ReadSectionValues(const QString &section, QStringList &values)
{
    QStringList keys;
    ReadSection(section, keys);
    values.clear();
    for (const QString &key : keys)
        values.append(key + u'=' + ReadString(section, key, QString()));
}

void TIniFile::EraseSection(const QString &section)
{
    modify([&] {
        bool changed = false;
        for (int header = d->findSection(section); header >= 0; header = d->findSection(section)) {
            d->lines.erase(d->lines.begin() + header, d->lines.begin() + d->sectionEnd(header));
            changed = true;
        }
        return changed;
    });
}

bool TIniFile::SectionExists(const QString &section)
{
    d->refresh(m_fileName);
    return d->findSection(section) >= 0;
}

bool TIniFile::ValueExists(const QString &section, const QString &key)
{
    d->refresh(m_fileName);
    return d->findKey(d->findSection(section), key.trimmed().toCaseFolded()) >= 0;
}

void TIniFile::UpdateFile() {}

} // namespace kasovka
