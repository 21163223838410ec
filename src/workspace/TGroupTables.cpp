#include "workspace/TGroupTables.h"

#include "app/TBaseApplication.h"
#include "core/DateConvention.h"
#include "core/Error.h"
#include "export/ReportExport.h"
#include "export/ui/QtExportWindows.h"
#include "report/view/PrintButton.h"
#include "report/GroupTotals.h"
#include "report/view/ReportGrid.h"
#include "ui/ReportIcons.h"
#include "ui/WindowConventions.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace kasovka {

namespace {

constexpr int GroupRowHeight = 17;

enum Shade { None, Light, Dark };

struct GroupColumn {
    const char *field;
    const char *title1;
    const char *title2;
    const char *title3;
    int width;
    Shade shade;
};

// "" is a title line left empty, " " a line holding a single blank.
const GroupColumn kGroupColumns[] = {
    {"Zkratka", "Zkratka skupiny", "", "", 120, None},
    {"Nazev", "Název skupiny", "", "", 264, None},
    {"Col5", "Hotovost a ceniny", "příjem", "[5]", 118, Light},
    {"Col6", "Hotovost a ceniny", "výdej", "[6]", 118, Light},
    {"HotovostCeninyCelkem", "Hotovost celkem", " ", " ", 118, Light},
    {"Col7", "Bankovní účty", "příjem", "[7]", 118, None},
    {"Col8", "Bankovní účty", "výdej", "[8]", 118, None},
    {"BankUctyCelkem", "Na účtech celkem", " ", " ", 118, None},
    {"Col9", "Průběžné položky", "příjem", "[9]", 118, Light},
    {"Col10", "Průběžné položky", "výdej", "[10]", 118, Light},
    {"PrubPolozkyCelkem", "Průběžné položky", "celkem", " ", 118, Light},
    {"Col11", "CELKEM", "příjem", "[11]", 118, Dark},
    {"Col12", "CELKEM", "výdej", "[12]", 118, Dark},
    {"ZakladDane", "CELKEM", "základ daně", " ", 118, Dark},
    {"Col13", "PZZ", "zboží", "[13]", 118, None},
    {"Col14", "PZZ", "služby", "[14]", 118, None},
    {"Col15", "PZZ", "ostatní", "[15]", 118, None},
    {"PrijmyZahrDoZaklCelkem", "PZZ", "celkem", " ", 118, None},
    {"Col16", "VDZUP", "materiál", "[16]", 118, Light},
    {"Col17", "VDZUP", "zboží", "[17]", 118, Light},
    {"Col18", "VDZUP", "drobný maj.", "[18]", 118, Light},
    {"Col19", "VDZUP", "mzdy", "[19]", 118, Light},
    {"Col20", "VDZUP", "daň ze mzdy", "[20]", 118, Light},
    {"Col21", "VDZUP", "soc. poj.", "[21]", 118, Light},
    {"Col22", "VDZUP", "zdr. poj.", "[22]", 118, Light},
    {"Col23", "VDZUP", "režie", "[23]", 118, Light},
    {"VydajeNaZajPrijCelkem", "VDZUP", "Celkem", " ", 118, Light},
    {"Col24", "PNZD", "srážky", "[24]", 118, None},
    {"Col25", "PNZD", "DPH", "[25]", 118, None},
    {"Col26", "PNZD", "dotace", "[26]", 118, None},
    {"Col27", "PNZD", "vklad", "[27]", 118, None},
    {"Col28", "PNZD", "ostatní", "[28]", 118, None},
    {"PrijmyNeovlZaklDaneCelkem", "PNZD", "Celkem", " ", 118, None},
    {"Col29", "VNZD", "dlouhodobý maj.", "[29]", 118, Light},
    {"Col30", "VNZD", "DPH", "[30]", 118, Light},
    {"Col31", "VNZD", "soc. a zdr. poj.", "[31]", 118, Light},
    {"Col32", "VNZD", "daň z příjmu", "[32]", 118, Light},
    {"Col33", "VNZD", "osobní", "[33]", 118, Light},
    {"Col34", "VNZD", "dary", "[34]", 118, Light},
    {"Col35", "VNZD", "ostatní (vč. rezerv)", "[35]", 118, Light},
    {"VydajeNeovlZaklDaneCelkem", "VNZD", "Celkem", " ", 118, Light},
};

// The title of "Na účtech celkem" stands left-aligned.
constexpr int LeftTitleColumn = 7;

} // namespace

void TGroupTables::Execute(QWidget *parent)
{
    TfrmGroupTables window(*this, parent);
    window.exec();
}

QList<MemTableColumn> TfrmGroupTables::groupColumns()
{
    QList<MemTableColumn> columns;
    for (const GroupColumn &c : kGroupColumns) {
        QVariant background;
        if (c.shade == Light)
            background = lightShade();
        else if (c.shade == Dark)
            background = darkShade();
        const QString title = QStringLiteral("%1\n%2\n%3")
                                  .arg(QString::fromUtf8(c.title1), QString::fromUtf8(c.title2),
                                       QString::fromUtf8(c.title3));
        columns.append({QString::fromLatin1(c.field), title, c.width, {}, background});
    }
    return columns;
}

TfrmGroupTables::TfrmGroupTables(TGroupTables &groupTables, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      m_groupTables(groupTables)
{
    setObjectName(QStringLiteral("TfrmGroupTables"));
    setWindowTitle(QStringLiteral("Seznam sumačních skupin"));
    setSizeGripEnabled(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    QHBoxLayout *buttons = nullptr;
    QWidget *bar = makeToolbarStrip(this, buttons, StripLook::Grey);
    btnClose = makeToolbarButton(glyphIcon(Glyph::Back), QStringLiteral("Zpět"), bar);
    btnExport = makeToolbarButton(reportIcon(ReportIcon::Workbook), QStringLiteral("Exportovat do Excelu"), bar);
    buttons->addWidget(btnClose);
    buttons->addWidget(toolbarSeparator(bar));
    buttons->addWidget(btnExport);
    if (const TGroupTables::PrintAction &print = groupTables.GetPrintAction()) {
        btnPrint = makePrintButton(bar, [this, print](PrintOutput output) { print(this, output); });
        buttons->addWidget(btnPrint);
    }
    buttons->addStretch(1);
    layout->addWidget(bar);

    // Dark columns 12 to 14 carry white text.
    auto *model = new ReportGridModel(groupTables.Skupiny(), groupColumns(), {11, 12, 13},
                                      {{LeftTitleColumn, Qt::AlignLeft}}, this);
    model->setObjectName(QStringLiteral("dsListForm"));
    dsListForm = model;
    grListForm = new QTableView(this);
    grListForm->setObjectName(QStringLiteral("grListForm"));
    setupReportGrid(grListForm, model, GroupRowHeight);
    layout->addWidget(grListForm, 1);
    buildTotals(groupColumns());
    layout->addWidget(grTotals);

    connect(btnClose, &QToolButton::clicked, this, &QDialog::reject);
    connect(btnExport, &QToolButton::clicked, this, &TfrmGroupTables::ExportGroupTable);
    // Esc closes the window; Enter is taken and does nothing.
    installKeyPreview(this, [] {}, [this] { reject(); });
    // Restored, the window stands in the middle of its screen.
    if (const QScreen *screen = this->screen())
        resize(screen->availableGeometry().size() * 3 / 4);
    placeOnScreen(this);
    setWindowState(Qt::WindowMaximized);
}

void TfrmGroupTables::buildTotals(const QList<MemTableColumn> &columns)
{
    const TMemTable &skupiny = m_groupTables.Skupiny();
    QList<int> fields;
    for (const MemTableColumn &column : columns)
        fields.append(skupiny.fieldIndex(column.field));
    const QList<GroupTotalCell> totals = groupTableTotals(skupiny, fields, programLocale());
    grTotals = new QTableWidget(1, int(columns.size()), this);
    grTotals->setObjectName(QStringLiteral("grTotals"));
    grTotals->horizontalHeader()->hide();
    grTotals->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grTotals->verticalHeader()->setDefaultSectionSize(GroupRowHeight + 2);
    grTotals->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grTotals->setSelectionMode(QAbstractItemView::NoSelection);
    grTotals->setFocusPolicy(Qt::NoFocus);
    grTotals->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grTotals->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grTotals->setVerticalHeaderLabels({QString()});
    QFont bold = grTotals->font();
    bold.setBold(true);
    for (int i = 0; i < columns.size(); ++i) {
        auto *item = new QTableWidgetItem(totals[i].text);
        item->setFont(bold);
        item->setTextAlignment((totals[i].amount ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        if (columns[i].background.isValid())
            item->setBackground(columns[i].background.value<QColor>());
        // The dark columns carry white text, as in the grid.
        if (columns[i].background.value<QColor>() == darkShade())
            item->setForeground(Qt::white);
        grTotals->setItem(0, i, item);
        grTotals->setColumnWidth(i, grListForm->columnWidth(i));
    }
    grTotals->setFixedHeight(grTotals->verticalHeader()->defaultSectionSize() + 2 * grTotals->frameWidth());
    // The line stays under its columns when they are resized or scrolled.
    connect(grListForm->horizontalHeader(), &QHeaderView::sectionResized, grTotals,
            [this](int column, int, int width) { grTotals->setColumnWidth(column, width); });
    connect(grListForm->horizontalScrollBar(), &QScrollBar::valueChanged, grTotals->horizontalScrollBar(),
            &QScrollBar::setValue);
    connect(grListForm->verticalHeader(), &QHeaderView::geometriesChanged, grTotals,
            [this] { grTotals->verticalHeader()->setFixedWidth(grListForm->verticalHeader()->width()); });
}

void TfrmGroupTables::ExportGroupTable()
{
    QtExportWindows qtWindows(this);
    IExportWindows *windows = m_groupTables.ExportWindows() ? m_groupTables.ExportWindows() : &qtWindows;
    try {
        kasovka::ExportGroupTable(m_groupTables.Application(), m_groupTables.Skupiny(), *windows,
                                  m_groupTables.Heading());
    } catch (const Error &error) {
        m_groupTables.Application().ShowMessageDialog(error.text(), MessageKind::Error);
    }
}

} // namespace kasovka
