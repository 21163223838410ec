#pragma once
// The program's help window: the HTML pages of the help folder in a browser
// with back, forward and the start page. Links between pages stay in the
// window; web and mail links go to the system's programs.

#include <QString>
#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace kasovka {

class TfrmHelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit TfrmHelpViewer(QWidget *parent = nullptr);

    // Shows `page` of `helpFolder`; false when the page does not exist.
    bool ShowTopic(const QString &helpFolder, const QString &page);
    QTextBrowser *browser() const { return m_browser; }
    // "Kasovka - nápověda", followed by the page's title without the
    // program's name in front.
    static QString WindowTitleFor(const QString &pageTitle);

private:
    QTextBrowser *m_browser;
    QToolButton *m_btnBack;
    QToolButton *m_btnForward;
    QString m_homePage;
};

} // namespace kasovka
