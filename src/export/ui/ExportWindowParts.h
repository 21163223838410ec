#pragma once
// Pieces the two export windows share: the tool bar, the white hint strip
// and the icon beside a caption.

#include <QString>

class QHBoxLayout;
class QToolButton;
class QVBoxLayout;
class QWidget;

namespace kasovka {

enum class ReportIcon;

QToolButton *exportToolButton(QWidget *parent, int glyph, const QString &text);
// The window's outer layout with the tool bar on top holding "OK" and the
// closing button; the caller adds the body below it.
QVBoxLayout *exportWindowLayout(QWidget *window, int closeGlyph, const QString &closeText,
                                QToolButton *&ok, QToolButton *&close);
// An icon followed by a bold caption.
QWidget *captionRow(QWidget *parent, ReportIcon icon, const QString &caption);

} // namespace kasovka
