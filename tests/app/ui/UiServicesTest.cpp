// The Qt UI services: real message boxes (closed by a timer), the progress
// window and its cancel link, opening files, and the help window.

#include "HostTree.h"

#include "app/ui/QtUiServices.h"
#include "app/ui/TfrmHelpViewer.h"
#include "app/ui/TfrmProgressForm.h"
#include "app/ui/TfrmSavedNotice.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <atomic>

namespace kasovka::test {
namespace {

struct SeenBox {
    QString title;
    QString text;
    QStringList buttons;
    bool progressVisible = true;
};

// Presses the button with `answer` on the next modal box and records it.
void answerNextBox(SeenBox &seen, const QString &answer, const QWidget *progress)
{
    QTimer::singleShot(0, [&seen, answer, progress] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.progressVisible = progress->isVisible();
        for (QAbstractButton *button : box->buttons()) {
            seen.buttons.append(button->text());
            if (button->text() == answer)
                button->click();
        }
    });
}

TEST(QtUiServices, MessageBoxesHaveTheProgramsTitlesAndButtons)
{
    struct Row {
        MessageKind kind;
        const char *title;
        QStringList buttons;
        const char *press;
        MessageResult result;
    };
    const Row rows[] = {
        {MessageKind::Warning, "Varování", {QStringLiteral("OK")}, "OK", MessageResult::Ok},
        {MessageKind::Error, "Chyba", {QStringLiteral("OK")}, "OK", MessageResult::Ok},
        {MessageKind::Information, "Informace", {QStringLiteral("OK")}, "OK", MessageResult::Ok},
        {MessageKind::Question, "Dotaz", {QStringLiteral("&Ano"), QStringLiteral("&Ne")}, "&Ano", MessageResult::Yes},
        {MessageKind::Question, "Dotaz", {QStringLiteral("&Ano"), QStringLiteral("&Ne")}, "&Ne", MessageResult::No},
    };
    QtUiServices ui;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.title);
        ui.showProgress(QStringLiteral("Načítání"), false, false);
        SeenBox seen;
        answerNextBox(seen, QString::fromUtf8(row.press), &ui.progressForm());
        EXPECT_EQ(ui.showMessage(QStringLiteral("Text <b>zprávy</b>\ndruhý řádek"), row.kind), row.result);
        EXPECT_EQ(seen.title, QString::fromUtf8(row.title));
        EXPECT_EQ(seen.text, QStringLiteral("Text <b>zprávy</b>\ndruhý řádek"));
        QStringList buttons = seen.buttons;
        buttons.sort();
        EXPECT_EQ(buttons, row.buttons);
        EXPECT_FALSE(seen.progressVisible) << "the box hides the progress first";
    }
}

TEST(ProgressForm, ShowsTheRequestedPartsAndHides)
{
    QtUiServices ui;
    TfrmProgressForm &form = ui.progressForm();
    EXPECT_FALSE(form.isVisible());

    ui.showProgress(QStringLiteral("Generování sestavy..."), true, true);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.text(), QStringLiteral("Generování sestavy..."));
    EXPECT_TRUE(form.cancelLinkShown());
    EXPECT_EQ(form.cancelLink()->text(), QStringLiteral("Přerušit"));
    EXPECT_TRUE(form.animating());
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);

    ui.showProgress(QStringLiteral("Export"), false, false);
    EXPECT_FALSE(form.cancelLinkShown());
    EXPECT_FALSE(form.animating());

    ui.hideProgress();
    EXPECT_FALSE(form.isVisible());
    ui.refreshProgress(); // shows it again, unchanged
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.text(), QStringLiteral("Export"));
    ui.hideProgress();
}

TEST(ProgressForm, CancelLinkOnlySetsTheFlag)
{
    QtUiServices ui;
    std::atomic<bool> cancelRequested{false};
    ui.attachCancelFlag(&cancelRequested);
    ui.showProgress(QStringLiteral("Generování sestavy..."), true, true);
    TLinkLabel *link = ui.progressForm().cancelLink();
    const QPointF centre = QRectF(link->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, centre, link->mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, link->mapToGlobal(centre), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(link, &press);
    EXPECT_FALSE(cancelRequested.load()) << "a press alone is no click";
    QApplication::sendEvent(link, &release);
    EXPECT_TRUE(cancelRequested.load());
    EXPECT_TRUE(ui.progressForm().isVisible());
    ui.hideProgress();
}

// Jobs run under the modal workspace; a window shown then is blocked by it
// unless it belongs to it, and the click would never arrive.
TEST(ProgressForm, CancelLinkWorksOverAModalWindow)
{
    QtUiServices ui;
    std::atomic<bool> cancelRequested{false};
    ui.attachCancelFlag(&cancelRequested);
    QDialog workspace;
    workspace.resize(400, 300);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        ui.showProgress(QStringLiteral("Generování sestavy..."), true, true);
        TfrmProgressForm &form = ui.progressForm();
        TLinkLabel *link = form.cancelLink();
        const QPoint at = link->mapTo(&form, link->rect().center());
        // A click through the window system, which applies modal blocking.
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
        QApplication::processEvents();
        seen = cancelRequested.load();
        ui.hideProgress();
        workspace.reject();
    });
    workspace.exec();
    EXPECT_TRUE(seen);
}

TEST(QtUiServices, OpenWithAssociatedProgramReturnsShellCodes)
{
    HostTree tree;
    const QString file = tree.root() + QStringLiteral("vystup.xls");
    tree.writeFile(file, "x");

    QtUiServices ui;
    QStringList askedTypes;
    QList<QUrl> opened;
    bool associated = true;
    bool opens = true;
    ui.setAssociationLookup([&](const QString &mime) {
        askedTypes.append(mime);
        return associated;
    });
    ui.setUrlOpener([&](const QUrl &url) {
        opened.append(url);
        return opens;
    });

    EXPECT_EQ(ui.openWithAssociatedProgram(tree.root() + QStringLiteral("chybi.xls")), ShellFileNotFound);
    EXPECT_TRUE(opened.isEmpty());

    EXPECT_EQ(ui.openWithAssociatedProgram(file), ShellOpenSucceeded);
    EXPECT_EQ(opened, QList<QUrl>({QUrl::fromLocalFile(file)}));
    EXPECT_EQ(askedTypes.last(), QStringLiteral("application/vnd.ms-excel"));

    associated = false;
    EXPECT_EQ(ui.openWithAssociatedProgram(file), ShellNoAssociation);
    EXPECT_EQ(opened.size(), 1) << "nothing is started without a program for the type";

    associated = true;
    opens = false;
    EXPECT_EQ(ui.openWithAssociatedProgram(file), ShellNoAssociation);

    opens = true;
    EXPECT_EQ(ui.openWithAssociatedProgram(QStringLiteral("mailto:podpora@kasovka.cz")), ShellOpenSucceeded);
    EXPECT_EQ(askedTypes.last(), QStringLiteral("x-scheme-handler/mailto"));
}

TEST(QtUiServices, HelpShowsTheTopicOrSaysItIsMissing)
{
    HostTree tree;
    const QString help = tree.root() + QStringLiteral("help/");
    tree.writeFile(help + QStringLiteral("pgMain.htm"),
                   "<html><head><title>Obsah</title></head><body><a href=\"pgExport.htm\">Export</a></body></html>");
    tree.writeFile(help + QStringLiteral("pgExport.htm"),
                   "<html><head><title>Export do Excelu</title></head><body>Export</body></html>");
    QtUiServices ui;
    ui.showHelpTopic(help, QStringLiteral("pgExport.htm"));
    ASSERT_NE(ui.helpViewer(), nullptr);
    EXPECT_TRUE(ui.helpViewer()->isVisible());
    EXPECT_EQ(ui.helpViewer()->browser()->documentTitle(), QStringLiteral("Export do Excelu"));
    EXPECT_EQ(ui.helpViewer()->windowTitle(), QStringLiteral("Kasovka - nápověda - Export do Excelu"));
    // Fully on the screen, frame and title bar included.
    const QWidget *viewer = ui.helpViewer();
    EXPECT_TRUE(viewer->screen()->availableGeometry().contains(
        QRect(viewer->pos(), viewer->size().grownBy(QMargins(4, 30, 4, 4)))));

    // F1 goes to the contents, Esc closes the window.
    ui.helpViewer()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ui.helpViewer()));
    QTest::keyClick(ui.helpViewer(), Qt::Key_F1);
    EXPECT_EQ(ui.helpViewer()->browser()->documentTitle(), QStringLiteral("Obsah"));
    QTest::keyClick(ui.helpViewer(), Qt::Key_Escape);
    EXPECT_FALSE(ui.helpViewer()->isVisible());

    SeenBox seen;
    answerNextBox(seen, QStringLiteral("OK"), &ui.progressForm());
    ui.showHelpTopic(help, QStringLiteral("pgNeni.htm"));
    EXPECT_EQ(seen.title, QStringLiteral("Chyba"));
    EXPECT_EQ(seen.text, QStringLiteral("Nápovědu nelze zobrazit, chybí soubor ") + help + QStringLiteral("pgNeni.htm"));
    ui.helpViewer()->hide();
}

TEST(QtUiServices, SavedNoticeNamesTheFileAndOpensItsFolder)
{
    QtUiServices ui;
    QList<QUrl> opened;
    ui.setUrlOpener([&opened](const QUrl &url) {
        opened.append(url);
        return true;
    });
    ui.showSavedNotice(QStringLiteral("/tmp/vystupy/sestava.xlsx"));
    auto *notice = qobject_cast<TfrmSavedNotice *>(ui.savedNotice());
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_FALSE(QApplication::activeModalWidget());
    EXPECT_TRUE(notice->lblText->text().contains(QStringLiteral("/tmp/vystupy/sestava.xlsx")));
    Q_EMIT notice->lblOpenFolder->linkActivated(QStringLiteral("#"));
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/vystupy"))});
    QTest::qWaitFor([&] { return ui.savedNotice() == nullptr; }, 2000);
    EXPECT_EQ(ui.savedNotice(), nullptr); // closed after the click
}

TEST(QtUiServices, HelpWindowNamesTheProgramOnce)
{
    const struct {
        const char *page, *window;
    } rows[] = {
        {"Export do Excelu", "Kasovka - nápověda - Export do Excelu"},
        {"Kasovka – rozšířený peněžní deník", "Kasovka - nápověda - rozšířený peněžní deník"},
        {"Kasovka", "Kasovka - nápověda"},
        {"", "Kasovka - nápověda"},
        {"Kasovkový export", "Kasovka - nápověda - Kasovkový export"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(TfrmHelpViewer::WindowTitleFor(QString::fromUtf8(row.page)), QString::fromUtf8(row.window));
}

} // namespace
} // namespace kasovka::test
