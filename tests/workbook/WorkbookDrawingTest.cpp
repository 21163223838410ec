// Pictures, comments and shapes of copied rows, formulas the shifter cannot
// read, and damaged records, on real files changed at the byte level.

#include "WorkbookTestSupport.h"

using namespace kasovka;
using namespace kasovka::test;

namespace {

QByteArray workbookStream(const QString &path)
{
    const TXlsStorage root = TOle2Storage::read(readFile(path), QStringLiteral("bad"));
    return root.child(QStringLiteral("Workbook"))->data;
}

TEST(Pictures, ReplacedPictureIsStoredAndReferenced)
{
    KASOVKA_NEEDS_SHARED_FILE(corpus(QString()));
    QTemporaryDir dir;
    TXLSFile book;
    book.open(corpus(QStringLiteral("poi_SimpleWithImages.xls")));
    const auto images = book.images();
    ASSERT_FALSE(images.isEmpty());
    const int row = images.front().row;
    const QString name = images.front().name;
    QByteArray png = QByteArray::fromHex("89504e470d0a1a0a") + QByteArray("kasovka-picture-payload");
    book.setImage(row, 0, XlsImageType::Png, png);
    const QString out = dir.filePath(QStringLiteral("pictures.xls"));
    book.save(out);

    EXPECT_GE(workbookStream(out).indexOf(png), 0);
    TXLSFile again;
    again.open(out);
    EXPECT_EQ(again.images().size(), images.size());
    EXPECT_EQ(again.imageName(row, 0), name);
}

TEST(Pictures, IndexOutsideTheRowIsRefused)
{
    KASOVKA_NEEDS_SHARED_FILE(corpus(QString()));
    TXLSFile book;
    book.open(corpus(QStringLiteral("poi_SimpleWithImages.xls")));
    EXPECT_EQ(book.imageCount(60000), 0);
    EXPECT_EQ(errorOf([&] { book.imageName(60000, 0); }), QStringLiteral("Invalid Row (60000)"));
}

TEST(Pictures, CopiedRowsCarryTheirPictures)
{
    KASOVKA_NEEDS_SHARED_FILE(corpus(QString()));
    QTemporaryDir dir;
    TXLSFile book;
    book.open(corpus(QStringLiteral("poi_SimpleWithImages.xls")));
    const auto before = book.images();
    ASSERT_FALSE(before.isEmpty());
    const int row = before.front().row;
    book.insertAndCopyRows(row, row, row + 1, 3, true);
    const QString out = dir.filePath(QStringLiteral("copies.xls"));
    book.save(out);
    TXLSFile again;
    again.open(out);
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(again.imageCount(row + k), 1) << k;
}

// Excel's sheet of three comments, an oval and a polygon whose shape data
// continues after the oval's OBJ record.
TEST(Comments, CopiedRowsCarryTheirCommentsAndShapes)
{
    KASOVKA_NEEDS_SHARED_FILE(corpus(QString()));
    QTemporaryDir dir;
    TXLSFile book;
    book.open(corpus(QStringLiteral("poi_DrawingAndComments.xls")));
    const auto before = book.comments();
    ASSERT_EQ(before.size(), 3);
    book.insertAndCopyRows(4, 7, 8, 2, false);
    const QString out = dir.filePath(QStringLiteral("copies.xls"));
    book.save(out);
    TXLSFile again;
    again.open(out);
    const auto after = again.comments();
    ASSERT_EQ(after.size(), 9);
    // Rows 4..7 and their two copies at 8..11 and 12..15.
    for (int k = 0; k < 3; ++k)
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(after[3 * k + i].row, before[i].row + 4 * k) << k << " " << i;
            EXPECT_EQ(after[3 * k + i].column, before[i].column) << k << " " << i;
            EXPECT_EQ(after[3 * k + i].text, before[i].text) << k << " " << i;
        }
}

TEST(Formulas, UnreadableTokenNamesTheCell)
{
    // C4 of the template holds B4*2: PtgRef B4 (value class), PtgInt 2, PtgMul. The
    // multiplication becomes a token of the 0x18 family cut short.
    TXlsStorage root = TOle2Storage::read(readFile(fixture(QStringLiteral("template.xls"))),
                                          QStringLiteral("bad"));
    QByteArray &stream = root.child(QStringLiteral("Workbook"))->data;
    const QByteArray tokens = QByteArray::fromHex("44030001c01e020005");
    const qsizetype at = stream.indexOf(tokens);
    ASSERT_GE(at, 0);
    stream[at + tokens.size() - 1] = char(0x18);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("token.xls"));
    writeFile(path, TOle2Storage::write(root));

    TXLSFile book;
    book.open(path);
    EXPECT_EQ(errorOf([&] { book.insertAndCopyRows(1, 1, 2, 1, true); }),
              QStringLiteral("Formula at Row 4, column 3 is not supported. Token Id: 0x18"));
}

TEST(Formulas, SharedFormulasStandAloneAfterLoading)
{
    KASOVKA_NEEDS_SHARED_FILE(corpus(QString()));
    QTemporaryDir dir;
    TXLSFile book;
    book.open(corpus(QStringLiteral("poi_SharedFormulaTest.xls")));
    const auto cells = book.cells();
    QStringList formulas;
    for (const auto &e : cells)
        if (e.cell.kind == XlsCellKind::Formula)
            formulas.append(e.cell.formula);
    ASSERT_EQ(formulas.size(), 32);
    for (const QString &f : formulas)
        EXPECT_FALSE(f.contains(QLatin1Char('?'))) << f.toStdString();
    const QString out = dir.filePath(QStringLiteral("shared.xls"));
    book.save(out);
    int sharedRecords = 0;
    for (const auto &rec : detail::readRecords(workbookStream(out), QStringLiteral("bad")))
        sharedRecords += rec.id == detail::rid::SharedFormula;
    EXPECT_EQ(sharedRecords, 0);
}

TEST(Records, DamagedRecordIsNamedWithItsOffset)
{
    // The template's NOTE cut to 4 bytes: its size field and data shrink.
    TXlsStorage root = TOle2Storage::read(readFile(fixture(QStringLiteral("template.xls"))),
                                          QStringLiteral("bad"));
    QByteArray &stream = root.child(QStringLiteral("Workbook"))->data;
    qsizetype at = 0;
    for (const auto &rec : detail::readRecords(stream, QStringLiteral("bad")))
        if (rec.id == detail::rid::Note)
            at = rec.offset;
    ASSERT_GT(at, 0);
    const int size = uint8_t(stream[at + 2]) | (uint8_t(stream[at + 3]) << 8);
    stream.remove(at + 4 + 4, size - 4);
    stream[at + 2] = 4;
    stream[at + 3] = 0;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("note.xls"));
    writeFile(path, TOle2Storage::write(root));
    TXLSFile book;
    EXPECT_EQ(errorOf([&] { book.open(path); }),
              QStringLiteral("Error reading Excel records. File invalid: NOTE at offset 0x%1, "
                             "expected at least 8 bytes, found 4")
                  .arg(at + 4, 0, 16));
}

} // namespace
