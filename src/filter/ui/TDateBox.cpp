#include "filter/ui/TDateBox.h"

#include "ui/WindowConventions.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

namespace kasovka {

TDateBox::TDateBox(QWidget *parent, const QLocale &locale)
    : QLineEdit(parent), m_locale(locale)
{
    // The pattern as Czech users know it: "d.m.rrrr".
    setPlaceholderText(shortDateFormat(m_locale).toLower().replace(QLatin1Char('y'), QLatin1Char('r')));
    m_calendarAction = addAction(glyphIcon(Glyph::Calendar), QLineEdit::TrailingPosition);
    m_calendarAction->setToolTip(QStringLiteral("Kalendář (Alt+šipka dolů)"));
    connect(m_calendarAction, &QAction::triggered, this, &TDateBox::showCalendar);
}

std::optional<TDateTime> TDateBox::date() const
{
    const QString typed = text().trimmed();
    if (typed.isEmpty())
        return TDateTime(0);
    return parseShortDate(typed, m_locale);
}

TDateTime TDateBox::dateOrZero() const
{
    return date().value_or(TDateTime(0));
}

void TDateBox::setDate(TDateTime date)
{
    setText(isZeroDate(date) ? QString() : formatShortDate(date, m_locale));
}

void TDateBox::showCalendar()
{
    if (m_calendar)
        return;
    // A popup window of its own: it closes on a click outside, and Enter or
    // Esc typed in it never reach the dialog's key preview.
    auto *popup = new QWidget(this, Qt::Popup);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(popup);
    layout->setContentsMargins(1, 1, 1, 1);
    m_calendar = new QCalendarWidget(popup);
    m_calendar->setLocale(m_locale);
    m_calendar->setGridVisible(true);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    const std::optional<TDateTime> current = date();
    if (current && !isZeroDate(*current))
        m_calendar->setSelectedDate(toQDate(*current));
    else if (!isZeroDate(m_fallback))
        m_calendar->setCurrentPage(toQDate(m_fallback).year(), toQDate(m_fallback).month());
    layout->addWidget(m_calendar);
    connect(m_calendar, &QCalendarWidget::activated, this, &TDateBox::pickFromCalendar);
    connect(m_calendar, &QCalendarWidget::clicked, this, &TDateBox::pickFromCalendar);
    connect(popup, &QObject::destroyed, this, [this] { m_calendar = nullptr; });

    popup->adjustSize();
    QPoint below = mapToGlobal(QPoint(0, height()));
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        below.setX(qMin(below.x(), area.right() - popup->width()));
        if (below.y() + popup->height() > area.bottom())
            below.setY(mapToGlobal(QPoint(0, 0)).y() - popup->height());
    }
    popup->move(below);
    popup->show();
    m_calendar->setFocus();
}

void TDateBox::pickFromCalendar(const QDate &picked)
{
    setDate(fromQDate(picked));
    Q_EMIT editingFinished();
    if (m_calendar)
        m_calendar->parentWidget()->close();
    setFocus();
}

void TDateBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // The calendar popup takes the focus only for a moment; the date is
    // final when the focus goes elsewhere in the window.
    if (event->reason() != Qt::PopupFocusReason)
        Q_EMIT focusLeft();
}

void TDateBox::keyPressEvent(QKeyEvent *event)
{
    const bool altDown = event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier);
    if (altDown || event->key() == Qt::Key_F4) {
        showCalendar();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace kasovka
