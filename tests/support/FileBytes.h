#pragma once
// Whole-file reads and writes for tests that check what a file holds.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

namespace kasovka::test {

// "(missing)" when the file cannot be read, so a comparison names it.
inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

inline void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace kasovka::test
