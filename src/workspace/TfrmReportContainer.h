#pragma once
// The workspace window of TReportContainer: the header with "Konec",
// "Nápověda" and "Přidat", the strip of selector buttons with its caption
// bar and arrows, and the pages of the reports without tabs.

#include <QDialog>
#include <QList>

class QLabel;
class QStackedWidget;
class QToolButton;

namespace kasovka {

class TReportContainer;

class TfrmReportContainer : public QDialog {
    Q_OBJECT
public:
    // Geometry of the selector buttons in the report list strip.
    static constexpr int SelectorWidth = 137;
    static constexpr int SelectorHeight = 38;
    static constexpr int SelectorTop = 26;
    static constexpr int SelectorStep = 135; // neighbours overlap by 2 pixels
    static constexpr int ScrollStep = 100;

    explicit TfrmReportContainer(TReportContainer &container, QWidget *parent = nullptr);

    // A new page, made the active one; the report's view goes into it.
    QWidget *AddPage();
    // The selector button of report `index`, placed in the scrolled row.
    QToolButton *AddSelectorButton(int index, const QString &name);
    // Active page and bold marking of its selector button, scrolled into
    // view.
    void MarkSelected(int index);
    // Removes report `index`'s page (with its view) and selector button.
    void RemovePage(int index);

    void ScrollLeft();
    void ScrollRight();
    int ScrollOffset() const { return m_scrollOffset; }
    const QList<QToolButton *> &SelectorButtons() const { return m_selectors; }

    QToolButton *btnKonec;
    QToolButton *btnNapoveda;
    QToolButton *btnPridat;
    QToolButton *btnScrollLeft;
    QToolButton *btnScrollRight;
    QLabel *lblReportListCaption;
    QWidget *panReportList;
    QStackedWidget *pcReports;

    // "Konec", Esc and the close button: while a job runs (a PDF being
    // saved, an export) the user is asked first, and the workspace ends only
    // once the job has stopped.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildHeader();
    void addShortcuts();
    void placeSelectors();
    void scrollIntoView(int index);
    void showSelectorMenu(QToolButton *button, const QPoint &at);

    TReportContainer &m_container;
    QList<QToolButton *> m_selectors;
    QWidget *m_captionBar = nullptr;
    int m_scrollOffset = 0;
    bool m_shownOnce = false;
};

} // namespace kasovka
