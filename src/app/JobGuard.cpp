#include "app/JobGuard.h"

#include "app/TBaseApplication.h"

#include <QTimer>

namespace kasovka {

namespace {
constexpr int PollMs = 100;
}

bool mayEndNow(TBaseApplication &app, QObject *context, std::function<void()> end)
{
    if (!app.JobRunning())
        return true;
    if (!app.AskToStopJob())
        return false;
    auto *wait = new QTimer(context);
    QObject::connect(wait, &QTimer::timeout, context, [&app, wait, end = std::move(end)] {
        if (app.JobRunning())
            return;
        wait->deleteLater();
        end();
    });
    wait->start(PollMs);
    return false;
}

} // namespace kasovka
