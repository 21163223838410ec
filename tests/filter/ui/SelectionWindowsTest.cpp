#include "filter/ui/HostTables.h"
#include "filter/ui/TFilterSelectHostObject.h"
#include "filter/ui/TfrmFilterSelectHostObject.h"
#include "filter/ui/TfrmFilterSelectHostObjectListForm.h"
#include "filter/ui/WidgetTestApp.h"
#include "support/TestLaunchContext.h"

#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kasovka {
namespace {

using ListForm = TfrmFilterSelectHostObjectListForm;

// What the host list showed when it opened.
struct ListSeen {
    QString caption;
    int currentRow = -2;
    bool okEnabled = false;
    QStringList titles;
};

ListForm *asListForm(QWidget *modal)
{
    return qobject_cast<ListForm *>(modal);
}

// Drives the host list that opens next: records what it shows, then runs
// `act` on it.
void onHostList(ListSeen *seen, std::function<void(ListForm *)> act)
{
    test::whenModalShown([seen, act = std::move(act)](QWidget *modal) {
        ListForm *form = asListForm(modal);
        if (!form) {
            ADD_FAILURE() << "the host list did not open";
            modal->close();
            return;
        }
        if (seen) {
            seen->caption = form->windowTitle();
            seen->currentRow = form->grHostList()->selectionModel()->currentIndex().row();
            seen->okEnabled = form->btnOK()->isEnabled();
            QHeaderView *header = form->grHostList()->horizontalHeader();
            for (int i = 0; i < header->count(); ++i)
                seen->titles << form->grHostList()->model()->headerData(i, Qt::Horizontal).toString();
        }
        act(form);
        if (form->isVisible()) {
            ADD_FAILURE() << "the host list is still open";
            form->reject();
        }
    });
}

void pressOk(ListForm *form)
{
    QTest::mouseClick(form->btnOK(), Qt::LeftButton);
}

void pressClose(ListForm *form)
{
    QTest::mouseClick(form->btnZavrit(), Qt::LeftButton);
}

class SelectionWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::widgetApp();
        test::writeCodeList(ctx.yearFolder(), QStringLiteral("SZSTRED"),
                            {{QStringLiteral("a"), QStringLiteral("Administrativa")},
                             {QStringLiteral("B"), QStringLiteral("Bistro")},
                             {QStringLiteral("C"), QStringLiteral("Cukrárna")},
                             {QString(), QStringLiteral("Bez zkratky")}});
    }
    std::unique_ptr<TFilterSelectHostObject> centres(const QString &text, bool editor = true)
    {
        return std::make_unique<TFilterSelectHostObject>(ctx.app(), mokCentre, ctx.yearFolder(),
                                                         editor, text);
    }
    test::TestLaunchContext ctx;
};

TEST_F(SelectionWindowsTest, EditorShowsTheCodesAndWritesThemBack)
{
    struct Case {
        QString text;
        int rows;
        QString result;
    };
    const Case cases[] = {
        {QStringLiteral("A;B;"), 2, QStringLiteral("A;B;")},
        {QStringLiteral("A;B"), 2, QStringLiteral("A;B;")},
        {QStringLiteral("A;;"), 2, QStringLiteral("A;;")},
        {QString(), 0, QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        auto select = centres(c.text);
        TfrmFilterSelectHostObject editor(*select);
        editor.show();
        EXPECT_EQ(editor.windowTitle(), QStringLiteral("Editor středisek"));
        EXPECT_EQ(editor.grSelectedList()->model()->rowCount(), c.rows);
        EXPECT_EQ(editor.grSelectedList()->horizontalHeader()->isVisible(), false);
        EXPECT_EQ(editor.btnVyjmout()->isEnabled(), c.rows > 0);
        EXPECT_EQ(select->SelectedList().recNo(), c.rows > 0 ? 0 : -1);
        QTest::mouseClick(editor.btnOK(), Qt::LeftButton);
        EXPECT_EQ(editor.result(), int(QDialog::Accepted));
        EXPECT_EQ(select->SelectionText(), c.result);
    }
}

TEST_F(SelectionWindowsTest, RemovingCodes)
{
    auto select = centres(QStringLiteral("A;B;C;"));
    TfrmFilterSelectHostObject editor(*select);
    editor.show();
    ASSERT_EQ(QTest::qWaitForWindowExposed(&editor), true);
    // The clicked row is the one removed.
    QTableView *grid = editor.grSelectedList();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                      grid->visualRect(grid->model()->index(1, 0)).center());
    QTest::mouseClick(editor.btnVyjmout(), Qt::LeftButton);
    EXPECT_EQ(grid->model()->rowCount(), 2);
    QTest::mouseClick(editor.btnVyjmout(), Qt::LeftButton);
    EXPECT_EQ(editor.btnVyjmout()->isEnabled(), true);
    QTest::mouseClick(editor.btnVyjmout(), Qt::LeftButton);
    EXPECT_EQ(editor.btnVyjmout()->isEnabled(), false);
    QTest::mouseClick(editor.btnOK(), Qt::LeftButton);
    EXPECT_EQ(select->SelectionText(), QString());

    auto second = centres(QStringLiteral("A;B;C;"));
    TfrmFilterSelectHostObject again(*second);
    again.show();
    QTest::mouseClick(again.grSelectedList()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      again.grSelectedList()->visualRect(again.grSelectedList()->model()->index(1, 0)).center());
    QTest::mouseClick(again.btnVyjmout(), Qt::LeftButton);
    QTest::keyClick(again.grSelectedList(), Qt::Key_Return); // Enter anywhere is OK
    EXPECT_EQ(again.result(), int(QDialog::Accepted));
    EXPECT_EQ(second->SelectionText(), QStringLiteral("A;C;"));
}

TEST_F(SelectionWindowsTest, CancellingKeepsTheOldText)
{
    auto select = centres(QStringLiteral("A;B;"));
    bool shown = false;
    test::whenModalShown([&](QWidget *modal) {
        shown = true;
        auto *editor = qobject_cast<TfrmFilterSelectHostObject *>(modal);
        ASSERT_NE(editor, nullptr);
        QTest::mouseClick(editor->btnVyjmout(), Qt::LeftButton);
        QTest::keyClick(editor->grSelectedList(), Qt::Key_Escape);
    });
    EXPECT_EQ(select->Execute(), false);
    EXPECT_EQ(shown, true);
    EXPECT_EQ(select->SelectionText(), QStringLiteral("A;B;"));
}

TEST_F(SelectionWindowsTest, AddingRefusesACodeListedUnderAnotherCase)
{
    auto select = centres(QStringLiteral("A;"));
    TfrmFilterSelectHostObject editor(*select);
    editor.show();
    ListSeen seen;
    onHostList(&seen, pressOk); // the list opens on "a", matching "A"
    QTest::mouseClick(editor.btnPridat(), Qt::LeftButton);
    EXPECT_EQ(seen.caption, QStringLiteral("Seznam středisek"));
    EXPECT_EQ(seen.currentRow, 0);
    EXPECT_EQ(seen.titles, QStringList({QStringLiteral("Zkratka"), QStringLiteral("Název")}));
    ASSERT_EQ(ctx.ui().messages.size(), 1);
    EXPECT_EQ(ctx.ui().messages.at(0).kind, MessageKind::Information);
    EXPECT_EQ(ctx.ui().messages.at(0).text, QStringLiteral("Zkratka \"a\" již v seznamu existuje."));
    EXPECT_EQ(editor.grSelectedList()->model()->rowCount(), 1);

    // The list is read once: later picks do not need the table any more.
    ASSERT_EQ(QFile::remove(ctx.yearFolder() + QStringLiteral("SZSTRED.DAT")), true);
    onHostList(nullptr, [](ListForm *form) {
        QTest::keyClick(form->grHostList(), Qt::Key_Down);
        QTest::keyClick(form->grHostList(), Qt::Key_Down);
        QTest::keyClick(form->grHostList(), Qt::Key_Return);
    });
    QTest::mouseClick(editor.btnPridat(), Qt::LeftButton);
    EXPECT_EQ(ctx.ui().messages.size(), 1);
    QTest::mouseClick(editor.btnOK(), Qt::LeftButton);
    EXPECT_EQ(select->SelectionText(), QStringLiteral("A;C;"));
}

TEST_F(SelectionWindowsTest, AddingToAnEmptyListAndClosingTheHostList)
{
    auto select = centres(QString());
    TfrmFilterSelectHostObject editor(*select);
    editor.show();
    ListSeen seen;
    onHostList(&seen, pressClose);
    QTest::mouseClick(editor.btnPridat(), Qt::LeftButton);
    // An empty current code finds the object without a code.
    EXPECT_EQ(seen.currentRow, 3);
    EXPECT_EQ(editor.grSelectedList()->model()->rowCount(), 0);
    EXPECT_EQ(editor.btnVyjmout()->isEnabled(), false);

    onHostList(nullptr, [](ListForm *form) {
        QTableView *grid = form->grHostList();
        const QRect cell = grid->visualRect(grid->model()->index(1, 1));
        // A double click starts with a click; QTest sends only its second half.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    });
    QTest::mouseClick(editor.btnPridat(), Qt::LeftButton);
    EXPECT_EQ(editor.btnVyjmout()->isEnabled(), true);
    // An object without a code adds nothing.
    onHostList(nullptr, [](ListForm *form) {
        QTest::keyClick(form->grHostList(), Qt::Key_End, Qt::ControlModifier);
        pressOk(form);
    });
    QTest::mouseClick(editor.btnPridat(), Qt::LeftButton);
    QTest::mouseClick(editor.btnOK(), Qt::LeftButton);
    EXPECT_EQ(select->SelectionText(), QStringLiteral("B;"));
    EXPECT_EQ(ctx.ui().messages.size(), 0);
}

TEST_F(SelectionWindowsTest, HostListOpensOnTheCurrentCode)
{
    struct Case {
        QString code;
        int row;
    };
    const Case cases[] = {{QStringLiteral("b"), 1}, {QStringLiteral("C"), 2},
                          {QStringLiteral("ZZ"), 0}, {QStringLiteral("B "), 0}};
    auto select = centres(QString(), false);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        ListSeen seen;
        onHostList(&seen, pressClose);
        EXPECT_EQ(select->PickFromHostList(c.code), QString());
        EXPECT_EQ(seen.currentRow, c.row);
        EXPECT_EQ(seen.okEnabled, true);
    }
}

TEST_F(SelectionWindowsTest, EmptyHostListLeavesOnlyClose)
{
    test::writeCodeList(ctx.yearFolder(), QStringLiteral("ZAKAZKY"), {});
    TFilterSelectHostObject select(ctx.app(), mokContract, ctx.yearFolder(), false, QString());
    ListSeen seen;
    bool stillOpenAfterOk = false;
    onHostList(&seen, [&](ListForm *form) {
        QTest::keyClick(form->grHostList(), Qt::Key_Return);
        form->Confirm();
        stillOpenAfterOk = form->isVisible();
        EXPECT_EQ(form->btnOK()->focusPolicy(), Qt::NoFocus);
        EXPECT_EQ(form->btnZavrit()->autoRaise(), true);
        pressClose(form);
    });
    EXPECT_EQ(select.Execute(), false);
    EXPECT_EQ(seen.okEnabled, false);
    EXPECT_EQ(stillOpenAfterOk, true);
    EXPECT_EQ(seen.caption, QStringLiteral("Seznam zakázek"));
}

TEST_F(SelectionWindowsTest, CurrencyPickReplacesTheWholeText)
{
    test::writeHostTable(ctx.root() + QStringLiteral("DATA/AGENDA.TST/"), QStringLiteral("MENY"),
                         {{{QStringLiteral("Kod"), Variant("EUR")}, {QStringLiteral("Zeme"), Variant("EMU")}},
                          {{QStringLiteral("Kod"), Variant("usd")}, {QStringLiteral("Zeme"), Variant("USA")}},
                          {{QStringLiteral("Kod"), Variant("")}, {QStringLiteral("Zeme"), Variant("?")}}});
    struct Case {
        const char *name;
        std::function<void(ListForm *)> act;
        bool result;
        QString text;
    };
    const Case cases[] = {
        {"pick", [](ListForm *f) { QTest::keyClick(f->grHostList(), Qt::Key_Down); pressOk(f); },
         true, QStringLiteral("usd")},
        {"close", pressClose, false, QStringLiteral("CZK;EUR")},
        {"escape", [](ListForm *f) { QTest::keyClick(f->grHostList(), Qt::Key_Escape); }, false,
         QStringLiteral("CZK;EUR")},
        {"empty code", [](ListForm *f) { QTest::keyClick(f->grHostList(), Qt::Key_End, Qt::ControlModifier); pressOk(f); },
         false, QStringLiteral("CZK;EUR")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TFilterSelectHostObject select(ctx.app(), mokCurrency, ctx.yearFolder(), false,
                                       QStringLiteral("CZK;EUR"));
        ListSeen seen;
        onHostList(&seen, c.act);
        EXPECT_EQ(select.Execute(), c.result);
        EXPECT_EQ(select.SelectionText(), c.text);
        EXPECT_EQ(seen.caption, QStringLiteral("Seznam měn"));
    }
    EXPECT_EQ(ctx.ui().messages.size(), 0);
}

} // namespace
} // namespace kasovka
