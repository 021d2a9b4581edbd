// SPDX-License-Identifier: MIT
#include "bench/ProcessStats.h"

#include <QByteArray>
#include <QFile>

#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

namespace bench {

qint64 bootTimeNs() {
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

qint64 clockTickNs() {
    return 1000000000 / ::sysconf(_SC_CLK_TCK);
}

qint64 processStartNs() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The command name in field 2 may hold spaces and parentheses: count from the last ')'.
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    constexpr int startTimeField = 22 - 3; // fields 3.. follow the name
    if (fields.size() <= startTimeField)
        return -1;
    bool ok = false;
    const qint64 ticks = fields[startTimeField].toLongLong(&ok);
    return ok ? ticks * clockTickNs() : -1;
}

qint64 peakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            const QByteArray value = line.mid(6).trimmed(); // "12345 kB"
            return value.left(value.indexOf(' ')).toLongLong();
        }
    }
    return -1;
}

qint64 cpuTimeUs() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto us = [](const timeval& t) { return qint64(t.tv_sec) * 1000000 + t.tv_usec; };
    return us(usage.ru_utime) + us(usage.ru_stime);
}

qint64 voluntarySwitches() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw;
}

} // namespace bench
