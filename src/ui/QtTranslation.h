#pragma once
// Qt's own texts (file dialogs, the context menu of text boxes, print
// dialogs) in the user's language; the program's texts are Czech already.

#include "core/DateConvention.h"

#include <QLocale>

namespace kasovka {

// Loads Qt's translation for `locale` from Qt's translations folder and
// installs it on the application; false when Qt has none for it (Qt then
// stays English, nothing else changes).
bool installQtTranslation(const QLocale &locale = programLocale());

} // namespace kasovka
