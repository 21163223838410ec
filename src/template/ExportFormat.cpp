#include "template/ExportFormat.h"

#include "workbook/Workbook.h"

#include <QFileInfo>

namespace kasovka {

TExportFormat exportFormatOf(const QString &path)
{
    return explicitExportFormat(path).value_or(TExportFormat::Xls);
}

std::optional<TExportFormat> explicitExportFormat(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0)
        return TExportFormat::Xlsx;
    if (suffix.compare(QLatin1String("xls"), Qt::CaseInsensitive) == 0)
        return TExportFormat::Xls;
    return std::nullopt;
}

QString exportFormatTitle(TExportFormat format)
{
    return format == TExportFormat::Xlsx ? QStringLiteral("Office Open XML (.xlsx)")
                                         : QStringLiteral("Excel 97-2003 (.xls)");
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
