#pragma once
// One page of a print job on screen, painted from the job whenever it is
// shown, at a zoom that fits the width, the whole page or a fixed factor.
// Nothing is kept per page, so a job of thousands of pages previews as
// quickly as one of two.

#include <QScrollArea>

namespace kasovka {

namespace print {
class PrintJob;
}

class PrintPageView : public QScrollArea {
    Q_OBJECT
public:
    enum class Fit { Width, Page, Factor };

    explicit PrintPageView(print::PrintJob &job, QWidget *parent = nullptr);

    int page() const { return m_page; }
    // Shows page `page` (from 0), clamped to the job's pages.
    void setPage(int page);
    // Zoom: 1.0 is the paper's natural size on screen.
    void setFit(Fit fit, double factor = 1.0);
    Fit fit() const { return m_fit; }
    double zoom() const { return m_zoom; }
    // After the job was laid out anew.
    void jobChanged();

Q_SIGNALS:
    void pageChanged(int page);
    void zoomChanged(double zoom);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    class Sheet;
    void updateZoom();

    print::PrintJob &m_job;
    Sheet *m_sheet;
    int m_page = 0;
    Fit m_fit = Fit::Width;
    double m_factor = 1.0;
    double m_zoom = 1.0;
};

} // namespace kasovka
