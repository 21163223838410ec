#pragma once
// The program's own pictures, drawn with QPainter so that no image files
// have to travel with the executable.

#include <QIcon>
#include <QPixmap>

namespace kasovka {

// The tall picture along the left edge of the wizard's welcome page.
QPixmap WelcomePicture(const QSize &size);

// The small journal icon: a blue tile with a ruled sheet and a column chart.
QPixmap JournalIcon(int side);

// The application icon in the sizes window managers ask for.
QIcon ApplicationIcon();

} // namespace kasovka
