#include "core/DisplayFormat.h"
#include "core/Error.h"
#include "core/model/MemTableModel.h"
#include "filter/ui/WidgetTestApp.h"

#include <QColor>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

namespace kasovka {
namespace {

const QLocale Czech(QLocale::Czech, QLocale::CzechRepublic);

// Counts cursor moves of a table, to prove that reading does not move it.
class CursorWatch : public TMemTableListener {
public:
    explicit CursorWatch(TMemTable &table) : m_table(table) { table.addListener(this); }
    ~CursorWatch() override { m_table.removeListener(this); }
    void cursorMoved(TMemTable &, int) override { ++moves; }
    int moves = 0;

private:
    TMemTable &m_table;
};

// A journal-like table: ID, Zkrat, Castka (currency), Datum, Uhrazeno.
class ModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::widgetApp();
        table.setTableName(QStringLiteral("Denik"));
        table.addField(QStringLiteral("ID"), FieldType::AutoInc);
        table.addField(QStringLiteral("Zkrat"), FieldType::Text, 10);
        table.addField(QStringLiteral("Castka"), FieldType::Currency);
        table.addField(QStringLiteral("Datum"), FieldType::DateTime);
        table.addField(QStringLiteral("Uhrazeno"), FieldType::Boolean);
        table.createTable();
        table.setDisplayFormat(2, DisplayFormatForDecimals(2));
    }
    void addRow(const QString &code, qint64 raw, TDateTime date, bool paid)
    {
        table.append();
        table.setText(1, code);
        table.setCurrency(2, Currency::fromRaw(raw));
        table.setDate(3, date);
        table.setBool(4, paid);
        table.post();
    }
    QList<MemTableColumn> columns() const
    {
        return {{QStringLiteral("zkrat"), QStringLiteral("Zkratka"), 80},
                {QStringLiteral("Castka"), QStringLiteral("Částka\nKč"), 120},
                {QStringLiteral("Datum"), QStringLiteral("Datum")},
                {QStringLiteral("Uhrazeno"), QStringLiteral("Uhrazeno")}};
    }
    TMemTable table;
};

TEST_F(ModelTest, DisplayTextPerFieldKind)
{
    addRow(QStringLiteral("ABC"), 12345000, encodeDate(2026, 12, 31), true);
    table.append(); // an empty record: every cell empty
    table.post();
    MemTableModel model(table, columns(), nullptr, Czech);
    ASSERT_EQ(model.rowCount(), 2);
    ASSERT_EQ(model.columnCount(), 4);
    struct Cell {
        int row, column;
        QString text;
    };
    const Cell cells[] = {
        {0, 0, QStringLiteral("ABC")},
        {0, 1, formatAmount(Currency::fromRaw(12345000), DisplayFormatForDecimals(2), Czech)},
        {0, 2, formatShortDate(encodeDate(2026, 12, 31), Czech)},
        {0, 3, QStringLiteral("Ano")},
        {1, 0, QString()},
        {1, 1, QString()},
        {1, 2, QString()},
        {1, 3, table.displayTextAt(1, 4, Czech)},
    };
    for (const Cell &c : cells) {
        SCOPED_TRACE(QStringLiteral("row %1 column %2").arg(c.row).arg(c.column).toStdString());
        EXPECT_EQ(model.data(model.index(c.row, c.column)).toString(), c.text);
    }
    // The amount itself, not just whatever formatAmount gives.
    EXPECT_EQ(model.data(model.index(0, 1)).toString().remove(QChar(0xA0)).remove(QLatin1Char(' ')),
              QStringLiteral("1234,50"));
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), QStringLiteral("31.12.2026"));
}

TEST_F(ModelTest, ColumnFormatOverridesTheFieldsFormat)
{
    addRow(QStringLiteral("A"), -15000, 0, false); // -1.5
    QList<MemTableColumn> cols = {{QStringLiteral("Castka"), QStringLiteral("Částka")}};
    cols[0].displayFormat = DisplayFormatForDecimals(4);
    MemTableModel model(table, cols, nullptr, Czech);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral("-1,5000"));
}

TEST_F(ModelTest, RolesBesideTheText)
{
    addRow(QStringLiteral("X"), 10000, encodeDate(2026, 1, 2), true);
    QList<MemTableColumn> cols = columns();
    cols[0].alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    cols[1].background = QColor(255, 250, 230);
    MemTableModel model(table, cols, nullptr, Czech);

    const auto alignment = [&](int column) {
        return model.data(model.index(0, column), Qt::TextAlignmentRole).value<Qt::Alignment>();
    };
    EXPECT_EQ(alignment(0), Qt::AlignHCenter | Qt::AlignVCenter);
    EXPECT_EQ(alignment(1), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(alignment(3), Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(model.data(model.index(0, 1), Qt::BackgroundRole).value<QColor>(),
              QColor(255, 250, 230));
    EXPECT_EQ(model.data(model.index(0, 0), Qt::BackgroundRole).isValid(), false);

    EXPECT_EQ(model.data(model.index(0, 1), Qt::EditRole).toDouble(), 1.0);
    EXPECT_EQ(model.data(model.index(0, 2), Qt::EditRole).toDate(), QDate(2026, 1, 2));
    EXPECT_EQ(model.data(model.index(0, 3), Qt::EditRole).toBool(), true);
    EXPECT_EQ(model.data(model.index(0, 1), MemTableModel::ValueRole).value<Variant>(),
              Variant(Currency::fromRaw(10000)));

    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Částka\nKč"));
    EXPECT_EQ(model.flags(model.index(0, 0)) & Qt::ItemIsEditable, Qt::NoItemFlags);
    // Out of range: nothing, and no exception from the table.
    EXPECT_EQ(model.data(model.index(5, 0)).isValid(), false);
    EXPECT_EQ(model.value(-1, 0), Variant());
}

TEST_F(ModelTest, UnknownFieldIsRefusedWithTheTablesText)
{
    try {
        MemTableModel model(table, {{QStringLiteral("Nazev"), QStringLiteral("Název")}});
        FAIL() << "no error";
    } catch (const Error &error) {
        EXPECT_EQ(error.text(), QStringLiteral("Denik: Field 'Nazev' not found"));
    }
}

TEST_F(ModelTest, AppendDeleteAndEditReachTheView)
{
    MemTableModel model(table, columns(), nullptr, Czech);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    addRow(QStringLiteral("A"), 0, 0, false);
    addRow(QStringLiteral("B"), 0, 0, false);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(inserted.count(), 2);
    EXPECT_EQ(model.data(model.index(1, 0)).toString(), QStringLiteral("B"));

    table.first();
    table.edit();
    table.setText(1, QStringLiteral("A2"));
    table.post();
    ASSERT_GE(changed.count(), 1);
    EXPECT_EQ(changed.last().at(0).value<QModelIndex>().row(), 0);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral("A2"));

    table.deleteRecord();
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral("B"));
}

TEST_F(ModelTest, DetailTableFollowsItsMaster)
{
    TMemTable master(QStringLiteral("Skupiny"));
    master.addField(QStringLiteral("ID"), FieldType::AutoInc);
    master.createTable();
    TMemTable detail(QStringLiteral("Denik"));
    detail.addField(QStringLiteral("ID"), FieldType::AutoInc);
    detail.addField(QStringLiteral("Parent_ID"), FieldType::Integer);
    detail.createTable();
    for (int group = 0; group < 2; ++group) {
        master.append();
        const qint64 id = master.asInteger(0);
        master.post();
        for (int i = 0; i < (group == 0 ? 3 : 1); ++i) {
            detail.append();
            detail.setInteger(1, id);
            detail.post();
        }
    }
    master.first();
    detail.setMasterSource(&master, {QStringLiteral("ID")}, {QStringLiteral("Parent_ID")});
    MemTableModel model(detail, {{QStringLiteral("ID"), QStringLiteral("ID")}});
    EXPECT_EQ(model.rowCount(), 3);
    master.next();
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.currentRow(), 0);
    master.append(); // a group without rows
    master.post();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.currentRow(), -1);
}

TEST_F(ModelTest, ModelOutlivingItsTableShowsNothing)
{
    auto shortLived = std::make_unique<TMemTable>(QStringLiteral("T"));
    shortLived->addField(QStringLiteral("A"), FieldType::Integer);
    shortLived->createTable();
    shortLived->append();
    shortLived->post();
    MemTableModel model(*shortLived, {{QStringLiteral("A"), QStringLiteral("A")}});
    EXPECT_EQ(model.rowCount(), 1);
    shortLived.reset();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.table(), nullptr);
    EXPECT_EQ(model.currentRow(), -1);
}

// ---- cursor and selection ----------------------------------------------

class CursorTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        for (const char *code : {"A", "B", "C", "D"})
            addRow(QString::fromLatin1(code), 0, 0, false);
        table.first();
    }
};

TEST_F(CursorTest, TableCursorSelectsTheViewsRow)
{
    MemTableModel model(table, columns());
    QTableView view;
    view.setModel(&model);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    new MemTableSelectionLink(&model, view.selectionModel(), &view);
    EXPECT_EQ(view.selectionModel()->currentIndex().row(), 0);

    QSignalSpy moved(&model, &MemTableModel::currentRowChanged);
    ASSERT_EQ(table.locate(QStringLiteral("Zkrat"), Variant(QStringLiteral("c")), true), true);
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.last().at(0).toInt(), 2);
    EXPECT_EQ(view.selectionModel()->currentIndex().row(), 2);
    EXPECT_EQ(view.selectionModel()->isRowSelected(2), true);
    EXPECT_EQ(view.selectionModel()->selectedRows().size(), 1);

    table.last();
    EXPECT_EQ(view.selectionModel()->currentIndex().row(), 3);
    // Deleting the current record leaves the view on the new current one.
    table.deleteRecord();
    EXPECT_EQ(view.selectionModel()->currentIndex().row(), table.recNo());
}

TEST_F(CursorTest, ClickingARowMovesTheCursor)
{
    MemTableModel model(table, columns());
    QTableView view;
    view.setModel(&model);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    new MemTableSelectionLink(&model, view.selectionModel(), &view);
    view.resize(400, 300);
    view.show();
    ASSERT_EQ(QTest::qWaitForWindowExposed(&view), true);

    const QRect cell = view.visualRect(model.index(2, 1));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    EXPECT_EQ(table.recNo(), 2);
    EXPECT_EQ(table.asText(1), QStringLiteral("C"));

    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(table.recNo(), 3);
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(table.recNo(), 0);
}

// Records every row a view asks for.
class RowRecorder : public QIdentityProxyModel {
public:
    QVariant data(const QModelIndex &index, int role) const override
    {
        rows.insert(index.row());
        return QIdentityProxyModel::data(index, role);
    }
    mutable std::set<int> rows;
};

TEST(MemTableModelLargeTable, PaintingReadsOnlyVisibleRowsAndNeverMovesTheCursor)
{
    test::widgetApp();
    TMemTable table(QStringLiteral("Velka"));
    table.addField(QStringLiteral("ID"), FieldType::AutoInc);
    table.addField(QStringLiteral("Castka"), FieldType::Currency);
    table.createTable();
    for (int i = 0; i < 100000; ++i) {
        table.append();
        table.setCurrency(1, Currency::fromInt(i));
        table.post();
    }
    table.setRecNo(50000);
    CursorWatch watch(table);

    MemTableModel model(table, {{QStringLiteral("ID"), QStringLiteral("ID")},
                                {QStringLiteral("Castka"), QStringLiteral("Částka")}});
    RowRecorder recorder;
    recorder.setSourceModel(&model);
    QTableView view;
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.setModel(&recorder);
    view.resize(300, 400);
    view.show();
    ASSERT_EQ(QTest::qWaitForWindowExposed(&view), true);
    recorder.rows.clear();
    view.scrollTo(recorder.index(70000, 0));
    view.grab();

    EXPECT_EQ(watch.moves, 0);
    EXPECT_EQ(table.recNo(), 50000);
    ASSERT_EQ(recorder.rows.empty(), false);
    EXPECT_LT(recorder.rows.size(), 100u);
    EXPECT_GE(*recorder.rows.begin(), 69900);
    EXPECT_LE(*recorder.rows.rbegin(), 70100);
}

} // namespace
} // namespace kasovka
