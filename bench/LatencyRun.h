// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <vector>

namespace shell {
class Form1;
}
namespace platform {
class PtyPair;
}

// Writes one reply at a time on the device side and measures how long the main window takes to
// show it in the command line: from the write of its last byte to the change of Text1, the
// 50 ms quiet time included.
namespace bench {

class LatencyRun final : public QObject {
    Q_OBJECT
public:
    LatencyRun(shell::Form1& form, platform::PtyPair& device, QByteArray reply, int count, int pauseMs,
               QObject* parent = nullptr);

    void start();
    // One latency per reply shown, in milliseconds.
    const std::vector<double>& latenciesMs() const { return m_latencies; }

Q_SIGNALS:
    // All replies were shown (ok), or one never was (`why`).
    void finished(bool ok, const QString& why);

private:
    void writeNext();
    void onShown();

    platform::PtyPair& m_device;
    QByteArray m_reply;
    int m_count;
    QTimer m_pause;
    QTimer m_overdue;
    qint64 m_writtenNs = 0; // 0 while no reply is on its way
    std::vector<double> m_latencies;
};

} // namespace bench
