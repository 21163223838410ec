// The demo journal UCPENDEN with its cash and bank books: documents of one to
// four journal records, dated through the year in order.

#include "core/Error.h"
#include "host/demo/DemoAgenda.h"
#include "host/demo/DemoCatalog.h"
#include "host/HostSchema.h"
#include "host/demo/THostTableWriter.h"

namespace kasovka {

namespace {

class Random {
public:
    explicit Random(quint64 seed) : m_state(seed) {}
    // splitmix64: the same sequence for a seed everywhere.
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % quint64(n)); }
    bool percent(int p) { return below(100) < p; }

private:
    quint64 m_state;
};

enum class Source { Cash, Bank, Internal };

struct Document {
    Source source;
    bool income;
    int number;  // ZRadek: the record's number in its book
    QString doklad;
    QString varSym;
    QString description;
    TDateTime date;
    const demo::Firm *firm;
    QString centre;
    QString contract;
    QString user;
    bool euro;
};

// Field positions of one table, resolved once.
struct JournalFields {
    int cislo, del, free, datum, zdroj, zRadek, doklad, varSym, popis, pohyb, typ, castka,
        mena, castkaMena, stred, cinnost, zakazka, ico, adCislo, vyst;
    explicit JournalFields(const THostTableWriter &w)
        : cislo(w.FieldIndex("Cislo")), del(w.FieldIndex("Del")), free(w.FieldIndex("Free")),
          datum(w.FieldIndex("Datum")), zdroj(w.FieldIndex("Zdroj")),
          zRadek(w.FieldIndex("ZRadek")), doklad(w.FieldIndex("Doklad")),
          varSym(w.FieldIndex("VarSym")), popis(w.FieldIndex("Popis")),
          pohyb(w.FieldIndex("Pohyb")), typ(w.FieldIndex("Typ")), castka(w.FieldIndex("Castka")),
          mena(w.FieldIndex("Mena")), castkaMena(w.FieldIndex("CastkaMena")),
          stred(w.FieldIndex("Stred")), cinnost(w.FieldIndex("Cinnost")),
          zakazka(w.FieldIndex("Zakazka")), ico(w.FieldIndex("ICO")),
          adCislo(w.FieldIndex("AdCislo")), vyst(w.FieldIndex("Vyst"))
    {
    }
};

class JournalBuilder {
public:
    JournalBuilder(const QString &yearFolder, int year, quint64 seed, const QList<DemoUser> &users)
        : m_random(seed), m_year(year), m_journal(yearFolder + "UCPENDEN"),
          m_cash(yearFolder + "POKLKNIH"), m_bank(yearFolder + "BANKKNIH"), m_f(m_journal)
    {
        for (const DemoUser &user : users)
            m_users.append(user.name);
        for (const demo::Movement &m : demo::movements())
            (QLatin1String(m.type) == QLatin1String("P") ? m_income : m_expense).append(&m);
        m_firstDay = encodeDate(year, 1, 1);
        m_days = int(encodeDate(year, 12, 31) - m_firstDay) + 1;
    }

    void build(int records)
    {
        m_total = records;
        while (m_written < records) {
            Document doc = nextDocument();
            const int count = qMin(documentSize(), records - m_written);
            Currency sum;
            for (int i = 0; i < count; ++i)
                sum += writeRecord(doc);
            writeBook(doc, sum);
        }
        m_journal.Commit();
        m_cash.Commit();
        m_bank.Commit();
    }

private:
    int documentSize()
    {
        const int r = m_random.below(100);
        return r < 40 ? 1 : r < 70 ? 2 : r < 90 ? 3 : 4;
    }

    Document nextDocument()
    {
        Document doc;
        const int r = m_random.below(100);
        doc.source = r < 55 ? Source::Cash : r < 95 ? Source::Bank : Source::Internal;
        doc.income = m_random.percent(45);
        const int day = int(qint64(m_written) * m_days / m_total);
        doc.date = m_firstDay + qBound(0, day + m_random.below(3) - 1, m_days - 1);
        const QList<const char *> &texts = doc.income ? demo::incomeDocuments() : demo::expenseDocuments();
        doc.description = QString::fromUtf8(texts[m_random.below(int(texts.size()))]);
        doc.firm = m_random.percent(70) ? &demo::firms()[m_random.below(int(demo::firms().size()))] : nullptr;
        doc.centre = m_random.percent(80) ? code(demo::centres()) : QString();
        doc.contract = m_random.percent(40) ? code(demo::contracts()) : QString();
        doc.user = m_random.percent(98) ? m_users[m_random.below(int(m_users.size()))] : QString();
        doc.euro = doc.source == Source::Cash && m_random.percent(8);
        if (doc.source == Source::Cash) {
            doc.number = ++m_cashNumber;
            doc.doklad = QString::asprintf(doc.income ? "PP%05d" : "VP%05d",
                                           doc.income ? ++m_cashIncome : ++m_cashExpense);
        } else if (doc.source == Source::Bank) {
            doc.number = ++m_bankNumber;
            int month = 0, unused = 0;
            decodeDate(doc.date, unused, month, unused);
            doc.doklad = QString::asprintf("BV%02d-%04d", month, doc.number);
        } else {
            doc.number = ++m_internalNumber;
            doc.doklad = QString::asprintf("ID%05d", doc.number);
        }
        doc.varSym = doc.source == Source::Bank || m_random.percent(30)
            ? QString::asprintf("%d%06d", m_year, m_random.below(1000000)) : QString();
        return doc;
    }

    // Mostly small everyday amounts, now and then a large invoice.
    qint64 wholeCrowns()
    {
        const int bucket = m_random.below(100);
        if (bucket < 60)
            return 50 + m_random.below(2950);
        if (bucket < 90)
            return 3000 + m_random.below(17000);
        return 20000 + m_random.below(130000);
    }

    QString code(const QList<demo::CodeName> &list)
    {
        return QString::fromUtf8(list[m_random.below(int(list.size()))].code);
    }

    Currency writeRecord(const Document &doc)
    {
        const int cislo = ++m_written;
        const demo::Movement *movement = (doc.income ? m_income : m_expense)[m_random.below(
            int((doc.income ? m_income : m_expense).size()))];
        Currency amount = Currency::fromRaw(wholeCrowns() * 10000 + qint64(m_random.below(100)) * 100);
        if (m_random.percent(2))
            amount = -amount; // a credit note
        THostTableWriter &w = m_journal;
        w.SetValue(m_f.cislo, cislo);
        w.SetValue(m_f.del, cislo == 11);   // a deleted record slot
        w.SetValue(m_f.free, cislo == 13);  // a free record slot
        // Record 7 lacks its date; the middle record names a movement the
        // movement list does not have.
        w.SetValue(m_f.datum, Variant::fromDate(cislo == 7 ? 0.0 : doc.date));
        w.SetValue(m_f.zdroj, doc.source == Source::Cash ? u"PK" : doc.source == Source::Bank ? u"BK" : u"ID");
        w.SetValue(m_f.zRadek, doc.number);
        w.SetValue(m_f.doklad, doc.doklad);
        w.SetValue(m_f.varSym, doc.varSym);
        w.SetValue(m_f.popis, QString::fromUtf8(movement->description) + QStringLiteral(" – ")
                                  + doc.description.toLower());
        w.SetValue(m_f.pohyb, cislo == m_total / 2 ? QStringLiteral("XNEZN")
                                                   : QString::fromUtf8(movement->code));
        w.SetValue(m_f.typ, doc.income ? u"P" : u"V");
        w.SetValue(m_f.castka, amount);
        w.SetValue(m_f.mena, doc.euro ? QStringLiteral("EUR") : QString());
        w.SetValue(m_f.castkaMena, doc.euro ? amount / Currency::fromRaw(252000) : Currency());
        w.SetValue(m_f.stred, doc.centre);
        w.SetValue(m_f.cinnost, m_random.percent(70) ? code(demo::activities()) : QString());
        w.SetValue(m_f.zakazka, doc.contract);
        w.SetValue(m_f.ico, doc.firm ? QString::fromUtf8(doc.firm->ico) : QString());
        w.SetValue(m_f.adCislo, doc.firm ? doc.firm->number : 0);
        w.SetValue(m_f.vyst, doc.user);
        w.Append();
        return amount;
    }

    void writeBook(const Document &doc, Currency sum)
    {
        if (doc.source == Source::Internal)
            return;
        THostTableWriter &w = doc.source == Source::Cash ? m_cash : m_bank;
        w.SetValue("Cislo", doc.number);
        w.SetValue("Datum", Variant::fromDate(doc.date));
        w.SetValue("Doklad", doc.doklad);
        w.SetValue("Typ", doc.income ? u"P" : u"V");
        w.SetValue("Popis", doc.firm ? doc.description + QStringLiteral(", ") + QString::fromUtf8(doc.firm->name)
                                     : doc.description);
        w.SetValue("Castka", sum);
        if (doc.source == Source::Cash) {
            w.SetValue("Pokl", doc.euro ? u"POKLEUR" : u"POKL");
            w.SetValue("ICO", doc.firm ? QString::fromUtf8(doc.firm->ico) : QString());
        } else {
            w.SetValue("Ucet", u"KB");
            w.SetValue("VarSym", doc.varSym);
        }
        w.Append();
    }

    Random m_random;
    int m_year;
    THostTableWriter m_journal, m_cash, m_bank;
    JournalFields m_f;
    QStringList m_users;
    QList<const demo::Movement *> m_income, m_expense;
    TDateTime m_firstDay = 0;
    int m_days = 365;
    int m_total = 0;
    int m_written = 0;
    int m_cashNumber = 0, m_bankNumber = 0, m_internalNumber = 0;
    int m_cashIncome = 0, m_cashExpense = 0; // the two series of cash documents
};

} // namespace

void demo::writeJournal(const QString &yearFolder, int year, int records, quint64 seed,
                        const QList<DemoUser> &users)
{
    const char *tables[] = {"UCPENDEN", "POKLKNIH", "BANKKNIH"};
    for (const char *table : tables)
        HostSchema::createTableFile(yearFolder + table, *HostSchema::find(QLatin1String(table)), false);
    JournalBuilder(yearFolder, year, seed, users).build(records);
    for (const char *table : tables)
        HostSchema::createIndexes(yearFolder + table, *HostSchema::find(QLatin1String(table)));
}

} // namespace kasovka
