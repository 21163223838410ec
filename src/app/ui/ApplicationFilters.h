#pragma once
// Two program-wide behaviours that act on events of every window, installed
// on the application object by the entry point (or on single windows).

#include <QObject>
#include <QString>

class QWidget;

namespace kasovka {

// Minimizing any top-level window minimizes the whole program: every other
// visible top-level window is minimized with it. Installed on the
// application it covers every window, including those created later.
class MinimizeConvention : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Minimizes every visible top-level window of the program.
    static void MinimizeApplication();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// A mouse wheel turned while the keyboard focus is in the report view's
// group list becomes the Up or Down arrow key (toward the user: Down), so the
// wheel moves the current group instead of scrolling past it. The list is
// recognised by its object name, on the focus widget or one of its parents.
class WheelToArrowKeys : public QObject {
    Q_OBJECT
public:
    explicit WheelToArrowKeys(QObject *parent = nullptr,
                              QString targetName = QStringLiteral("cgrSkupiny"));

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *targetWithFocus() const;

    QString m_targetName;
};

} // namespace kasovka
