#pragma once
// A date box: a line edit for dates typed in the program's short date format
// (always with a four-digit year) with a drop-down calendar button at its
// right end. A zero date shows as an empty box, and an empty box reads as the
// zero date.

#include "core/DateConvention.h"
#include "core/DateTime.h"

#include <QLineEdit>
#include <QLocale>

class QAction;
class QCalendarWidget;

namespace kasovka {

class TDateBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TDateBox(QWidget *parent = nullptr, const QLocale &locale = programLocale());

    // The date typed in the box: 0 when the box is empty, std::nullopt when
    // the text is not a date of the short date format.
    std::optional<TDateTime> date() const;
    // The date, or 0 for an empty or unreadable box.
    TDateTime dateOrZero() const;
    // Shows the date in the short date format; 0 empties the box.
    void setDate(TDateTime date);

    const QLocale &dateLocale() const { return m_locale; }

    // The day the calendar opens on while the box holds no date (0: today).
    void setCalendarFallback(TDateTime date) { m_fallback = date; }
    // Opens the calendar below the box, on the box's date, else the
    // fallback day, else today.
    void showCalendar();
    // The open calendar popup, nullptr while closed (for tests).
    QCalendarWidget *calendar() const { return m_calendar; }

Q_SIGNALS:
    // The focus left the box (after editingFinished, also when unchanged).
    void focusLeft();

protected:
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void pickFromCalendar(const QDate &date);

    QLocale m_locale;
    TDateTime m_fallback = 0;
    QAction *m_calendarAction;
    QCalendarWidget *m_calendar = nullptr;
};

} // namespace kasovka
