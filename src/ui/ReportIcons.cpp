#include "ui/ReportIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kasovka {

namespace {

const QColor kBlue(49, 106, 197);
const QColor kGreen(33, 115, 70);

void drawSheet(QPainter &p, const QRectF &r, const QColor &colour)
{
    p.setPen(QPen(colour.darker(130), r.width() / 24.0));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QPen(colour, r.width() / 32.0));
    for (int i = 1; i < 4; ++i) {
        const double y = r.top() + r.height() * i / 4.0;
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
    const double x = r.left() + r.width() / 3.0;
    p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
}

void drawArrow(QPainter &p, double s, bool left)
{
    QPainterPath path;
    const double a = left ? 0.65 : 0.35, b = left ? 0.35 : 0.65;
    path.moveTo(s * a, s * 0.2);
    path.lineTo(s * b, s * 0.5);
    path.lineTo(s * a, s * 0.8);
    path.closeSubpath();
    p.fillPath(path, QColor(70, 70, 70));
}

void drawText(QPainter &p, double s, const QString &text, const QColor &back)
{
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawEllipse(QRectF(s * 0.08, s * 0.08, s * 0.84, s * 0.84));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(int(s * 0.62));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, text);
}

void drawIcon(QPainter &p, ReportIcon icon, double s)
{
    switch (icon) {
    case ReportIcon::Exit:
        p.setPen(QPen(QColor(120, 80, 40), s / 14));
        p.setBrush(QColor(222, 184, 135));
        p.drawRect(QRectF(s * 0.2, s * 0.12, s * 0.45, s * 0.76));
        p.setPen(QPen(QColor(190, 40, 40), s / 9, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.45, s * 0.5), QPointF(s * 0.9, s * 0.5));
        p.drawLine(QPointF(s * 0.75, s * 0.35), QPointF(s * 0.9, s * 0.5));
        p.drawLine(QPointF(s * 0.75, s * 0.65), QPointF(s * 0.9, s * 0.5));
        break;
    case ReportIcon::Help:
        drawText(p, s, QStringLiteral("?"), kBlue);
        break;
    case ReportIcon::Info:
        drawText(p, s, QStringLiteral("i"), kBlue);
        break;
    case ReportIcon::Add:
        drawSheet(p, QRectF(s * 0.12, s * 0.08, s * 0.6, s * 0.75), kBlue);
        p.setPen(QPen(kGreen, s / 7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.72, s * 0.55), QPointF(s * 0.72, s * 0.92));
        p.drawLine(QPointF(s * 0.54, s * 0.74), QPointF(s * 0.9, s * 0.74));
        break;
    case ReportIcon::Workbook:
        drawSheet(p, QRectF(s * 0.3, s * 0.12, s * 0.6, s * 0.76), kGreen);
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawRect(QRectF(s * 0.08, s * 0.25, s * 0.42, s * 0.5));
        p.setPen(QPen(Qt::white, s / 12));
        p.drawLine(QPointF(s * 0.17, s * 0.35), QPointF(s * 0.41, s * 0.65));
        p.drawLine(QPointF(s * 0.41, s * 0.35), QPointF(s * 0.17, s * 0.65));
        break;
    case ReportIcon::Table:
    case ReportIcon::Rows:
        drawSheet(p, QRectF(s * 0.1, s * 0.15, s * 0.8, s * 0.7), icon == ReportIcon::Table ? kBlue : kGreen);
        break;
    case ReportIcon::Groups:
    case ReportIcon::Group:
        p.setPen(QPen(QColor(150, 110, 20), s / 16));
        p.setBrush(QColor(250, 210, 90));
        p.drawRoundedRect(QRectF(s * 0.1, s * 0.25, s * 0.8, s * 0.6), s * 0.06, s * 0.06);
        p.drawRect(QRectF(s * 0.1, s * 0.15, s * 0.35, s * 0.12));
        if (icon == ReportIcon::Groups) {
            p.setBrush(QColor(255, 235, 160));
            p.drawRoundedRect(QRectF(s * 0.2, s * 0.38, s * 0.7, s * 0.47), s * 0.05, s * 0.05);
        }
        break;
    case ReportIcon::Summary: {
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(s * 0.08, s * 0.08, s * 0.84, s * 0.84), s * 0.12, s * 0.12);
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(int(s * 0.7));
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, QString(QChar(0x03A3)));
        break;
    }
    case ReportIcon::Folder:
        p.setPen(QPen(QColor(150, 110, 20), s / 16));
        p.setBrush(QColor(250, 210, 90));
        p.drawRect(QRectF(s * 0.1, s * 0.3, s * 0.8, s * 0.55));
        break;
    case ReportIcon::ArrowLeft:
    case ReportIcon::ArrowRight:
        drawArrow(p, s, icon == ReportIcon::ArrowLeft);
        break;
    }
}

} // namespace

QPixmap reportPixmap(ReportIcon icon, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    drawIcon(painter, icon, size);
    return pixmap;
}

QIcon reportIcon(ReportIcon icon)
{
    QIcon result;
    for (int size : {16, 24, 32, 48})
        result.addPixmap(reportPixmap(icon, size));
    return result;
}

} // namespace kasovka
