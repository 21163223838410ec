#include "host/HostTableMessages.h"

#include "host/HostTableError.h"

namespace kasovka {

QString tableOpenFailedText(const QString &path)
{
    return HostTableError::tableUnusable(path).text();
}

QString tableOpenFailedText(const QString &path, const TBFTable &table)
{
    return HostTableError::openFailed(path, table).text();
}

QString tableIndexFailedText(const QString &path)
{
    return HostTableError::indexUnusable(path).text();
}

} // namespace kasovka
