#include "filter/ui/WidgetTestApp.h"
#include "workspace/protokol/TProtokol.h"
#include "workspace/protokol/TfrmProtokol.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kasovka {
namespace {

class ProtokolTest : public ::testing::Test {
protected:
    void SetUp() override { test::widgetApp(); }
};

struct StyleCase {
    bool warning;
    QColor strip;
    QColor text;
};

TEST_F(ProtokolTest, HeadlineStyleFollowsTheWarningFlag)
{
    const StyleCase cases[] = {
        {true, QColor(254, 240, 224), QColor(255, 0, 0)},
        {false, QColor(225, 221, 255), QColor(0, 0, 0)},
    };
    for (const StyleCase &c : cases) {
        SCOPED_TRACE(c.warning ? "warning" : "plain");
        TProtokol protokol(QStringLiteral("Nadpis"), QStringLiteral("text"), c.warning);
        TfrmProtokol window(protokol);
        window.show();
        EXPECT_EQ(window.panHeadline()->palette().color(QPalette::Window).rgb(), c.strip.rgb());
        EXPECT_EQ(window.lblHeadline()->palette().color(QPalette::WindowText).rgb(),
                  c.text.rgb());
        EXPECT_TRUE(window.panHeadline()->autoFillBackground());
        EXPECT_EQ(window.lblHeadline()->font().bold(), true);
        EXPECT_EQ(window.lblHeadline()->text(), QStringLiteral("Nadpis"));
    }
    // The host writes colours as blue-green-red numbers: 14741758 is the
    // peach and 16768481 the lavender.
    const auto bgr = [](const QColor &c) { return c.red() | c.green() << 8 | c.blue() << 16; };
    EXPECT_EQ(bgr(TfrmProtokol::HeadlineBackground(true)), 14741758);
    EXPECT_EQ(bgr(TfrmProtokol::HeadlineBackground(false)), 16768481);
}

TEST_F(ProtokolTest, TextIsShownUntrimmed)
{
    const QString text = QStringLiteral("\n• Doklad PD001 nemá datum.  \n\n• Pohyb \"X9\" neexistuje.\n");
    TProtokol protokol(QStringLiteral("Věnujte prosím pozornost následujícím varovným zprávám"),
                       text, true);
    TfrmProtokol window(protokol);
    window.show();
    EXPECT_EQ(window.mmProtokol()->toPlainText(), text);
    EXPECT_EQ(window.mmProtokol()->document()->firstBlock().text(), QString());
    EXPECT_EQ(window.mmProtokol()->isReadOnly(), true);
    EXPECT_EQ(window.mmProtokol()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(window.mmProtokol()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST_F(ProtokolTest, WindowLayoutAndToolbarButton)
{
    TProtokol protokol(QStringLiteral("H"), QStringLiteral("T"), false);
    TfrmProtokol window(protokol);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Protokol"));
    EXPECT_EQ(window.size(), QSize(688, 446));
    EXPECT_EQ(window.btnOK()->text(), QStringLiteral("OK"));
    EXPECT_EQ(window.btnOK()->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(window.btnOK()->autoRaise(), true);
    // Resizable: no fixed size constraint.
    EXPECT_EQ(window.minimumSize() == window.maximumSize(), false);
}

TEST_F(ProtokolTest, OkEnterAndEscapeCloseFromAnyControl)
{
    struct KeyCase {
        const char *name;
        Qt::Key key;
    };
    const KeyCase cases[] = {{"Return", Qt::Key_Return}, {"keypad Enter", Qt::Key_Enter},
                             {"Escape", Qt::Key_Escape}};
    for (const KeyCase &c : cases) {
        SCOPED_TRACE(c.name);
        TProtokol protokol(QStringLiteral("H"), QStringLiteral("a\nb"), true);
        TfrmProtokol window(protokol);
        window.show();
        window.mmProtokol()->setFocus();
        QTest::keyClick(window.mmProtokol(), c.key);
        EXPECT_EQ(window.isVisible(), false);
    }
    TProtokol protokol(QStringLiteral("H"), QStringLiteral("T"), true);
    TfrmProtokol window(protokol);
    window.show();
    QTest::mouseClick(window.btnOK(), Qt::LeftButton);
    EXPECT_EQ(window.isVisible(), false);
    // Other keys are the text box's (selection, copying) and leave it open.
    window.show();
    QTest::keyClick(window.mmProtokol(), Qt::Key_A);
    EXPECT_EQ(window.isVisible(), true);
}

TEST_F(ProtokolTest, ExecuteShowsModallyUntilClosed)
{
    TProtokol protokol(QStringLiteral("Nadpis"), QStringLiteral("\nřádek"), true);
    QString seenTitle;
    QString seenText;
    test::whenModalShown([&](QWidget *modal) {
        seenTitle = modal->windowTitle();
        auto *text = modal->findChild<QPlainTextEdit *>(QStringLiteral("mmProtokol"));
        seenText = text ? text->toPlainText() : QString();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    protokol.Execute();
    EXPECT_EQ(seenTitle, QStringLiteral("Protokol"));
    EXPECT_EQ(seenText, QStringLiteral("\nřádek"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
} // namespace kasovka
