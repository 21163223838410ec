#pragma once
// Resident memory of the benchmark process, from /proc/self/status.

#include <QByteArray>
#include <QFile>

namespace kasovka::bench {

// A /proc/self/status figure in MB (VmHWM: peak resident set, VmRSS: now);
// 0 where the file is missing.
inline double statusMegabytes(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qsizetype(qstrlen(key))).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// Starts the peak (VmHWM) afresh, so that it measures what follows.
inline void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace kasovka::bench
