#pragma once
// A job painted into a PDF file under the progress window, and the progress
// of any long print: the window with "Přerušit", refreshed a few times a
// second while pages are painted.

#include <QElapsedTimer>
#include <QString>

namespace kasovka {
class TBaseApplication;
struct OutputPolicy;
}

namespace kasovka::print {

class PrintJob;

class PrintProgress {
public:
    // Shows the progress with its cancel link and clears an old cancel request.
    PrintProgress(TBaseApplication &app, const QString &text);
    ~PrintProgress();
    PrintProgress(const PrintProgress &) = delete;
    PrintProgress &operator=(const PrintProgress &) = delete;

    // A PrintJob::Progress: false once the user has cancelled.
    bool step(int done, int total);

private:
    TBaseApplication &m_app;
    QElapsedTimer m_sinceRefresh;
};

// How a PDF may be written: never over an export template.
OutputPolicy pdfPolicy(const TBaseApplication &app);

// Writes the laid-out job to `path` as the policy allows. The pages replace
// `path` only when complete: after a cancel or a failure the folder holds
// what it held before. False when the user cancelled; throws Error with the
// reason when the file cannot be written.
bool writePdf(TBaseApplication &app, const PrintJob &job, const QString &path, const OutputPolicy &policy);

// writePdf with the outcome told to the user: nothing when written, a
// message when cancelled or failed. True when written.
bool savePdf(TBaseApplication &app, const PrintJob &job, const QString &path, const OutputPolicy &policy);

} // namespace kasovka::print
