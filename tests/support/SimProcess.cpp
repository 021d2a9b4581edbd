// SPDX-License-Identifier: MIT
#include "SimProcess.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

#include <algorithm>
#include <csignal>

namespace testing {

SimProcess::SimProcess(const QString& program, const QStringList& arguments, const QString& runtimeDir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    m_process.setProcessEnvironment(env);
    m_process.start(program, arguments);
    QDeadlineTimer deadline(5000);
    QByteArray out;
    while (!out.contains("ready\n") && !deadline.hasExpired() && m_process.state() != QProcess::NotRunning) {
        m_process.waitForReadyRead(100);
        out += m_process.readAllStandardOutput();
    }
    m_process.setReadChannel(QProcess::StandardError); // from here on, output is the log
    // One device: "<path>", "registered: <link>", "port P: <path>". Several: "device K: <path>",
    // "registered K: <link>", "device K port P: <path>".
    static const QRegularExpression kLine(
        QStringLiteral("^(registered|device|) ?(\\d*) ?(?:port ([1-8]))?: (.*)$"));
    const QStringList lines = QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QRegularExpressionMatch m = kLine.match(line);
        if (!m.hasMatch() && line != lines.first())
            continue;
        const size_t k = m.captured(2).isEmpty() ? 1 : size_t(std::clamp(m.captured(2).toInt(), 1, 64));
        m_devices.resize(std::max(m_devices.size(), k));
        Paths& device = m_devices[k - 1];
        if (m.captured(1) == QLatin1String("registered"))
            device.registered = m.captured(4);
        else if (m.hasMatch() && !m.captured(3).isEmpty())
            device.ports[size_t(m.captured(3).toInt() - 1)] = m.captured(4);
        else
            device.main = m.hasMatch() ? m.captured(4) : line;
    }
    m_ready = lines.contains(QStringLiteral("ready")) && !m_devices.empty() &&
              std::all_of(m_devices.begin(), m_devices.end(),
                          [](const Paths& p) { return !p.main.isEmpty() && !p.registered.isEmpty(); });
}

const SimProcess::Paths& SimProcess::paths(int device) const {
    static const Paths kNone;
    return device >= 1 && device <= deviceCount() ? m_devices[size_t(device - 1)] : kNone;
}

QString SimProcess::log() {
    return m_log += QString::fromUtf8(m_process.readAllStandardError());
}

bool SimProcess::waitForLog(const QString& text, qsizetype times, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (log().count(text) < times) {
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
            return false;
        m_process.waitForReadyRead(int(std::min<qint64>(50, deadline.remainingTime())));
    }
    return true;
}

bool SimProcess::powerCycle() {
    const qsizetype before = log().count(QStringLiteral("power cycle"));
    ::kill(pid_t(m_process.processId()), SIGUSR1);
    return waitForLog(QStringLiteral("power cycle"), before + deviceCount());
}

void SimProcess::stop() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    ::kill(pid_t(m_process.processId()), SIGTERM);
    if (!m_process.waitForFinished(3000))
        kill();
}

void SimProcess::kill() {
    m_process.kill();
    m_process.waitForFinished(3000);
}

} // namespace testing
