#include "HostTree.h"

#include "host/HostSchema.h"
#include "host/demo/THostTableWriter.h"
#include "host/TPristupPrava.h"
#include "support/TestLaunchContext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace kasovka::test {

HostTree::HostTree()
{
    EXPECT_TRUE(m_dir.isValid());
    setDoubleEntry(false);
    writeFile(programFolder() + QStringLiteral("SetupDat/setup.ini"), "[INSTALL]\nSIGN=test-1\n");
    writeFile(programFolder() + QStringLiteral("SetupDat/PrintFrm/_GroupTables.xl"), "template");
    writeFile(programFolder() + QStringLiteral("Install.ini"),
              "[COPY]\nSource1=PrintFrm\nDest1=%HOSTDATA%Doplnky/Kasovka/PrintFrm\n");
}

void HostTree::setDoubleEntry(bool doubleEntry)
{
    writeFile(yearFolder() + QStringLiteral("ROK.INI"),
              QStringLiteral("[Global]\nHospodářský rok do=46386\nPodvojné účetnictví=%1\n")
                  .arg(doubleEntry ? QStringLiteral("Y") : QStringLiteral("N"))
                  .toUtf8());
}

void HostTree::createRights(const QList<HostUser> &users)
{
    for (const char *name : {"PRISTUP", "PRISTUP2"}) {
        const QString path = dataRoot() + QString::fromLatin1(name);
        HostSchema::createTableFile(path, *HostSchema::find(QString::fromLatin1(name)));
        THostTableWriter writer(path);
        for (const HostUser &user : users) {
            const bool first = qstrcmp(name, "PRISTUP") == 0;
            if (!first && !user.inPristup2)
                continue;
            writer.SetValue(QStringLiteral("Password"), Variant(TPristupPrava::ScramblePassword(user.password)));
            if (first)
                writer.SetValue(QStringLiteral("JUPDTisk"), Variant(user.right));
            writer.Append();
        }
        writer.Commit();
    }
}

void HostTree::setProgBuild(const QString &build)
{
    writeFile(dataRoot() + QStringLiteral("data.ini"), ("[Version]\nProgBuild=" + build + "\n").toUtf8());
}

void HostTree::writeFile(const QString &path, const QByteArray &content)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QStringList HostTree::arguments(const QString &password) const
{
    return LaunchArguments(yearFolder(), QStringLiteral("11.060"), password, QStringLiteral("Default"));
}

} // namespace kasovka::test
