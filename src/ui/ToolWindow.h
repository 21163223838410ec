#pragma once
// The small fixed-size windows of the export and print flows (the scope
// questions and the exporter): a grey tool bar on top holding "OK" and the
// closing button, a caption with its icon, and a frame without maximize.

#include <QString>
#include <QtGlobal>
#include <qnamespace.h>

class QToolButton;
class QVBoxLayout;
class QWidget;

namespace kasovka {

enum class ReportIcon;

// Caption, system menu and minimize only.
Qt::WindowFlags toolWindowFlags();
// The window's outer layout with the tool bar on top holding "OK" and the
// closing button; the caller adds the body below it.
QVBoxLayout *toolWindowLayout(QWidget *window, int closeGlyph, const QString &closeText,
                              QToolButton *&ok, QToolButton *&close);
// An icon followed by a bold caption.
QWidget *captionRow(QWidget *parent, ReportIcon icon, const QString &caption);
// Fixes the window at its size hint in the middle of its screen.
void centreOnScreen(QWidget *window);

} // namespace kasovka
