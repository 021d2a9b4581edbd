// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QSocketNotifier;

namespace sim {

// Turns SIGINT, SIGTERM and SIGUSR1 into a Qt signal on the event loop, through a self-pipe, so
// that the simulator can stop cleanly and take its registration down with it, or power-cycle.
class SignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit SignalWatcher(QObject* parent = nullptr);
    ~SignalWatcher() override;

    // Installs the handlers; false when the pipe could not be made.
    bool install();

Q_SIGNALS:
    void caught(int signalNumber);

private:
    void drain();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace sim
