#pragma once
// The operating system's reason for a failed file operation, in Czech words
// for the end of a message ("Soubor … nelze zapsat: " + systemErrorText(errno)).
// The C library's own texts follow the system locale and are English on most
// machines, so they never reach the user.

#include <QString>

namespace kasovka {

QString systemErrorText(int error);

} // namespace kasovka
