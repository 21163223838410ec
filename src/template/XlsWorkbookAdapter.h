#pragma once
// The template engine's workbook door over the BIFF8 file layer. The
// workbook is saved as .xls, or as .xlsx with sheets of up to 1048576 rows.

#include "core/DocumentInfo.h"
#include "template/ExportFormat.h"
#include "template/WorkbookAdapter.h"

#include <functional>

namespace kasovka {

class TXlsWorkbookAdapter final : public TWorkbookAdapter {
public:
    // Applies to the workbooks created afterwards.
    void setFormat(TExportFormat format) { m_format = format; }
    TExportFormat format() const { return m_format; }
    // The properties an .xlsx workbook is written with.
    void setInfo(const DocumentInfo &info) { m_info = info; }
    // Called every few thousand cells filled and rows written, so that a
    // long run can show progress; it may throw to stop the run.
    void setPoll(std::function<void()> poll) { m_poll = std::move(poll); }

    std::unique_ptr<IXlsWorkbook> createWorkbook() override;

private:
    TExportFormat m_format = TExportFormat::Xls;
    DocumentInfo m_info;
    std::function<void()> m_poll;
};

} // namespace kasovka
