// SPDX-License-Identifier: MIT
#include "bench/LatencyRun.h"

#include "bench/ProcessStats.h"
#include "platform/fake/PtyPair.h"
#include "shell/Form1.h"

#include <QPlainTextEdit>

namespace bench {

namespace {
constexpr int kOverdueMs = 2000;
}

LatencyRun::LatencyRun(shell::Form1& form, platform::PtyPair& device, QByteArray reply, int count,
                       int pauseMs, QObject* parent)
    : QObject(parent), m_device(device), m_reply(std::move(reply)), m_count(count) {
    m_pause.setSingleShot(true);
    m_pause.setInterval(pauseMs);
    m_pause.setTimerType(Qt::PreciseTimer);
    connect(&m_pause, &QTimer::timeout, this, &LatencyRun::writeNext);
    m_overdue.setSingleShot(true);
    m_overdue.setInterval(kOverdueMs);
    connect(&m_overdue, &QTimer::timeout, this, [this] {
        m_writtenNs = 0;
        Q_EMIT finished(false, QStringLiteral("reply %1 was not shown within %2 ms")
                                   .arg(m_latencies.size() + 1)
                                   .arg(kOverdueMs));
    });
    connect(form.findChild<QPlainTextEdit*>(QStringLiteral("Text1")), &QPlainTextEdit::textChanged, this,
            &LatencyRun::onShown);
}

void LatencyRun::start() {
    m_latencies.clear();
    m_latencies.reserve(std::size_t(m_count));
    m_pause.start();
}

void LatencyRun::writeNext() {
    if (!m_device.write(m_reply)) {
        Q_EMIT finished(false, QStringLiteral("the write on the pty failed"));
        return;
    }
    m_writtenNs = bootTimeNs(); // the last byte is in the line discipline now
    m_overdue.start();
}

void LatencyRun::onShown() {
    if (m_writtenNs == 0)
        return; // a second change for the same reply, or none was sent
    m_latencies.push_back(double(bootTimeNs() - m_writtenNs) / 1e6);
    m_writtenNs = 0;
    m_overdue.stop();
    if (int(m_latencies.size()) == m_count) {
        Q_EMIT finished(true, QString());
        return;
    }
    m_pause.start();
}

} // namespace bench
