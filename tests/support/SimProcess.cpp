#include "SimProcess.h"

#include <QElapsedTimer>

#include <csignal>

namespace testing {

SimProcess::SimProcess(const QString& program, const QStringList& arguments, const QString& runtimeDir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    m_process.setProcessEnvironment(env);
    m_process.start(program, arguments);
    if (!m_process.waitForStarted(5000))
        return;
    QElapsedTimer clock;
    clock.start();
    QByteArray out;
    while (!out.contains("ready\n") && clock.elapsed() < 5000 && m_process.state() == QProcess::Running) {
        m_process.waitForReadyRead(100);
        out += m_process.readAllStandardOutput();
    }
    const QStringList lines = QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.isEmpty() || !lines.contains(QStringLiteral("ready")))
        return;
    m_device = lines.first();
    for (const QString& line : lines) {
        if (line.startsWith(QStringLiteral("registered: ")))
            m_registered = line.mid(12);
        for (int n = 1; n <= 8; ++n)
            if (line.startsWith(QStringLiteral("port %1: ").arg(n)))
                m_ports[n - 1] = line.mid(8);
    }
    m_ready = !m_registered.isEmpty();
}

SimProcess::~SimProcess() {
    stop();
}

QString SimProcess::log() {
    m_log += QString::fromUtf8(m_process.readAllStandardError());
    return m_log;
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

} // namespace testing

namespace testing {

void SimProcess::kill() {
    m_process.kill();
    m_process.waitForFinished(3000);
}

} // namespace testing
