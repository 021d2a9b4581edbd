// SPDX-License-Identifier: MIT
#pragma once

#include "sim/Log.h"
#include "sim/Options.h"

#include <QObject>

#include <vector>

namespace sim {

class Expander;

// The running simulator: one expander, or several with --count, and the start-up lines that tell
// a program or a test where their ports are.
class Simulator : public QObject {
    Q_OBJECT
public:
    explicit Simulator(const Options& options, QObject* parent = nullptr);
    ~Simulator() override;

    // Opens every device's ports, registers them and prints the start-up lines on standard output.
    bool start(QString* error);
    // Closes the ports and removes the registrations; safe to call more than once.
    void stop();
    // Ends the run on SIGINT or SIGTERM: logs the signal, then stops.
    void terminate(int signalNumber);
    // SIGUSR1: every device goes through a power cycle.
    void powerCycle();

Q_SIGNALS:
    // Every device hung up by itself (--hangup-after) and the program should end.
    void finished();

private:
    Options m_options;
    Log m_log;
    std::vector<Expander*> m_devices;
    int m_hungUp = 0;
};

} // namespace sim
