#pragma once
// The print flow's windows as the program shows them: modal Qt dialogs over
// the given parent, the save-file dialog over the preview while it is open.

#include "print/ui/PrintFlow.h"

namespace kasovka {

class QtPrintWindows : public IPrintWindows {
public:
    explicit QtPrintWindows(QWidget *parent = nullptr) : m_parent(parent) {}
    bool askScope(bool &allGroups, const QString &currentGroupName) override;
    QString choosePdfFile(const TSaveFileRequest &request) override;
    void showPreview(PrintSession &session) override;

private:
    QWidget *m_parent;
};

} // namespace kasovka
