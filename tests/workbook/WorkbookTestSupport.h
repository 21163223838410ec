#pragma once
// Shared helpers of the workbook tests: the fixture template, a scratch
// folder, and saving a workbook and opening the result again.

#include "support/SharedTestData.h"
#include "workbook/CompoundFile.h"
#include "workbook/Workbook.h"
#include "workbook/detail/Records.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace kasovka::test {

inline QString fixture(const QString &name)
{
    return QStringLiteral(KASOVKA_SOURCE_DIR "/tests/workbook/data/") + name;
}

// A file of the shared corpus; tests that use it begin with
// KASOVKA_NEEDS_SHARED_FILE(corpus(QString())).
inline QString corpus(const QString &name)
{
    return sharedTestDataFolder() + QStringLiteral("/xls/") + name;
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The records of a file's "Workbook" stream.
inline std::vector<detail::BiffRecord> workbookRecords(const QString &path)
{
    const TXlsStorage root = TOle2Storage::read(readFile(path), QStringLiteral("bad"));
    return detail::readRecords(root.child(QStringLiteral("Workbook"))->data, QStringLiteral("bad"));
}

// Runs f and returns the text of the kasovka::Error it throws ("" if none).
template <typename F>
QString errorOf(F &&f)
{
    try {
        f();
    } catch (const Error &e) {
        return e.text();
    }
    return {};
}

class WorkbookFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_book.open(fixture(QStringLiteral("template.xls")));
    }

    QString scratch(const QString &name) const { return m_dir.filePath(name); }

    // Saves the book and loads the result into `reopened`.
    TXLSFile &saveAndReopen(int activeSheet = 1)
    {
        const QString path = scratch(QStringLiteral("out%1.xls").arg(++m_saves));
        m_book.save(path);
        m_saved = path;
        m_reopened = std::make_unique<TXLSFile>();
        m_reopened->open(path);
        m_reopened->setActiveSheet(activeSheet);
        return *m_reopened;
    }

    QTemporaryDir m_dir;
    TXLSFile m_book;
    std::unique_ptr<TXLSFile> m_reopened;
    QString m_saved; // the file saveAndReopen wrote last
    int m_saves = 0;
};

} // namespace kasovka::test
