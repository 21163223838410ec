#include "app/OutputTarget.h"

#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "core/OutputFile.h"

#include <QFileInfo>

namespace kasovka {

bool ConfirmOutputTarget(TBaseApplication &app, const QString &path, OutputPolicy &policy)
{
    for (const QString &folder : std::as_const(policy.templateFolders)) {
        // Writing over a template would break every later export.
        if (isTemplateFile(path, folder)) {
            app.ShowMessageDialog(templateRefusal(path), MessageKind::Warning);
            return false;
        }
    }
    OutputPolicy probe = policy;
    probe.replace = true;
    try {
        TOutputFile(path, probe).check();
    } catch (const Error &error) {
        app.ShowMessageDialog(error.text(), MessageKind::Error);
        return false;
    }
    const QFileInfo existing(path);
    if (policy.replace || (!existing.exists() && !existing.isSymLink()))
        return true;
    const QString question = QStringLiteral("Soubor \"%1\" již existuje. Chcete jej přepsat?").arg(path);
    if (app.ShowMessageDialog(question, MessageKind::Question) != MessageResult::Yes)
        return false;
    policy.replace = true;
    return true;
}

} // namespace kasovka
