// Every file kasovka-report writes for a small demo agenda must survive
// changes to how the program is built. Each case runs the tool once with all
// its outputs and hashes them: the JSON and the .xls as written, the .xlsx
// over its entries' uncompressed contents (docProps/core.xml holds the
// creation time and is left out), the PDF as its `pdftotext -layout` text
// with the print time masked. The hashes are compared with
// tests/export/golden/outputs.txt; KASOVKA_UPDATE_GOLDEN=1 rewrites the list,
// for a deliberate change of the output only.

#include "host/demo/DemoAgenda.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kasovka::test {
namespace {

const QString kTool = QStringLiteral(KASOVKA_BINARY_DIR "/bin/kasovka-report");
const QString kGoldenFile = QStringLiteral(KASOVKA_SOURCE_DIR "/tests/export/golden/outputs.txt");

QByteArray sha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray processOutput(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(120000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return sha256(file.readAll());
}

// Entry names and contents in archive order; compression may differ between
// zlib builds, the contents may not.
QByteArray xlsxHash(const QString &path)
{
    static const QString script = QStringLiteral(
        "import hashlib, sys, zipfile\n"
        "h = hashlib.sha256()\n"
        "with zipfile.ZipFile(sys.argv[1]) as z:\n"
        "    for name in z.namelist():\n"
        "        if name != 'docProps/core.xml':\n"
        "            h.update(name.encode() + b'\\0' + z.read(name) + b'\\0')\n"
        "print(h.hexdigest())\n");
    return processOutput(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path}).trimmed();
}

QByteArray pdfHash(const QString &path)
{
    QByteArray text = processOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    static const QRegularExpression printed(QStringLiteral("Vytištěno: [0-9.: ]+"));
    return sha256(QString::fromUtf8(text).replace(printed, QStringLiteral("Vytištěno: *")).toUtf8());
}

struct OutputCase {
    const char *name;
    QStringList settings;
};

TEST(OutputGoldenTest, EveryOutputOfTheToolIsTheRecordedOne)
{
    QTemporaryDir dir;
    DemoAgendaOptions options;
    options.journalRecords = 120;
    options.seed = 3;
    const DemoAgenda demo = createDemoAgenda(dir.path() + QStringLiteral("/data/"), options);
    const OutputCase cases[] = {
        {"by-document", {}},
        {"by-centres", {QStringLiteral("--set"), QStringLiteral("vertikalnideleni=1")}},
    };

    QByteArray actual;
    for (const OutputCase &c : cases) {
        const QString base = dir.path() + u'/' + QLatin1String(c.name);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LANG"), QStringLiteral("cs_CZ.UTF-8"));
        QProcess tool;
        tool.setProcessEnvironment(env);
        tool.start(kTool, demo.launchArguments() + c.settings
                              + QStringList{QStringLiteral("--json"), base + QStringLiteral(".json"),
                                            QStringLiteral("--xls"), base + QStringLiteral(".xls"),
                                            QStringLiteral("--xlsx"), base + QStringLiteral(".xlsx"),
                                            QStringLiteral("--pdf"), base + QStringLiteral(".pdf"),
                                            QStringLiteral("--group-table"), base + QStringLiteral("-groups.xls")});
        ASSERT_TRUE(tool.waitForFinished(300000));
        ASSERT_EQ(tool.exitCode(), 0) << c.name << ": " << tool.readAllStandardError().toStdString();
        const std::pair<const char *, QByteArray> outputs[] = {
            {"json", fileHash(base + QStringLiteral(".json"))},
            {"xls", fileHash(base + QStringLiteral(".xls"))},
            {"xlsx", xlsxHash(base + QStringLiteral(".xlsx"))},
            {"pdf", pdfHash(base + QStringLiteral(".pdf"))},
            {"group-table", fileHash(base + QStringLiteral("-groups.xls"))},
        };
        for (const auto &[kind, hash] : outputs)
            actual += QByteArray(c.name) + ' ' + kind + ' ' + hash + '\n';
    }

    if (qEnvironmentVariableIntValue("KASOVKA_UPDATE_GOLDEN") == 1) {
        QFile file(kGoldenFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(actual);
        GTEST_SKIP() << "golden list rewritten";
    }
    QFile file(kGoldenFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << kGoldenFile.toStdString();
    EXPECT_EQ(actual.toStdString(), file.readAll().toStdString());
}

} // namespace
} // namespace kasovka::test
