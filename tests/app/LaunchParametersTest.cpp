// The host's parameter protocol and the texts derived from its values.

#include "app/TBaseApplication.h"

#include <gtest/gtest.h>

#include <utility>

namespace kasovka {
namespace {

using Pairs = QList<std::pair<QString, QString>>;

Pairs pairsOf(const QList<TLaunchParameter> &parameters)
{
    Pairs pairs;
    for (const TLaunchParameter &parameter : parameters)
        pairs.append({parameter.Name, parameter.Value});
    return pairs;
}

struct ParseCase {
    const char *name;
    QStringList arguments;
    Pairs expected;
};

TEST(LaunchParameters, Parse)
{
    const QString longValue(300, u'x');
    const ParseCase cases[] = {
        {"no arguments", {}, {}},
        {"a group split at the blank of its path",
         {"?MAIN=/Program", "Files/Host/?MAIN"},
         {{"MAIN", "/Program Files/Host/"}}},
        {"closing marker matched ignoring case, value keeps its case",
         {"?aktrok=/D/AGENDA.A/rok.b/?AKTROK"},
         {{"AKTROK", "/D/AGENDA.A/rok.b/"}}},
        {"a group without closing marker ends the parsing",
         {"?MAIN=x?MAIN", "?AKTROK=/d/", "?MVERZE=11.060?MVERZE"},
         {{"MAIN", "x"}}},
        {"an equals sign before the first question mark stops at once",
         {"a=b", "?MAIN=x?MAIN"},
         {}},
        {"text before a group is skipped",
         {"host.exe", "?MAIN=x?MAIN"},
         {{"MAIN", "x"}}},
        {"an empty value is a value",
         {"?AKTHESLO=?AKTHESLO", "?MAIN=1?MAIN"},
         {{"AKTHESLO", ""}, {"MAIN", "1"}}},
        {"equals signs inside the value",
         {"?MAIN=a=b=c?MAIN"},
         {{"MAIN", "a=b=c"}}},
        {"the blank between arguments belongs to the value",
         {"?AKTCFGNAME=x", "?AKTCFGNAME"},
         {{"AKTCFGNAME", "x "}}},
        {"diacritics in names and values",
         {"?účet=Účetní", "data?ÚČET"},
         {{"ÚČET", "Účetní data"}}},
        {"a question mark without equals sign ends the parsing",
         {"?MAIN=1?MAIN", "?AKTROK"},
         {{"MAIN", "1"}}},
        {"over-long values are cut to 255 characters",
         {"?MAIN=" + longValue + "?MAIN"},
         {{"MAIN", longValue.left(255)}}},
    };
    for (const ParseCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(pairsOf(TBaseApplication::ParseLaunchParameters(c.arguments)), c.expected);
    }
}

struct FolderCase {
    QString year;
    QString agenda;
    QString dataRoot;
};

TEST(LaunchParameters, DeriveHostFolder)
{
    const FolderCase cases[] = {
        {"/d/AGENDA.A/ROK.B", "/d/AGENDA.A/", "/d/"},
        {"/d/AGENDA.A/ROK.B/", "/d/AGENDA.A/", "/d/"},
        // The names are tested ignoring case and the case is kept, since the
        // upper-cased folders would not exist on this file system.
        {"/srv/Data/agenda.a/rok.b/", "/srv/Data/agenda.a/", "/srv/Data/"},
        {"  /d/AGENDA.A/ROK.B/  ", "/d/AGENDA.A/", "/d/"},
        {"/d/AGENDAX/ROKY", "/d/AGENDAX/", "/d/"},
        {"/AGENDA.A/ROK.B/", "/AGENDA.A/", "/"},
        {"/d/DATA/ROK.B/", "/", "/"},
        {"/d/AGENDA.A/YEAR.B/", "/", "/"},
        {"/d/AGEND/ROK.B/", "/", "/"},
        {"/d/AGENDA.A/ROK.B/sub/", "/", "/"},
        {"ROK.B", "/", "/"},
        {"", "/", "/"},
    };
    for (const FolderCase &c : cases) {
        SCOPED_TRACE(c.year.toStdString());
        EXPECT_EQ(TBaseApplication::DeriveHostFolder(c.year, HostFolderLevel::Agenda), c.agenda);
        EXPECT_EQ(TBaseApplication::DeriveHostFolder(c.year, HostFolderLevel::DataRoot),
                  c.dataRoot);
    }
}

TEST(LaunchParameters, ExtractVersionNumber)
{
    const std::pair<QString, QString> cases[] = {
        {"11.060", "11.060"},
        {"11.060 build", "11.060"},
        {" 11.060", ""},
        {"v11.060b", "11.060"},
        {"11,060", "11,060"},
        {"11.06\t0", "11.06"},
        {"", ""},
        {"abc", ""},
    };
    for (const auto &[value, number] : cases)
        EXPECT_EQ(TBaseApplication::ExtractVersionNumber(value), number) << value.toStdString();
}

TEST(LaunchParameters, SanitizeFileName)
{
    const std::pair<QString, QString> cases[] = {
        {"a/b:c", "a_b_c"},
        {"\"*/:<>?\\|", "_________"},
        {"Účetní 2026", "Účetní 2026"},
        {"tab\there\nnewline", "tab_here_newline"},
        {"..", ".."},
        {"", ""},
    };
    for (const auto &[name, sanitized] : cases)
        EXPECT_EQ(TBaseApplication::SanitizeFileName(name), sanitized) << name.toStdString();
}

} // namespace
} // namespace kasovka
