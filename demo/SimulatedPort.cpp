// SPDX-License-Identifier: MIT
#include "demo/SimulatedPort.h"

#include <utility>

namespace demo {

SimulatedPort::SimulatedPort(QObject* parent) : SerialControl(parent) {
    m_gap.setSingleShot(true);
    m_gap.setInterval(FrameGapMs);
    connect(&m_gap, &QTimer::timeout, this, [this] { m_assembler.expire(); });
}

platform::OpenResult SimulatedPort::open(const QString&, const platform::LineSettings&) {
    reset();
    m_open = true;
    return protocol::Done{};
}

void SimulatedPort::close() {
    reset();
    m_open = false;
}

void SimulatedPort::reset() {
    ++m_session;
    m_input.clear();
    m_assembler.expire();
    m_gap.stop();
}

qint64 SimulatedPort::write(const QByteArray& bytes) {
    if (!m_open)
        return -1;
    for (const sim::Piece& piece : m_assembler.feed(bytes)) {
        if (piece.kind != sim::Piece::Kind::Frame)
            continue;
        const QByteArray reply = m_device.handle(piece.bytes).reply;
        if (reply.isEmpty())
            continue;
        QTimer::singleShot(ReplyDelayMs, this, [this, reply, session = m_session] {
            if (session != m_session)
                return;
            m_input += reply;
            Q_EMIT readyRead();
        });
    }
    if (m_assembler.partial())
        m_gap.start();
    return bytes.size();
}

QByteArray SimulatedPort::readAll() {
    return std::exchange(m_input, {});
}

} // namespace demo
