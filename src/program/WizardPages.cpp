// The wizard's window and its two pages.

#include "program/TfrmMain.h"

#include "app/ui/Artwork.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace kasovka {

namespace {

constexpr int WizardWidth = 620;
constexpr int WizardHeight = 420;
constexpr int PictureWidth = 170;

QLabel *paragraph(const QString &text, QWidget *parent, const char *name = nullptr)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    if (name)
        label->setObjectName(QString::fromLatin1(name));
    return label;
}

// One row of the information block: a caption and a value on a grey band.
void addInfoRow(QGridLayout *grid, int row, const QString &caption, QLabel *value)
{
    QWidget *owner = value->parentWidget();
    auto *band = new QFrame(owner);
    band->setAutoFillBackground(true);
    QPalette pal = band->palette();
    pal.setColor(QPalette::Window, row % 2 ? QColor(0xe9, 0xec, 0xef) : QColor(0xf4, 0xf5, 0xf7));
    band->setPalette(pal);
    grid->addWidget(band, row, 0, 1, 2);
    auto *label = new QLabel(caption, owner);
    label->setContentsMargins(10, 0, 10, 0);
    value->setContentsMargins(10, 0, 10, 0);
    grid->addWidget(label, row, 0);
    grid->addWidget(value, row, 1);
    // The value is older than its band; bring the texts in front of it.
    label->raise();
    value->raise();
}

} // namespace

void TfrmMain::buildWindow()
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Kasovka"));
    setWindowIcon(ApplicationIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(WizardWidth, WizardHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("pcWizard"));
    m_pages->addWidget(buildWelcomePage());
    m_pages->addWidget(buildFinalPage());

    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    m_btnBack = new QPushButton(QStringLiteral("< Zpět"), this);
    m_btnBack->setObjectName(QStringLiteral("btnBack"));
    m_btnNext = new QPushButton(QStringLiteral("Další >"), this);
    m_btnNext->setObjectName(QStringLiteral("btnNext"));
    m_btnNext->setDefault(true);
    m_btnClose = new QPushButton(QStringLiteral("Zavřít"), this);
    m_btnClose->setObjectName(QStringLiteral("btnClose"));
    for (QPushButton *button : {m_btnBack, m_btnNext, m_btnClose})
        button->setMinimumWidth(92);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 8, 12, 12);
    buttons->addStretch();
    buttons->addWidget(m_btnBack);
    buttons->addWidget(m_btnNext);
    buttons->addSpacing(12);
    buttons->addWidget(m_btnClose);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pages, 1);
    layout->addWidget(rule);
    layout->addLayout(buttons);
}

QWidget *TfrmMain::buildWelcomePage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsWelcome"));

    auto *picture = new QLabel(page);
    picture->setObjectName(QStringLiteral("imgWelcome"));
    picture->setPixmap(WelcomePicture(QSize(PictureWidth, WizardHeight - 56)));
    picture->setFixedWidth(PictureWidth);
    picture->setAlignment(Qt::AlignTop);

    auto *heading = new QLabel(page);
    heading->setObjectName(QStringLiteral("lblHeading"));
    heading->setTextFormat(Qt::RichText);
    heading->setText(QStringLiteral("<span style=\"font-size:15pt; font-weight:bold; color:#1d4f7c\">Kasovka</span> "
                                    "<span style=\"color:#4a5866\">(zásuvný modul pro účetní systém)</span>"));

    m_lblVersion = new QLabel(page);
    m_lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto *support = new QLabel(page);
    support->setObjectName(QStringLiteral("lblSupport"));
    support->setTextFormat(Qt::RichText);
    support->setText(QStringLiteral("<a href=\"mail\" style=\"color:#004cc4\">%1</a>").arg(SupportAddress()));
    support->setCursor(Qt::PointingHandCursor);
    support->setToolTip(QStringLiteral("Napsat e-mail technické podpoře"));
    connect(support, &QLabel::linkActivated, this, [this] { openSupportMail(); });

    auto *info = new QGridLayout;
    info->setHorizontalSpacing(0);
    info->setVerticalSpacing(0);
    info->setColumnMinimumWidth(0, 150);
    info->setColumnStretch(1, 1);
    addInfoRow(info, 0, QStringLiteral("Verze modulu"), m_lblVersion);
    addInfoRow(info, 1, QStringLiteral("Technická podpora"), support);
    for (int row = 0; row < 2; ++row)
        info->setRowMinimumHeight(row, 28);

    auto *texts = new QVBoxLayout;
    texts->setContentsMargins(24, 22, 24, 16);
    texts->setSpacing(14);
    texts->addWidget(heading);
    texts->addWidget(paragraph(QStringLiteral("Tento průvodce vám usnadní přípravu rozšířeného peněžního deníku, "
                                              "základní tiskové sestavy v daňové evidenci."), page, "lblIntro"));
    texts->addWidget(paragraph(QStringLiteral("Pokračovat můžete klepnutím na tlačítko [Další]."), page, "lblContinue"));
    texts->addStretch();
    texts->addLayout(info);

    auto *layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(picture);
    layout->addLayout(texts, 1);
    return page;
}

QWidget *TfrmMain::buildFinalPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsFinal"));

    auto *panel = new QFrame(page);
    panel->setObjectName(QStringLiteral("panInfo"));
    panel->setStyleSheet(QStringLiteral("#panInfo { background: #f1f6fb; border: 1px solid #d3e0ec; border-radius: 4px; }"));
    auto *icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("imgInfo"));
    icon->setPixmap(JournalIcon(40));
    icon->setAlignment(Qt::AlignTop);
    auto *about = new QLabel(panel);
    about->setObjectName(QStringLiteral("lblAbout"));
    about->setWordWrap(true);
    about->setTextFormat(Qt::RichText);
    about->setText(QStringLiteral(
        "Kasovka je rozšířený generátor reportů peněžního deníku, který umožňuje zobrazovat více sestav vedle sebe "
        "(tzv. horizontální členění) pro snadnější porovnání z různých pohledů. Sestavu je navíc možné volitelně "
        "<b>sumovat dle různých skupin</b>, např. zakázek, středisek, firem, apod. (tzv. vertikální členění). "
        "U každé sumační skupiny se automaticky zobrazuje závěrečný přehled peněžního deníku, daný report je možné "
        "exportovat do programu MS Excel."));
    auto *panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(14, 14, 14, 14);
    panelLayout->setSpacing(14);
    panelLayout->addWidget(icon, 0, Qt::AlignTop);
    panelLayout->addWidget(about, 1);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(24, 24, 24, 18);
    layout->setSpacing(16);
    layout->addWidget(panel);
    layout->addWidget(paragraph(QStringLiteral("Při generování sestavy doporučujeme nepořizovat žádné doklady na "
                                               "ostatních stanicích sítě - mohlo by dojít k nekorektnímu výsledku "
                                               "sestavy."), page, "lblNetwork"));
    layout->addStretch();
    layout->addWidget(paragraph(QStringLiteral("Načítání zahájíte klepnutím na tlačítko [Dokončit]."), page, "lblFinish"));
    return page;
}

} // namespace kasovka
