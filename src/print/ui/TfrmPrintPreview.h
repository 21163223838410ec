#pragma once
// The print preview ("Náhled tisku"): pages of the job one at a time, with
// the printer ("Tisk…", choosing the printer and the pages), the PDF file
// ("Uložit jako PDF…"), the paper, orientation and margins ("Vzhled
// stránky…", "Na výšku", "Na šířku"), paging and zoom.

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QPrinter;
class QSpinBox;
class QToolButton;

namespace kasovka {

class PrintPageView;
class PrintSession;

class TfrmPrintPreview : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPrintPreview(PrintSession &session, QWidget *parent = nullptr);
    ~TfrmPrintPreview() override;

    void Print();
    void SavePdf();
    void PageSetup();
    void SetLandscape(bool landscape);

    QToolButton *btnPrint;
    QToolButton *btnPdf;
    QToolButton *btnPageSetup;
    QToolButton *btnPortrait;
    QToolButton *btnLandscape;
    QToolButton *btnFirst;
    QToolButton *btnPrevious;
    QSpinBox *edtPage;
    QLabel *lblPageCount;
    QToolButton *btnNext;
    QToolButton *btnLast;
    QToolButton *btnZoomOut;
    QComboBox *cmbZoom;
    QToolButton *btnZoomIn;
    QToolButton *btnClose;
    PrintPageView *pageView;

    // Closing while the PDF is being saved asks first and closes once the
    // saving has stopped; it is never dropped silently.
    void done(int result) override;

private:
    QWidget *buildToolbar();
    QPrinter &printer();
    void jobChanged();
    void pageShown(int page);
    void zoomShown(double zoom);
    void zoomChosen(int index);

    PrintSession &m_session;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace kasovka
