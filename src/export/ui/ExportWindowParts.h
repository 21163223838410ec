#pragma once
// Pieces the two export windows share: the tool bar, the white hint strip
// and the icon beside a caption.

#include <QString>

class QHBoxLayout;
class QToolButton;
class QWidget;

namespace kasovka {

enum class ReportIcon;

// A light grey tool bar; the buttons are added by the caller.
QWidget *exportToolbar(QWidget *parent, QHBoxLayout *&layout);
QToolButton *exportToolButton(QWidget *parent, int glyph, const QString &text);
// An icon followed by a bold caption.
QWidget *captionRow(QWidget *parent, ReportIcon icon, const QString &caption);

} // namespace kasovka
