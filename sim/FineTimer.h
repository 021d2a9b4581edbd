// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QSocketNotifier;

namespace sim {

// A single-shot timer on the event loop with nanosecond resolution (a timerfd), for pacing bytes:
// at 115200 baud a byte takes 87 us, and a QTimer's whole milliseconds would add up to a
// millisecond to every step of an exchange.
class FineTimer : public QObject {
    Q_OBJECT
public:
    explicit FineTimer(QObject* parent = nullptr);
    ~FineTimer() override;

    // Fires timeout() once, `ns` from now (at once for 0 or less); a running timer is restarted.
    void start(qint64 ns);
    void stop();
    bool isActive() const { return m_active; }

Q_SIGNALS:
    void timeout();

private:
    void expired();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    bool m_active = false;
};

} // namespace sim
