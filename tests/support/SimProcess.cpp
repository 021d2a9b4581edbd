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
    if (!m_process.waitForStarted(5000))
        return;
    QDeadlineTimer deadline(5000);
    QByteArray out;
    while (!out.contains("ready\n") && !deadline.hasExpired() && m_process.state() == QProcess::Running) {
        m_process.waitForReadyRead(100);
        out += m_process.readAllStandardOutput();
    }
    // From here on a wait for output is a wait for the log.
    m_process.setReadChannel(QProcess::StandardError);
    const QStringList lines = QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (!lines.contains(QStringLiteral("ready")))
        return;
    // One device: "<path>", "registered: <link>", "port P: <path>". Several: "device K: <path>",
    // "registered K: <link>", "device K port P: <path>".
    static const QRegularExpression kMain(QStringLiteral("^device (\\d+): (.*)$"));
    static const QRegularExpression kRegistered(QStringLiteral("^registered(?: (\\d+))?: (.*)$"));
    static const QRegularExpression kPort(QStringLiteral("^(?:device (\\d+) )?port ([1-8]): (.*)$"));
    const auto device = [this](const QString& number) -> Paths& {
        const size_t k = number.isEmpty() ? 1 : size_t(std::clamp(number.toInt(), 1, 64));
        if (m_devices.size() < k)
            m_devices.resize(k);
        return m_devices[k - 1];
    };
    for (const QString& line : lines) {
        QRegularExpressionMatch match;
        if ((match = kRegistered.match(line)).hasMatch())
            device(match.captured(1)).registered = match.captured(2);
        else if ((match = kPort.match(line)).hasMatch())
            device(match.captured(1)).ports[size_t(match.captured(2).toInt() - 1)] = match.captured(3);
        else if ((match = kMain.match(line)).hasMatch())
            device(match.captured(1)).main = match.captured(2);
        else if (line == lines.first())
            device({}).main = line;
    }
    m_ready = !m_devices.empty() && std::all_of(m_devices.begin(), m_devices.end(), [](const Paths& paths) {
        return !paths.main.isEmpty() && !paths.registered.isEmpty();
    });
}

SimProcess::~SimProcess() {
    stop();
}

const SimProcess::Paths& SimProcess::paths(int device) const {
    static const Paths kNone;
    return device >= 1 && device <= deviceCount() ? m_devices[size_t(device - 1)] : kNone;
}

QString SimProcess::log() {
    m_log += QString::fromUtf8(m_process.readAllStandardError());
    return m_log;
}

bool SimProcess::waitForLog(const QString& text, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!log().contains(text)) {
        if (deadline.hasExpired() || !isRunning())
            return false;
        m_process.waitForReadyRead(int(std::min<qint64>(50, deadline.remainingTime())));
    }
    return true;
}

bool SimProcess::powerCycle() {
    const qsizetype before = log().count(QStringLiteral("power cycle"));
    ::kill(pid_t(m_process.processId()), SIGUSR1);
    QDeadlineTimer deadline(5000);
    while (log().count(QStringLiteral("power cycle")) < before + deviceCount()) {
        if (deadline.hasExpired() || !isRunning())
            return false;
        m_process.waitForReadyRead(50);
    }
    return true;
}

void SimProcess::stop() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    ::kill(pid_t(m_process.processId()), SIGTERM);
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

void SimProcess::kill() {
    m_process.kill();
    m_process.waitForFinished(3000);
}

} // namespace testing
