#include "app/ui/TfrmHelpViewer.h"

#include "app/ui/Artwork.h"
#include "ui/WindowConventions.h"

#include <QAction>
#include <QDir>
#include <QRegularExpression>
#include <QFileInfo>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace kasovka {

namespace {

const QString HelpTitle = QStringLiteral("Kasovka - nápověda");

QToolButton *toolButton(const QString &text, QWidget *parent)
{
    return makeToolbarButton(QIcon(), text, parent);
}

} // namespace

QString TfrmHelpViewer::WindowTitleFor(const QString &pageTitle)
{
    // The pages name the program in their own titles; the window names it once.
    static const QRegularExpression programPrefix(QStringLiteral("^\\s*Kasovka\\s*([-–:]\\s*|$)"));
    const QString page = QString(pageTitle).remove(programPrefix).trimmed();
    return page.isEmpty() ? HelpTitle : HelpTitle + QStringLiteral(" - ") + page;
}

TfrmHelpViewer::TfrmHelpViewer(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHelpViewer"));
    setWindowTitle(HelpTitle);
    setWindowIcon(ApplicationIcon());
    resize(760, 600);
    placeOnScreen(this);

    auto *bar = new QToolBar(this);
    m_btnBack = toolButton(QStringLiteral("< Zpět"), bar);
    m_btnForward = toolButton(QStringLiteral("Vpřed >"), bar);
    QToolButton *btnHome = toolButton(QStringLiteral("Obsah"), bar);
    bar->addWidget(m_btnBack);
    bar->addWidget(m_btnForward);
    bar->addWidget(btnHome);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("brwHelp"));
    m_browser->setOpenExternalLinks(true);
    m_browser->setFrameShape(QFrame::NoFrame);
    m_browser->document()->setDocumentMargin(14);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_browser);

    m_btnBack->setEnabled(false);
    m_btnForward->setEnabled(false);
    connect(m_btnBack, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_btnForward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(btnHome, &QToolButton::clicked, this, [this] {
        if (!m_homePage.isEmpty())
            m_browser->setSource(QUrl::fromLocalFile(m_homePage));
    });
    // Esc closes the window, F1 goes to the contents.
    auto *close = new QAction(this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
    auto *contents = new QAction(this);
    contents->setShortcut(QKeySequence(Qt::Key_F1));
    connect(contents, &QAction::triggered, btnHome, &QToolButton::click);
    addAction(contents);
    btnHome->setToolTip(QStringLiteral("Obsah nápovědy (F1)"));
    connect(m_browser, &QTextBrowser::backwardAvailable, m_btnBack, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_btnForward, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this,
            [this] { setWindowTitle(WindowTitleFor(m_browser->documentTitle())); });
}

bool TfrmHelpViewer::ShowTopic(const QString &helpFolder, const QString &page)
{
    const QString path = QDir(helpFolder).filePath(page);
    if (page.isEmpty() || !QFileInfo(path).isFile())
        return false;
    m_homePage = QDir(helpFolder).filePath(QStringLiteral("pgMain.htm"));
    if (!QFileInfo(m_homePage).isFile())
        m_homePage = path;
    m_browser->setSearchPaths({helpFolder});
    m_browser->setSource(QUrl::fromLocalFile(path));
    return true;
}

} // namespace kasovka
