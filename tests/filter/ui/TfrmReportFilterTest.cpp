#include "app/TBaseApplication.h"
#include "core/DateConvention.h"
#include "core/IniFile.h"
#include "filter/TReportFilter.h"
#include "filter/ui/HostTables.h"
#include "filter/ui/TDateBox.h"
#include "filter/ui/TfrmFilterSelectHostObject.h"
#include "filter/ui/TfrmFilterSelectHostObjectListForm.h"
#include "filter/ui/TfrmReportFilter.h"
#include "filter/ui/WidgetTestApp.h"
#include "support/TestLaunchContext.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kasovka {
namespace {

const QString DateWarning = QStringLiteral(
    "Datum nemá platný formát, nebo není vyplněn, nebo je datum OD vyšší než datum DO. "
    "Nastavte správné hodnoty, případně filtr \"za období\" vypněte.");
const QString VersionMessage = QStringLiteral(
    "Sumovat deník podle \"firem dle čísla adresy\" je možné ve verzi účetního systému 11.060 "
    "nebo vyšší.");

void typeInto(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    // QTest types ASCII only; other letters arrive as key events with text.
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80)
            QTest::keyClick(box, char(ch.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

QString dateText(TDateBox *box, TDateTime date)
{
    return formatShortDate(date, box->dateLocale());
}

void tick(QCheckBox *box, bool on)
{
    if (box->isChecked() != on)
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(8, box->height() / 2));
    ASSERT_EQ(box->isChecked(), on) << box->objectName().toStdString();
}

class FilterDialogTest : public ::testing::Test {
protected:
    void SetUp() override { test::widgetApp(); }
    // A shown dialog over `filter`.
    std::unique_ptr<TfrmReportFilter> open(TReportFilter &f)
    {
        auto dialog = std::make_unique<TfrmReportFilter>(f);
        dialog->show();
        EXPECT_EQ(QTest::qWaitForWindowExposed(dialog.get()), true);
        return dialog;
    }
    TDateTime yearEnd() { return ctx.app().FiscalYearTo(); }
    test::TestLaunchContext ctx;
    TReportFilter filter{ctx.app()};
};

TEST_F(FilterDialogTest, FirstUseShowsTheDefaults)
{
    auto dialog = open(filter);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Filtr"));
    EXPECT_EQ(dialog->cbxVertikalniDeleni->currentText(), QStringLiteral("[nesumovat]"));
    EXPECT_EQ(dialog->cbxZpusobSumace->currentText(), QStringLiteral("po dokladech"));
    EXPECT_EQ(dialog->cbxTridiDle->currentText(), QStringLiteral("data dokladu"));
    EXPECT_EQ(dialog->cbxVertikalniDeleni->count(), 8);
    EXPECT_EQ(dialog->cbxVertikalniDeleni->itemText(5), QStringLiteral("firem dle čísla adresy"));
    EXPECT_EQ(dialog->cbxZpusobSumace->itemText(1), QStringLiteral("detailně"));
    EXPECT_EQ(dialog->cbxTridiDle->itemText(1), QStringLiteral("čísla dokladu"));
    EXPECT_EQ(dialog->edtObdobiOD->text(), QString());
    EXPECT_EQ(dialog->edtObdobiDO->text(), QString());
    for (QCheckBox *box : dialog->findChildren<QCheckBox *>()) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_EQ(box->isChecked(), false);
    }
    EXPECT_EQ(dialog->btnOK->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(dialog->btnZpet->autoRaise(), true);
    EXPECT_EQ(dialog->btnZpet->text(), QStringLiteral("Zpět"));
    // Without period the closing adjustments are allowed.
    EXPECT_EQ(dialog->chckZaverkoveUpravy->isEnabled(), true);
    // The whole dialog fits a 1366x768 screen with its title bar and a desktop panel.
    EXPECT_LE(dialog->height(), 768 - 34 - 40);
    EXPECT_LE(dialog->width(), 1366 - 8);
}

TEST_F(FilterDialogTest, StoredValuesAreShownAndOddIndexesFallBack)
{
    filter.VertikalniDeleni = 9; // hand-edited settings
    filter.TriditDle = 1;
    filter.ZpusobSumace = 4;
    filter.ObdobiOD = encodeDate(2026, 3, 1);
    filter.FiltrZakazkyText = QStringLiteral("Z1;Z2;");
    filter.FiltrMenaNegace = true;
    auto dialog = open(filter);
    EXPECT_EQ(dialog->cbxVertikalniDeleni->currentIndex(), 0);
    EXPECT_EQ(dialog->cbxTridiDle->currentIndex(), 1);
    EXPECT_EQ(dialog->cbxZpusobSumace->currentIndex(), 0);
    EXPECT_EQ(dialog->edtObdobiOD->date(), std::optional<TDateTime>(encodeDate(2026, 3, 1)));
    EXPECT_EQ(dialog->edtFiltrZakazkyText->text(), QStringLiteral("Z1;Z2;"));
    EXPECT_EQ(dialog->chckFiltrMenaNegace->isChecked(), true);
    QTest::mouseClick(dialog->btnOK, Qt::LeftButton);
    EXPECT_EQ(filter.VertikalniDeleni, 0);
    EXPECT_EQ(filter.ZpusobSumace, 0);
}

TEST_F(FilterDialogTest, AnyGroupKindDisablesClosingAdjustmentsButKeepsTheMark)
{
    for (int kind = 1; kind <= 7; ++kind) {
        SCOPED_TRACE(kind);
        TReportFilter f(ctx.app());
        f.ZaverkoveUpravy = true;
        auto dialog = open(f);
        EXPECT_EQ(dialog->chckZaverkoveUpravy->isEnabled(), true);
        dialog->cbxVertikalniDeleni->setFocus();
        for (int step = 0; step < kind; ++step)
            QTest::keyClick(dialog->cbxVertikalniDeleni, Qt::Key_Down);
        ASSERT_EQ(dialog->cbxVertikalniDeleni->currentIndex(), kind);
        EXPECT_EQ(dialog->chckZaverkoveUpravy->isEnabled(), false);
        EXPECT_EQ(dialog->chckZaverkoveUpravy->isChecked(), true);
        QTest::mouseClick(dialog->btnOK, Qt::LeftButton);
        EXPECT_EQ(dialog->result(), int(QDialog::Accepted));
        EXPECT_EQ(f.VertikalniDeleni, kind);
        EXPECT_EQ(f.ZaverkoveUpravy, true);
    }
}

TEST_F(FilterDialogTest, PeriodEndDecidesClosingAdjustmentsWhenTheFocusLeaves)
{
    auto dialog = open(filter);
    tick(dialog->chckZaObdobi, true);
    // A period without an end date is a date limit.
    EXPECT_EQ(dialog->chckZaverkoveUpravy->isEnabled(), false);
    typeInto(dialog->edtObdobiOD, dateText(dialog->edtObdobiOD, encodeDate(2026, 1, 1)));
    typeInto(dialog->edtObdobiDO, dateText(dialog->edtObdobiDO, yearEnd()));
    EXPECT_EQ(dialog->chckZaverkoveUpravy->isEnabled(), false); // still in the box
    QTest::keyClick(dialog->edtObdobiDO, Qt::Key_Tab);
    EXPECT_EQ(dialog->chckZaverkoveUpravy->isEnabled(), true);

    typeInto(dialog->edtObdobiDO, dateText(dialog->edtObdobiDO, yearEnd() - 1));
    EXPECT_EQ(dialog->chckZaverkoveUpravy->isEnabled(), true);
    QTest::keyClick(dialog->edtObdobiDO, Qt::Key_Tab);
    EXPECT_EQ(dialog->chckZaverkoveUpravy->isEnabled(), false);

    // Switching the period off lifts the limit whatever the dates.
    tick(dialog->chckZaObdobi, false);
    EXPECT_EQ(dialog->chckZaverkoveUpravy->isEnabled(), true);
}

TEST_F(FilterDialogTest, SwitchesEnableTheirControls)
{
    auto dialog = open(filter);
    const QColor window = QApplication::palette().color(QPalette::Base);
    const QColor face = QApplication::palette().color(QPalette::Button);
    const auto base = [](QWidget *w) { return w->palette().color(QPalette::Base); };

    EXPECT_EQ(dialog->edtObdobiOD->isEnabled(), false);
    EXPECT_EQ(dialog->chckZapocitavatPredchObdobi->isEnabled(), false);
    EXPECT_EQ(base(dialog->edtObdobiDO), face);
    tick(dialog->chckZaObdobi, true);
    EXPECT_EQ(dialog->edtObdobiOD->isEnabled(), true);
    EXPECT_EQ(dialog->edtObdobiDO->isEnabled(), true);
    EXPECT_EQ(dialog->chckZapocitavatPredchObdobi->isEnabled(), true);
    EXPECT_EQ(base(dialog->edtObdobiOD), window);

    struct Row {
        QCheckBox *on;
        QLineEdit *text;
        QToolButton *select;
        QCheckBox *negation;
    };
    const Row rows[] = {
        {dialog->chckFiltrStrediska, dialog->edtFiltrStrediskaText, dialog->btnFiltrStrediskaSelect,
         dialog->chckFiltrStrediskaNegace},
        {dialog->chckFiltrCinnosti, dialog->edtFiltrCinnostiText, dialog->btnFiltrCinnostiSelect,
         dialog->chckFiltrCinnostiNegace},
        {dialog->chckFiltrZakazky, dialog->edtFiltrZakazkyText, dialog->btnFiltrZakazkySelect,
         dialog->chckFiltrZakazkyNegace},
        {dialog->chckFiltrMena, dialog->edtFiltrMenaText, dialog->btnFiltrMenaSelect,
         dialog->chckFiltrMenaNegace},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.on->objectName().toStdString());
        for (bool on : {true, false}) {
            tick(row.on, on);
            EXPECT_EQ(row.text->isEnabled(), on);
            EXPECT_EQ(row.select->isEnabled(), on);
            EXPECT_EQ(row.negation->isEnabled(), on);
            EXPECT_EQ(base(row.text), on ? window : face);
        }
    }
    // Only one row follows its own switch.
    tick(dialog->chckFiltrCinnosti, true);
    EXPECT_EQ(dialog->edtFiltrStrediskaText->isEnabled(), false);
    EXPECT_EQ(dialog->edtFiltrZakazkyText->isEnabled(), false);
}

TEST_F(FilterDialogTest, PeriodDatesAreCheckedOnlyWhileThePeriodIsOn)
{
    const TDateTime march = encodeDate(2026, 3, 1);
    const TDateTime april = encodeDate(2026, 4, 30);
    struct Case {
        const char *name;
        bool periodOn;
        QString from; // "" empty; "@m" March, "@a" April; other text typed as is
        QString to;
        bool accepted;
    };
    const Case cases[] = {
        {"both empty", true, QString(), QString(), false},
        {"end missing", true, QStringLiteral("@m"), QString(), false},
        {"start missing", true, QString(), QStringLiteral("@a"), false},
        {"start unreadable", true, QStringLiteral("31.02.20x6"), QStringLiteral("@a"), false},
        {"reversed", true, QStringLiteral("@a"), QStringLiteral("@m"), false},
        {"equal", true, QStringLiteral("@m"), QStringLiteral("@m"), true},
        {"ordered", true, QStringLiteral("@m"), QStringLiteral("@a"), true},
        {"off and empty", false, QString(), QString(), true},
        {"off and reversed", false, QStringLiteral("@a"), QStringLiteral("@m"), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ctx.ui().messages.clear();
        TReportFilter f(ctx.app());
        auto dialog = open(f);
        const auto text = [&](const QString &entry) {
            if (entry == QStringLiteral("@m"))
                return dateText(dialog->edtObdobiOD, march);
            if (entry == QStringLiteral("@a"))
                return dateText(dialog->edtObdobiOD, april);
            return entry;
        };
        tick(dialog->chckZaObdobi, true);
        typeInto(dialog->edtObdobiOD, text(c.from));
        typeInto(dialog->edtObdobiDO, text(c.to));
        tick(dialog->chckZaObdobi, c.periodOn);
        QTest::mouseClick(dialog->btnOK, Qt::LeftButton);
        EXPECT_EQ(dialog->isVisible(), !c.accepted);
        if (c.accepted) {
            EXPECT_EQ(ctx.ui().messages.size(), 0);
            EXPECT_EQ(f.ZaObdobi, c.periodOn);
        } else {
            ASSERT_EQ(ctx.ui().messages.size(), 1);
            EXPECT_EQ(ctx.ui().messages.at(0).kind, MessageKind::Warning);
            EXPECT_TRUE(ctx.ui().messages.at(0).text.startsWith(DateWarning + QStringLiteral("\n\nDatum ")));
            EXPECT_EQ(f.ZaObdobi, false); // nothing copied
            EXPECT_EQ(dialog->edtObdobiOD->text(), text(c.from)); // entries intact
        }
    }
}

TEST_F(FilterDialogTest, AddressGroupsNeedHostVersion11060)
{
    const QChar mark = programLocale().decimalPoint().at(0);
    struct Case {
        QString version;
        int kind;
        bool accepted;
    };
    const Case cases[] = {
        {QStringLiteral("11") + mark + QStringLiteral("050"), 5, false},
        {QStringLiteral("11") + mark + QStringLiteral("060"), 5, true},
        {QStringLiteral("12") + mark + QStringLiteral("000"), 5, true},
        {QStringLiteral("11") + mark + QStringLiteral("050"), 4, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.version.toStdString() + " kind " + std::to_string(c.kind));
        test::RecordingUiServices ui;
        TBaseApplication app(ui, test::LaunchArguments(ctx.yearFolder(), c.version));
        ASSERT_EQ(app.LoadLaunchContext(), true);
        TReportFilter f(app);
        TfrmReportFilter dialog(f);
        dialog.show();
        dialog.cbxVertikalniDeleni->setCurrentIndex(c.kind);
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
        EXPECT_EQ(dialog.isVisible(), !c.accepted);
        if (c.accepted) {
            EXPECT_EQ(ui.messages.size(), 0);
            EXPECT_EQ(f.VertikalniDeleni, c.kind);
        } else {
            ASSERT_EQ(ui.messages.size(), 1);
            EXPECT_EQ(ui.messages.at(0).kind, MessageKind::Information);
            EXPECT_EQ(ui.messages.at(0).text, VersionMessage);
            EXPECT_EQ(f.VertikalniDeleni, 0);
        }
    }
}

TEST_F(FilterDialogTest, ConfirmationCopiesEveryControl)
{
    filter.FiltrStrediskaText = QStringLiteral("S1;");
    filter.FiltrCinnostiText = QStringLiteral("C1;C2;");
    filter.FiltrZakazkyText = QStringLiteral("Z;");
    filter.ZaverkoveUpravy = true;
    auto dialog = open(filter);
    dialog->cbxVertikalniDeleni->setCurrentIndex(3);
    dialog->cbxZpusobSumace->setCurrentIndex(1);
    dialog->cbxTridiDle->setCurrentIndex(1);
    // The period stays off, yet its dates are kept as shown; a blank one is 0.
    tick(dialog->chckZaObdobi, true);
    typeInto(dialog->edtObdobiOD, dateText(dialog->edtObdobiOD, encodeDate(2026, 2, 1)));
    tick(dialog->chckZapocitavatPredchObdobi, true);
    tick(dialog->chckZaObdobi, false);
    tick(dialog->chckPouzeZaverecnyPrehled, true);
    // Rows switched off keep their text and negation.
    tick(dialog->chckFiltrStrediska, true);
    tick(dialog->chckFiltrStrediskaNegace, true);
    tick(dialog->chckFiltrStrediska, false);
    tick(dialog->chckFiltrCinnosti, true);
    tick(dialog->chckFiltrMena, true);
    typeInto(dialog->edtFiltrMenaText, QStringLiteral("EUR"));
    tick(dialog->chckFiltrMenaNegace, true);
    typeInto(dialog->edtNazevFiltru, QStringLiteral("Činnosti 2026"));
    QTest::mouseClick(dialog->btnOK, Qt::LeftButton);
    ASSERT_EQ(dialog->result(), int(QDialog::Accepted));

    EXPECT_EQ(filter.VertikalniDeleni, 3);
    EXPECT_EQ(filter.ZpusobSumace, 1);
    EXPECT_EQ(filter.TriditDle, 1);
    EXPECT_EQ(filter.ZaObdobi, false);
    EXPECT_EQ(filter.ObdobiOD, encodeDate(2026, 2, 1));
    EXPECT_EQ(filter.ObdobiDO, 0.0);
    EXPECT_EQ(filter.ZapocitavatPredchObdobi, true);
    EXPECT_EQ(filter.ZaverkoveUpravy, true); // disabled by the groups, still copied
    EXPECT_EQ(filter.PouzeZaverecnyPrehled, true);
    EXPECT_EQ(filter.NazevFiltru, QStringLiteral("Činnosti 2026"));
    EXPECT_EQ(filter.FiltrStrediska, false);
    EXPECT_EQ(filter.FiltrStrediskaText, QStringLiteral("S1;"));
    EXPECT_EQ(filter.FiltrStrediskaNegace, true);
    EXPECT_EQ(filter.FiltrCinnosti, true);
    EXPECT_EQ(filter.FiltrCinnostiText, QStringLiteral("C1;C2;"));
    EXPECT_EQ(filter.FiltrCinnostiNegace, false);
    EXPECT_EQ(filter.FiltrZakazky, false);
    EXPECT_EQ(filter.FiltrZakazkyText, QStringLiteral("Z;"));
    EXPECT_EQ(filter.FiltrMena, true);
    EXPECT_EQ(filter.FiltrMenaText, QStringLiteral("EUR"));
    EXPECT_EQ(filter.FiltrMenaNegace, true);
}

TEST_F(FilterDialogTest, OnlyTheCurrencyBoxTakesTypedCodes)
{
    filter.FiltrStrediska = filter.FiltrCinnosti = filter.FiltrZakazky = filter.FiltrMena = true;
    filter.FiltrStrediskaText = QStringLiteral("S;");
    auto dialog = open(filter);
    for (QLineEdit *box : {dialog->edtFiltrStrediskaText, dialog->edtFiltrCinnostiText,
                           dialog->edtFiltrZakazkyText}) {
        SCOPED_TRACE(box->objectName().toStdString());
        const QString before = box->text();
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("X;"));
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), before);
    }
    dialog->edtFiltrMenaText->setFocus();
    QTest::keyClicks(dialog->edtFiltrMenaText, QStringLiteral("usd"));
    EXPECT_EQ(dialog->edtFiltrMenaText->text(), QStringLiteral("usd"));
}

TEST_F(FilterDialogTest, EnterConfirmsAndEscapeCancelsFromAnyControl)
{
    auto dialog = open(filter);
    typeInto(dialog->edtNazevFiltru, QStringLiteral("Pokladna"));
    QTest::keyClick(dialog->edtNazevFiltru, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), int(QDialog::Accepted));
    EXPECT_EQ(filter.NazevFiltru, QStringLiteral("Pokladna"));

    TReportFilter other(ctx.app());
    auto cancelled = open(other);
    tick(cancelled->chckZaObdobi, true);
    typeInto(cancelled->edtObdobiOD, QStringLiteral("x"));
    // Enter with a bad date warns and stays; Esc then leaves without copying.
    QTest::keyClick(cancelled->edtObdobiOD, Qt::Key_Enter);
    EXPECT_EQ(cancelled->isVisible(), true);
    EXPECT_EQ(ctx.ui().texts(MessageKind::Warning),
              QStringList({DateWarning + QStringLiteral("\n\nDatum od „x“ nemá platný tvar d.M.rrrr (například "
                                                        "31.3.2024).")}));
    QTest::keyClick(cancelled->edtObdobiOD, Qt::Key_Escape);
    EXPECT_EQ(cancelled->isVisible(), false);
    EXPECT_EQ(cancelled->result(), int(QDialog::Rejected));
    EXPECT_EQ(other.ZaObdobi, false);
}

TEST_F(FilterDialogTest, TabOrderFollowsTheLayout)
{
    auto dialog = open(filter);
    const QList<QWidget *> expected = {
        dialog->cbxVertikalniDeleni, dialog->chckZaObdobi, dialog->edtObdobiOD,
        dialog->edtObdobiDO, dialog->chckZapocitavatPredchObdobi, dialog->chckZaverkoveUpravy,
        dialog->cbxZpusobSumace, dialog->cbxTridiDle, dialog->chckPouzeZaverecnyPrehled,
        dialog->chckFiltrStrediska, dialog->edtFiltrStrediskaText,
        dialog->btnFiltrStrediskaSelect, dialog->chckFiltrStrediskaNegace,
        dialog->chckFiltrCinnosti, dialog->edtFiltrCinnostiText, dialog->btnFiltrCinnostiSelect,
        dialog->chckFiltrCinnostiNegace, dialog->chckFiltrZakazky, dialog->edtFiltrZakazkyText,
        dialog->btnFiltrZakazkySelect, dialog->chckFiltrZakazkyNegace, dialog->chckFiltrMena,
        dialog->edtFiltrMenaText, dialog->btnFiltrMenaSelect, dialog->chckFiltrMenaNegace,
        dialog->edtNazevFiltru,
    };
    QList<QWidget *> chain;
    QWidget *w = expected.first();
    do {
        if (expected.contains(w))
            chain.append(w);
        w = w->nextInFocusChain();
    } while (w != expected.first() && chain.size() < expected.size());
    QStringList names, expectedNames;
    for (QWidget *c : chain)
        names << c->objectName();
    for (QWidget *c : expected)
        expectedNames << c->objectName();
    EXPECT_EQ(names, expectedNames);
}

TEST_F(FilterDialogTest, SelectButtonsFillTheirRows)
{
    test::writeCodeList(ctx.yearFolder(), QStringLiteral("SZSTRED"),
                        {{QStringLiteral("S1"), QStringLiteral("Sklad")},
                         {QStringLiteral("S2"), QStringLiteral("Servis")}});
    filter.FiltrStrediska = filter.FiltrZakazky = filter.FiltrMena = true;
    filter.FiltrStrediskaText = QStringLiteral("S1;");
    filter.FiltrMenaText = QStringLiteral("CZK");
    filter.FiltrZakazkyText = QStringLiteral("Z1;");
    auto dialog = open(filter);

    // Centres: the editor, "Přidat" picks S2 from the host list, OK.
    test::whenModalShown([](QWidget *modal) {
        auto *editor = qobject_cast<TfrmFilterSelectHostObject *>(modal);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->windowTitle(), QStringLiteral("Editor středisek"));
        test::whenModalShown([](QWidget *list) {
            auto *form = qobject_cast<TfrmFilterSelectHostObjectListForm *>(list);
            ASSERT_NE(form, nullptr);
            QTest::keyClick(form->grHostList(), Qt::Key_Down);
            QTest::mouseClick(form->btnOK(), Qt::LeftButton);
        });
        QTest::mouseClick(editor->btnPridat(), Qt::LeftButton);
        QTest::mouseClick(editor->btnOK(), Qt::LeftButton);
    });
    QTest::mouseClick(dialog->btnFiltrStrediskaSelect, Qt::LeftButton);
    EXPECT_EQ(dialog->edtFiltrStrediskaText->text(), QStringLiteral("S1;S2;"));

    // Contracts: the table is missing; the error is shown and the row stays.
    test::whenModalShown([](QWidget *modal) {
        auto *editor = qobject_cast<TfrmFilterSelectHostObject *>(modal);
        ASSERT_NE(editor, nullptr);
        QTest::mouseClick(editor->btnPridat(), Qt::LeftButton);
        QTest::mouseClick(editor->btnOK(), Qt::LeftButton);
    });
    QTest::mouseClick(dialog->btnFiltrZakazkySelect, Qt::LeftButton);
    EXPECT_EQ(dialog->edtFiltrZakazkyText->text(), QStringLiteral("Z1;"));
    EXPECT_EQ(ctx.ui().texts(MessageKind::Error),
              QStringList({QStringLiteral("Nastala chyba při otevírání databáze ")
                           + ctx.yearFolder() + QStringLiteral("ZAKAZKY.DAT")}));

    // Currency: a single pick; no MENY table in the agenda, so nothing opens
    // and the box keeps its code.
    QTest::mouseClick(dialog->btnFiltrMenaSelect, Qt::LeftButton);
    EXPECT_EQ(dialog->edtFiltrMenaText->text(), QStringLiteral("CZK"));
    EXPECT_EQ(ctx.ui().texts(MessageKind::Error).size(), 2);
    EXPECT_EQ(dialog->isVisible(), true);
}

TEST_F(FilterDialogTest, ExecuteLoadsEditsAndSavesTheSettings)
{
    // The start-up creates the settings folder before any filter is used.
    ASSERT_EQ(QDir().mkpath(ctx.app().SettingsFolder()), true);
    TReportFilterDialog editor;
    test::whenModalShown([](QWidget *modal) {
        auto *dialog = qobject_cast<TfrmReportFilter *>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->cbxVertikalniDeleni->setCurrentIndex(1);
        typeInto(dialog->edtNazevFiltru, QStringLiteral("Střediska"));
        QTest::keyClick(dialog->edtNazevFiltru, Qt::Key_Return);
    });
    ASSERT_EQ(filter.Execute(editor), true);
    TIniFile ini(ctx.app().SettingsFileName());
    EXPECT_EQ(ini.ReadString(QStringLiteral("ReportFilter"), QStringLiteral("NazevFiltru"), QString()),
              QStringLiteral("Střediska"));

    // The next report starts from the stored values with an empty name;
    // leaving with Esc changes nothing.
    TReportFilter next(ctx.app());
    QString shownName = QStringLiteral("?");
    int shownKind = -1;
    test::whenModalShown([&](QWidget *modal) {
        auto *dialog = qobject_cast<TfrmReportFilter *>(modal);
        ASSERT_NE(dialog, nullptr);
        shownName = dialog->edtNazevFiltru->text();
        shownKind = dialog->cbxVertikalniDeleni->currentIndex();
        dialog->cbxVertikalniDeleni->setCurrentIndex(2);
        QTest::keyClick(dialog->cbxVertikalniDeleni, Qt::Key_Escape);
    });
    EXPECT_EQ(next.Execute(editor), false);
    EXPECT_EQ(shownName, QString());
    EXPECT_EQ(shownKind, 1);
    EXPECT_EQ(next.VertikalniDeleni, 1);
}

// "XYZ" typed as the currency would give an all-zero report without a word.
TEST_F(FilterDialogTest, HandTypedCodesTheHostDoesNotKnowAreNamedBeforeTheReport)
{
    test::writeHostTable(ctx.root() + QStringLiteral("DATA/AGENDA.TST/"), QStringLiteral("MENY"),
                   {{{QStringLiteral("Kod"), Variant("EUR")}, {QStringLiteral("Zeme"), Variant("EMU")}}});
    const struct {
        const char *typed;
        QList<MessageResult> answers;
        bool accepted;
        int messages;
    } cases[] = {
        {"EUR", {}, true, 0},
        {"XYZ", {MessageResult::No}, false, 1},
        {"XYZ", {MessageResult::Yes}, true, 1},
        {"eur;XYZ;", {MessageResult::No}, false, 1}, // letter case counts, as in the report
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        ctx.ui().messages.clear();
        ctx.ui().questionAnswers = c.answers;
        TReportFilter f(ctx.app());
        auto dialog = open(f);
        tick(dialog->chckFiltrMena, true);
        typeInto(dialog->edtFiltrMenaText, QString::fromUtf8(c.typed));
        QTest::mouseClick(dialog->btnOK, Qt::LeftButton);
        EXPECT_EQ(dialog->isVisible(), !c.accepted);
        ASSERT_EQ(ctx.ui().messages.size(), c.messages);
        if (c.messages)
            EXPECT_TRUE(ctx.ui().messages.at(0).text.startsWith(
                QString::fromUtf8(QString::fromUtf8(c.typed).startsWith(u'e')
                                      ? "Kódy „eur“, „XYZ“ nejsou v seznamu měn účetního systému."
                                      : "Kód „XYZ“ není v seznamu měn účetního systému.")));
    }
}

TEST_F(FilterDialogTest, AnEmptyDatesCalendarOpensInTheAccountingYear)
{
    auto dialog = open(filter);
    tick(dialog->chckZaObdobi, true);
    typeInto(dialog->edtObdobiOD, QString());
    dialog->edtObdobiOD->showCalendar();
    ASSERT_NE(dialog->edtObdobiOD->calendar(), nullptr);
    const QDate yearTo = toQDate(yearEnd());
    EXPECT_EQ(dialog->edtObdobiOD->calendar()->yearShown(), yearTo.addYears(-1).addDays(1).year());
    EXPECT_EQ(dialog->edtObdobiOD->calendar()->monthShown(), yearTo.addYears(-1).addDays(1).month());
    dialog->edtObdobiOD->calendar()->parentWidget()->close();
}

} // namespace
} // namespace kasovka
