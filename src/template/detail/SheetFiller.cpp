#include "template/detail/SheetFiller.h"

#include "core/Error.h"
#include "template/detail/CellEvaluation.h"

namespace kasovka::detail {

namespace {
int recordsOf(const TExcelBand &band)
{
    // A band without any data set name behaves like one of an unknown name.
    if (band.dataSets.empty())
        return 1;
    int records = 0;
    for (IXlsDataSet *dataSet : band.dataSets)
        records = std::max(records, dataSet ? countRecords(*dataSet) : 1);
    return records;
}

TXlsImageType imageType(const QString &name)
{
    const QString upper = name.toUpper();
    QString type = QStringLiteral("JPEG");
    for (const QString &tag : {QStringLiteral("##"), QStringLiteral("#.")}) {
        if (upper.contains(tag)) {
            type = upper.mid(upper.lastIndexOf(tag) + tag.size());
            break;
        }
    }
    if (type == QLatin1String("WMF"))
        return TXlsImageType::Wmf;
    if (type == QLatin1String("EMF"))
        return TXlsImageType::Emf;
    if (type == QLatin1String("PNG"))
        return TXlsImageType::Png;
    if (type == QLatin1String("JPEG"))
        return TXlsImageType::Jpeg;
    throw Error(QStringLiteral("Drawing type \"%1\" invalid").arg(type));
}

QByteArray pictureData(const QVariant &value)
{
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray();
    return value.toString().toLatin1();
}
} // namespace

TSheetFiller::TSheetFiller(IXlsWorkbook &workbook, const TTagParser &parser,
                           const TTemplateDataModule *dataModule, Lookup lookup)
    : m_workbook(workbook), m_parser(parser), m_dataModule(dataModule), m_lookup(std::move(lookup))
{
}

void TSheetFiller::run()
{
    const TBandSearch search(activeSheetBandRanges(m_workbook), m_workbook.activeSheet());
    std::optional<TExcelBand> mainBand = search.mainBand(m_lookup);
    if (!mainBand)
        return;
    const TXlsNamedRange range = m_workbook.namedRange(mainBand->rangeIndex);
    m_firstColumn = range.firstColumn;
    m_lastColumn = range.lastColumn;
    m_templateTop = mainBand->topRow;
    buildCache(mainBand->topRow, mainBand->bottomRow);

    int offset = 0;
    insertBand(*mainBand, offset);
    int row = mainBand->topRow - 1;
    fillBand(*mainBand, row);

    expandDumps();
    applyMarkers();
}

void TSheetFiller::buildCache(int topRow, int bottomRow)
{
    for (int row = topRow; row <= bottomRow; ++row) {
        std::vector<TOneBandValue> cells;
        for (int column = m_firstColumn; column <= m_lastColumn; ++column) {
            const TXlsCellValue cell = m_workbook.cell(row, column);
            if (cell.isFormula || (cell.format < 0 && cell.value.isNull()))
                continue;
            cells.push_back(m_parser.parse(cell.value, column - m_firstColumn, cell.format));
        }
        m_cache.push_back(std::move(cells));
    }
}

// offset: how far the band's template rows have moved down so far. On return
// it has grown by the band's expanded height.
void TSheetFiller::insertBand(TExcelBand &band, int &offset)
{
    const int records = recordsOf(band);
    resizeBand(band, offset, records);
    if (band.children.empty())
        offset += records * band.height();
    else if (records > 0)
        insertChildren(band, offset, records);
    band.rewind();
}

void TSheetFiller::resizeBand(const TExcelBand &band, int offset, int records)
{
    const int top = band.topRow + offset;
    const int bottom = band.bottomRow + offset;
    if (records >= 2)
        m_workbook.insertAndCopyRows(top, bottom, bottom + 1, records - 1, true);
    else if (records == 0)
        m_workbook.deleteRows(top, band.height());
}

// One repetition per record: each child expands inside the repetition, and
// the offset ends up past the repetition's expanded rows.
void TSheetFiller::insertChildren(TExcelBand &band, int &offset, int records)
{
    for (int repetition = 1;; ++repetition) {
        checkRepetition(repetition, records, m_workbook.activeSheet());
        for (TExcelBand &child : band.children) {
            insertBand(child, offset);
            offset -= child.height();
        }
        offset += band.childRows() + band.ownRows();
        if (band.allEntriesEmpty())
            return;
        band.advance();
        if (band.allAtEnd())
            return;
    }
}

void TSheetFiller::fillBand(TExcelBand &band, int &row)
{
    if (band.hasDataSets() && band.allAtEnd())
        return;
    for (;;) {
        fillRepetition(band, row);
        if (band.allEntriesEmpty())
            return;
        band.advance();
        if (band.allAtEnd())
            return;
    }
}

void TSheetFiller::fillRepetition(TExcelBand &band, int &row)
{
    for (int templateRow = band.topRow; templateRow <= band.bottomRow;) {
        if (TExcelBand *child = band.childAt(templateRow)) {
            fillBand(*child, row);
            templateRow = child->bottomRow + 1;
            continue;
        }
        ++row;
        writeRow(templateRow - m_templateTop, row);
        fillComments(row);
        fillImages(row);
        ++templateRow;
    }
}

void TSheetFiller::writeRow(int cacheRow, int row)
{
    for (const TOneBandValue &cell : m_cache[static_cast<std::size_t>(cacheRow)]) {
        const int column = m_firstColumn + cell.column;
        if (cell.kind == TBandValueKind::FullDataSet)
            m_dumps.push_back({cell.text, row, column});
        const std::optional<QVariant> value = evaluateCell(cell, m_dataModule);
        m_workbook.setCell(row, column, value.value_or(QVariant()), cell.format);
    }
}

void TSheetFiller::fillComments(int row)
{
    for (int i = m_workbook.commentCount(row) - 1; i >= 0; --i) {
        const QString text = m_workbook.commentText(row, i);
        const std::optional<QVariant> value = evaluateCell(m_parser.parse(text, 0, -1), m_dataModule);
        if (!value)
            continue;
        const QString result = cellText(*value);
        if (result != text)
            m_workbook.setCommentText(row, i, result);
    }
}

void TSheetFiller::fillImages(int row)
{
    for (int i = 0; i < m_workbook.imageCount(row); ++i) {
        const QString name = m_workbook.imageName(row, i);
        const TXlsImageType type = imageType(name);
        const std::optional<QVariant> value = evaluateCell(m_parser.parse(name, 0, -1), m_dataModule);
        if (value && !value->isNull() && cellText(*value) != name)
            m_workbook.setImage(row, i, type, pictureData(*value));
    }
}

} // namespace kasovka::detail
