#include "export/ExportFormat.h"

#include "export/workbook/Workbook.h"

#include <QFileInfo>

namespace kasovka {

TExportFormat exportFormatOf(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0
        ? TExportFormat::Xlsx
        : TExportFormat::Xls;
}

int maxExportRows(TExportFormat format)
{
    return format == TExportFormat::Xlsx ? kMaxSheetRows : kBiffRows;
}

QString exportFormatName(TExportFormat format)
{
    return format == TExportFormat::Xlsx ? QStringLiteral("xlsx") : QStringLiteral("xls");
}

TExportFormat exportFormatFromName(const QString &name)
{
    return name.trimmed().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0 ? TExportFormat::Xlsx
                                                                                     : TExportFormat::Xls;
}

} // namespace kasovka
