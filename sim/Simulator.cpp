#include "sim/Simulator.h"

#include "platform/SimRegistry.h"
#include "sim/Describe.h"
#include "sim/PtyPort.h"

#include <csignal>
#include <cstdio>

namespace sim {

namespace {

void printLine(const QString& text) {
    const QByteArray bytes = (text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

} // namespace

Simulator::Simulator(const Options& options, QObject* parent)
    : QObject(parent), m_options(options), m_log(options.quiet), m_faults(options.faults) {
    m_frameTimer.setSingleShot(true);
    m_frameTimer.setInterval(FrameTimeoutMs);
    connect(&m_frameTimer, &QTimer::timeout, this, &Simulator::onFrameTimeout);
    m_writeTimer.setSingleShot(true);
    connect(&m_writeTimer, &QTimer::timeout, this, &Simulator::writeStep);
    m_lingerTimer.setInterval(10);
    connect(&m_lingerTimer, &QTimer::timeout, this, &Simulator::hangUpWhenRead);
}

Simulator::~Simulator() {
    stop();
}

bool Simulator::start(QString* error) {
    m_main = new PtyPort(this);
    if (!m_main->open(error))
        return false;
    for (auto& port : m_ports) {
        port = new PtyPort(this);
        if (!port->open(error))
            return false;
    }
    m_registration = platform::SimRegistry::add(m_main->devicePath());
    if (m_registration.isEmpty()) {
        *error = QStringLiteral("cannot register %1 in %2")
                     .arg(m_main->devicePath(), platform::SimRegistry::directory());
        return false;
    }

    connect(m_main, &PtyPort::received, this, &Simulator::onMainReceived);
    for (size_t i = 0; i < m_ports.size(); ++i) {
        // The extension ports only put data out; what a program writes into one is read and
        // discarded so that it cannot fill the terminal.
        connect(m_ports[i], &PtyPort::received, this, [this, i](const QByteArray& bytes) {
            m_log.note(QStringLiteral("port %1 received %2 bytes, discarded").arg(i + 1).arg(bytes.size()));
        });
    }

    printLine(m_main->devicePath());
    printLine(QStringLiteral("registered: ") + m_registration);
    for (size_t i = 0; i < m_ports.size(); ++i)
        printLine(QStringLiteral("port %1: %2").arg(i + 1).arg(m_ports[i]->devicePath()));
    printLine(QStringLiteral("ready"));

    m_log.note(QStringLiteral("main port %1, registered as %2").arg(m_main->devicePath(), m_registration));
    if (m_options.faults.randomSeed)
        m_log.note(QStringLiteral("random faults, seed %1").arg(*m_options.faults.randomSeed));
    return true;
}

void Simulator::stop() {
    m_frameTimer.stop();
    m_writeTimer.stop();
    m_lingerTimer.stop();
    if (m_main)
        m_main->close();
    for (PtyPort* port : m_ports)
        if (port)
            port->close();
    if (!m_registration.isEmpty()) {
        platform::SimRegistry::remove(m_registration);
        m_registration.clear();
    }
}

void Simulator::terminate(int signalNumber) {
    m_log.note(QStringLiteral("%1 received, stopping")
                   .arg(signalNumber == SIGINT ? QStringLiteral("SIGINT") : QStringLiteral("SIGTERM")));
    stop();
}

void Simulator::onMainReceived(const QByteArray& bytes) {
    for (const Piece& piece : m_assembler.feed(bytes)) {
        if (m_hangingUp)
            break;
        handle(piece);
    }
    // Measured from the last read, so a frame that trickles in is not cut short.
    if (m_assembler.pending() && !m_hangingUp)
        m_frameTimer.start();
    else
        m_frameTimer.stop();
}

void Simulator::onFrameTimeout() {
    for (const Piece& piece : m_assembler.expire())
        handle(piece);
}

void Simulator::handle(const Piece& piece) {
    switch (piece.kind) {
    case Piece::Kind::Junk:
        m_log.received(piece.bytes,
                       QStringLiteral("junk: %1 bytes before a start byte, skipped").arg(piece.bytes.size()));
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

void Simulator::forward(int port, const QByteArray& data) {
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

void Simulator::sendNext() {
    // One reply at a time: a delayed or split reply holds back the ones after it, so replies
    // never overtake or interleave.
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
        m_writeTimer.start(front.plan.writes[m_step].waitMs);
    }
}

void Simulator::writeStep() {
    if (m_outgoing.empty())
        return;
    Outgoing& front = m_outgoing.front();
    const QByteArray& bytes = front.plan.writes[m_step].bytes;
    // The whole of a reply is logged at its first write; the tag says how it went out.
    if (m_step == 0)
        m_log.sent(front.plan.wire(), describe::reply(front.reply), front.plan.tag);
    const qsizetype written = m_main->write(bytes);
    if (written < bytes.size())
        m_log.note(QStringLiteral("main port is full: %1 of %2 bytes not written")
                       .arg(bytes.size() - written)
                       .arg(bytes.size()));
    if (++m_step == front.plan.writes.size()) {
        m_outgoing.pop_front();
        m_step = 0;
    }
    sendNext();
}

void Simulator::hangUp() {
    if (m_lingerTimer.isActive())
        return;
    m_lingering.start();
    m_lingerTimer.start();
}

void Simulator::hangUpWhenRead() {
    const qint64 elapsed = m_lingering.elapsed();
    if (elapsed < HangupSettleMs || (m_main->unread() > 0 && elapsed < HangupLingerMs))
        return;
    m_log.note(QStringLiteral("hanging up after %1 requests").arg(m_handled));
    stop();
    Q_EMIT finished();
}

} // namespace sim
