// The compound file reader and writer: trees written and read back, and
// damaged files refused with the given text instead of hanging or reading
// out of bounds.

#include "workbook/CompoundFile.h"

#include "WorkbookTestSupport.h"

#include <QFile>

using namespace kasovka;
using namespace kasovka::test;

namespace {

const QString kDamaged = QStringLiteral("damaged");

TXlsStorage stream(const QString &name, const QByteArray &data)
{
    TXlsStorage s;
    s.name = name;
    s.data = data;
    return s;
}

QByteArray pattern(int size, int seed)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 31 + seed) & 0xFF);
    return b;
}

TXlsStorage sampleTree()
{
    TXlsStorage root;
    root.isStorage = true;
    root.name = QStringLiteral("Root Entry");
    root.classId = QByteArray::fromHex("20080200000000000c00000000000046");
    root.children.push_back(stream(QStringLiteral("Workbook"), pattern(70000, 1)));
    root.children.push_back(stream(QStringLiteral("\x05SummaryInformation"), pattern(400, 2)));
    root.children.push_back(stream(QStringLiteral("Empty"), QByteArray()));
    root.children.push_back(stream(QStringLiteral("Exactly4096"), pattern(4096, 3)));
    TXlsStorage vba;
    vba.isStorage = true;
    vba.name = QStringLiteral("_VBA_PROJECT_CUR");
    vba.classId = pattern(16, 9);
    vba.stateBits = 7;
    for (int i = 0; i < 9; ++i)
        vba.children.push_back(stream(QStringLiteral("Modul%1").arg(i), pattern(100 * i + 1, i)));
    root.children.push_back(vba);
    return root;
}

void expectSame(const TXlsStorage &a, const TXlsStorage &b)
{
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.isStorage, b.isStorage) << a.name.toStdString();
    EXPECT_EQ(a.classId, b.classId) << a.name.toStdString();
    EXPECT_EQ(a.stateBits, b.stateBits) << a.name.toStdString();
    EXPECT_EQ(a.data, b.data) << a.name.toStdString();
    ASSERT_EQ(a.children.size(), b.children.size()) << a.name.toStdString();
    for (const auto &child : a.children) {
        const TXlsStorage *other = b.child(child.name);
        ASSERT_NE(other, nullptr) << child.name.toStdString();
        expectSame(child, *other);
    }
}

// Writes a little-endian 32-bit value into a file image.
void poke32(QByteArray &file, qsizetype at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        file[at + i] = char((v >> (8 * i)) & 0xFF);
}

uint32_t peek32(const QByteArray &file, qsizetype at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | uint8_t(file[at + i]);
    return v;
}

TEST(CompoundFile, WrittenTreeReadsBackEqual)
{
    const TXlsStorage tree = sampleTree();
    const QByteArray file = TOle2Storage::write(tree);
    EXPECT_EQ(file.size() % 512, 0);
    expectSame(tree, TOle2Storage::read(file, kDamaged));
}

TEST(CompoundFile, LargeStreamNeedsTheDifat)
{
    // Over 109 FAT sectors (7 MB) the FAT's own list continues in DIFAT sectors.
    TXlsStorage root;
    root.isStorage = true;
    root.name = QStringLiteral("Root Entry");
    root.children.push_back(stream(QStringLiteral("Big"), pattern(8 << 20, 5)));
    const QByteArray file = TOle2Storage::write(root);
    EXPECT_GT(peek32(file, 72), 0u); // number of DIFAT sectors
    expectSame(root, TOle2Storage::read(file, kDamaged));
}

TEST(CompoundFile, NamesCompareIgnoringCase)
{
    TXlsStorage tree = sampleTree();
    EXPECT_NE(tree.child(QStringLiteral("WORKBOOK")), nullptr);
    EXPECT_EQ(tree.child(QStringLiteral("Book")), nullptr);
}

TEST(CompoundFile, DamagedFilesAreRefused)
{
    const QByteArray good = TOle2Storage::write(sampleTree());
    const uint32_t firstFat = peek32(good, 76);
    const qsizetype fatAt = 512 + qsizetype(firstFat) * 512;
    const uint32_t dirSector = peek32(good, 48);
    const qsizetype dirAt = 512 + qsizetype(dirSector) * 512;

    struct Case {
        const char *what;
        std::function<void(QByteArray &)> damage;
    };
    const std::vector<Case> cases = {
        {"cut short", [](QByteArray &f) { f.truncate(f.size() / 2); }},
        {"header only", [](QByteArray &f) { f.truncate(512); }},
        {"chain loops back on itself", [&](QByteArray &f) { poke32(f, fatAt, 0); }},
        {"chain leaves the file", [&](QByteArray &f) { poke32(f, fatAt, 0x00FFFFFF); }},
        {"directory child out of range", [&](QByteArray &f) { poke32(f, dirAt + 76, 5000); }},
        {"directory tree loops", [&](QByteArray &f) { poke32(f, dirAt + 128 + 68, 1); }},
        {"bad sector size", [](QByteArray &f) { f[30] = 13; }},
        {"FAT sector past the end", [](QByteArray &f) { poke32(f, 76, 0x7FFFFFF0); }},
        {"stream larger than its chain", [&](QByteArray &f) {
             for (qsizetype e = dirAt; e < dirAt + 512; e += 128)
                 if (peek32(f, e + 120) == 70000)
                     poke32(f, e + 120, 0x0FFFFFFF);
         }},
    };
    for (const auto &c : cases) {
        QByteArray file = good;
        c.damage(file);
        EXPECT_EQ(errorOf([&] { TOle2Storage::read(file, kDamaged); }), kDamaged) << c.what;
    }
}

TEST(CompoundFile, VersionFourHeaderNeedsLargeSectors)
{
    QByteArray file = TOle2Storage::write(sampleTree());
    file[26] = 4; // major version 4 with 512-byte sectors
    EXPECT_EQ(errorOf([&] { TOle2Storage::read(file, kDamaged); }), kDamaged);
}

} // namespace
