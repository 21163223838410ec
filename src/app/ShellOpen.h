#pragma once
// Opening a file or an address with its associated program, without a GUI
// library: the file's MIME type (or the address's scheme) is looked up with
// `xdg-mime query default`, and an associated program is started with
// `xdg-open`. The result is a shell-style code (see app/UiServices.h).

#include <QString>

namespace kasovka {

// True when `path` names an address ("https://...", "mailto:...") rather
// than a file.
bool IsAddress(const QString &path);

// The MIME type that decides the program: the file's type from its name and
// content, or "x-scheme-handler/<scheme>" for an address.
QString AssociationMimeType(const QString &path);

// True when the desktop names a default program for the type.
bool HasAssociatedProgram(const QString &mimeType);

// ShellFileNotFound for a file that does not exist, ShellNoAssociation when
// no program is associated (or none could be started), ShellOpenSucceeded
// once the program has been started.
int OpenWithShell(const QString &path);

} // namespace kasovka
