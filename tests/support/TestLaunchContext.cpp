#include "support/TestLaunchContext.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace kasovka::test {

QStringList LaunchArguments(const QString &yearFolder, const QString &hostVersion,
                            const QString &password, const QString &configName)
{
    const QString line = QStringLiteral("?MAIN=host?MAIN ?AKTROK=%1?AKTROK ?MVERZE=%2?MVERZE "
                                        "?AKTHESLO=%3?AKTHESLO ?AKTCFGNAME=%4?AKTCFGNAME")
                             .arg(yearFolder, hostVersion, password, configName);
    return line.split(u' ', Qt::SkipEmptyParts);
}

TestLaunchContext::TestLaunchContext() : TestLaunchContext(Options()) {}

TestLaunchContext::TestLaunchContext(const Options &options)
{
    EXPECT_TRUE(m_dir.isValid());
    EXPECT_TRUE(QDir().mkpath(yearFolder()));
    EXPECT_TRUE(QDir().mkpath(root() + QStringLiteral("program")));
    QFile rok(yearFolder() + QStringLiteral("ROK.INI"));
    EXPECT_TRUE(rok.open(QIODevice::WriteOnly));
    rok.write(QStringLiteral("[Global]\nHospodářský rok do=%1\nPodvojné účetnictví=%2\n")
                  .arg(options.fiscalYearTo)
                  .arg(options.doubleEntry ? QStringLiteral("Y") : QStringLiteral("N"))
                  .toUtf8());
    rok.close();

    m_app = std::make_unique<TBaseApplication>(
        m_ui, LaunchArguments(yearFolder(), QStringLiteral("11.060"), QString(),
                              options.configName));
    m_app->SetProgramFolder(root() + QStringLiteral("program/"));
    EXPECT_TRUE(m_app->LoadLaunchContext());
}

TestLaunchContext::~TestLaunchContext() = default;

QString TestLaunchContext::root() const
{
    return m_dir.path() + u'/';
}

QString TestLaunchContext::yearFolder() const
{
    return root() + QStringLiteral("DATA/AGENDA.TST/ROK.2026/");
}

} // namespace kasovka::test
