#pragma once
// The start-up wizard: it builds the launch context and readies the host
// data root (StartUp), greets the user on two pages, and its finishing button
// hands over to the report workspace (RunWorkspace). After the hand-over, or
// after any refusal, the program ends; there is no way back to the wizard.

#include "app/UiServices.h"
#include "core/DateTime.h"
#include "program/ReportWorkspace.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace kasovka {

class TBaseApplication;

// The maker's support address, shown on the welcome page and in the
// compatibility warning.
inline QString SupportAddress() { return QStringLiteral("podpora@kasovka.cz"); }

class TfrmMain : public QWidget {
    Q_OBJECT
public:
    enum Page { tsWelcome = 0, tsFinal = 1 };

    // `arguments` are the host's launch parameters as the platform split
    // them; the services must outlive the window.
    TfrmMain(IUiServices &ui, QStringList arguments, QWidget *parent = nullptr);
    ~TfrmMain() override;

    // 0 when the wizard may be shown; any other value when the program must
    // end at once (the reason has been shown).
    int StartUp();
    // Shows page `page` and sets the buttons; an invalid index does nothing.
    void GoToPage(int page);
    // The rights check and the modal workspace: 0 when the workspace ran and
    // ended normally, -1 otherwise.
    int RunWorkspace();
    // False with the warning in `message` when the host in `dataFolder` was
    // released after `compatibilityDate` (data.ini, [Version] ProgBuild).
    static bool CheckHostCompatibility(const QString &dataFolder, TDateTime compatibilityDate,
                                       QString &message);

    int currentPage() const;
    // The launch context; null before StartUp.
    TBaseApplication *launchContext() const { return m_context.get(); }
    bool programEnded() const { return m_ended; }

    // For tests and tools: another program folder than the executable's, and
    // another workspace than the report container.
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }
    void setWorkspaceFactory(WorkspaceFactory factory) { m_workspaceFactory = std::move(factory); }

    QPushButton *btnBack() const { return m_btnBack; }
    QPushButton *btnNext() const { return m_btnNext; }
    QPushButton *btnClose() const { return m_btnClose; }
    QTimer &tmSetFormInForeground() { return m_tmSetFormInForeground; }

Q_SIGNALS:
    // The program is to end now (the application is told to quit as well).
    void programEndRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWindow();
    QWidget *buildWelcomePage();
    QWidget *buildFinalPage();
    void nextClicked();
    void backClicked();
    void setButtonsEnabled(bool enabled);
    void bringToFront();
    void endProgram();
    void openSupportMail();

    IUiServices &m_ui;
    QStringList m_arguments;
    QString m_programFolder;
    WorkspaceFactory m_workspaceFactory;
    std::unique_ptr<TBaseApplication> m_context;

    QStackedWidget *m_pages = nullptr;
    QLabel *m_lblVersion = nullptr;
    QPushButton *m_btnBack = nullptr;
    QPushButton *m_btnNext = nullptr;
    QPushButton *m_btnClose = nullptr;
    QTimer m_tmSetFormInForeground;
    bool m_foregroundScheduled = false;
    bool m_ended = false;
};

} // namespace kasovka
