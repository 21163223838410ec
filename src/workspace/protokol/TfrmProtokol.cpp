#include "workspace/protokol/TfrmProtokol.h"

#include "ui/WindowConventions.h"
#include "workspace/protokol/TProtokol.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

namespace kasovka {

namespace {
constexpr int ClientWidth = 688;
constexpr int ClientHeight = 446;
} // namespace

TfrmProtokol::TfrmProtokol(const TProtokol &protokol, QWidget *parent)
    : QDialog(parent), m_protokol(protokol)
{
    setObjectName(QStringLiteral("frmProtokol"));
    setWindowTitle(QStringLiteral("Protokol"));
    setWindowFlags(resizableDialogFlags());

    QVBoxLayout *layout = nullptr;
    QHBoxLayout *toolbarLayout = addToolbarStrip(this, layout);
    m_btnOK = makeToolbarButton(glyphIcon(Glyph::Ok), QStringLiteral("OK"), toolbarLayout->parentWidget());
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    toolbarLayout->addWidget(m_btnOK);
    toolbarLayout->addStretch();

    m_panHeadline = new QWidget(this);
    m_panHeadline->setObjectName(QStringLiteral("panHeadline"));
    m_panHeadline->setAutoFillBackground(true);
    auto *headlineLayout = new QHBoxLayout(m_panHeadline);
    headlineLayout->setContentsMargins(10, 8, 10, 8);
    m_lblHeadline = new QLabel(m_panHeadline);
    m_lblHeadline->setObjectName(QStringLiteral("lblHeadline"));
    m_lblHeadline->setTextFormat(Qt::PlainText);
    m_lblHeadline->setWordWrap(true);
    QFont bold = m_lblHeadline->font();
    bold.setBold(true);
    m_lblHeadline->setFont(bold);
    headlineLayout->addWidget(m_lblHeadline);
    layout->addWidget(m_panHeadline);

    m_mmProtokol = new QPlainTextEdit(this);
    m_mmProtokol->setObjectName(QStringLiteral("mmProtokol"));
    m_mmProtokol->setReadOnly(true);
    m_mmProtokol->setFrameShape(QFrame::NoFrame);
    m_mmProtokol->document()->setDocumentMargin(8); // in line with the headline
    m_mmProtokol->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_mmProtokol->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A long list of warnings must stay readable to its end, so the vertical
    // bar appears when the text outgrows the window.
    m_mmProtokol->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(m_mmProtokol, 1);

    applyHeadlineStyle(m_protokol.Warning());
    resize(ClientWidth, ClientHeight);

    connect(m_btnOK, &QToolButton::clicked, this, &QDialog::accept);
    installKeyPreview(this, [this] { accept(); }, [this] { accept(); });
}

QColor TfrmProtokol::HeadlineBackground(bool warning)
{
    return warning ? QColor(254, 240, 224) : QColor(225, 221, 255);
}

QColor TfrmProtokol::HeadlineTextColour(bool warning)
{
    return warning ? QColor(255, 0, 0) : QColor(0, 0, 0);
}

void TfrmProtokol::applyHeadlineStyle(bool warning)
{
    QPalette strip = m_panHeadline->palette();
    strip.setColor(QPalette::Window, HeadlineBackground(warning));
    m_panHeadline->setPalette(strip);
    QPalette text = m_lblHeadline->palette();
    text.setColor(QPalette::WindowText, HeadlineTextColour(warning));
    m_lblHeadline->setPalette(text);
}

void TfrmProtokol::showEvent(QShowEvent *event)
{
    m_lblHeadline->setText(m_protokol.Headline());
    m_mmProtokol->setPlainText(m_protokol.Text());
    placeOnScreen(this);
    QDialog::showEvent(event);
}

} // namespace kasovka
