#pragma once

#include "sim/Device.h"
#include "sim/FaultPlan.h"
#include "sim/FrameAssembler.h"
#include "sim/Log.h"
#include "sim/Options.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <array>
#include <deque>

namespace sim {

class PtyPort;

// The running simulator: the main port and the eight extension ports, the device behind them,
// the faults applied to its replies and the registration that lets the program find the port.
class Simulator : public QObject {
    Q_OBJECT
public:
    // An incomplete frame is given up after the line has been quiet this long.
    static constexpr int FrameTimeoutMs = 200;
    // Closing the master throws away what the program has not read yet, so a hang-up waits up to
    // this long for the last reply to be read. The terminal passes written bytes on to the slave
    // a moment later, so it always waits the shorter time first.
    static constexpr int HangupLingerMs = 1000;
    static constexpr int HangupSettleMs = 50;

    explicit Simulator(const Options& options, QObject* parent = nullptr);
    ~Simulator() override;

    // Opens the ports, registers the main port and prints the start-up lines on standard output.
    bool start(QString* error);
    // Closes the ports and removes the registration; safe to call more than once.
    void stop();
    // Ends the run on SIGINT or SIGTERM: logs the signal, then stops.
    void terminate(int signalNumber);

Q_SIGNALS:
    // The simulator hung up by itself (--hangup-after) and wants the program to end.
    void finished();

private:
    struct Outgoing {
        QByteArray reply;
        PlannedReply plan;
    };

    void onMainReceived(const QByteArray& bytes);
    void onFrameTimeout();
    void handle(const Piece& piece);
    void forward(int port, const QByteArray& data);
    void sendNext();
    void writeStep();
    void hangUp();
    void hangUpWhenRead();

    Options m_options;
    Log m_log;
    Device m_device;
    FrameAssembler m_assembler;
    FaultPlan m_faults;
    PtyPort* m_main = nullptr;
    std::array<PtyPort*, protocol::frame::PortCount> m_ports{};
    QString m_registration;
    QTimer m_frameTimer;
    QTimer m_writeTimer;
    std::deque<Outgoing> m_outgoing; // replies in the order of their requests
    size_t m_step = 0;               // the next write of m_outgoing.front()
    int m_handled = 0;               // well-formed requests so far
    bool m_hangingUp = false;
    QTimer m_lingerTimer;
    QElapsedTimer m_lingering;
};

} // namespace sim
