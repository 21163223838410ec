#include "print/PrintSettings.h"

#include "core/IniFile.h"
#include "print/PrintJob.h"

#include <cmath>

namespace kasovka::print {

namespace {

const QString Section = QStringLiteral("Print");

// Not a number and infinities are never in range ("nan" fails every
// comparison, so a check for being outside lets it through).
bool inRange(double value, double low, double high)
{
    return std::isfinite(value) && value >= low && value <= high;
}

// A standard paper by its key ("A4", "Letter"), a custom one as
// "<width>x<height>" in millimetres.
QString paperText(const QPageSize &size)
{
    if (size.id() != QPageSize::Custom)
        return size.key();
    const QSizeF mm = size.size(QPageSize::Millimeter);
    return QStringLiteral("%1x%2").arg(mm.width()).arg(mm.height());
}

QPageSize paperOf(const QString &text, const QPageSize &fallback)
{
    for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
        if (QPageSize::key(QPageSize::PageSizeId(id)) == text)
            return QPageSize(QPageSize::PageSizeId(id));
    }
    const QStringList parts = text.split(u'x');
    bool okWidth = false, okHeight = false;
    const double width = parts.value(0).toDouble(&okWidth);
    const double height = parts.value(1).toDouble(&okHeight);
    if (parts.size() == 2 && okWidth && okHeight && inRange(width, 50, 2000) && inRange(height, 50, 2000))
        return QPageSize(QSizeF(width, height), QPageSize::Millimeter);
    return fallback;
}

QMarginsF marginsOf(const QString &text, const QMarginsF &fallback)
{
    const QStringList parts = text.split(u';');
    if (parts.size() != 4)
        return fallback;
    double values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].trimmed().toDouble(&ok);
        if (!ok || !inRange(values[i], 0, 100))
            return fallback;
    }
    return QMarginsF(values[0], values[1], values[2], values[3]);
}

} // namespace

PrintSettings::PrintSettings() : pageLayout(PrintJob::defaultPageLayout()) {}

PrintSettings PrintSettings::read(TIniFile &ini)
{
    PrintSettings settings;
    const QPageLayout fallback = settings.pageLayout;
    const QPageSize paper = paperOf(ini.ReadString(Section, QStringLiteral("Paper"), QString()), fallback.pageSize());
    const bool landscape = ini.ReadBool(Section, QStringLiteral("Landscape"), true);
    const QMarginsF margins = marginsOf(ini.ReadString(Section, QStringLiteral("Margins"), QString()),
                                        fallback.margins(QPageLayout::Millimeter));
    settings.pageLayout = QPageLayout(paper, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, margins,
                                      QPageLayout::Millimeter);
    // Margins that leave no room on the paper fall back to the usual ones.
    if (!settings.pageLayout.isValid() || settings.pageLayout.paintRect(QPageLayout::Millimeter).width() < 50
        || settings.pageLayout.paintRect(QPageLayout::Millimeter).height() < 50)
        settings.pageLayout = QPageLayout(paper, settings.pageLayout.orientation(),
                                          fallback.margins(QPageLayout::Millimeter), QPageLayout::Millimeter);
    settings.allGroups = ini.ReadBool(Section, QStringLiteral("AllGroups"), false);
    settings.reportPdf = ini.ReadString(Section, QStringLiteral("ReportPdf"), QString());
    settings.groupTablePdf = ini.ReadString(Section, QStringLiteral("GroupTablePdf"), QString());
    return settings;
}

void PrintSettings::write(TIniFile &ini) const
{
    const QMarginsF m = pageLayout.margins(QPageLayout::Millimeter);
    ini.WriteString(Section, QStringLiteral("Paper"), paperText(pageLayout.pageSize()));
    ini.WriteBool(Section, QStringLiteral("Landscape"), pageLayout.orientation() == QPageLayout::Landscape);
    ini.WriteString(Section, QStringLiteral("Margins"),
                    QStringLiteral("%1;%2;%3;%4").arg(m.left()).arg(m.top()).arg(m.right()).arg(m.bottom()));
    ini.WriteBool(Section, QStringLiteral("AllGroups"), allGroups);
    ini.WriteString(Section, QStringLiteral("ReportPdf"), reportPdf);
    ini.WriteString(Section, QStringLiteral("GroupTablePdf"), groupTablePdf);
}

} // namespace kasovka::print
