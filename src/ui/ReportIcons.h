#pragma once
// The program's own pictures for the workspace and its windows, drawn at
// run time so that no image files need to be shipped.

#include <QIcon>

namespace kasovka {

enum class ReportIcon {
    Exit,      // leave the workspace
    Help,
    Add,       // a new report
    Workbook,  // export to a spreadsheet
    Table,     // the group tables
    Groups,    // the group list
    Summary,   // the final overview
    Rows,      // journal rows
    Group,     // one summation group
    Info,      // a hint
    Folder,    // browse
    ArrowLeft,
    ArrowRight,
};

QIcon reportIcon(ReportIcon icon);
QPixmap reportPixmap(ReportIcon icon, int size);

} // namespace kasovka
