#include "print/PdfOutput.h"

#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "core/OutputFile.h"
#include "print/PdfArchive.h"
#include "print/PrintJob.h"

#include <QDir>
#include <QPdfWriter>

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

OutputPolicy pdfPolicy(const TBaseApplication &app)
{
    return OutputPolicy{.templateFolders = {app.PrintFormsFolder()}};
}

bool writePdf(TBaseApplication &app, const PrintJob &job, const QString &path, const OutputPolicy &policy)
{
    TOutputFile file(path, policy);
    file.open();
    const PageHeading &heading = job.heading();
    const PdfDocumentInfo info{heading.title, heading.author, heading.subject,
                               QStringLiteral("Kasovka ") + TBaseApplication::ProgramVersion(),
                               QStringLiteral("Qt ") + QString::fromLatin1(qVersion()), heading.printed};
    PdfTailDevice pdf(file.device());
    bool complete = false;
    {
        PrintProgress progress(app, QStringLiteral("Ukládám sestavu do PDF, prosím čekejte"));
        QPdfWriter writer(&pdf);
        writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        writer.setDocumentXmpMetadata(xmpMetadata(info));
        writer.setPageLayout(job.pageLayout());
        writer.setTitle(info.title);
        writer.setCreator(info.creator);
        complete = job.paint(writer, [&progress](int done, int total) { return progress.step(done, total); });
    }
    if (!complete)
        return false; // the new file is discarded, the target stays as it was
    file.write(informationUpdate(pdf.tail(), pdf.written(), info));
    file.commit();
    return true;
}

bool savePdf(TBaseApplication &app, const PrintJob &job, const QString &path, const OutputPolicy &policy)
{
    try {
        if (writePdf(app, job, path, policy)) {
            app.ShowSavedNotice(path);
            return true;
        }
        app.ShowMessageDialog(QStringLiteral("Ukládání do PDF bylo přerušeno, soubor %1 nebyl vytvořen.")
                                  .arg(QDir::toNativeSeparators(path)),
                              MessageKind::Information);
    } catch (const Error &error) {
        app.ShowMessageDialog(error.text(), MessageKind::Error);
    }
    return false;
}

} // namespace kasovka::print
