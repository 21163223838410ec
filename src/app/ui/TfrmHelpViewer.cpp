#include "app/ui/TfrmHelpViewer.h"

#include "app/ui/Artwork.h"

#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace kasovka {

namespace {

QToolButton *toolButton(const QString &text, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setText(text);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TfrmHelpViewer::TfrmHelpViewer(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHelpViewer"));
    setWindowTitle(QStringLiteral("Kasovka - nápověda"));
    setWindowIcon(ApplicationIcon());
    resize(760, 600);

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
    connect(m_browser, &QTextBrowser::backwardAvailable, m_btnBack, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_btnForward, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Kasovka - nápověda")
                                       : QStringLiteral("Kasovka - nápověda - ") + title);
    });
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
