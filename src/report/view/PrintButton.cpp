#include "report/view/PrintButton.h"

#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace kasovka {

// A printer with a sheet coming out of it, drawn at run time like the
// program's other glyphs.
QIcon printerIcon()
{
    QIcon icon;
    for (int size : {16, 20, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const double s = size;
        p.setPen(QPen(QColor(90, 90, 90), s / 16));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(s * 0.28, s * 0.08, s * 0.44, s * 0.3));
        p.setBrush(QColor(120, 130, 150));
        p.drawRoundedRect(QRectF(s * 0.08, s * 0.36, s * 0.84, s * 0.36), s / 12, s / 12);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(s * 0.24, s * 0.6, s * 0.52, s * 0.32));
        p.setPen(QPen(QColor(49, 106, 197), s / 20));
        for (double y : {0.72, 0.82})
            p.drawLine(QPointF(s * 0.32, s * y), QPointF(s * 0.68, s * y));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QToolButton *makePrintButton(QWidget *parent, std::function<void(PrintOutput)> print)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QStringLiteral("btnPrint"));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setIcon(printerIcon());
    button->setIconSize(QSize(20, 20));
    button->setText(QStringLiteral("Tisk"));
    button->setPopupMode(QToolButton::MenuButtonPopup);
    auto *menu = new QMenu(button);
    QAction *preview = menu->addAction(QStringLiteral("Náhled a tisk…"));
    QAction *pdf = menu->addAction(QStringLiteral("Uložit jako PDF…"));
    QObject::connect(button, &QToolButton::clicked, button, [print] { print(PrintOutput::Preview); });
    QObject::connect(preview, &QAction::triggered, button, [print] { print(PrintOutput::Preview); });
    QObject::connect(pdf, &QAction::triggered, button, [print] { print(PrintOutput::PdfFile); });
    button->setMenu(menu);
    return button;
}

} // namespace kasovka
