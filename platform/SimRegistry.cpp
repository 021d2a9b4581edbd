#include "platform/SimRegistry.h"

#include "platform/RuntimeDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

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

// The process holds the master side of `device`: one of its descriptors is the multiplexer
// /dev/ptmx, and the kernel shows that descriptor's pseudo-terminal number as its tty-index.
bool holdsMasterOf(const QString& process, const QString& device) {
    if (!device.startsWith(kPseudoTerminals))
        return false;
    const QByteArray number = device.mid(kPseudoTerminals.size()).toLatin1();
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
            if (line.startsWith("tty-index:") && line.mid(10).trimmed() == number)
                return true;
        }
    }
    return false;
}

} // namespace

QString SimRegistry::directory() {
    return runtimeDir() + QStringLiteral("/expander-sim");
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
    static const QRegularExpression kName(QStringLiteral("^sim([1-9][0-9]*)(?:-[1-9][0-9]*)?$"));
    QStringList ports;
    const QFileInfoList entries =
        QDir(directory()).entryInfoList({QStringLiteral("sim*")}, QDir::System | QDir::Files, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QRegularExpressionMatch name = kName.match(entry.fileName());
        if (!entry.isSymLink() || !name.hasMatch())
            continue;
        const QString process = QStringLiteral("/proc/") + name.captured(1);
        if (runsSimulator(process) && holdsMasterOf(process, entry.symLinkTarget()))
            ports.append(entry.absoluteFilePath());
    }
    return ports;
}

} // namespace platform
