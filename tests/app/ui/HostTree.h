#pragma once
// A throw-away host data tree and program folder for the wizard's tests:
//   <root>DATA/AGENDA.TST/ROK.2026/ROK.INI   single-entry year settings
//   <root>program/SetupDat/setup.ini          installation sign
//   <root>program/SetupDat/PrintFrm/*.xl      a template to install
//   <root>program/Install.ini                 copy list PrintFrm -> data root

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace kasovka::test {

struct HostUser {
    QString password;
    QString right;             // JUPDTisk
    bool inPristup2 = true;
};

class HostTree {
public:
    HostTree();

    QString root() const { return m_dir.path() + u'/'; }
    QString dataRoot() const { return root() + QStringLiteral("DATA/"); }
    QString yearFolder() const { return dataRoot() + QStringLiteral("AGENDA.TST/ROK.2026/"); }
    QString programFolder() const { return root() + QStringLiteral("program/"); }

    void setDoubleEntry(bool doubleEntry);
    // Creates PRISTUP and PRISTUP2 with the users (both empty for none).
    void createRights(const QList<HostUser> &users);
    // data.ini in the data root with [Version] ProgBuild.
    void setProgBuild(const QString &build);
    void writeFile(const QString &path, const QByteArray &content);

    QStringList arguments(const QString &password = QString()) const;

private:
    QTemporaryDir m_dir;
};

} // namespace kasovka::test
