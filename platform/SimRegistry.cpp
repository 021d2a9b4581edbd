// SPDX-License-Identifier: MIT
#include "platform/SimRegistry.h"

#include "platform/RuntimeDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <tuple>
#include <vector>

namespace platform {

namespace {

const QString kSimulator = QStringLiteral("expander-sim");
const QString kPseudoTerminals = QStringLiteral("/dev/pts/");

// The program a process runs is the simulator. A simulator whose file was rebuilt while it ran
// shows its old file as deleted.
bool runsSimulator(const QString& process) {
    const QString program = QFileInfo(QFileInfo(process + QStringLiteral("/exe")).symLinkTarget()).fileName();
    return program == kSimulator || program == kSimulator + QStringLiteral(" (deleted)");
}

// The pseudo-terminals whose master side the process holds: for each of its descriptors of the
// multiplexer /dev/ptmx the kernel shows the terminal's number as its tty-index.
QSet<QByteArray> mastersHeldBy(const QString& process) {
    QSet<QByteArray> numbers;
    const QFileInfoList descriptors =
        QDir(process + QStringLiteral("/fd"))
            .entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& descriptor : descriptors) {
        if (QFileInfo(descriptor.symLinkTarget()).fileName() != QLatin1String("ptmx"))
            continue;
        QFile info(process + QStringLiteral("/fdinfo/") + descriptor.fileName());
        if (!info.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : info.readAll().split('\n')) {
            if (line.startsWith("tty-index:"))
                numbers.insert(line.mid(10).trimmed());
        }
    }
    return numbers;
}

} // namespace

QString SimRegistry::directory() {
    const QString runtime = runtimeDir();
    if (runtime.isEmpty())
        return {}; // no private folder: nothing is registered, nothing listed
    return runtime + QStringLiteral("/expander-sim");
}

QString SimRegistry::entryName(qint64 pid, int device) {
    QString name = QStringLiteral("sim") + QString::number(pid);
    if (device > 0)
        name += QLatin1Char('-') + QString::number(device);
    return name;
}

// An entry is listed only when its process is alive, runs the simulator's program and holds the
// master side of the very pseudo-terminal the entry points at. A link left by a killed simulator
// fails the first two (its pid is gone or now another program's); a link planted at another
// terminal, the simulator's own standard output included, fails the third, since only the
// program that opened a pseudo-terminal holds its master. No token file is needed, and nothing
// here needs more than reading the user's own /proc entries.
QStringList SimRegistry::ports() {
    static const QRegularExpression kName(QStringLiteral("^sim([1-9][0-9]*)(?:-([1-9][0-9]*))?$"));
    if (directory().isEmpty())
        return {};
    std::vector<std::tuple<qint64, int, QString>> listed; // pid, device, link: in that order
    QHash<QString, QSet<QByteArray>> masters;             // by process, for the entries of several devices
    const QFileInfoList entries =
        QDir(directory()).entryInfoList({QStringLiteral("sim*")}, QDir::System | QDir::Files);
    for (const QFileInfo& entry : entries) {
        const QRegularExpressionMatch name = kName.match(entry.fileName());
        if (!entry.isSymLink() || !name.hasMatch())
            continue;
        const QString process = QStringLiteral("/proc/") + name.captured(1);
        const QString device = entry.symLinkTarget();
        if (!device.startsWith(kPseudoTerminals) || !runsSimulator(process))
            continue;
        if (!masters.contains(process))
            masters.insert(process, mastersHeldBy(process));
        if (masters.value(process).contains(device.mid(kPseudoTerminals.size()).toLatin1()))
            listed.emplace_back(name.captured(1).toLongLong(), name.captured(2).toInt(),
                                entry.absoluteFilePath());
    }
    // Device 10 after device 9, not after device 1.
    std::sort(listed.begin(), listed.end());
    QStringList ports;
    for (const auto& [pid, number, link] : listed)
        ports.append(link);
    return ports;
}

} // namespace platform
