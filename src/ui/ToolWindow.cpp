#include "ui/ToolWindow.h"

#include "ui/ReportIcons.h"
#include "ui/WindowConventions.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace kasovka {

Qt::WindowFlags toolWindowFlags()
{
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
           | Qt::WindowMinimizeButtonHint;
}

QVBoxLayout *toolWindowLayout(QWidget *window, int closeGlyph, const QString &closeText,
                              QToolButton *&ok, QToolButton *&close)
{
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QHBoxLayout *bar = nullptr;
    layout->addWidget(makeToolbarStrip(window, bar, StripLook::Grey));
    ok = makeToolbarButton(glyphIcon(Glyph::Ok), QStringLiteral("OK"), window);
    close = makeToolbarButton(glyphIcon(Glyph(closeGlyph)), closeText, window);
    bar->addWidget(ok);
    bar->addWidget(close);
    bar->addStretch(1);
    return layout;
}

QWidget *captionRow(QWidget *parent, ReportIcon icon, const QString &caption)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *picture = new QLabel(row);
    picture->setPixmap(reportPixmap(icon, 32));
    layout->addWidget(picture);
    auto *label = new QLabel(caption, row);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    layout->addWidget(label, 1);
    return row;
}

void centreOnScreen(QWidget *window)
{
    window->adjustSize();
    window->setFixedSize(window->sizeHint());
    placeOnScreen(window);
}

} // namespace kasovka
