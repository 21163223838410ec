#pragma once
// The tool-bar button "Tisk" of the report view and the group tables
// window: a click opens the print preview, its menu also offers the PDF file
// directly.

#include "report/view/ReportViewServices.h"

#include <QIcon>

#include <functional>

class QToolButton;
class QWidget;

namespace kasovka {

// The printer glyph of the button.
QIcon printerIcon();

// A flat button without keyboard focus; `print` receives the chosen output.
QToolButton *makePrintButton(QWidget *parent, std::function<void(PrintOutput)> print);

} // namespace kasovka
