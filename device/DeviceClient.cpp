// SPDX-License-Identifier: MIT
#include "device/DeviceClient.h"

#include "protocol/ReplyDecoder.h"

namespace device {

using Kind = DeviceFault::Kind;

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
    Pending pending{request, context, context != nullptr, std::move(callback)};
    if (!m_serial.isOpen()) {
        QTimer::singleShot(0, this, [pending] {
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
    Pending& pending = m_queue.front();
    ++pending.attempts;
    if (m_serial.write(pending.request.bytes) != pending.request.bytes.size()) {
        lose(); // a write that fails on an open port: the port is going away
        return;
    }
    Q_EMIT traffic(Traffic::Sent, pending.request.bytes);
    // A forward is done once its bytes have left the line: closing the port sooner puts the old
    // speed back (QSerialPort does on close) under bytes the driver is still sending.
    m_answerTimer.start(pending.request.expects ? m_timing.answerMs
                                                : Timing::sentMs(int(pending.request.bytes.size()), m_baud));
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
        finish(protocol::Reply(protocol::Unrecognised{}));
        return;
    }
    Q_EMIT traffic(Traffic::NoAnswer, pending.request.bytes);
    conclude(DeviceFault{Kind::NoAnswer, {}, *pending.request.expects, pending.attempts});
}

void DeviceClient::process(const std::vector<FrameReader::Chunk>& chunks) {
    const bool awaiting = m_inFlight && m_queue.front().request.expects.has_value();
    std::optional<Outcome> verdict;
    for (const FrameReader::Chunk& chunk : chunks) {
        if (!awaiting || verdict) {
            Q_EMIT traffic(Traffic::Stray, chunk.bytes);
            continue;
        }
        if (chunk.kind == FrameReader::Chunk::Kind::Frame) {
            Q_EMIT traffic(Traffic::Received, chunk.bytes);
            verdict = judge(chunk.bytes);
        } else {
            Q_EMIT traffic(Traffic::Malformed, chunk.bytes);
            const Pending& pending = m_queue.front();
            verdict = DeviceFault{Kind::Malformed, chunk.bytes, *pending.request.expects, pending.attempts};
        }
    }
    if (m_reader.pending()) {
        m_gapTimer.start(m_timing.gapMs);
        if (awaiting && !verdict)
            m_answerTimer.stop(); // the reply has begun; the gap decides from here
    } else {
        m_gapTimer.stop();
    }
    if (verdict)
        conclude(*verdict);
}

DeviceClient::Outcome DeviceClient::judge(const QByteArray& frame) const {
    const Pending& pending = m_queue.front();
    const Expectation& expected = *pending.request.expects;
    if (quint8(frame.at(2)) != expected.code)
        return DeviceFault{Kind::UnexpectedReply, frame, expected, pending.attempts};
    if (frame.size() != expected.size)
        return DeviceFault{Kind::Malformed, frame, expected, pending.attempts};
    return protocol::decodeReply(frame);
}

void DeviceClient::conclude(const Outcome& outcome) {
    const DeviceFault* fault = outcome.faultIf();
    const bool retry = fault && m_queue.front().attempts <= m_timing.retries &&
                       (fault->kind == Kind::NoAnswer || fault->kind == Kind::Malformed ||
                        fault->kind == Kind::UnexpectedReply);
    if (retry) {
        m_answerTimer.stop();
        attempt();
    } else {
        finish(outcome);
    }
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
    if (pending.callback)
        pending.callback(outcome);
}

void DeviceClient::failAll(Kind kind) {
    m_answerTimer.stop();
    m_gapTimer.stop();
    m_reader.clear();
    m_inFlight = false;
    std::deque<Pending> failed;
    failed.swap(m_queue);
    for (Pending& pending : failed) {
        const DeviceFault fault{kind, {}, pending.request.expects.value_or(Expectation{}), pending.attempts};
        QTimer::singleShot(0, this, [pending = std::move(pending), fault] { deliver(pending, fault); });
    }
}

void DeviceClient::onError(platform::SerialError error) {
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
