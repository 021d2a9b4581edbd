// SPDX-License-Identifier: MIT
#include "bench/ProbeRunner.h"

#include "bench/ProcessStats.h"

#include <QProcess>
#include <QRegularExpression>

namespace bench {

namespace {
constexpr int kTimeoutMs = 60000;
}

ProbeRunner::ProbeRunner() : m_environment(QProcessEnvironment::systemEnvironment()) {
    m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("qt.qpa.*=false"));
    m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
}

std::optional<ProbeRunner::Result> ProbeRunner::run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessEnvironment(m_environment);
    process.setProcessChannelMode(QProcess::SeparateChannels); // its warnings only matter when it fails
    Result result;
    result.spawnNs = bootTimeNs();
    process.start(program, arguments);
    if (!process.waitForFinished(kTimeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        m_error = QStringLiteral("%1 %2: %3 (exit code %4)\n%5")
                      .arg(program, arguments.join(QLatin1Char(' ')), process.errorString())
                      .arg(process.exitCode())
                      .arg(QString::fromLocal8Bit(process.readAllStandardError()));
        process.kill();
        process.waitForFinished(1000);
        return std::nullopt;
    }
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
    for (const QString& pair : output.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.indexOf(QLatin1Char('='));
        if (equals > 0)
            result.values.insert(pair.left(equals), pair.mid(equals + 1));
    }
    if (result.values.isEmpty()) {
        m_error = QStringLiteral("%1 printed nothing").arg(program);
        return std::nullopt;
    }
    return result;
}

} // namespace bench
