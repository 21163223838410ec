#include "workspace/TfrmReportContainer.h"

#include "app/JobGuard.h"
#include "app/TBaseApplication.h"
#include "report/view/TfrmPenDenReport.h"
#include "ui/ReportIcons.h"
#include "ui/WindowConventions.h"
#include "workspace/TReportContainer.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kasovka {

namespace {

constexpr int HeaderButtonSize = 72;
constexpr int CaptionBarHeight = 22;

QToolButton *headerButton(QWidget *parent, ReportIcon icon, const QString &text)
{
    auto *button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIcon(reportIcon(icon));
    button->setIconSize(QSize(32, 32));
    button->setText(text);
    button->setFixedSize(HeaderButtonSize, HeaderButtonSize);
    return button;
}

QToolButton *arrowButton(QWidget *parent, ReportIcon icon)
{
    auto *button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIcon(reportIcon(icon));
    button->setIconSize(QSize(14, 14));
    button->setFixedSize(20, 18);
    return button;
}

const char *SelectorStyle = "QToolButton { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #e4e4e4,"
                            " stop:1 #c0c0c0); border: 1px solid #8c8c8c; border-radius: 2px;"
                            " padding: 1px 6px; }"
                            " QToolButton:hover { background: #d4d4d4; }";
// Room for the caption inside the border and the padding.
constexpr int SelectorTextWidth = TfrmReportContainer::SelectorWidth - 2 * (1 + 6);

// The name in at most two lines that fit the button in bold, the look of the
// shown report, so marking a button never changes its caption; the rest of
// a longer name is elided (the hint shows all of it).
QString selectorCaption(const QString &name, QFont font)
{
    font.setBold(true);
    QTextLayout layout(name.simplified(), font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine first = layout.createLine();
    first.setLineWidth(SelectorTextWidth);
    layout.endLayout();
    const QString text = layout.text();
    const QString line1 = text.left(first.textLength()).trimmed();
    const QString rest = text.mid(first.textLength()).trimmed();
    if (rest.isEmpty())
        return line1;
    return line1 + QLatin1Char('\n') + QFontMetrics(font).elidedText(rest, Qt::ElideRight, SelectorTextWidth);
}

} // namespace

TfrmReportContainer::TfrmReportContainer(TReportContainer &container, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint), m_container(container)
{
    setObjectName(QStringLiteral("TfrmReportContainer"));
    setWindowTitle(QStringLiteral("Kasovka"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildHeader());
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    pcReports = new QStackedWidget(this);
    pcReports->setObjectName(QStringLiteral("pcReports"));
    layout->addWidget(pcReports, 1);
    addShortcuts();
    // The size it takes when it is not maximized, within the screen.
    resize(1200, 800);
    placeOnScreen(this);
}

QWidget *TfrmReportContainer::buildHeader()
{
    auto *header = new QWidget(this);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(2);
    btnKonec = headerButton(header, ReportIcon::Exit, QStringLiteral("Konec"));
    btnNapoveda = headerButton(header, ReportIcon::Help, QStringLiteral("Nápověda"));
    btnPridat = headerButton(header, ReportIcon::Add, QStringLiteral("Přidat"));
    row->addWidget(btnKonec);
    row->addWidget(btnNapoveda);
    row->addWidget(btnPridat);

    panReportList = new QWidget(header);
    panReportList->setObjectName(QStringLiteral("panReportList"));
    panReportList->setFixedHeight(SelectorTop + SelectorHeight + 2);
    panReportList->installEventFilter(this);
    m_captionBar = new QWidget(panReportList);
    m_captionBar->setAutoFillBackground(true);
    QPalette bar = m_captionBar->palette();
    bar.setColor(QPalette::Window, QColor(232, 232, 232));
    m_captionBar->setPalette(bar);
    auto *caption = new QHBoxLayout(m_captionBar);
    caption->setContentsMargins(6, 0, 2, 0);
    lblReportListCaption =
        new QLabel(QStringLiteral("Seznam vytvořených sestav - pro novou sestavu použijte tlačítko [Přidat]"),
                   m_captionBar);
    QFont bold = lblReportListCaption->font();
    bold.setBold(true);
    lblReportListCaption->setFont(bold);
    caption->addWidget(lblReportListCaption, 1);
    btnScrollLeft = arrowButton(m_captionBar, ReportIcon::ArrowLeft);
    btnScrollRight = arrowButton(m_captionBar, ReportIcon::ArrowRight);
    caption->addWidget(btnScrollLeft);
    caption->addWidget(btnScrollRight);
    row->addWidget(panReportList, 1);

    btnKonec->setToolTip(QStringLiteral("Zavře pracovní plochu i doplněk"));
    btnNapoveda->setToolTip(QStringLiteral("Nápověda (F1)"));
    btnPridat->setToolTip(QStringLiteral("Přidat novou sestavu (Ctrl+N, Insert)"));
    btnScrollLeft->setToolTip(QStringLiteral("Posunout seznam sestav doleva"));
    btnScrollRight->setToolTip(QStringLiteral("Posunout seznam sestav doprava"));
    connect(btnKonec, &QToolButton::clicked, this, &QDialog::accept);
    connect(btnNapoveda, &QToolButton::clicked, this,
            [this] { m_container.Application().ShowHelpTopic(QStringLiteral("pgMain.htm")); });
    connect(btnPridat, &QToolButton::clicked, this, [this] { m_container.NewReport(); });
    connect(btnScrollLeft, &QToolButton::clicked, this, &TfrmReportContainer::ScrollLeft);
    connect(btnScrollRight, &QToolButton::clicked, this, &TfrmReportContainer::ScrollRight);
    return header;
}

// The workspace's keys work wherever the focus is inside it; printing and
// export act on the report shown.
void TfrmReportContainer::addShortcuts()
{
    const auto add = [this](const QList<QKeySequence> &keys, auto slot) {
        auto *action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    add({QKeySequence(Qt::CTRL | Qt::Key_N), QKeySequence(Qt::Key_Insert)}, [this] {
        if (btnPridat->isEnabled())
            m_container.NewReport();
    });
    add({QKeySequence(Qt::CTRL | Qt::Key_W)}, [this] { m_container.CloseReport(m_container.CurrentIndex()); });
    add({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)},
        [this] { m_container.SelectNeighbour(1); });
    add({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
         QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
        [this] { m_container.SelectNeighbour(-1); });
    add({QKeySequence(Qt::CTRL | Qt::Key_P)}, [this] {
        if (TfrmPenDenReport *view = m_container.View(m_container.CurrentIndex()))
            view->PrintReport(PrintOutput::Preview);
    });
    add({QKeySequence(Qt::CTRL | Qt::Key_E)}, [this] {
        if (TfrmPenDenReport *view = m_container.View(m_container.CurrentIndex()))
            view->ExportReport();
    });
    add({QKeySequence(Qt::Key_F1)}, [this] { m_container.Application().ShowHelpTopic(QStringLiteral("pgMain.htm")); });
}

QWidget *TfrmReportContainer::AddPage()
{
    auto *page = new QWidget(pcReports);
    pcReports->addWidget(page);
    pcReports->setCurrentWidget(page);
    return page;
}

QToolButton *TfrmReportContainer::AddSelectorButton(int index, const QString &name)
{
    auto *button = new QToolButton(panReportList);
    button->setObjectName(QStringLiteral("btnSestava%1").arg(index + 1));
    button->setFocusPolicy(Qt::NoFocus);
    button->setStyleSheet(QString::fromLatin1(SelectorStyle));
    button->setText(selectorCaption(name, button->font()));
    button->setToolTip(name);
    button->setGeometry(m_scrollOffset + SelectorStep * index, SelectorTop, SelectorWidth, SelectorHeight);
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QToolButton::customContextMenuRequested, this,
            [this, button](const QPoint &at) { showSelectorMenu(button, at); });
    button->show();
    m_selectors.append(button);
    return button;
}

void TfrmReportContainer::showSelectorMenu(QToolButton *button, const QPoint &at)
{
    QMenu menu(this);
    QAction *close = menu.addAction(QStringLiteral("Zavřít sestavu"));
    close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    if (menu.exec(button->mapToGlobal(at)) == close)
        m_container.CloseReport(int(m_selectors.indexOf(button)));
}

void TfrmReportContainer::RemovePage(int index)
{
    if (index < 0 || index >= m_selectors.size())
        return;
    QWidget *page = pcReports->widget(index);
    pcReports->removeWidget(page);
    delete page;
    // Deleted later: the button may be the one whose menu closes the report.
    m_selectors.takeAt(index)->deleteLater();
    for (int i = index; i < m_selectors.size(); ++i)
        m_selectors[i]->setObjectName(QStringLiteral("btnSestava%1").arg(i + 1));
    // No empty room at the right end while buttons hide at the left.
    const int row = SelectorStep * int(m_selectors.size()) - (SelectorStep - SelectorWidth);
    m_scrollOffset = std::min(0, std::max(m_scrollOffset, panReportList->width() - row));
    placeSelectors();
}

void TfrmReportContainer::MarkSelected(int index)
{
    if (index >= 0 && index < pcReports->count())
        pcReports->setCurrentIndex(index);
    for (int i = 0; i < m_selectors.size(); ++i) {
        QFont font = m_selectors[i]->font();
        font.setBold(i == index);
        m_selectors[i]->setFont(font);
    }
    scrollIntoView(index);
}

// The shown report's button stays wholly in the strip.
void TfrmReportContainer::scrollIntoView(int index)
{
    // Before the strip is laid out its width says nothing.
    if (index < 0 || index >= m_selectors.size() || panReportList->width() < SelectorWidth)
        return;
    const int left = SelectorStep * index;
    if (m_scrollOffset + left < 0)
        m_scrollOffset = -left;
    else if (m_scrollOffset + left + SelectorWidth > panReportList->width())
        m_scrollOffset = std::min(0, panReportList->width() - left - SelectorWidth);
    placeSelectors();
}

void TfrmReportContainer::ScrollLeft()
{
    if (m_scrollOffset >= 0)
        return;
    m_scrollOffset += ScrollStep;
    placeSelectors();
}

void TfrmReportContainer::ScrollRight()
{
    if (m_selectors.size() * SelectorWidth < 50 - m_scrollOffset)
        return;
    m_scrollOffset -= ScrollStep;
    placeSelectors();
}

void TfrmReportContainer::placeSelectors()
{
    for (int i = 0; i < m_selectors.size(); ++i)
        m_selectors[i]->move(m_scrollOffset + SelectorStep * i, SelectorTop);
}

bool TfrmReportContainer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == panReportList && event->type() == QEvent::Resize)
        m_captionBar->setGeometry(0, 0, panReportList->width(), CaptionBarHeight);
    return QDialog::eventFilter(watched, event);
}

void TfrmReportContainer::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    // The filter dialog of the first report comes up over the workspace
    // once the workspace itself is on screen.
    QTimer::singleShot(0, this, [this] { m_container.NewReport(); });
}

void TfrmReportContainer::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    m_container.FitCurrentGroupGrid();
    scrollIntoView(pcReports->currentIndex());
}

} // namespace kasovka

namespace kasovka {

void TfrmReportContainer::done(int result)
{
    if (mayEndNow(m_container.Application(), this, [this, result] { QDialog::done(result); }))
        QDialog::done(result);
}

void TfrmReportContainer::keyPressEvent(QKeyEvent *event)
{
    // Esc would close the whole workspace with every report in it; only
    // "Konec" (or the window's close button) leaves it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace kasovka
