#include "app/ui/ApplicationFilters.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>

namespace kasovka {

void MinimizeConvention::MinimizeApplication()
{
    // Minimizing one window changes the state of the others, each of which
    // would start the same walk again.
    static bool running = false;
    if (running)
        return;
    running = true;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && !window->isMinimized() && !(window->windowFlags() & Qt::FramelessWindowHint))
            window->showMinimized();
    }
    running = false;
}

bool MinimizeConvention::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        const auto *change = static_cast<QWindowStateChangeEvent *>(event);
        if (widget->isWindow() && widget->isMinimized() && !(change->oldState() & Qt::WindowMinimized))
            MinimizeApplication();
    }
    return QObject::eventFilter(watched, event);
}

WheelToArrowKeys::WheelToArrowKeys(QObject *parent, QString targetName)
    : QObject(parent), m_targetName(std::move(targetName))
{
}

QWidget *WheelToArrowKeys::targetWithFocus() const
{
    QWidget *focus = QApplication::focusWidget();
    for (QWidget *w = focus; w; w = w->parentWidget()) {
        if (w->objectName() == m_targetName)
            return focus;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

bool WheelToArrowKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    const auto *wheel = static_cast<QWheelEvent *>(event);
    const int delta = wheel->angleDelta().y();
    // A purely horizontal turn (or a phase event without movement) is no
    // turn toward or away from the user: leave it alone.
    if (delta == 0)
        return false;
    QWidget *target = targetWithFocus();
    if (!target)
        return false;
    QKeyEvent key(QEvent::KeyPress, delta < 0 ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(target, &key);
    return true;
}

} // namespace kasovka
