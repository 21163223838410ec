#include "ui/SaveFileDialog.h"

#include <QFileDialog>

namespace kasovka {

QStringList saveDialogNameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts.at(i);
        const QString patterns = QString(parts.at(i + 1)).replace(QLatin1Char(';'), QLatin1Char(' '));
        result.append(description.contains(QLatin1Char('(')) ? description
                                                             : QStringLiteral("%1 (%2)").arg(description, patterns));
    }
    return result;
}

void configureSaveDialog(QFileDialog &dialog, const TSaveFileRequest &request)
{
    dialog.setWindowTitle(request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = saveDialogNameFilters(request.filter);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(request.filterIndex));
    dialog.setDefaultSuffix(request.suffixes.value(request.filterIndex));
    // A name typed without an extension gets the one of the filter shown.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, filters, suffixes = request.suffixes](const QString &filter) {
                         const qsizetype index = filters.indexOf(filter);
                         if (index >= 0 && index < suffixes.size())
                             dialog.setDefaultSuffix(suffixes.at(index));
                     });
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!request.initialFolder.isEmpty())
        dialog.setDirectory(request.initialFolder);
    dialog.selectFile(request.fileName);
}

QString chooseSaveFile(const TSaveFileRequest &request, QWidget *parent)
{
    QFileDialog dialog(parent);
    configureSaveDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

} // namespace kasovka
