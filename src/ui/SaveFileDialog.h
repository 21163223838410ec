#pragma once
// The save-file dialog of the program's windows (the exporter's "Procházet",
// the print preview's "Uložit jako PDF"): what it is opened with, and the
// dialog set up from that.

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace kasovka {

struct TSaveFileRequest {
    QString title;         // "Exportovat do souboru"
    QString filter;        // "Sešit MS Excel (*.xls)|*.xls|Sešit Office Open XML (*.xlsx)|*.xlsx"
    int filterIndex = 0;   // the filter offered first
    QStringList suffixes;  // per filter, the extension a bare name gets: "XLS", "XLSX"
    QString initialFolder; // folder part of the proposed path
    QString fileName;      // file-name part of it
};

// "Name (*.x)|*.x|..." as the dialog's name filters.
QStringList saveDialogNameFilters(const QString &filter);
// The dialog as the request describes it. It never asks about an existing
// file: the callers ask in their own words.
void configureSaveDialog(QFileDialog &dialog, const TSaveFileRequest &request);
// The path chosen in a modal dialog; empty when the user cancelled.
QString chooseSaveFile(const TSaveFileRequest &request, QWidget *parent);

} // namespace kasovka
