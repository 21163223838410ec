#include "report/view/CaptionLabel.h"

#include <QColor>
#include <QLabel>

namespace kasovka {

QLabel *captionLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(49, 106, 197));
    label->setPalette(palette);
    return label;
}

} // namespace kasovka
