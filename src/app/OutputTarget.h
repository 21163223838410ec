#pragma once
// The question before a long piece of work writes a file the user named.

#include <QString>

namespace kasovka {

class TBaseApplication;
struct OutputPolicy;

// A target that can never be written (a template of policy.templateFolders,
// a folder, a device) is refused with a message; an existing file is
// replaced only when the user agrees, which sets policy.replace. False when
// the work should not start; the user has been told why where needed.
bool ConfirmOutputTarget(TBaseApplication &app, const QString &path, OutputPolicy &policy);

} // namespace kasovka
