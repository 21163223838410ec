#pragma once
// The report view's captions: bold, in the caption blue of the host's
// report windows.

#include <QString>

class QLabel;
class QWidget;

namespace kasovka {

QLabel *captionLabel(const QString &text, QWidget *parent);

} // namespace kasovka
