#pragma once
// The code lists of the demo agenda (movements, centres, firms, ...) and the
// journal writer. Internal to the demo generator.

#include "host/demo/DemoAgenda.h"

#include <QList>

namespace kasovka::demo {

struct Movement {
    const char *code;
    const char *description;
    const char *type;   // "P" income, "V" expense
    const char *column; // journal column code, may be empty
};

struct CodeName {
    const char *code;
    const char *name;
};

struct Firm {
    int number;
    const char *name;
    const char *ico;
    const char *street;
    const char *town;
    const char *postCode;
    const char *key;
};

const QList<Movement> &movements();
const QList<CodeName> &centres();
const QList<CodeName> &contracts();
const QList<CodeName> &activities();
const QList<Firm> &firms();

// Descriptions of cash and bank documents by direction.
const QList<const char *> &incomeDocuments();
const QList<const char *> &expenseDocuments();

// Writes UCPENDEN, POKLKNIH and BANKKNIH of the year folder.
void writeJournal(const QString &yearFolder, int year, int records, quint64 seed,
                  const QList<DemoUser> &users);

} // namespace kasovka::demo
