#include "template/XlsWorkbookAdapter.h"

#include "core/OutputFile.h"
#include "workbook/Workbook.h"
#include "xlsx/XlsxWriter.h"

namespace kasovka {

namespace {

constexpr int kCellsPerPoll = 4096;

class TXlsFileWorkbook final : public IXlsWorkbook {
public:
    TXlsFileWorkbook(TExportFormat format, const DocumentInfo &info, std::function<void()> poll)
        : m_format(format), m_info(info), m_poll(std::move(poll))
    {
        m_file.setRowLimit(maxExportRows(format));
    }

    void open(const QString &path) override { m_file.open(path); }
    void save(const QString &path, const OutputPolicy &policy) override
    {
        TOutputFile output(path, policy);
        if (m_format == TExportFormat::Xls || !m_file.workbook()) {
            m_file.save(output);
            return;
        }
        TXlsxWriter::Progress progress;
        if (m_poll)
            progress = [this](qint64, qint64) { m_poll(); };
        TXlsxWriter::save(*m_file.workbook(), output, progress, m_info);
    }

    int sheetCount() const override { return m_file.sheetCount(); }
    bool isWorksheet(int sheet) const override { return m_file.isWorksheet(sheet); }
    int activeSheet() const override { return m_file.activeSheet(); }
    void setActiveSheet(int sheet) override { m_file.setActiveSheet(sheet); }
    void selectFirstSheet() override { m_file.selectFirstSheet(); }

    int namedRangeCount() const override { return m_file.namedRangeCount(); }
    TXlsNamedRange namedRange(int index) const override
    {
        const XlsDefinedName name = m_file.namedRange(index);
        if (!name.isArea)
            return {name.name, 0, 0, 0, 0, 0};
        return {name.name, name.sheet, name.firstRow, name.lastRow, name.firstColumn, name.lastColumn};
    }
    bool removeNamedRange(int index) override { return m_file.removeNamedRange(index); }

    int lastRow() const override { return m_file.lastRow(); }
    TXlsCellValue cell(int row, int column) const override
    {
        const XlsCell cell = m_file.cell(row, column);
        // An error value has no meaning for the engine beyond its presence.
        const QVariant value = cell.kind == XlsCellKind::Error ? QVariant() : cell.value;
        return {value, cell.format, cell.isFormula()};
    }
    void setCell(int row, int column, const QVariant &value, int format) override
    {
        if (m_poll && ++m_cellsSincePoll == kCellsPerPoll) {
            m_cellsSincePoll = 0;
            m_poll();
        }
        m_file.setCell(row, column, value, format);
    }
    void insertAndCopyRows(int first, int last, int destination, int count, bool formulasOnly) override
    {
        m_file.insertAndCopyRows(first, last, destination, count, formulasOnly);
    }
    void deleteRows(int first, int count) override { m_file.deleteRows(first, count); }

    int commentCount(int row) const override { return m_file.commentCount(row); }
    QString commentText(int row, int index) const override { return m_file.commentText(row, index); }
    void setCommentText(int row, int index, const QString &text) override
    {
        m_file.setCommentText(row, index, text);
    }

    int imageCount(int row) const override { return m_file.imageCount(row); }
    QString imageName(int row, int index) const override { return m_file.imageName(row, index); }
    void setImage(int row, int index, TXlsImageType type, const QByteArray &data) override
    {
        m_file.setImage(row, index, layerType(type), data);
    }

    void addPageBreak(int row) override { m_file.addPageBreak(row); }
    int storeFormulaResults() override { return m_file.storeFormulaResults(); }
    void fitWrappedRows() override { m_file.fitWrappedRows(); }

private:
    static XlsImageType layerType(TXlsImageType type)
    {
        switch (type) {
        case TXlsImageType::Emf:
            return XlsImageType::Emf;
        case TXlsImageType::Wmf:
            return XlsImageType::Wmf;
        case TXlsImageType::Png:
            return XlsImageType::Png;
        case TXlsImageType::Jpeg:
            break;
        }
        return XlsImageType::Jpeg;
    }

    TXLSFile m_file;
    TExportFormat m_format;
    DocumentInfo m_info;
    std::function<void()> m_poll;
    int m_cellsSincePoll = 0;
};

} // namespace

std::unique_ptr<IXlsWorkbook> TXlsWorkbookAdapter::createWorkbook()
{
    return std::make_unique<TXlsFileWorkbook>(m_format, m_info, m_poll);
}

} // namespace kasovka
