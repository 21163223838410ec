// Program-wide behaviours (wheel over the group list, minimizing) and the
// date convention derived from the locale.

#include "app/ui/ApplicationFilters.h"
#include "core/DateConvention.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace kasovka::test {
namespace {

// A window with the group list (five rows, the third current) and an edit.
class GroupWindow : public QWidget {
public:
    explicit GroupWindow(const QString &listName = QStringLiteral("cgrSkupiny"))
    {
        auto *layout = new QVBoxLayout(this);
        list = new QListWidget(this);
        list->setObjectName(listName);
        for (int i = 0; i < 5; ++i)
            list->addItem(QStringLiteral("Skupina %1").arg(i));
        list->setCurrentRow(2);
        edit = new QLineEdit(this);
        layout->addWidget(list);
        layout->addWidget(edit);
        show();
        activateWindow();
        QApplication::processEvents();
    }

    // A wheel turn over the list's viewport.
    void turn(QPoint angle)
    {
        QWidget *viewport = list->viewport();
        const QPointF at(10, 10);
        QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
    }

    QListWidget *list;
    QLineEdit *edit;
};

class WheelToArrowKeysTest : public ::testing::Test {
protected:
    void SetUp() override { qApp->installEventFilter(&filter); }
    void TearDown() override { qApp->removeEventFilter(&filter); }
    WheelToArrowKeys filter;
};

TEST_F(WheelToArrowKeysTest, TurnsTheWheelIntoArrowKeysOverTheGroupList)
{
    GroupWindow window;
    window.list->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), window.list);

    struct Step {
        QPoint angle;
        int row;
    };
    const Step steps[] = {
        {{0, -120}, 3}, // toward the user: Down
        {{0, -120}, 4},
        {{0, -120}, 4}, // at the last row, as the key would
        {{0, 120}, 3},  // away from the user: Up
        {{0, 15}, 2},   // a small touchpad step still is one key
        {{120, 0}, 2},  // horizontal: left alone
    };
    for (const Step &step : steps) {
        window.turn(step.angle);
        EXPECT_EQ(window.list->currentRow(), step.row) << step.angle.x() << "," << step.angle.y();
    }
}

TEST_F(WheelToArrowKeysTest, LeavesTheWheelAloneElsewhere)
{
    {
        GroupWindow window;
        window.edit->setFocus(); // the wheel over the list, the focus elsewhere
        QApplication::processEvents();
        window.turn({0, -120});
        EXPECT_EQ(window.list->currentRow(), 2);
    }
    {
        GroupWindow window(QStringLiteral("grDenik"));
        window.list->setFocus();
        QApplication::processEvents();
        window.turn({0, -120});
        EXPECT_EQ(window.list->currentRow(), 2);
    }
}

TEST_F(WheelToArrowKeysTest, RecognisesTheListByAParentsName)
{
    GroupWindow window(QStringLiteral("inner"));
    auto *holder = new QWidget(&window);
    holder->setObjectName(QStringLiteral("cgrSkupiny"));
    window.list->setParent(holder);
    window.layout()->addWidget(holder);
    holder->show();
    window.list->show();
    window.list->setFocus();
    QApplication::processEvents();
    window.turn({0, -120});
    EXPECT_EQ(window.list->currentRow(), 3);
}

TEST(MinimizeConvention, MinimizingOneWindowMinimizesTheProgram)
{
    MinimizeConvention convention;
    qApp->installEventFilter(&convention);
    QWidget main;
    QWidget dialog;
    QWidget hidden;
    main.show();
    dialog.show();
    QApplication::processEvents();

    dialog.setWindowState(Qt::WindowMinimized);
    QApplication::processEvents();
    EXPECT_TRUE(main.isMinimized());
    EXPECT_TRUE(dialog.isMinimized());
    EXPECT_FALSE(hidden.isVisible()) << "a hidden window stays hidden";

    main.setWindowState(Qt::WindowNoState);
    dialog.setWindowState(Qt::WindowNoState);
    QApplication::processEvents();
    EXPECT_FALSE(main.isMinimized());
    EXPECT_FALSE(dialog.isMinimized()) << "restoring does not minimize anything";
    qApp->removeEventFilter(&convention);
}

TEST(DateConvention, CutsLongSeparatorsToOneCharacter)
{
    struct Row {
        const char *separator;
        const char *format;
        const char *wantSeparator;
        const char *wantFormat;
    };
    const Row rows[] = {
        {".", "dd.MM.yyyy", ".", "dd.MM.yyyy"},
        {"/", "M/d/yyyy", "/", "M/d/yyyy"},
        {". ", "d. M. yyyy", ".", "d.M.yyyy"},
        {" .", "d .M .yyyy", ".", "d.M.yyyy"},
        {". ", "yyyy. MM. dd.", ".", "yyyy.MM.dd."},
        {"", "yyyyMMdd", "", "yyyyMMdd"},
        {"  ", "d  M  yyyy", "  ", "d  M  yyyy"}, // blanks only: left as it is
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.format);
        EXPECT_EQ(NormalizeDateConvention(QString::fromUtf8(row.separator), QString::fromUtf8(row.format)),
                  (DateConvention{QString::fromUtf8(row.wantSeparator), QString::fromUtf8(row.wantFormat)}));
    }
}

TEST(DateConvention, ReadsTheSeparatorOfAFormatAndForcesFourDigitYears)
{
    EXPECT_EQ(DateSeparatorOf(QStringLiteral("dd.MM.yy")), QStringLiteral("."));
    EXPECT_EQ(DateSeparatorOf(QStringLiteral("d. M. yyyy")), QStringLiteral(". "));
    EXPECT_EQ(DateSeparatorOf(QStringLiteral("yyyy-MM-dd")), QStringLiteral("-"));
    EXPECT_EQ(DateSeparatorOf(QStringLiteral("yyyyMMdd")), QString());

    // Czech as bookkeepers write it, not the locale data's "dd.MM.yy".
    EXPECT_EQ(ProgramDateConvention(QLocale(QStringLiteral("cs_CZ"))),
              (DateConvention{QStringLiteral("."), QStringLiteral("d.M.yyyy")}));
    EXPECT_EQ(ProgramDateConvention(QLocale(QStringLiteral("sk_SK"))),
              (DateConvention{QStringLiteral("."), QStringLiteral("d.M.yyyy")}));
    EXPECT_EQ(ProgramDateConvention(QLocale(QStringLiteral("en_US"))),
              (DateConvention{QStringLiteral("/"), QStringLiteral("M/d/yyyy")}));
}

} // namespace
} // namespace kasovka::test
