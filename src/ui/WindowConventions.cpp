#include "ui/WindowConventions.h"

#include <QApplication>
#include <QFrame>
#include <QScreen>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolButton>
#include <QWidget>

#include <algorithm>

namespace kasovka {

KeyPreview::KeyPreview(QWidget *window, std::function<void()> onEnter,
                       std::function<void()> onEscape)
    : QObject(window), m_window(window), m_onEnter(std::move(onEnter)),
      m_onEscape(std::move(onEscape))
{
    qApp->installEventFilter(this);
}

KeyPreview::~KeyPreview()
{
    qApp->removeEventFilter(this);
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    // Only keys aimed at a control of this very window; a popup or a dialog
    // opened on top is a window of its own and keeps its keys.
    auto *target = static_cast<QWidget *>(watched);
    if (target->window() != m_window || !m_window->isVisible())
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier)
        return false;
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && m_onEnter) {
        m_onEnter();
        return true;
    }
    if (key->key() == Qt::Key_Escape && m_onEscape) {
        m_onEscape();
        return true;
    }
    return false;
}

void installKeyPreview(QWidget *window, std::function<void()> onEnter,
                       std::function<void()> onEscape)
{
    new KeyPreview(window, std::move(onEnter), std::move(onEscape));
}

QToolButton *makeToolbarButton(const QIcon &glyph, const QString &text, QWidget *parent,
                               int iconSize)
{
    auto *button = new QToolButton(parent);
    button->setIcon(glyph);
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(QSize(iconSize, iconSize));
    return button;
}

QFrame *toolbarSeparator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

namespace {

QPixmap drawGlyph(Glyph glyph, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    switch (glyph) {
    case Glyph::Ok: {
        p.setPen(QPen(QColor(0x2e, 0x8b, 0x3e), s * 0.16, Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        QPainterPath tick;
        tick.moveTo(s * 0.18, s * 0.55);
        tick.lineTo(s * 0.42, s * 0.78);
        tick.lineTo(s * 0.84, s * 0.24);
        p.drawPath(tick);
        break;
    }
    case Glyph::Back: {
        p.setPen(QPen(QColor(0x2a, 0x5d, 0xa8), s * 0.14, Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        QPainterPath arrow;
        arrow.moveTo(s * 0.40, s * 0.22);
        arrow.lineTo(s * 0.16, s * 0.46);
        arrow.lineTo(s * 0.40, s * 0.70);
        p.drawPath(arrow);
        QPainterPath tail;
        tail.moveTo(s * 0.18, s * 0.46);
        tail.lineTo(s * 0.62, s * 0.46);
        tail.quadTo(s * 0.86, s * 0.46, s * 0.86, s * 0.68);
        tail.lineTo(s * 0.86, s * 0.82);
        p.drawPath(tail);
        break;
    }
    case Glyph::Close: {
        p.setPen(QPen(QColor(0xc0, 0x39, 0x2b), s * 0.15, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.24, s * 0.24), QPointF(s * 0.76, s * 0.76));
        p.drawLine(QPointF(s * 0.76, s * 0.24), QPointF(s * 0.24, s * 0.76));
        break;
    }
    case Glyph::Calendar: {
        const QColor ink(0x55, 0x60, 0x6e);
        p.setPen(QPen(ink, s * 0.08));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(s * 0.12, s * 0.2, s * 0.76, s * 0.68), s * 0.08, s * 0.08);
        p.fillRect(QRectF(s * 0.12, s * 0.2, s * 0.76, s * 0.18), ink);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 3; ++col)
                p.drawRect(QRectF(s * (0.22 + col * 0.2), s * (0.48 + row * 0.18), s * 0.12,
                                  s * 0.1));
        break;
    }
    }
    return pixmap;
}

} // namespace

QIcon glyphIcon(Glyph glyph)
{
    QIcon icon;
    icon.addPixmap(drawGlyph(glyph, 16));
    icon.addPixmap(drawGlyph(glyph, 32));
    return icon;
}

Qt::WindowFlags resizableDialogFlags()
{
    return Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
        | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
}

QWidget *makeToolbarStrip(QWidget *parent, QHBoxLayout *&layout, StripLook look)
{
    auto *strip = new QWidget(parent);
    if (look == StripLook::Grey) {
        strip->setAutoFillBackground(true);
        QPalette palette = strip->palette();
        palette.setColor(QPalette::Window, QColor(232, 232, 232));
        strip->setPalette(palette);
    }
    layout = new QHBoxLayout(strip);
    layout->setContentsMargins(4, look == StripLook::Grey ? 2 : 3, 4, look == StripLook::Grey ? 2 : 3);
    layout->setSpacing(2);
    return strip;
}

QHBoxLayout *addToolbarStrip(QWidget *window, QVBoxLayout *&outer, StripLook look)
{
    outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    QHBoxLayout *strip = nullptr;
    outer->addWidget(makeToolbarStrip(window, strip, look));
    return strip;
}

void placeOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // The window manager's frame is known only once the window is shown; a
    // title bar of about 30 pixels is kept free before that.
    const QRect outer = window->frameGeometry(), inner = window->geometry();
    const QMargins frame = window->isVisible() && outer != inner
        ? QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                   outer.right() - inner.right(), outer.bottom() - inner.bottom())
        : QMargins(4, 30, 4, 4);
    window->resize(window->size().boundedTo(area.size().shrunkBy(frame)));
    QRect placed(QPoint(), window->size().grownBy(frame));
    placed.moveCenter(area.center());
    window->move(std::max(placed.left(), area.left()), std::max(placed.top(), area.top()));
}

} // namespace kasovka
