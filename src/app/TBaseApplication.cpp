#include "app/TBaseApplication.h"

#include "core/DateConvention.h"
#include "core/DisplayFormat.h"
#include "core/Error.h"
#include "core/FileNames.h"
#include "core/PrivateFolder.h"
#include "host/TBFTable.h"
#include "host/THostIniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace kasovka {

namespace {

const QString MissingParameterMessage = QStringLiteral(
    "Doplněk byl spuštěn s neúplným parametrem - pravděpodobně ho spouštíte jako samostatný "
    "program, nikoliv jako zásuvný modul účetního systému přímo z plochy.");

QString withTrailingDelimiter(const QString &path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

// The year settings file: "ROK.INI", or a file in the year folder whose name
// differs from it only in letter case.
QString yearSettingsFile(const QString &yearFolder)
{
    return fileIgnoringCase(yearFolder + QStringLiteral("ROK.INI"));
}

// The path with "." and ".." segments resolved; ".." above the root stays
// at the root, as the file system takes it.
QString normalisedPath(const QString &path)
{
    QString clean = QDir::cleanPath(path);
    while (clean.startsWith(QLatin1String("/../")) || clean == QLatin1String("/.."))
        clean.remove(0, 3);
    return clean.isEmpty() && !path.isEmpty() ? QStringLiteral("/") : clean;
}

// Why the year settings, present, could not be read (their defaults would
// pass for a double-entry agenda); empty when they were read or are absent.
QString yearSettingsProblem(const THostIniFile &settings)
{
    if (settings.TableMode()) {
        TBFTable table;
        return table.Open(settings.TableFileName()) == 0 ? QString() : table.LastError();
    }
    QFile file(settings.FileName());
    if (!file.exists() || file.open(QIODevice::ReadOnly))
        return QString();
    return QStringLiteral("Soubor %1 nelze otevřít (%2).").arg(settings.FileName(), file.errorString());
}

} // namespace

struct TBaseApplication::Fields {
    QList<TLaunchParameter> launchParameters;
    QString yearFolder;
    QString agendaFolder;
    QString dataFolder;
    Currency hostVersion;
    QString userPassword;
    QString configName;
    QString agendaCode;
    TDateTime fiscalYearTo = 0;
    bool doubleEntryBookkeeping = false;
    QString yearSettingsError;
    QString programFolder; // empty: the executable's folder
};

TBaseApplication::TBaseApplication(IUiServices &ui, QStringList arguments)
    : m_ui(ui), m_arguments(std::move(arguments)), m_fields(std::make_unique<Fields>())
{
    m_ui.attachCancelFlag(&m_cancelRequested);
}

TBaseApplication::~TBaseApplication()
{
    m_ui.attachCancelFlag(nullptr);
}

bool TBaseApplication::fail(const QString &message)
{
    ShowMessageDialog(message, MessageKind::Error);
    return false;
}

bool TBaseApplication::LoadLaunchContext()
{
    Fields &f = *m_fields;
    f.launchParameters = ParseLaunchParameters(m_arguments);

    QString value;
    if (!FindLaunchParameter(QStringLiteral("MAIN"), &value))
        return fail(MissingParameterMessage);

    if (!FindLaunchParameter(QStringLiteral("AKTROK"), &value))
        return fail(MissingParameterMessage);
    // "." and ".." segments would let the derived data root differ from the
    // folder the path reaches; the start-up checks the normalised path.
    f.yearFolder = withTrailingDelimiter(normalisedPath(value));
    f.agendaFolder = DeriveHostFolder(f.yearFolder, HostFolderLevel::Agenda);
    f.dataFolder = DeriveHostFolder(f.yearFolder, HostFolderLevel::DataRoot);

    if (!FindLaunchParameter(QStringLiteral("MVERZE"), &value))
        return fail(MissingParameterMessage);
    // The program's decimal separator is read, and "." as well: the host
    // writes its version with a dot ("11.060") whatever the locale, and a
    // Czech system would otherwise read every version as 0.
    const std::optional<Currency> version =
        Currency::parse(ExtractVersionNumber(value), programLocale().decimalPoint().at(0));
    f.hostVersion = version.value_or(Currency());

    if (!FindLaunchParameter(QStringLiteral("AKTHESLO"), &value))
        return fail(MissingParameterMessage);
    f.userPassword = value;

    if (!FindLaunchParameter(QStringLiteral("AKTCFGNAME"), &value))
        return fail(MissingParameterMessage);
    f.configName = SanitizeFileName(value);
    if (f.configName.trimmed().isEmpty())
        f.configName = QStringLiteral("Default");

    const QString agenda = f.agendaFolder.chopped(1);
    const QString agendaName = agenda.mid(agenda.lastIndexOf(u'/') + 1);
    const qsizetype dot = agendaName.lastIndexOf(u'.');
    f.agendaCode = dot < 0 ? QString() : agendaName.mid(dot + 1).toUpper();

    readYearSettings();
    return true;
}

void TBaseApplication::readYearSettings()
{
    Fields &f = *m_fields;
    const QString global = QStringLiteral("Global");
    int lastDay = 0;
    QString doubleEntry = QStringLiteral("Y");
    try {
        const QString file = yearSettingsFile(f.yearFolder);
        THostIniFile settings(file);
        lastDay = settings.ReadInteger(global, QStringLiteral("Hospodářský rok do"), lastDay);
        doubleEntry = settings.ReadString(global, QStringLiteral("Podvojné účetnictví"), doubleEntry);
        f.yearSettingsError = yearSettingsProblem(settings);
    } catch (const Error &error) {
        f.yearSettingsError = error.text();
    }
    f.fiscalYearTo = TDateTime(lastDay) + 1;
    f.doubleEntryBookkeeping = doubleEntry.toUpper() == QLatin1String("Y");
}

const QList<TLaunchParameter> &TBaseApplication::LaunchParameters() const
{
    return m_fields->launchParameters;
}

bool TBaseApplication::FindLaunchParameter(const QString &name, QString *value) const
{
    for (const TLaunchParameter &parameter : m_fields->launchParameters) {
        if (parameter.Name.compare(name, Qt::CaseInsensitive) == 0) {
            if (value != nullptr)
                *value = parameter.Value;
            return true;
        }
    }
    return false;
}

QString TBaseApplication::YearFolder() const { return m_fields->yearFolder; }
QString TBaseApplication::AgendaFolder() const { return m_fields->agendaFolder; }
QString TBaseApplication::DataFolder() const { return m_fields->dataFolder; }
Currency TBaseApplication::HostVersion() const { return m_fields->hostVersion; }
QString TBaseApplication::UserPassword() const { return m_fields->userPassword; }
QString TBaseApplication::ConfigName() const { return m_fields->configName; }
QString TBaseApplication::AgendaCode() const { return m_fields->agendaCode; }
TDateTime TBaseApplication::FiscalYearTo() const { return m_fields->fiscalYearTo; }
bool TBaseApplication::DoubleEntryBookkeeping() const { return m_fields->doubleEntryBookkeeping; }
QString TBaseApplication::YearSettingsError() const { return m_fields->yearSettingsError; }
QString TBaseApplication::YearSettingsFileName() const { return yearSettingsFile(m_fields->yearFolder); }

QString TBaseApplication::ProgramFolder() const
{
    if (!m_fields->programFolder.isEmpty())
        return m_fields->programFolder;
    if (QCoreApplication::instance() != nullptr)
        return withTrailingDelimiter(QCoreApplication::applicationDirPath());
    // Without an application object (a tool that needs no event loop) the
    // running executable is still found where the system names it.
    const QFileInfo executable(QStringLiteral("/proc/self/exe"));
    if (executable.exists())
        return withTrailingDelimiter(QFileInfo(executable.canonicalFilePath()).path());
    return withTrailingDelimiter(QDir::currentPath());
}

void TBaseApplication::SetProgramFolder(const QString &folder)
{
    m_fields->programFolder = folder.isEmpty() ? QString() : withTrailingDelimiter(folder);
}

QString TBaseApplication::ProgramDataFolder() const
{
    return DataFolder() + QStringLiteral("Doplnky/Kasovka/");
}

QString TBaseApplication::SettingsFolder() const
{
    return ProgramDataFolder() + QStringLiteral("Setting/");
}

QString TBaseApplication::PrintFormsFolder() const
{
    return ProgramDataFolder() + QStringLiteral("PrintFrm/");
}

QString TBaseApplication::SettingsFileName() const
{
    return SettingsFolder() + ConfigName() + AgendaCode() + QStringLiteral(".ini");
}

QString TBaseApplication::TempFolder() const
{
    // Private to this run: a fixed name under the shared temporary folder
    // could be taken by anyone (a plain file there stopped every start).
    try {
        return withTrailingDelimiter(runTemporaryFolder());
    } catch (const Error &) {
        return QString(); // EnsureFolder tells why
    }
}

QString TBaseApplication::HelpFolder() const
{
    return ProgramFolder() + QStringLiteral("help/");
}

QString TBaseApplication::ProgramVersion()
{
    return QStringLiteral("3.10");
}

TDateTime TBaseApplication::CompatibilityDate()
{
    return encodeDate(2016, 9, 30);
}

bool TBaseApplication::CancelRequested() const
{
    return m_cancelRequested.load();
}

void TBaseApplication::SetCancelRequested(bool value)
{
    m_cancelRequested.store(value);
}

MessageResult TBaseApplication::ShowMessageDialog(const QString &text, MessageKind kind)
{
    return m_ui.showMessage(text, kind);
}

void TBaseApplication::ShowProgress(const QString &text, bool showCancelLink, bool animate)
{
    m_progressShown = true;
    m_progressText = text;
    m_progressCancel = showCancelLink;
    m_progressAnimate = animate;
    m_ui.showProgress(text, showCancelLink, animate);
}

void TBaseApplication::RefreshProgress()
{
    m_ui.refreshProgress();
}

bool TBaseApplication::AskToStopJob()
{
    const bool stop = ShowMessageDialog(QStringLiteral("Práce ještě probíhá (ukládání, tisk nebo sestavování). "
                                                       "Chcete ji přerušit a okno zavřít?"),
                                        MessageKind::Question)
                      == MessageResult::Yes;
    if (stop)
        SetCancelRequested(true);
    else if (m_progressShown)
        m_ui.showProgress(m_progressText, m_progressCancel, m_progressAnimate);
    return stop;
}

void TBaseApplication::HideProgress()
{
    m_progressShown = false;
    m_ui.hideProgress();
}

bool TBaseApplication::EnsureFolder(const QString &path)
{
    if (path.isEmpty()) {
        // TempFolder() could not make this run's folder: its reason.
        QString text = QStringLiteral("Nelze vytvořit adresář ");
        try {
            runTemporaryFolder();
        } catch (const Error &error) {
            text = error.text();
        }
        ShowMessageDialog(text, MessageKind::Error);
        return false;
    }
    if (QFileInfo(path).isDir())
        return true;
    if (!path.isEmpty())
        QDir().mkpath(path);
    if (QFileInfo(path).isDir())
        return true;
    ShowMessageDialog(QStringLiteral("Nelze vytvořit adresář ") + path, MessageKind::Error);
    return false;
}

bool TBaseApplication::DeleteExistingFile(const QString &path)
{
    const QFileInfo info(path);
    // A dangling link counts as existing: writing the path would follow it.
    if (!info.exists() && !info.isSymLink())
        return true;
    if (!info.isDir()) {
        // A read-only file is replaced as well, as a save over it would be.
        if (!info.isSymLink() && !info.isWritable())
            QFile::setPermissions(path, info.permissions() | QFileDevice::WriteOwner);
        QFile::remove(path);
    }
    const QFileInfo after(path);
    if (!after.exists() && !after.isSymLink())
        return true;
    ShowMessageDialog(QStringLiteral("Nelze přepsat soubor ") + path, MessageKind::Error);
    return false;
}

int TBaseApplication::OpenWithAssociatedProgram(const QString &path)
{
    return m_ui.openWithAssociatedProgram(path);
}

void TBaseApplication::ShowHelpTopic(const QString &topic)
{
    m_ui.showHelpTopic(HelpFolder(), topic);
}

void TBaseApplication::ShowSavedNotice(const QString &path)
{
    m_ui.showSavedNotice(path);
}

void TBaseApplication::FormatCurrencyFields(TMemTable &table, int decimals,
                                            const QString &defaultExpression) const
{
    kasovka::FormatCurrencyFields(table, decimals, defaultExpression);
}

IUiServices &TBaseApplication::UiServices() const
{
    return m_ui;
}

} // namespace kasovka
