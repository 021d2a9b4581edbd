// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

// Starts probe executables one at a time on the offscreen platform, each with a runtime folder
// of the benchmark's own (so the single-instance lock never meets a real copy), and collects
// the key=value pairs the probe prints.
namespace bench {

class ProbeRunner {
public:
    ProbeRunner();

    struct Result {
        QHash<QString, QString> values;
        qint64 spawnNs = 0; // CLOCK_BOOTTIME just before the process was started
        double number(const QString& key) const { return values.value(key).toDouble(); }
    };

    // Runs `program` with `arguments` to its end; nullopt (and `error()` says why) when it
    // fails, times out or prints nothing.
    std::optional<Result> run(const QString& program, const QStringList& arguments = {});
    QString error() const { return m_error; }

private:
    QTemporaryDir m_runtime;
    QProcessEnvironment m_environment;
    QString m_error;
};

} // namespace bench
