#include "print/ui/QtPrintWindows.h"

#include "print/ui/TfrmPrintPreview.h"
#include "print/ui/TfrmPrintScope.h"
#include "ui/SaveFileDialog.h"

namespace kasovka {

bool QtPrintWindows::askScope(bool &allGroups, const QString &currentGroupName)
{
    TfrmPrintScope window(allGroups, currentGroupName, m_parent);
    if (window.exec() != QDialog::Accepted)
        return false;
    allGroups = window.allGroups();
    return true;
}

QString QtPrintWindows::choosePdfFile(const TSaveFileRequest &request)
{
    return chooseSaveFile(request, m_parent);
}

void QtPrintWindows::showPreview(PrintSession &session)
{
    TfrmPrintPreview window(session, m_parent);
    QWidget *const previous = m_parent;
    m_parent = &window;
    window.exec();
    m_parent = previous;
}

} // namespace kasovka
