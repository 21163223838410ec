#include "app/ui/TfrmSavedNotice.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace kasovka {

TfrmSavedNotice::TfrmSavedNotice(const QString &path, UrlOpener opener, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSavedNotice"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xf1, 0xf6, 0xfb));
    setPalette(palette);

    lblText = new QLabel(QStringLiteral("Soubor byl uložen:\n") + QDir::toNativeSeparators(path), this);
    lblText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblOpenFolder = new QLabel(QStringLiteral("<a href=\"#\">Otevřít složku</a>"), this);
    lblOpenFolder->setObjectName(QStringLiteral("lblOpenFolder"));
    const QString folder = QFileInfo(path).absolutePath();
    connect(lblOpenFolder, &QLabel::linkActivated, this, [this, folder, opener] {
        opener(QUrl::fromLocalFile(folder));
        close();
    });
    auto *closeButton = new QToolButton(this);
    closeButton->setText(QStringLiteral("×"));
    closeButton->setAutoRaise(true);
    closeButton->setToolTip(QStringLiteral("Zavřít"));
    connect(closeButton, &QToolButton::clicked, this, &QWidget::close);

    auto *texts = new QVBoxLayout;
    texts->addWidget(lblText);
    texts->addWidget(lblOpenFolder);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(12, 8, 6, 8);
    row->addLayout(texts, 1);
    row->addWidget(closeButton, 0, Qt::AlignTop);
    setMaximumWidth(520);
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.right() - width() - 16, area.bottom() - height() - 16);
    }
    QTimer::singleShot(ShownMs, this, &QWidget::close);
}

} // namespace kasovka
