#include "app/ui/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace kasovka {

namespace {

const QColor DeepBlue(0x1d, 0x4f, 0x7c);
const QColor MidBlue(0x2f, 0x7c, 0xb3);
const QColor LightBlue(0xd6, 0xe8, 0xf5);
const QColor Green(0x3c, 0x9a, 0x5f);
const QColor Gold(0xe0, 0xa8, 0x2e);

// A ruled journal sheet with a header band and a few amount cells.
void drawSheet(QPainter &p, const QRectF &r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(r.translated(3, 4), 6, 6);
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, 6, 6);

    const QRectF header(r.left(), r.top(), r.width(), r.height() * 0.14);
    QPainterPath top;
    top.addRoundedRect(header, 6, 6);
    top.addRect(header.adjusted(0, header.height() / 2, 0, 0));
    p.setBrush(LightBlue);
    p.drawPath(top.simplified());

    p.setPen(QPen(QColor(0xc8, 0xd3, 0xdd), 1));
    const int rows = 7;
    const double rowHeight = (r.bottom() - header.bottom()) / (rows + 1);
    for (int i = 1; i <= rows; ++i) {
        const double y = header.bottom() + i * rowHeight;
        p.drawLine(QPointF(r.left() + 8, y), QPointF(r.right() - 8, y));
    }
    const double split = r.left() + r.width() * 0.58;
    p.drawLine(QPointF(split, header.bottom() + 4), QPointF(split, r.bottom() - 8));

    p.setPen(Qt::NoPen);
    for (int i = 0; i < rows; ++i) {
        const double y = header.bottom() + i * rowHeight + rowHeight * 0.35;
        p.setBrush(QColor(0x9a, 0xab, 0xbb));
        p.drawRoundedRect(QRectF(r.left() + 10, y, (split - r.left() - 20) * (i % 3 == 0 ? 0.9 : 0.65),
                                 rowHeight * 0.35), 2, 2);
        p.setBrush(i % 2 ? Green : MidBlue);
        p.drawRoundedRect(QRectF(split + 8, y, (r.right() - split - 16) * (0.5 + 0.07 * i),
                                 rowHeight * 0.35), 2, 2);
    }
}

// A short stack of coins seen from the side.
void drawCoins(QPainter &p, const QPointF &base, double width, int count)
{
    const double h = width * 0.16;
    for (int i = 0; i < count; ++i) {
        const QRectF coin(base.x() - width / 2, base.y() - (i + 1) * h * 1.1, width, h * 1.6);
        p.setPen(QPen(QColor(0xa8, 0x78, 0x16), 1));
        p.setBrush(Gold);
        p.drawEllipse(coin);
    }
    p.setBrush(QColor(0xf3, 0xc8, 0x5a));
    p.drawEllipse(QRectF(base.x() - width / 2, base.y() - (count + 1) * h * 1.1, width, h * 1.6));
}

} // namespace

QPixmap WelcomePicture(const QSize &size)
{
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient background(0, 0, 0, size.height());
    background.setColorAt(0, MidBlue);
    background.setColorAt(1, DeepBlue);
    p.fillRect(pixmap.rect(), background);

    // Quiet decoration: two large translucent circles.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 22));
    p.drawEllipse(QPointF(size.width() * 0.9, size.height() * 0.12), size.width() * 0.7, size.width() * 0.7);
    p.drawEllipse(QPointF(size.width() * 0.05, size.height() * 0.95), size.width() * 0.6, size.width() * 0.6);

    const double w = size.width();
    const QRectF sheet(w * 0.16, size.height() * 0.22, w * 0.68, size.height() * 0.42);
    drawSheet(p, sheet);
    drawCoins(p, QPointF(w * 0.74, size.height() * 0.78), w * 0.3, 5);
    drawCoins(p, QPointF(w * 0.40, size.height() * 0.80), w * 0.3, 3);

    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(qMax(12, int(w * 0.13)));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, size.height() * 0.06, w, size.height() * 0.1), Qt::AlignCenter, QStringLiteral("Kasovka"));
    return pixmap;
}

QPixmap JournalIcon(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = side;

    QLinearGradient tile(0, 0, 0, s);
    tile.setColorAt(0, MidBlue);
    tile.setColorAt(1, DeepBlue);
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);

    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(s * 0.18, s * 0.16, s * 0.64, s * 0.68), s * 0.05, s * 0.05);
    p.setBrush(LightBlue);
    p.drawRect(QRectF(s * 0.18, s * 0.16, s * 0.64, s * 0.12));

    const double barWidth = s * 0.11;
    const double floor = s * 0.76;
    const double heights[] = {0.18, 0.30, 0.24, 0.38};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(i % 2 ? Green : MidBlue);
        p.drawRect(QRectF(s * 0.26 + i * barWidth * 1.3, floor - s * heights[i], barWidth, s * heights[i]));
    }
    return pixmap;
}

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(JournalIcon(side));
    return icon;
}

} // namespace kasovka
