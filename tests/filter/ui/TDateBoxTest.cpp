#include "filter/ui/TDateBox.h"
#include "filter/ui/WidgetTestApp.h"

#include <QCalendarWidget>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace kasovka {
namespace {

const QLocale Czech(QLocale::Czech, QLocale::CzechRepublic);

class DateBoxTest : public ::testing::Test {
protected:
    void SetUp() override { test::widgetApp(); }
};

TEST_F(DateBoxTest, TypedCzechDates)
{
    struct Case {
        const char *typed;
        std::optional<TDateTime> date;
    };
    const Case cases[] = {
        {"", TDateTime(0)},
        {"   ", TDateTime(0)},
        {"31.12.2026", encodeDate(2026, 12, 31)},
        {"1.2.2026", encodeDate(2026, 2, 1)},
        {"29.02.2024", encodeDate(2024, 2, 29)},
        {"29.02.2025", std::nullopt},
        {"31.12.26", std::nullopt}, // a two-digit year would move the date a century
        {"2026-12-31", std::nullopt},
        {"dnes", std::nullopt},
    };
    TDateBox box(nullptr, Czech);
    box.show();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        box.clear();
        box.setFocus();
        QTest::keyClicks(&box, QString::fromLatin1(c.typed));
        EXPECT_EQ(box.date(), c.date);
        EXPECT_EQ(box.dateOrZero(), c.date.value_or(0));
    }
}

TEST_F(DateBoxTest, ZeroDateShowsEmptyAndDatesShowFourDigitYears)
{
    TDateBox box(nullptr, Czech);
    box.setDate(encodeDate(2026, 3, 5));
    EXPECT_EQ(box.text(), QStringLiteral("5.3.2026"));
    box.setDate(0);
    EXPECT_EQ(box.text(), QString());
    EXPECT_EQ(box.date(), std::optional<TDateTime>(0));
    EXPECT_EQ(box.placeholderText(), QStringLiteral("d.m.rrrr"));
}

TEST_F(DateBoxTest, CalendarPickFillsTheBox)
{
    TDateBox box(nullptr, Czech);
    box.setDate(encodeDate(2026, 6, 30));
    box.show();
    QSignalSpy finished(&box, &QLineEdit::editingFinished);
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Down, Qt::AltModifier);
    QCalendarWidget *calendar = box.calendar();
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->selectedDate(), QDate(2026, 6, 30));
    Q_EMIT calendar->clicked(QDate(2026, 7, 1));
    EXPECT_EQ(box.text(), QStringLiteral("1.7.2026"));
    EXPECT_GE(finished.count(), 1);
    // The popup closes and is released once events run.
    QTest::qWaitFor([&] { return box.calendar() == nullptr; }, 2000);
    EXPECT_EQ(box.calendar(), nullptr);
}

} // namespace
} // namespace kasovka
