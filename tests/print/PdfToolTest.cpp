// kasovka-report --pdf over the demo agenda, read back with pdftotext: every
// figure of the report's JSON stands on its row of the printed journal, in
// order and nowhere a figure the screen leaves blank; each group's monthly
// table follows its final overview with the JSON's months and the overview's
// totals; every page carries the header and "Strana x z y"; pages carry
// their running sums over; warnings are listed at the end.

#include "core/Currency.h"
#include "core/DateTime.h"
#include "host/demo/DemoAgenda.h"
#include "host/demo/THostTableWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <optional>

#include <gtest/gtest.h>

namespace kasovka::test {
namespace {

const QString kTool = QStringLiteral(KASOVKA_BINARY_DIR "/bin/kasovka-report");

// "-1234.5000" as the Czech screen shows it: "-1 234,50".
QString czech(const QString &plain)
{
    const bool negative = plain.startsWith(u'-');
    const QStringList parts = plain.mid(negative ? 1 : 0).split(u'.');
    QString whole = parts[0];
    for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
        whole.insert(at, u' ');
    const QString cents = (parts.value(1) + QStringLiteral("00")).left(2);
    const bool zero = whole == u"0" && cents == u"00";
    return (negative && !zero ? QStringLiteral("-") : QString()) + whole + u',' + cents;
}

const QRegularExpression &amountPattern()
{
    static const QRegularExpression pattern(QStringLiteral("-?\\d{1,3}(?: \\d{3})*,\\d\\d(?!\\d)"));
    return pattern;
}

class PdfToolTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        DemoAgendaOptions options;
        options.journalRecords = 40;
        options.seed = 5;
        s_demo = new DemoAgenda(createDemoAgenda(s_dir->path() + QStringLiteral("/"), options));
    }
    static void TearDownTestSuite()
    {
        delete s_demo;
        delete s_dir;
    }

    int run(const QStringList &options, bool headless = false, const DemoAgenda *demo = nullptr)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LANG"), QStringLiteral("cs_CZ.UTF-8"));
        if (headless) {
            for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
                env.remove(QString::fromLatin1(name));
        }
        process.setProcessEnvironment(env);
        process.start(kTool, (demo ? demo : s_demo)->launchArguments() + options);
        EXPECT_TRUE(process.waitForFinished(120000));
        m_err = QString::fromUtf8(process.readAllStandardError());
        return process.exitCode();
    }

    static QStringList pdfPages(const QString &pdf)
    {
        QProcess process;
        process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        EXPECT_TRUE(process.waitForFinished(60000));
        QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f');
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }

    QString path(const QString &name) const { return s_dir->path() + u'/' + name; }

    static QTemporaryDir *s_dir;
    static DemoAgenda *s_demo;
    QString m_err;
};

QTemporaryDir *PdfToolTest::s_dir = nullptr;
DemoAgenda *PdfToolTest::s_demo = nullptr;

// The header's group: its code and name, each once.
QString groupLine(const QJsonObject &group)
{
    QStringList parts{group.value(u"Zkratka").toString(), group.value(u"Nazev").toString()};
    parts.removeAll(QString());
    parts.removeDuplicates();
    return parts.join(QStringLiteral(" – "));
}

// The figures of one row in the columns of a page, in column order.
QStringList rowFigures(const QJsonObject &cols, const QList<int> &columns)
{
    QStringList figures;
    for (int column : columns) {
        const QJsonValue value = cols.value(QStringLiteral("Col%1").arg(column));
        if (value.isString())
            figures.append(czech(value.toString()));
    }
    return figures;
}

// The line of `lines` from `from` on that starts with `start`; -1 when none.
qsizetype lineStarting(const QStringList &lines, qsizetype from, const QRegularExpression &start)
{
    for (qsizetype i = from; i < lines.size(); ++i) {
        if (start.match(lines[i]).hasMatch())
            return i;
    }
    return -1;
}

// Checks the figures of a row's line: exactly the expected ones, in order.
void expectLineFigures(const QString &line, const QStringList &expected, const QString &what)
{
    QStringList found;
    auto it = amountPattern().globalMatch(line);
    while (it.hasNext())
        found.append(it.next().captured());
    EXPECT_EQ(found.join(QStringLiteral(" | ")).toStdString(), expected.join(QStringLiteral(" | ")).toStdString())
        << what.toStdString() << "\n" << line.toStdString();
}

// A monthly page: every month of the JSON on its line with its figures, and
// the total line equal to the group's sums and final overview.
void expectMonthlyPage(const QString &page, const QJsonObject &group)
{
    const QStringList lines = page.split(u'\n');
    static const char *const figures[] = {"Col11", "Col12", "ZakladDane", "ZakladDaneCumulative",
                                          "HotovostCeninyCelkem", "BankUctyCelkem"};
    static const char *const months[] = {"leden", "únor", "březen", "duben", "květen", "červen",
                                         "červenec", "srpen", "září", "říjen", "listopad", "prosinec"};
    qsizetype at = lineStarting(lines, 0, QRegularExpression(QStringLiteral("^\\s*Převedeno\\s")));
    ASSERT_GE(at, 0) << "the carried line";
    for (const QJsonValue &value : group.value(u"months").toArray()) {
        const QJsonObject month = value.toObject();
        const QString key = month.value(u"month").toString();
        const QString caption = key.isEmpty() ? QStringLiteral("Bez data")
                                              : QString::fromUtf8(months[key.mid(5).toInt() - 1]) + u' ' + key.left(4);
        at = lineStarting(lines, at, QRegularExpression(QStringLiteral("^\\s*") + caption + QStringLiteral("\\s")));
        ASSERT_GE(at, 0) << caption.toStdString();
        QStringList expected;
        for (const char *name : figures)
            expected.append(czech(month.value(QString::fromLatin1(name)).toString()));
        expectLineFigures(lines[at], expected, caption);
        EXPECT_TRUE(lines[at].trimmed().endsWith(u' ' + QString::number(month.value(u"rowCount").toInt())))
            << lines[at].toStdString();
    }
    at = lineStarting(lines, at, QRegularExpression(QStringLiteral("^\\s*Celkem\\s")));
    ASSERT_GE(at, 0) << "the total line";
    const QJsonObject sums = group.value(u"cols").toObject(), totals = group.value(u"totals").toObject();
    const QString taxBase = czech(totals.value(u"ZakladDane").toString());
    expectLineFigures(lines[at],
                      {czech(sums.value(u"Col11").toString()), czech(sums.value(u"Col12").toString()), taxBase,
                       taxBase, czech(totals.value(u"HotovostCeninyCelkem").toString()),
                       czech(totals.value(u"BankUctyCelkem").toString())},
                      QStringLiteral("total"));
}

// The page that lists the warnings, after every group.
bool isWarningPage(const QString &page)
{
    static const QRegularExpression heading(QStringLiteral("(?m)^Upozornění\\s*$"));
    return heading.match(page).hasMatch();
}

// "-1234.5" in ten-thousandths, and back.
qint64 units(const QString &plain)
{
    const bool negative = plain.startsWith(u'-');
    const QStringList parts = plain.mid(negative ? 1 : 0).split(u'.');
    const qint64 value = parts[0].toLongLong() * 10000 + (parts.value(1) + QStringLiteral("0000")).left(4).toLongLong();
    return negative ? -value : value;
}

QString plain(qint64 units)
{
    const qint64 magnitude = units < 0 ? -units : units;
    return QStringLiteral("%1%2.%3")
        .arg(units < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 10000)
        .arg(magnitude % 10000, 4, 10, QChar(u'0'));
}

// The sums of rows 0..count - 1 in the columns of a page, blank where no row
// has an amount.
QStringList runningFigures(const QJsonArray &rows, qsizetype count, const QList<int> &columns)
{
    QStringList figures;
    for (int column : columns) {
        const QString name = QStringLiteral("Col%1").arg(column);
        std::optional<qint64> sum;
        for (qsizetype row = 0; row < count; ++row) {
            const QJsonValue value = rows[row].toObject().value(u"cols").toObject().value(name);
            if (value.isString())
                sum = sum.value_or(0) + units(value.toString());
        }
        if (sum)
            figures.append(czech(plain(*sum)));
    }
    return figures;
}

TEST_F(PdfToolTest, EveryFigureOfTheJsonStandsOnItsRowAndEveryPageHasHeaderAndFooter)
{
    const QString json = path(QStringLiteral("centres.json")), pdf = path(QStringLiteral("centres.pdf"));
    ASSERT_EQ(run({QStringLiteral("--set"), QStringLiteral("vertikalnideleni=1"), QStringLiteral("--json"), json,
                   QStringLiteral("--pdf"), pdf}),
              0)
        << m_err.toStdString();
    QFile file(json);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonArray groups = QJsonDocument::fromJson(file.readAll()).object().value(u"groups").toArray();
    ASSERT_GE(groups.size(), 2);
    const QStringList pages = pdfPages(pdf);
    ASSERT_FALSE(pages.isEmpty());

    const QRegularExpression numbers(QStringLiteral("\\[(\\d+)\\]"));
    qsizetype group = -1;
    QString currentGroup;
    int overviews = 0, monthlyPages = 0;
    bool overviewSeen = false;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const QString &page = pages[p];
        const QString where = QStringLiteral("page %1").arg(p + 1);
        EXPECT_TRUE(page.contains(QStringLiteral("Peněžní deník"))) << where.toStdString();
        EXPECT_TRUE(page.contains(QStringLiteral("Agenda: DEMO"))) << where.toStdString();
        EXPECT_TRUE(page.contains(QStringLiteral("Demo Stavby s.r.o., IČO 27081234, DIČ CZ27081234")))
            << where.toStdString();
        EXPECT_TRUE(page.contains(QStringLiteral("Účetní rok: 2024"))) << where.toStdString();
        EXPECT_TRUE(page.contains(QStringLiteral("Období: 1.1.2024 – 31.12.2024"))) << where.toStdString();
        EXPECT_TRUE(page.contains(QStringLiteral("Vytištěno: "))) << where.toStdString();
        EXPECT_TRUE(page.contains(QStringLiteral("Strana %1 z %2").arg(p + 1).arg(pages.size())))
            << where.toStdString();
        if (isWarningPage(page)) {
            EXPECT_EQ(p, pages.size() - 1) << "the warnings come last";
            continue;
        }
        const QRegularExpressionMatch header =
            QRegularExpression(QStringLiteral("Sumační skupina \\(střediska\\): ([^\\n]+)")).match(page);
        ASSERT_TRUE(header.hasMatch()) << where.toStdString();
        if (header.captured(1).trimmed() != currentGroup) {
            currentGroup = header.captured(1).trimmed();
            ++group;
            overviewSeen = false;
            ASSERT_LT(group, groups.size());
            EXPECT_EQ(groupLine(groups[group].toObject()), currentGroup) << "groups in JSON order";
        }
        const QJsonObject g = groups[group].toObject();
        if (page.contains(QStringLiteral("Měsíční přehled – sumační skupina ") + g.value(u"Nazev").toString())) {
            ++monthlyPages;
            EXPECT_TRUE(overviewSeen) << "the monthly table follows the final overview, " << where.toStdString();
            expectMonthlyPage(page, g);
            continue;
        }

        QList<int> columns;
        auto it = numbers.globalMatch(page);
        while (it.hasNext()) {
            const int n = it.next().captured(1).toInt();
            if (n >= 5)
                columns.append(n);
        }
        if (page.contains(QStringLiteral("Závěrečný přehled peněžního deníku"))) {
            ++overviews;
            overviewSeen = true;
            const QJsonObject totals = g.value(u"totals").toObject();
            for (const char *pair : {"Základ daně:ZakladDane", "Hotovost celkem:HotovostCeninyCelkem",
                                     "Na účtech celkem:BankUctyCelkem"}) {
                const QStringList parts = QString::fromUtf8(pair).split(u':');
                const QString figure = czech(totals.value(parts[1]).toString());
                EXPECT_TRUE(QRegularExpression(QRegularExpression::escape(parts[0]) + QStringLiteral("\\s+")
                                               + QRegularExpression::escape(figure))
                                .match(page)
                                .hasMatch())
                    << parts[0].toStdString() << " " << figure.toStdString() << " on " << where.toStdString();
            }
        }
        if (columns.isEmpty())
            continue;
        const QStringList lines = page.split(u'\n');
        qsizetype at = 0;
        for (const QJsonValue &rowValue : g.value(u"rows").toArray()) {
            const QJsonObject row = rowValue.toObject();
            const QJsonValue poradi = row.value(u"Poradi");
            const QString start = poradi.isNull() ? QRegularExpression::escape(row.value(u"Popis").toString())
                                                  : QString::number(poradi.toInt()) + QStringLiteral("\\s");
            at = lineStarting(lines, at, QRegularExpression(QStringLiteral("^\\s*") + start));
            ASSERT_GE(at, 0) << "row " << poradi.toInt() << " on " << where.toStdString();
            expectLineFigures(lines[at], rowFigures(row.value(u"cols").toObject(), columns),
                              QStringLiteral("row %1, %2").arg(poradi.toInt()).arg(where));
            ++at;
        }
        at = lineStarting(lines, at, QRegularExpression(QStringLiteral("Celkem:")));
        ASSERT_GE(at, 0) << "sums row on " << where.toStdString();
        expectLineFigures(lines[at], rowFigures(g.value(u"cols").toObject(), columns), QStringLiteral("sums"));
    }
    EXPECT_EQ(group, groups.size() - 1) << "every group printed";
    EXPECT_EQ(overviews, groups.size()) << "one final overview per group";
    EXPECT_EQ(monthlyPages, groups.size()) << "one monthly page per group";
}

TEST_F(PdfToolTest, OneGroupWithoutDisplayAndRefusals)
{
    const QString pdf = path(QStringLiteral("group.pdf"));
    const QStringList grouped{QStringLiteral("--set"), QStringLiteral("vertikalnideleni=1")};
    EXPECT_EQ(run(grouped + QStringList{QStringLiteral("--group"), QStringLiteral("NEEXISTUJE"),
                                        QStringLiteral("--pdf"), pdf}),
              1);
    EXPECT_TRUE(m_err.contains(QStringLiteral("Sumační skupina \"NEEXISTUJE\" v sestavě není."))) << m_err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(pdf));

    const QString json = path(QStringLiteral("group.json"));
    ASSERT_EQ(run(grouped + QStringList{QStringLiteral("--json"), json}), 0);
    QFile file(json);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString code = QJsonDocument::fromJson(file.readAll())
                             .object().value(u"groups").toArray().last().toObject().value(u"Zkratka").toString();
    const QStringList one = grouped + QStringList{QStringLiteral("--group"), code, QStringLiteral("--pdf"), pdf};
    ASSERT_EQ(run(one, true), 0) << "no display needed: " << m_err.toStdString();
    const QStringList pages = pdfPages(pdf);
    ASSERT_FALSE(pages.isEmpty());
    for (const QString &page : pages)
        EXPECT_TRUE(page.contains(QStringLiteral("(střediska): ") + code)) << page.left(300).toStdString();
    const qsizetype monthly = pages.size() - (isWarningPage(pages.last()) ? 2 : 1);
    EXPECT_TRUE(pages[monthly].contains(QStringLiteral("Měsíční přehled – sumační skupina")));

    const QDateTime written = QFileInfo(pdf).lastModified();
    EXPECT_EQ(run(one), 1) << "an existing file is kept without --overwrite";
    EXPECT_TRUE(m_err.contains(QStringLiteral("již existuje"))) << m_err.toStdString();
    EXPECT_EQ(QFileInfo(pdf).lastModified(), written);
    EXPECT_EQ(run(one + QStringList{QStringLiteral("--overwrite"), QStringLiteral("--without-final-summary"),
                                    QStringLiteral("--without-monthly-overview")}),
              0);
    for (const QString &page : pdfPages(pdf)) {
        EXPECT_FALSE(page.contains(QStringLiteral("Měsíční přehled")));
        EXPECT_FALSE(page.contains(QStringLiteral("Závěrečný přehled")));
    }
}

// Each page of a group's journal but its last ends with the running sums
// of its page width, and the next page of that width starts with them: what
// came in plus the rows printed above. The last running sum is the sums row.
TEST_F(PdfToolTest, PagesCarryTheirRunningSumsOver)
{
    QTemporaryDir dir;
    DemoAgendaOptions options;
    options.journalRecords = 600;
    options.seed = 5;
    const DemoAgenda demo = createDemoAgenda(dir.path() + QStringLiteral("/"), options);
    const QString json = path(QStringLiteral("carried.json")), pdf = path(QStringLiteral("carried.pdf"));
    ASSERT_EQ(run({QStringLiteral("--set"), QStringLiteral("vertikalnideleni=1"), QStringLiteral("--json"), json,
                   QStringLiteral("--pdf"), pdf, QStringLiteral("--without-monthly-overview")},
                  false, &demo),
              0)
        << m_err.toStdString();
    QFile file(json);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonArray groups = QJsonDocument::fromJson(file.readAll()).object().value(u"groups").toArray();
    const QStringList pages = pdfPages(pdf);

    const QRegularExpression numbers(QStringLiteral("\\[(\\d+)\\]"));
    const QRegularExpression carriedIn(QStringLiteral("Převod z předchozí strany"));
    const QRegularExpression pageEnd(QStringLiteral("Převod na další stranu|Celkem:"));
    qsizetype groupIndex = -1;
    QString currentGroup;
    QMap<int, qsizetype> nextRow;     // per page width, told by its first column
    QMap<int, QStringList> carriedOut; // per page width: the figures the last page carried out
    int carriedPages = 0;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const QString where = QStringLiteral("page %1").arg(p + 1);
        if (isWarningPage(pages[p]))
            break;
        const QString group = QRegularExpression(QStringLiteral("Sumační skupina \\(střediska\\): ([^\\n]+)"))
                                  .match(pages[p]).captured(1).trimmed();
        if (group != currentGroup) {
            currentGroup = group;
            ++groupIndex;
            nextRow.clear();
            carriedOut.clear();
        }
        ASSERT_LT(groupIndex, groups.size());
        QList<int> columns;
        for (auto it = numbers.globalMatch(pages[p]); it.hasNext();) {
            if (const int n = it.next().captured(1).toInt(); n >= 5)
                columns.append(n);
        }
        if (columns.isEmpty())
            continue;
        const QJsonArray rows = groups[groupIndex].toObject().value(u"rows").toArray();
        const QStringList lines = pages[p].split(u'\n');
        qsizetype &next = nextRow[columns.first()];
        qsizetype at = lineStarting(lines, 0, carriedIn);
        if (next == 0) {
            EXPECT_LT(at, 0) << "nothing carried into the first page, " << where.toStdString();
            at = 0;
        } else {
            ASSERT_GE(at, 0) << where.toStdString();
            expectLineFigures(lines[at], carriedOut.value(columns.first()), QStringLiteral("carried in, ") + where);
            expectLineFigures(lines[at], runningFigures(rows, next, columns), QStringLiteral("running, ") + where);
        }
        const qsizetype end = lineStarting(lines, at, pageEnd);
        ASSERT_GE(end, 0) << where.toStdString();
        for (; next < rows.size(); ++next) {
            const QJsonObject row = rows[next].toObject();
            const QJsonValue poradi = row.value(u"Poradi");
            const QString start = poradi.isNull() ? QRegularExpression::escape(row.value(u"Popis").toString())
                                                  : QString::number(poradi.toInt()) + QStringLiteral("\\s");
            const qsizetype found = lineStarting(lines, at, QRegularExpression(QStringLiteral("^\\s*") + start));
            if (found < 0 || found > end)
                break;
            at = found + 1;
        }
        const QStringList running = runningFigures(rows, next, columns);
        expectLineFigures(lines[end], running, QStringLiteral("carried out or sums, ") + where);
        if (lines[end].contains(QStringLiteral("Celkem:"))) {
            EXPECT_EQ(next, rows.size()) << where.toStdString();
        } else {
            carriedOut[columns.first()] = running;
            ++carriedPages;
        }
    }
    EXPECT_EQ(groupIndex, groups.size() - 1);
    EXPECT_GT(carriedPages, 4);
}

// An unknown movement: its record's line, with the amount no column holds,
// under "Upozornění" after the journal.
TEST_F(PdfToolTest, WarningsArePrintedAfterTheJournal)
{
    QTemporaryDir dir;
    DemoAgendaOptions options;
    options.journalRecords = 20;
    const DemoAgenda demo = createDemoAgenda(dir.path() + QStringLiteral("/"), options);
    {
        THostTableWriter journal(demo.yearFolder + QStringLiteral("UCPENDEN"));
        journal.SetValue(QStringLiteral("Cislo"), demo.journalRecords + 1);
        journal.SetValue(QStringLiteral("Datum"), Variant::fromDate(encodeDate(2024, 3, 12)));
        journal.SetValue(QStringLiteral("Zdroj"), QStringLiteral("PK"));
        journal.SetValue(QStringLiteral("ZRadek"), 1);
        journal.SetValue(QStringLiteral("Doklad"), QStringLiteral("PK9999"));
        journal.SetValue(QStringLiteral("Pohyb"), QStringLiteral("XNEZN"));
        journal.SetValue(QStringLiteral("Typ"), QStringLiteral("P"));
        journal.SetValue(QStringLiteral("Castka"), *Currency::parse(u"1234.56"));
        journal.Append();
        journal.Commit();
    }
    const QString pdf = path(QStringLiteral("warnings.pdf"));
    ASSERT_EQ(run({QStringLiteral("--pdf"), pdf}, false, &demo), 0) << m_err.toStdString();
    const QStringList pages = pdfPages(pdf);
    ASSERT_FALSE(pages.isEmpty());
    for (qsizetype p = 0; p + 1 < pages.size(); ++p)
        EXPECT_FALSE(isWarningPage(pages[p])) << "page " << p + 1;
    EXPECT_TRUE(isWarningPage(pages.last())) << pages.last().toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("doklad PK9999, 12\\.3\\.2024: nebyl nalezen účetní pohyb "
                                                  "\"XNEZN\"; částka 1 234,56 není v žádném sloupci"))
                    .match(pages.last())
                    .hasMatch())
        << pages.last().toStdString();
}

// The document information and the XMP packet of an archived PDF: the
// information a reader shows agrees with the metadata, which names PDF/A-1b.
TEST_F(PdfToolTest, ArchiveMetadataNamesTheFirmAndTheConformance)
{
    const QString pdf = path(QStringLiteral("archive.pdf"));
    ASSERT_EQ(run({QStringLiteral("--pdf"), pdf}), 0) << m_err.toStdString();
    const auto pdfinfo = [&pdf](const QStringList &options) {
        QProcess process;
        process.start(QStringLiteral("pdfinfo"), options + QStringList{pdf});
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    const QString info = pdfinfo({});
    for (const char *line : {"Title:           Peněžní deník\n", "Author:          Demo Stavby s.r.o.\n",
                             "Subject:         Peněžní deník, období 1.1.2024 – 31.12.2024\n",
                             "Creator:         Kasovka "})
        EXPECT_TRUE(info.contains(QString::fromUtf8(line))) << line << info.toStdString();
    const QString xmp = pdfinfo({QStringLiteral("-meta")});
    for (const char *part : {"<pdfaid:part>1</pdfaid:part>", "<pdfaid:conformance>B</pdfaid:conformance>",
                             "<rdf:li>Demo Stavby s.r.o.</rdf:li>", "xml:lang=\"x-default\">Peněžní deník</rdf:li>"})
        EXPECT_TRUE(xmp.contains(QString::fromUtf8(part))) << part << xmp.toStdString();
}

} // namespace
} // namespace kasovka::test
