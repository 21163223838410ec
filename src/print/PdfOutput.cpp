#include "print/PdfOutput.h"

#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "print/PrintJob.h"

#include <QDir>
#include <QPdfWriter>
#include <QSaveFile>

namespace kasovka::print {

namespace {
constexpr int RefreshMs = 150;
}

PrintProgress::PrintProgress(TBaseApplication &app, const QString &text) : m_app(app)
{
    m_app.SetCancelRequested(false);
    m_app.ShowProgress(text, true, true);
    m_sinceRefresh.start();
}

PrintProgress::~PrintProgress()
{
    m_app.HideProgress();
}

bool PrintProgress::step(int done, int)
{
    if (done == 1 || m_sinceRefresh.elapsed() >= RefreshMs) {
        m_app.RefreshProgress();
        m_sinceRefresh.restart();
    }
    return !m_app.CancelRequested();
}

bool writePdf(TBaseApplication &app, const PrintJob &job, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("Soubor %1 nelze vytvořit: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    bool complete = false;
    {
        PrintProgress progress(app, QStringLiteral("Ukládám sestavu do PDF, prosím čekejte"));
        QPdfWriter writer(&file);
        writer.setPageLayout(job.pageLayout());
        writer.setTitle(job.heading().title);
        writer.setCreator(QStringLiteral("Kasovka ") + TBaseApplication::ProgramVersion());
        complete = job.paint(writer, [&progress](int done, int total) { return progress.step(done, total); });
    }
    if (!complete) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        throw Error(QStringLiteral("Soubor %1 nelze zapsat: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    return true;
}

bool savePdf(TBaseApplication &app, const PrintJob &job, const QString &path)
{
    try {
        if (writePdf(app, job, path))
            return true;
        app.ShowMessageDialog(QStringLiteral("Ukládání do PDF bylo přerušeno, soubor %1 nebyl vytvořen.")
                                  .arg(QDir::toNativeSeparators(path)),
                              MessageKind::Information);
    } catch (const Error &error) {
        app.ShowMessageDialog(error.text(), MessageKind::Error);
    }
    return false;
}

} // namespace kasovka::print
