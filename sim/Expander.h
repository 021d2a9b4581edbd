// SPDX-License-Identifier: MIT
#pragma once

#include "sim/Device.h"
#include "sim/FaultPlan.h"
#include "sim/FineTimer.h"
#include "sim/FrameAssembler.h"
#include "sim/Log.h"
#include "sim/Options.h"
#include "sim/Registration.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <array>
#include <deque>

namespace sim {

class PtyPort;

// One simulated expander at run time: its main port and eight extension ports, its registry
// entry, the device behind them, the faults applied to its replies, the speed its main port
// understands and, with pacing, the time each byte takes on the line.
class Expander : public QObject {
    Q_OBJECT
public:
    // An incomplete frame is given up after the line has been quiet this long.
    static constexpr int FrameTimeoutMs = 200;
    // Closing the master throws away what the program has not read yet, so a hang-up waits up to
    // this long for the last reply to be read. The terminal passes written bytes on to the slave
    // a moment later, so it always waits the shorter time first.
    static constexpr int HangupLingerMs = 1000;
    static constexpr int HangupSettleMs = 50;

    // `number` is 0 for a simulator's only device, else 1, 2, ...; device 1 and a sole device
    // have the factory MAC and IP, each further one the next.
    Expander(const Options& options, int number, QObject* parent = nullptr);
    ~Expander() override;

    // Opens the ports and registers the main port.
    bool start(QString* error);
    // Closes the ports and removes the registration; safe to call more than once.
    void stop();
    // What the device does when its power comes back: it forgets whatever was half received or
    // not yet sent, and listens at the main-port baud it has stored.
    void powerCycle();

    QString mainPath() const;
    QString registration() const { return m_registration.path(); }
    QString portPath(int port) const; // port 1..8

Q_SIGNALS:
    // The device hung up by itself (--hangup-after).
    void hungUp();

private:
    struct Arrival {
        Piece piece;
        qint64 dueNs; // on m_clock: when its last byte is through at the line's speed
    };
    struct Outgoing {
        QByteArray reply;
        PlannedReply plan;
    };

    void onMainReceived(const QByteArray& bytes);
    void onFrameTimeout();
    void arrive(const Piece& piece, qint64 firstByteNs);
    void actOnArrivals();
    void handle(const Piece& piece);
    void forward(int port, const QByteArray& data);
    void sendNext();
    void writeStep();
    void hangUp();
    void hangUpWhenRead();
    int lineSpeed() const;

    Options m_options;
    int m_number;
    Log m_log;
    Device m_device;
    FrameAssembler m_assembler;
    FaultPlan m_faults;
    PtyPort* m_main = nullptr;
    std::array<PtyPort*, protocol::frame::PortCount> m_ports{};
    Registration m_registration;
    int m_listeningBaud = 0; // with --main-baud: the only speed understood

    QElapsedTimer m_clock;
    QTimer m_frameTimer;
    qint64 m_partialSinceNs = 0; // when the first byte of the partial frame came
    std::deque<Arrival> m_arrivals;
    FineTimer m_arrivalTimer;
    qint64 m_lineFreeNs = 0; // paced: when the last request acted on was through

    std::deque<Outgoing> m_outgoing; // replies in the order of their requests
    FineTimer m_writeTimer;
    size_t m_step = 0;      // the write of m_outgoing.front() under way or next
    bool m_writing = false; // that write's wait is over and its bytes are going out
    qsizetype m_written = 0;
    qint64 m_writeStartNs = 0;
    int m_writeBaud = 0; // paced write: the line's speed; 0 writes at once

    int m_handled = 0; // well-formed requests so far
    bool m_hangingUp = false;
    QTimer m_lingerTimer;
    QElapsedTimer m_lingering;
};

} // namespace sim
