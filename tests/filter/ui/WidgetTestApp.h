#pragma once
// One QApplication for a GoogleTest executable of widget tests (offscreen
// platform, set by the build), created on first use and kept to the end.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace kasovka::test {

inline QApplication &widgetApp()
{
    static int argc = 1;
    static char name[] = "kasovka-widget-test";
    static char *argv[] = {name, nullptr};
    static QApplication *app = qApp ? static_cast<QApplication *>(qApp)
                                    : new QApplication(argc, argv);
    return *app;
}

// Runs `step` on the modal window that opens next (once it is shown), so a
// test can drive a window that its code opens with exec().
inline void whenModalShown(std::function<void(QWidget *)> step, int attempts = 200)
{
    QTimer::singleShot(10, [step = std::move(step), attempts]() mutable {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            step(modal);
        } else if (attempts > 0) {
            whenModalShown(std::move(step), attempts - 1);
        }
    });
}

} // namespace kasovka::test
