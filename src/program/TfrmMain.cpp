#include "program/TfrmMain.h"

#include "app/HostFolderCheck.h"
#include "app/SupportFiles.h"
#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "core/FileNames.h"
#include "core/IniFile.h"
#include "host/TPristupPrava.h"
#include "ui/WindowConventions.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QUrl>
#include <QUrlQuery>
#include <QWindow>

namespace kasovka {

namespace {

const QString StartingText = QStringLiteral("Spouštění zásuvného modulu, čekejte prosím...");

const QString DoubleEntryText = QStringLiteral(
    "Litujeme, ale tento doplněk je možné spustit pouze v agendě, která je vedena v daňové evidenci "
    "(jednoduchém účetnictví).");

const QString NoRightsText = QStringLiteral(
    "Litujeme, ale pro spuštění tohoto doplňku nemáte potřebná přístupová práva. Chcete-li využívat tento "
    "doplněk, požádejte administrátora o nastavení práv k funkci Účetnictví/Tiskové sestavy/Peněžní deník.");

QString compatibilityWarning()
{
    return QStringLiteral(
               "Datum vydání aktuálně používané verze účetního systému je vyšší, než tzv. datum kompatibility "
               "tohoto doplňku. Stávající verze doplňku nemusí být kompatibilní s novějšími verzemi účetního "
               "systému, což může mít za následek nepředvídatelné chování celého programu (v krajním případě i "
               "poškození databáze).\n\n Doporučujeme Vám co nejdříve provést upgrade na vyšší verzi doplňku, "
               "která je kompatibilní i s novějšími verzemi účetního systému. Informujte se, prosím, na naší "
               "e-mailové adrese, za jakých podmínek můžete vyšší verzi získat.\n\nKontaktní e-mail: ")
           + SupportAddress();
}

// Digits only: "2017-1-5" or "2017 1 5" are no release date.
bool readDigits(const QString &text, int &value)
{
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    value = text.toInt();
    return true;
}

} // namespace

TfrmMain::TfrmMain(IUiServices &ui, QStringList arguments, QWidget *parent)
    : QWidget(parent), m_ui(ui), m_arguments(std::move(arguments)), m_workspaceFactory(ReportContainerFactory())
{
    buildWindow();
    m_tmSetFormInForeground.setInterval(2000);
    connect(&m_tmSetFormInForeground, &QTimer::timeout, this, &TfrmMain::bringToFront);
    connect(m_btnNext, &QPushButton::clicked, this, &TfrmMain::nextClicked);
    connect(m_btnBack, &QPushButton::clicked, this, &TfrmMain::backClicked);
    connect(m_btnClose, &QPushButton::clicked, this, &TfrmMain::endProgram);
}

TfrmMain::~TfrmMain() = default;

int TfrmMain::StartUp()
{
    m_context = std::make_unique<TBaseApplication>(m_ui, m_arguments);
    if (!m_programFolder.isEmpty())
        m_context->SetProgramFolder(m_programFolder);
    TBaseApplication &app = *m_context;
    app.ShowProgress(StartingText, false, false);
    if (!app.LoadLaunchContext())
        return 1;
    // Nothing may be created before the year folder is known to be a real,
    // readable folder of the host's data tree.
    if (!CheckHostFolders(app))
        return 2;
    if (!app.EnsureFolder(app.SettingsFolder()) || !app.EnsureFolder(app.TempFolder()))
        return 3;
    QString errorText;
    if (!InstallSupportFiles(app.ProgramFolder(), app.ProgramDataFolder(), app.DataFolder(), errorText)) {
        app.ShowMessageDialog(errorText, MessageKind::Error);
        return 4;
    }
    // The help pages are found through HelpFolder(); nothing to set up.
    m_lblVersion->setText(TBaseApplication::ProgramVersion());
    GoToPage(tsWelcome);
    app.HideProgress();
    if (app.DoubleEntryBookkeeping()) {
        app.ShowMessageDialog(DoubleEntryText, MessageKind::Warning);
        return 5;
    }
    return 0;
}

void TfrmMain::GoToPage(int page)
{
    if (page < 0 || page >= m_pages->count())
        return;
    m_btnClose->setEnabled(true);
    m_btnNext->setEnabled(true);
    m_btnBack->setEnabled(true);
    m_btnNext->setText(QStringLiteral("Další >"));
    m_pages->setCurrentIndex(page);
    if (page == 0)
        m_btnBack->setEnabled(false);
    else if (page == m_pages->count() - 1)
        m_btnNext->setText(QStringLiteral("Dokončit"));
}

int TfrmMain::currentPage() const
{
    return m_pages->currentIndex();
}

int TfrmMain::RunWorkspace()
{
    if (!m_context)
        return -1;
    TBaseApplication &app = *m_context;
    {
        TPristupPrava rights(app.DataFolder(), app.UserPassword());
        if (!rights.ReadRights()) {
            app.ShowMessageDialog(rights.ErrorText(), MessageKind::Error);
            return -1;
        }
        if (rights.JUPDTisk() == TRightLevel::None) {
            app.ShowMessageDialog(NoRightsText, MessageKind::Warning);
            return -1;
        }
    }
    std::unique_ptr<IReportWorkspace> workspace = m_workspaceFactory ? m_workspaceFactory(app) : nullptr;
    if (!workspace)
        return -1;
    return workspace->Run() ? 0 : -1;
}

bool TfrmMain::CheckHostCompatibility(const QString &dataFolder, TDateTime compatibilityDate, QString &message)
{
    message.clear();
    QString folder = dataFolder;
    if (!folder.endsWith(u'/'))
        folder += u'/';
    // Like ROK.INI and the tables, data.ini may be named in any letter case.
    TIniFile ini(fileIgnoringCase(folder + QStringLiteral("data.ini")));
    const QString build = ini.ReadString(QStringLiteral("Version"), QStringLiteral("ProgBuild"), QString());
    if (build.size() < 8)
        return true;
    int year = 0, month = 0, day = 0;
    if (!readDigits(build.mid(0, 4), year) || !readDigits(build.mid(4, 2), month) || !readDigits(build.mid(6, 2), day))
        return true;
    const QDate released(year, month, day);
    if (!released.isValid() || fromQDate(released) <= compatibilityDate)
        return true;
    message = compatibilityWarning();
    return false;
}

void TfrmMain::nextClicked()
{
    m_tmSetFormInForeground.stop();
    const int page = currentPage();
    if (page == tsWelcome && m_context) {
        QString message;
        if (!CheckHostCompatibility(m_context->DataFolder(), TBaseApplication::CompatibilityDate(), message))
            m_context->ShowMessageDialog(message, MessageKind::Warning);
    }
    if (page < m_pages->count() - 1) {
        GoToPage(page + 1);
        return;
    }
    setButtonsEnabled(false);
    if (m_context) {
        try {
            RunWorkspace();
        } catch (const Error &error) {
            // A failure the workspace did not report itself must not take the
            // program down without a word.
            m_context->ShowMessageDialog(error.text(), MessageKind::Error);
        }
    }
    setButtonsEnabled(true);
    endProgram();
}

void TfrmMain::backClicked()
{
    m_tmSetFormInForeground.stop();
    GoToPage(currentPage() - 1);
}

void TfrmMain::setButtonsEnabled(bool enabled)
{
    for (QPushButton *button : {m_btnBack, m_btnNext, m_btnClose})
        button->setEnabled(enabled);
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Only the first showing brings the wizard forward; re-showing it while
    // its flags change must not start another round.
    if (!m_foregroundScheduled) {
        m_foregroundScheduled = true;
        placeOnScreen(this);
        m_tmSetFormInForeground.start();
    }
}

// Puts the window on top of all windows and takes it down again, through
// the native window so that it is neither re-shown nor activated.
void TfrmMain::bringToFront()
{
    m_tmSetFormInForeground.stop();
    QApplication::processEvents();
    QWindow *window = windowHandle();
    if (!window)
        return;
    const Qt::WindowFlags flags = window->flags();
    window->setFlags(flags | Qt::WindowStaysOnTopHint);
    window->raise();
    QApplication::processEvents();
    window->setFlags(flags);
    QApplication::processEvents();
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    event->accept();
    endProgram();
}

void TfrmMain::endProgram()
{
    if (m_ended)
        return;
    m_ended = true;
    m_tmSetFormInForeground.stop();
    Q_EMIT programEndRequested();
    QCoreApplication::exit(0);
}

void TfrmMain::openSupportMail()
{
    QUrl mail;
    mail.setScheme(QStringLiteral("mailto"));
    mail.setPath(SupportAddress());
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QStringLiteral("Kasovka pro účetní systém"));
    mail.setQuery(query);
    m_ui.openWithAssociatedProgram(mail.toString(QUrl::FullyEncoded));
}

} // namespace kasovka
