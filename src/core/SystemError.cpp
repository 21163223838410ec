#include "core/SystemError.h"

#include <cerrno>

namespace kasovka {

QString systemErrorText(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("přístup odepřen");
    case ENOENT:
        return QStringLiteral("soubor nebo složka neexistuje");
    case ENOTDIR:
        return QStringLiteral("část cesty není složka");
    case EISDIR:
        return QStringLiteral("je to složka");
    case EEXIST:
        return QStringLiteral("soubor již existuje");
    case ENOSPC:
        return QStringLiteral("na disku není dost místa");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("byla překročena disková kvóta");
#endif
    case EROFS:
        return QStringLiteral("disk je jen pro čtení");
    case ENAMETOOLONG:
        return QStringLiteral("název je příliš dlouhý");
    case ELOOP:
        return QStringLiteral("cesta vede přes symbolický odkaz");
    case EFBIG:
        return QStringLiteral("soubor je příliš velký");
    case EIO:
        return QStringLiteral("chyba při čtení nebo zápisu na disk");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("soubor právě používá jiný program");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("je otevřeno příliš mnoho souborů");
    case EXDEV:
        return QStringLiteral("soubor nelze přesunout na jiný disk");
    case EINVAL:
        return QStringLiteral("neplatný název nebo operace");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("zařízení není dostupné");
    case EWOULDBLOCK:
        return QStringLiteral("soubor je zamčený jiným programem");
    case ENOMEM:
        return QStringLiteral("nedostatek paměti");
    case 0:
        return QStringLiteral("neznámá chyba");
    default:
        return QStringLiteral("systémová chyba č. %1").arg(error);
    }
}

} // namespace kasovka
