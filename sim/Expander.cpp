// SPDX-License-Identifier: MIT
#include "sim/Expander.h"

#include "sim/Describe.h"
#include "sim/PtyPort.h"
#include "sim/Wire.h"

#include <algorithm>

namespace sim {

namespace {

// Bytes at a speed the device does not listen at are logged with at most this many shown.
constexpr int kShownBytes = 16;

constexpr qint64 kNsPerMs = 1'000'000;

DeviceSetup setupOf(const Options& options, int number) {
    DeviceSetup setup;
    setup.index = std::max(0, number - 1);
    if (options.mainBaud > 0)
        setup.mainBaudCode = quint8(options.mainBaud / 1200);
    setup.stuckPort = options.stuckPort;
    return setup;
}

} // namespace

Expander::Expander(const Options& options, int number, QObject* parent)
    : QObject(parent), m_options(options), m_number(number),
      m_log(options.quiet, number > 0 ? QStringLiteral("device %1").arg(number) : QString()),
      m_device(setupOf(options, number)), m_faults(options.faults), m_listeningBaud(options.mainBaud) {
    m_clock.start();
    m_frameTimer.setSingleShot(true);
    m_frameTimer.setInterval(FrameTimeoutMs);
    connect(&m_frameTimer, &QTimer::timeout, this, &Expander::onFrameTimeout);
    connect(&m_arrivalTimer, &FineTimer::timeout, this, &Expander::actOnArrivals);
    connect(&m_writeTimer, &FineTimer::timeout, this, &Expander::writeStep);
    m_lingerTimer.setInterval(10);
    connect(&m_lingerTimer, &QTimer::timeout, this, &Expander::hangUpWhenRead);
}

Expander::~Expander() {
    stop();
}

QString Expander::mainPath() const {
    return m_main ? m_main->devicePath() : QString();
}

QString Expander::portPath(int port) const {
    const PtyPort* pty = m_ports.at(size_t(port - 1));
    return pty ? pty->devicePath() : QString();
}

bool Expander::start(QString* error) {
    m_main = new PtyPort(this);
    if (!m_main->open(error))
        return false;
    for (auto& port : m_ports) {
        port = new PtyPort(this);
        if (!port->open(error))
            return false;
    }
    if (!m_registration.add(m_main->devicePath(), m_number, error))
        return false;

    connect(m_main, &PtyPort::received, this, &Expander::onMainReceived);
    for (size_t i = 0; i < m_ports.size(); ++i) {
        // The extension ports only put data out; what a program writes into one is read and
        // discarded so that it cannot fill the terminal.
        connect(m_ports[i], &PtyPort::received, this, [this, i](const QByteArray& bytes) {
            m_log.note(QStringLiteral("port %1 received %2 bytes, discarded").arg(i + 1).arg(bytes.size()));
        });
    }
    m_log.note(QStringLiteral("main port %1, registered as %2").arg(m_main->devicePath(), registration()));
    if (m_options.mainBaud > 0)
        m_log.note(QStringLiteral("listening at %1 baud only").arg(m_listeningBaud));
    return true;
}

void Expander::stop() {
    m_frameTimer.stop();
    m_arrivalTimer.stop();
    m_writeTimer.stop();
    m_lingerTimer.stop();
    if (m_main)
        m_main->close();
    for (PtyPort* port : m_ports)
        if (port)
            port->close();
    m_registration.remove();
}

void Expander::powerCycle() {
    if (!m_main || !m_main->isOpen() || m_hangingUp)
        return;
    // Bytes the program wrote before the power went are lost with it, also those not read yet.
    qint64 dropped = m_main->discardInput();
    for (const Piece& piece : m_assembler.expire())
        dropped += piece.length;
    for (const Arrival& arrival : m_arrivals)
        dropped += arrival.piece.length;
    m_arrivals.clear();
    m_arrivalTimer.stop();
    m_frameTimer.stop();
    m_lineFreeNs = 0;
    const size_t unsent = m_outgoing.size();
    m_outgoing.clear();
    m_writeTimer.stop();
    m_step = 0;
    m_writing = false;
    m_written = 0;
    QString state;
    if (m_options.mainBaud > 0) {
        m_listeningBaud = m_device.ports().mainBaudCode * 1200;
        state = QStringLiteral("listening at %1 baud").arg(m_listeningBaud);
    } else {
        state = QStringLiteral("answering at any speed");
    }
    m_log.note(QStringLiteral("power cycle: %1 bytes half received and %2 replies unsent dropped, %3")
                   .arg(dropped)
                   .arg(unsent)
                   .arg(state));
}

int Expander::lineSpeed() const {
    return m_main ? m_main->speed().value_or(0) : 0;
}

void Expander::onMainReceived(const QByteArray& bytes) {
    // A stored code of 0 leaves the device deaf, as it would a real one; it does not mean any speed.
    if (m_options.mainBaud > 0) {
        const int speed = lineSpeed();
        if (speed != m_listeningBaud) {
            // A UART at another speed makes nothing of the bits: no frame, no reply.
            m_log.received(bytes.left(kShownBytes),
                           QStringLiteral("%1 bytes at %2 baud, listening at %3: not understood")
                               .arg(bytes.size())
                               .arg(speed)
                               .arg(m_listeningBaud));
            return;
        }
    }
    const qint64 now = m_clock.nsecsElapsed();
    const bool continued = m_assembler.partial();
    bool completedPartial = false;
    for (const Piece& piece : m_assembler.feed(bytes)) {
        // Only the first frame of a read can have begun in an earlier one.
        const bool began = continued && !completedPartial && piece.kind == Piece::Kind::Frame;
        arrive(piece, began ? m_partialSinceNs : now);
        completedPartial = completedPartial || piece.kind == Piece::Kind::Frame;
    }
    if (m_assembler.partial() && (!continued || completedPartial))
        m_partialSinceNs = now;
    // Measured from the last read, so a frame that trickles in is not cut short.
    if (m_assembler.pending() && !m_hangingUp)
        m_frameTimer.start();
    else
        m_frameTimer.stop();
    actOnArrivals();
}

void Expander::onFrameTimeout() {
    const qint64 now = m_clock.nsecsElapsed();
    for (const Piece& piece : m_assembler.expire())
        arrive(piece, now);
    actOnArrivals();
}

void Expander::arrive(const Piece& piece, qint64 firstByteNs) {
    qint64 due = firstByteNs;
    const int baud = m_options.pace && piece.kind == Piece::Kind::Frame ? lineSpeed() : 0;
    if (baud > 0) {
        // Back to back, a request's first byte can only follow the previous request's last.
        due = std::max(firstByteNs, m_lineFreeNs) + wire::durationNs(piece.bytes.size(), baud);
        m_lineFreeNs = due;
    }
    m_arrivals.push_back({piece, due});
}

void Expander::actOnArrivals() {
    while (!m_arrivals.empty() && !m_hangingUp) {
        const qint64 wait = m_arrivals.front().dueNs - m_clock.nsecsElapsed();
        if (wait > 0) {
            m_arrivalTimer.start(wait);
            return;
        }
        const Piece piece = std::move(m_arrivals.front().piece);
        m_arrivals.pop_front();
        handle(piece);
    }
    if (m_hangingUp)
        m_arrivals.clear();
}

void Expander::handle(const Piece& piece) {
    switch (piece.kind) {
    case Piece::Kind::Junk:
        m_log.received(piece.bytes,
                       piece.length > piece.bytes.size()
                           ? QStringLiteral("junk: %1 bytes before a start byte (first %2 shown), skipped")
                                 .arg(piece.length)
                                 .arg(piece.bytes.size())
                           : QStringLiteral("junk: %1 bytes before a start byte, skipped").arg(piece.length));
        return;
    case Piece::Kind::Incomplete:
        if (piece.expected > 0)
            m_log.received(piece.bytes,
                           QStringLiteral("incomplete: %1 of %2 bytes after %3 ms, dropped, no reply")
                               .arg(piece.bytes.size())
                               .arg(piece.expected)
                               .arg(FrameTimeoutMs));
        else
            m_log.received(piece.bytes,
                           QStringLiteral("incomplete: no length byte after %1 ms, dropped, no reply")
                               .arg(FrameTimeoutMs));
        return;
    case Piece::Kind::Frame:
        break;
    }

    const Outcome outcome = m_device.handle(piece.bytes);
    if (!outcome.accepted()) {
        m_log.received(piece.bytes, QStringLiteral("rejected: %1, no reply").arg(outcome.rejection));
        return;
    }
    m_log.received(piece.bytes, outcome.request);
    if (outcome.forwardPort > 0)
        forward(outcome.forwardPort, outcome.forwardData);
    if (!outcome.reply.isEmpty()) {
        m_outgoing.push_back({outcome.reply, m_faults.next(outcome.reply)});
        sendNext();
    }
    ++m_handled;
    if (m_options.hangupAfter > 0 && m_handled >= m_options.hangupAfter) {
        m_hangingUp = true;
        m_main->setReading(false);
        m_frameTimer.stop();
        sendNext();
    }
}

void Expander::forward(int port, const QByteArray& data) {
    if (data.isEmpty())
        return;
    PtyPort* target = m_ports[size_t(port - 1)];
    const qsizetype written = target->write(data);
    if (written < data.size())
        m_log.note(QStringLiteral("port %1 is full: %2 of %3 bytes not written")
                       .arg(port)
                       .arg(data.size() - written)
                       .arg(data.size()));
}

void Expander::sendNext() {
    // One reply at a time: a delayed, split or paced reply holds back the ones after it, so
    // replies never overtake or interleave.
    while (!m_writeTimer.isActive()) {
        if (m_outgoing.empty()) {
            if (m_hangingUp)
                hangUp();
            return;
        }
        const Outgoing& front = m_outgoing.front();
        if (front.plan.dropped()) {
            m_log.sent(front.reply, describe::reply(front.reply), front.plan.tag);
            m_outgoing.pop_front();
            continue;
        }
        m_writeTimer.start(front.plan.writes[m_step].waitMs * kNsPerMs);
    }
}

void Expander::writeStep() {
    if (m_outgoing.empty())
        return;
    Outgoing& front = m_outgoing.front();
    const QByteArray& bytes = front.plan.writes[m_step].bytes;
    if (!m_writing) {
        // The whole of a reply is logged at its first write; the tag says how it went out.
        if (m_step == 0)
            m_log.sent(front.plan.wire(), describe::reply(front.reply), front.plan.tag);
        m_writing = true;
        m_written = 0;
        m_writeStartNs = m_clock.nsecsElapsed();
        m_writeBaud = m_options.pace ? lineSpeed() : 0;
    }
    const qint64 elapsed = m_clock.nsecsElapsed() - m_writeStartNs;
    const qsizetype due = m_writeBaud > 0
                              ? qsizetype(std::min<qint64>(bytes.size(), wire::bytesIn(elapsed, m_writeBaud)))
                              : bytes.size();
    if (due > m_written) {
        const qsizetype written = m_main->write(bytes.mid(m_written, due - m_written));
        if (written < due - m_written)
            m_log.note(QStringLiteral("main port is full: %1 of %2 bytes not written")
                           .arg(due - m_written - written)
                           .arg(due - m_written));
        m_written = due;
    }
    if (m_written < bytes.size()) {
        // The next byte leaves once its ten bits have had their time.
        m_writeTimer.start(wire::durationNs(m_written + 1, m_writeBaud) - elapsed);
        return;
    }
    m_writing = false;
    if (++m_step == front.plan.writes.size()) {
        m_outgoing.pop_front();
        m_step = 0;
    }
    sendNext();
}

void Expander::hangUp() {
    if (m_lingerTimer.isActive())
        return;
    m_lingering.start();
    m_lingerTimer.start();
}

void Expander::hangUpWhenRead() {
    const qint64 elapsed = m_lingering.elapsed();
    if (elapsed < HangupSettleMs || (m_main->unread() > 0 && elapsed < HangupLingerMs))
        return;
    m_log.note(QStringLiteral("hanging up after %1 requests").arg(m_handled));
    stop();
    Q_EMIT hungUp();
}

} // namespace sim
