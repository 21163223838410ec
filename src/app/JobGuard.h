#pragma once
// Windows whose closing would cut a running job short (the workspace, the
// print preview) ask first. The job runs in an event loop inside the
// window's own, so the window can only end once the job has returned.
//
//     void TfrmX::done(int result)
//     {
//         if (mayEndNow(app, this, [this, result] { QDialog::done(result); }))
//             QDialog::done(result);
//     }

#include <functional>

class QObject;

namespace kasovka {

class TBaseApplication;

// True when no job runs, so the window may end at once. Otherwise asks
// whether to stop the job: when the user does, `end` runs (in `context`)
// once the job has ended; when not, nothing happens.
bool mayEndNow(TBaseApplication &app, QObject *context, std::function<void()> end);

} // namespace kasovka
