#include "print/ui/TfrmPrintPreview.h"

#include "app/JobGuard.h"
#include "app/TBaseApplication.h"

#include "ui/WindowConventions.h"
#include "print/PrintJob.h"
#include "print/ui/PrintFlow.h"
#include "print/ui/PrintPageView.h"
#include "report/view/PrintButton.h"

#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QShortcut>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace kasovka {

namespace {

QFrame *bevel(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QIcon standardIcon(QWidget *window, QStyle::StandardPixmap pixmap)
{
    return window->style()->standardIcon(pixmap);
}

// Zoom choices after the two fitting ones, in per cent.
const int ZoomSteps[] = {50, 75, 100, 125, 150, 200, 300};

} // namespace

TfrmPrintPreview::TfrmPrintPreview(PrintSession &session, QWidget *parent)
    : QDialog(parent, resizableDialogFlags()), m_session(session)
{
    setObjectName(QStringLiteral("TfrmPrintPreview"));
    setWindowTitle(QStringLiteral("Náhled tisku"));
    setSizeGripEnabled(true);
    QVBoxLayout *outer = nullptr;
    QHBoxLayout *bar = addToolbarStrip(this, outer);
    bar->addWidget(buildToolbar());
    pageView = new PrintPageView(session.job(), this);
    outer->addWidget(pageView, 1);

    connect(pageView, &PrintPageView::pageChanged, this, &TfrmPrintPreview::pageShown);
    connect(pageView, &PrintPageView::zoomChanged, this, &TfrmPrintPreview::zoomShown);
    auto *printKey = new QShortcut(QKeySequence::Print, this);
    connect(printKey, &QShortcut::activated, this, &TfrmPrintPreview::Print);
    auto *saveKey = new QShortcut(QKeySequence::Save, this);
    connect(saveKey, &QShortcut::activated, this, &TfrmPrintPreview::SavePdf);
    auto *helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(helpKey, &QShortcut::activated, this,
            [this] { m_session.application().ShowHelpTopic(QStringLiteral("pgPrint.htm")); });
    installKeyPreview(this, {}, [this] { reject(); });
    jobChanged();
    // Restored, the window nearly fills its screen; it opens maximized.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect restored(QPoint(), screen->availableGeometry().size() * 0.9);
        restored.moveCenter(screen->availableGeometry().center());
        setGeometry(restored);
    }
    setWindowState(Qt::WindowMaximized);
    pageView->setFocus();
}

TfrmPrintPreview::~TfrmPrintPreview() = default;

QWidget *TfrmPrintPreview::buildToolbar()
{
    auto *tools = new QWidget(this);
    auto *row = new QHBoxLayout(tools);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    btnPrint = makeToolbarButton(printerIcon(), QStringLiteral("Tisk…"), tools);
    btnPdf = makeToolbarButton(standardIcon(this, QStyle::SP_DialogSaveButton), QStringLiteral("Uložit jako PDF…"), tools);
    btnPageSetup = makeToolbarButton(standardIcon(this, QStyle::SP_FileDialogDetailedView),
                                     QStringLiteral("Vzhled stránky…"), tools);
    btnPortrait = makeToolbarButton(QIcon(), QStringLiteral("Na výšku"), tools);
    btnLandscape = makeToolbarButton(QIcon(), QStringLiteral("Na šířku"), tools);
    btnFirst = makeToolbarButton(standardIcon(this, QStyle::SP_MediaSkipBackward), QString(), tools);
    btnPrevious = makeToolbarButton(standardIcon(this, QStyle::SP_MediaSeekBackward), QString(), tools);
    btnNext = makeToolbarButton(standardIcon(this, QStyle::SP_MediaSeekForward), QString(), tools);
    btnLast = makeToolbarButton(standardIcon(this, QStyle::SP_MediaSkipForward), QString(), tools);
    btnZoomOut = makeToolbarButton(QIcon(), QStringLiteral("−"), tools);
    btnZoomIn = makeToolbarButton(QIcon(), QStringLiteral("+"), tools);
    btnClose = makeToolbarButton(glyphIcon(Glyph::Close), QStringLiteral("Zavřít"), tools);
    btnFirst->setToolTip(QStringLiteral("První strana"));
    btnPrevious->setToolTip(QStringLiteral("Předchozí strana"));
    btnNext->setToolTip(QStringLiteral("Další strana"));
    btnLast->setToolTip(QStringLiteral("Poslední strana"));
    btnZoomOut->setToolTip(QStringLiteral("Zmenšit"));
    btnZoomIn->setToolTip(QStringLiteral("Zvětšit"));
    for (QToolButton *toggle : {btnPortrait, btnLandscape}) {
        toggle->setCheckable(true);
        toggle->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    for (QToolButton *zoom : {btnZoomOut, btnZoomIn})
        zoom->setToolButtonStyle(Qt::ToolButtonTextOnly);
    edtPage = new QSpinBox(tools);
    edtPage->setObjectName(QStringLiteral("edtPage"));
    edtPage->setPrefix(QStringLiteral("Strana "));
    edtPage->setKeyboardTracking(false);
    lblPageCount = new QLabel(tools);
    cmbZoom = new QComboBox(tools);
    cmbZoom->addItem(QStringLiteral("Šířka stránky"));
    cmbZoom->addItem(QStringLiteral("Celá stránka"));
    for (int percent : ZoomSteps)
        cmbZoom->addItem(QStringLiteral("%1 %").arg(percent));

    const QList<QList<QWidget *>> groups{
        {btnPrint, btnPdf},
        {btnPageSetup, btnPortrait, btnLandscape},
        {btnFirst, btnPrevious, edtPage, lblPageCount, btnNext, btnLast},
        {btnZoomOut, cmbZoom, btnZoomIn},
    };
    for (const QList<QWidget *> &group : groups) {
        if (&group != &groups.front())
            row->addWidget(bevel(tools));
        for (QWidget *widget : group)
            row->addWidget(widget);
    }
    row->addStretch(1);
    row->addWidget(bevel(tools));
    row->addWidget(btnClose);

    connect(btnPrint, &QToolButton::clicked, this, &TfrmPrintPreview::Print);
    connect(btnPdf, &QToolButton::clicked, this, &TfrmPrintPreview::SavePdf);
    connect(btnPageSetup, &QToolButton::clicked, this, &TfrmPrintPreview::PageSetup);
    connect(btnPortrait, &QToolButton::clicked, this, [this] { SetLandscape(false); });
    connect(btnLandscape, &QToolButton::clicked, this, [this] { SetLandscape(true); });
    connect(btnFirst, &QToolButton::clicked, this, [this] { pageView->setPage(0); });
    connect(btnPrevious, &QToolButton::clicked, this, [this] { pageView->setPage(pageView->page() - 1); });
    connect(btnNext, &QToolButton::clicked, this, [this] { pageView->setPage(pageView->page() + 1); });
    connect(btnLast, &QToolButton::clicked, this, [this] { pageView->setPage(m_session.job().pageCount() - 1); });
    connect(edtPage, &QSpinBox::valueChanged, this, [this](int page) { pageView->setPage(page - 1); });
    connect(btnZoomOut, &QToolButton::clicked, this,
            [this] { pageView->setFit(PrintPageView::Fit::Factor, pageView->zoom() / 1.25); });
    connect(btnZoomIn, &QToolButton::clicked, this,
            [this] { pageView->setFit(PrintPageView::Fit::Factor, pageView->zoom() * 1.25); });
    connect(cmbZoom, &QComboBox::activated, this, &TfrmPrintPreview::zoomChosen);
    connect(btnClose, &QToolButton::clicked, this, &QDialog::reject);
    return tools;
}

QPrinter &TfrmPrintPreview::printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setDocName(m_session.job().heading().title);
    }
    m_printer->setPageLayout(m_session.job().pageLayout());
    return *m_printer;
}

void TfrmPrintPreview::Print()
{
    QPrinter &target = printer();
    QPrintDialog dialog(&target, this);
    // No printing to a file here: Qt would write it by name, through links
    // and over templates; "Uložit jako PDF…" writes the same file safely.
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCurrentPage
                      | QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, m_session.job().pageCount());
    if (dialog.exec() != QDialog::Accepted)
        return;
    int from = 0, to = 0;
    if (target.printRange() == QPrinter::PageRange) {
        from = target.fromPage();
        to = target.toPage();
    } else if (target.printRange() == QPrinter::CurrentPage) {
        from = to = pageView->page() + 1;
    }
    m_session.print(target, from, to);
    jobChanged();
}

void TfrmPrintPreview::SavePdf()
{
    m_session.saveAsPdf();
}

void TfrmPrintPreview::done(int result)
{
    if (mayEndNow(m_session.application(), this, [this, result] { QDialog::done(result); }))
        QDialog::done(result);
}

void TfrmPrintPreview::PageSetup()
{
    QPrinter &target = printer();
    QPageSetupDialog dialog(&target, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_session.setPageLayout(target.pageLayout());
    jobChanged();
}

void TfrmPrintPreview::SetLandscape(bool landscape)
{
    QPageLayout layout = m_session.job().pageLayout();
    layout.setOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    m_session.setPageLayout(layout);
    jobChanged();
}

void TfrmPrintPreview::jobChanged()
{
    const int pages = m_session.job().pageCount();
    const bool landscape = m_session.job().pageLayout().orientation() == QPageLayout::Landscape;
    btnLandscape->setChecked(landscape);
    btnPortrait->setChecked(!landscape);
    {
        const QSignalBlocker blocker(edtPage);
        edtPage->setRange(1, std::max(pages, 1));
    }
    lblPageCount->setText(QStringLiteral(" z %1 ").arg(pages));
    pageView->jobChanged();
}

void TfrmPrintPreview::pageShown(int page)
{
    const QSignalBlocker blocker(edtPage);
    edtPage->setValue(page + 1);
    const int pages = m_session.job().pageCount();
    btnFirst->setEnabled(page > 0);
    btnPrevious->setEnabled(page > 0);
    btnNext->setEnabled(page + 1 < pages);
    btnLast->setEnabled(page + 1 < pages);
}

void TfrmPrintPreview::zoomShown(double zoom)
{
    if (pageView->fit() == PrintPageView::Fit::Factor) {
        cmbZoom->setEditable(true);
        cmbZoom->setEditText(QStringLiteral("%1 %").arg(qRound(zoom * 100)));
    } else {
        cmbZoom->setEditable(false);
        cmbZoom->setCurrentIndex(pageView->fit() == PrintPageView::Fit::Width ? 0 : 1);
    }
}

void TfrmPrintPreview::zoomChosen(int index)
{
    if (index == 0)
        pageView->setFit(PrintPageView::Fit::Width);
    else if (index == 1)
        pageView->setFit(PrintPageView::Fit::Page);
    else
        pageView->setFit(PrintPageView::Fit::Factor, ZoomSteps[index - 2] / 100.0);
}

} // namespace kasovka
