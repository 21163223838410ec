#pragma once
// The firm whose books a report is: its name from the year settings
// ([Firma] Název), its IČO and DIČ from the year settings or, where those
// lack them, from the agenda's setup variables (SETPVARS, section "Firma").
// Paper names the firm so that a printed or exported journal can be told
// apart from another firm's.

#include <QString>

namespace kasovka {

class TBaseApplication;

struct FirmIdentity {
    QString name;
    QString ico;
    QString dic;

    bool isEmpty() const { return name.isEmpty() && ico.isEmpty() && dic.isEmpty(); }
    // "Demo Stavby s.r.o., IČO 27081234, DIČ CZ27081234", leaving out what
    // is missing; empty when nothing is known.
    QString line() const;
};

// Never fails: settings that cannot be read leave their parts empty.
FirmIdentity readFirmIdentity(const TBaseApplication &app);

} // namespace kasovka
