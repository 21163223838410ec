#pragma once
// The template engine's workbook door over the BIFF8 file layer.

#include "export/WorkbookAdapter.h"

namespace kasovka {

class TXlsWorkbookAdapter final : public TWorkbookAdapter {
public:
    std::unique_ptr<IXlsWorkbook> createWorkbook() override;
};

} // namespace kasovka
