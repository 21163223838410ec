#include "app/UiServices.h"

namespace kasovka {

QString MessageTitle(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return QStringLiteral("Varování");
    case MessageKind::Error:
        return QStringLiteral("Chyba");
    case MessageKind::Information:
        return QStringLiteral("Informace");
    case MessageKind::Question:
        return QStringLiteral("Dotaz");
    }
    return QString();
}

} // namespace kasovka
