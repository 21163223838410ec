#include "app/ui/TfrmProgressForm.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include <cmath>

namespace kasovka {

TLinkLabel::TLinkLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(0x00, 0x4c, 0xc4));
    setPalette(pal);
    setCursor(Qt::PointingHandCursor);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QLabel::mouseReleaseEvent(event);
}

TActivityIndicator::TActivityIndicator(QWidget *parent) : QWidget(parent)
{
    setFixedSize(sizeHint());
    m_timer.setInterval(90);
    QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % 8;
        update();
    });
}

void TActivityIndicator::start()
{
    show();
    m_timer.start();
}

void TActivityIndicator::stop()
{
    m_timer.stop();
    hide();
}

void TActivityIndicator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QPointF centre = QRectF(rect()).center();
    const double radius = width() * 0.34;
    for (int i = 0; i < 8; ++i) {
        // The dot at m_step is the head; the ones behind it fade out.
        const int age = (m_step - i + 8) % 8;
        const double angle = i * M_PI / 4;
        QColor c(0x2f, 0x7c, 0xb3);
        c.setAlphaF(1.0 - age * 0.11);
        p.setBrush(c);
        const double dot = width() * (age == 0 ? 0.16 : 0.12);
        p.drawEllipse(QPointF(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle)),
                      dot / 2, dot / 2);
    }
}

TfrmProgressForm::TfrmProgressForm(std::function<void()> onCancel)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), m_onCancel(std::move(onCancel))
{
    setObjectName(QStringLiteral("frmProgressForm"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(360, 92);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    m_animation = new TActivityIndicator(this);
    m_animation->setObjectName(QStringLiteral("imgAnimation"));
    m_animation->hide();
    m_lblText = new QLabel(this);
    m_lblText->setObjectName(QStringLiteral("lblText"));
    m_lblText->setAlignment(Qt::AlignCenter);
    m_lblText->setWordWrap(true);
    m_lblCancel = new TLinkLabel(QStringLiteral("Přerušit"), this);
    m_lblCancel->setObjectName(QStringLiteral("lblCancel"));
    m_lblCancel->hide();
    connect(m_lblCancel, &TLinkLabel::clicked, this, [this] {
        if (m_onCancel)
            m_onCancel();
    });

    auto *texts = new QVBoxLayout;
    texts->addStretch();
    texts->addWidget(m_lblText);
    texts->addWidget(m_lblCancel, 0, Qt::AlignHCenter);
    texts->addStretch();
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(16, 10, 16, 10);
    row->setSpacing(12);
    row->addWidget(m_animation, 0, Qt::AlignVCenter);
    row->addLayout(texts, 1);
}

void TfrmProgressForm::ShowProgress(const QString &text, bool showCancelLink, bool animate)
{
    QApplication::processEvents();
    m_lblText->setText(text);
    m_lblCancel->setVisible(showCancelLink);
    if (animate)
        m_animation->start();
    else
        m_animation->stop();
    attachToModalWindow();
    centreOnScreen();
    show();
    raise();
    QApplication::processEvents();
}

void TfrmProgressForm::RefreshProgress()
{
    attachToModalWindow();
    show();
    QApplication::processEvents();
}

void TfrmProgressForm::HideProgress()
{
    m_animation->stop();
    hide();
}

// A window shown while a modal dialog runs is blocked by it, which would
// make "Přerušit" dead over the workspace. Making the progress window a
// transient of the modal window keeps it usable and above it, without the
// modal window owning it.
void TfrmProgressForm::attachToModalWindow()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || modal == this)
        return;
    winId(); // creates the native window, so windowHandle() exists
    if (QWindow *handle = windowHandle()) {
        modal->winId();
        if (handle->transientParent() != modal->windowHandle())
            handle->setTransientParent(modal->windowHandle());
    }
}

void TfrmProgressForm::centreOnScreen()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (QWidget *active = QApplication::activeWindow())
        screen = active->screen();
    if (!screen)
        return;
    QRect r = rect();
    r.moveCenter(screen->availableGeometry().center());
    move(r.topLeft());
}

void TfrmProgressForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && cancelLinkShown() && m_onCancel) {
        m_onCancel();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TfrmProgressForm::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    QPainter p(this);
    p.setPen(QColor(0x8a, 0x99, 0xa8));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace kasovka
