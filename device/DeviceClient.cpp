// SPDX-License-Identifier: MIT
#include "device/DeviceClient.h"

#include "protocol/ReplyDecoder.h"

namespace device {

using Kind = DeviceFault::Kind;
using ChunkKind = FrameReader::Chunk::Kind;

namespace {

// How bad an answer is, for keeping the worst one of several attempts.
int severity(Kind kind) {
    switch (kind) {
    case Kind::Malformed:
        return 2;
    case Kind::UnexpectedReply:
        return 1;
    case Kind::NoAnswer:
    case Kind::PortLost:
    case Kind::PortNotOpen:
        break;
    }
    return 0;
}

} // namespace

DeviceClient::DeviceClient(platform::SerialControl& serial, QObject* parent)
    : QObject(parent), m_serial(serial), m_timing(Timing::forBaud(platform::LineSettings{}.baud)) {
    m_answerTimer.setSingleShot(true);
    m_answerTimer.setTimerType(Qt::PreciseTimer);
    m_gapTimer.setSingleShot(true);
    m_gapTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_answerTimer, &QTimer::timeout, this, &DeviceClient::onAnswerTimeout);
    connect(&m_gapTimer, &QTimer::timeout, this, &DeviceClient::onGapTimeout);
    connect(&m_serial, &platform::SerialControl::readyRead, this, &DeviceClient::onReadyRead);
    connect(&m_serial, &platform::SerialControl::errorOccurred, this, &DeviceClient::onError);
}

DeviceClient::~DeviceClient() {
    // Results still owed are dropped: their callbacks may point into objects being torn down too.
    m_queue.clear();
    m_serial.close();
}

platform::OpenResult DeviceClient::open(const QString& portName, const platform::LineSettings& settings) {
    close();
    const platform::OpenResult result = m_serial.open(portName, settings);
    if (result) {
        m_timing = m_pinned.value_or(Timing::forBaud(settings.baud));
        m_baud = settings.baud;
        m_owed.clear();
    }
    return result;
}

void DeviceClient::close() {
    m_serial.close();
    failAll(Kind::PortNotOpen);
}

void DeviceClient::setTiming(const Timing& timing) {
    m_pinned = timing;
    m_timing = timing;
}

void DeviceClient::send(const Request& request, QObject* context, Callback callback) {
    enqueue({request, context, context != nullptr, std::move(callback)});
}

void DeviceClient::send(const Request& request, QObject* context, SentCallback callback) {
    enqueue({request, context, context != nullptr, std::move(callback)});
}

void DeviceClient::enqueue(Pending pending) {
    if (!m_serial.isOpen()) {
        QTimer::singleShot(0, this, [pending = std::move(pending)] {
            deliver(pending, DeviceFault{Kind::PortNotOpen, {}, {}, 0});
        });
        return;
    }
    m_queue.push_back(std::move(pending));
    sendNext();
}

void DeviceClient::sendNext() {
    if (m_inFlight || m_queue.empty())
        return;
    m_inFlight = true;
    attempt();
}

void DeviceClient::attempt() {
    drain();
    Pending& pending = m_queue.front();
    ++pending.attempts;
    if (m_serial.write(pending.request.bytes) != pending.request.bytes.size()) {
        lose(); // a write that fails on an open port: the port is going away
        return;
    }
    Q_EMIT traffic(Traffic::Sent, pending.request.bytes);
    m_extended = false;
    if (pending.request.expects)
        ++m_owed[pending.request.expects->code];
    // A forward is done once its bytes have left the line: closing the port sooner puts the old
    // speed back (QSerialPort does on close) under bytes the driver is still sending.
    m_answerTimer.start(pending.request.expects ? m_timing.answerMs
                                                : Timing::sentMs(int(pending.request.bytes.size()), m_baud));
}

void DeviceClient::drain() {
    // Whatever came before the write cannot answer it, however it looks.
    m_gapTimer.stop();
    const QByteArray waiting = m_serial.readAll();
    for (const FrameReader::Chunk& chunk : m_reader.feed(waiting))
        stray(chunk);
    const QByteArray held = m_reader.take();
    if (!held.isEmpty())
        Q_EMIT traffic(Traffic::Stray, held);
}

void DeviceClient::onReadyRead() {
    const QByteArray bytes = m_serial.readAll();
    if (!bytes.isEmpty())
        process(m_reader.feed(bytes));
}

void DeviceClient::onGapTimeout() {
    process(m_reader.expire());
}

void DeviceClient::onAnswerTimeout() {
    if (!m_inFlight)
        return;
    const Pending& pending = m_queue.front();
    if (!pending.request.expects) {
        finish(protocol::Reply{}); // delivered as Done
        return;
    }
    const Expectation expected = *pending.request.expects;
    if (m_reader.pending() && !m_extended) {
        m_extended = true; // a reply under way: the time it needs, and no more
        m_answerTimer.start(m_timing.gapMs + Timing::wireMs(expected.size, m_baud));
        return;
    }
    m_gapTimer.stop();
    const QByteArray partial = m_reader.take();
    if (partial.isEmpty()) {
        Q_EMIT traffic(Traffic::NoAnswer, pending.request.bytes);
        conclude(DeviceFault{Kind::NoAnswer, {}, expected, pending.attempts});
    } else {
        Q_EMIT traffic(Traffic::Malformed, partial);
        conclude(DeviceFault{Kind::Malformed, partial, expected, pending.attempts});
    }
}

void DeviceClient::process(const std::vector<FrameReader::Chunk>& chunks) {
    const bool awaiting = m_inFlight && m_queue.front().request.expects.has_value();
    std::optional<Outcome> verdict;
    for (const FrameReader::Chunk& chunk : chunks) {
        if (!awaiting || (verdict && verdict->ok())) {
            stray(chunk);
        } else if (chunk.kind == ChunkKind::Skipped) {
            Q_EMIT traffic(Traffic::Skipped, chunk.bytes);
        } else if (chunk.kind == ChunkKind::Frame) {
            std::optional<Outcome> judged = judge(chunk.bytes);
            if (judged && (judged->ok() || !verdict))
                verdict = std::move(judged);
        } else {
            Q_EMIT traffic(Traffic::Malformed, chunk.bytes);
            const Pending& pending = m_queue.front();
            if (!verdict)
                verdict =
                    DeviceFault{Kind::Malformed, chunk.bytes, *pending.request.expects, pending.attempts};
        }
    }
    if (m_reader.pending())
        m_gapTimer.start(m_timing.gapMs);
    else
        m_gapTimer.stop();
    if (!verdict)
        return;
    if (verdict->ok())
        finish(*verdict);
    else if (m_reader.pending()) // a frame under way may still be the answer
        note(verdict->fault());
    else
        conclude(verdict->fault());
}

void DeviceClient::stray(const FrameReader::Chunk& chunk) {
    if (chunk.kind == ChunkKind::Frame)
        late(chunk.bytes);
    Q_EMIT traffic(chunk.kind == ChunkKind::Skipped ? Traffic::Skipped : Traffic::Stray, chunk.bytes);
}

bool DeviceClient::late(const QByteArray& frame) {
    const auto owed = m_owed.find(quint8(frame.at(2)));
    if (owed == m_owed.end() || owed->second == 0)
        return false;
    --owed->second;
    return true;
}

std::optional<DeviceClient::Outcome> DeviceClient::judge(const QByteArray& frame) {
    const Pending& pending = m_queue.front();
    const Expectation& expected = *pending.request.expects;
    if (quint8(frame.at(2)) != expected.code) {
        if (late(frame)) { // the answer to an attempt that timed out: not this one's
            Q_EMIT traffic(Traffic::Stray, frame);
            return std::nullopt;
        }
        Q_EMIT traffic(Traffic::Received, frame);
        return DeviceFault{Kind::UnexpectedReply, frame, expected, pending.attempts};
    }
    late(frame);
    Q_EMIT traffic(Traffic::Received, frame);
    if (frame.size() != expected.size)
        return DeviceFault{Kind::Malformed, frame, expected, pending.attempts};
    return protocol::decodeReply(frame);
}

void DeviceClient::note(const DeviceFault& fault) {
    Pending& pending = m_queue.front();
    if (!pending.worst || severity(fault.kind) > severity(pending.worst->kind))
        pending.worst = fault;
    pending.worst->attempts = pending.attempts;
}

void DeviceClient::conclude(const DeviceFault& fault) {
    m_answerTimer.stop();
    note(fault);
    const Pending& pending = m_queue.front();
    if (pending.attempts <= m_timing.retries)
        attempt();
    else
        finish(*pending.worst);
}

void DeviceClient::finish(const Outcome& outcome) {
    m_answerTimer.stop();
    const Pending pending = std::move(m_queue.front());
    m_queue.pop_front();
    m_inFlight = false;
    const QPointer<DeviceClient> self(this);
    deliver(pending, outcome);
    if (self)
        sendNext();
}

void DeviceClient::deliver(const Pending& pending, const Outcome& outcome) {
    if (pending.hasContext && !pending.context)
        return;
    if (const Callback* callback = std::get_if<Callback>(&pending.callback)) {
        if (*callback)
            (*callback)(outcome);
    } else if (const SentCallback& sent = std::get<SentCallback>(pending.callback)) {
        sent(outcome.ok() ? Sent(protocol::Done{}) : Sent(outcome.fault()));
    }
}

void DeviceClient::failAll(Kind kind) {
    m_answerTimer.stop();
    m_gapTimer.stop();
    m_reader.take();
    m_inFlight = false;
    std::deque<Pending> failed;
    failed.swap(m_queue);
    for (Pending& pending : failed) {
        const DeviceFault fault{kind, {}, pending.request.expects.value_or(Expectation{}), pending.attempts};
        QTimer::singleShot(0, this, [pending = std::move(pending), fault] { deliver(pending, fault); });
    }
}

void DeviceClient::onError(platform::SerialFault error) {
    if (platform::meansPortLost(error))
        lose();
}

void DeviceClient::lose() {
    // A vanished device repeats its error in a tight loop: act on the first, while still open.
    if (!m_serial.isOpen())
        return;
    const QByteArray rest = m_serial.readAll();
    m_serial.close();
    // A reply that arrived just before the loss still answers its request; whatever its callback
    // sends meanwhile finds the port closed.
    const QPointer<DeviceClient> self(this);
    if (!rest.isEmpty())
        process(m_reader.feed(rest));
    if (!self || m_serial.isOpen()) // a callback opened the port again: that session stands
        return;
    failAll(Kind::PortLost);
    Q_EMIT portLost();
}

} // namespace device
