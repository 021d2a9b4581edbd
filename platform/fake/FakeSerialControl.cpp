// SPDX-License-Identifier: MIT
#include "platform/fake/FakeSerialControl.h"

namespace platform {

OpenResult FakeSerialControl::open(const QString& portName, const LineSettings& settings) {
    ++openAttempts;
    if (m_open)
        close();
    if (refuseOpen != SerialFault::NoError)
        return refuseOpen;
    m_open = true;
    m_input.clear();
    openings.append({portName, settings});
    return protocol::Done{};
}

void FakeSerialControl::close() {
    if (!m_open)
        return;
    m_open = false;
    ++closeCalls;
}

qint64 FakeSerialControl::write(const QByteArray& bytes) {
    if (!m_open || refuseWrite)
        return -1;
    writes.append(bytes);
    if (onWrite)
        onWrite(bytes);
    return bytes.size();
}

QByteArray FakeSerialControl::readAll() {
    QByteArray all;
    all.swap(m_input);
    return all;
}

void FakeSerialControl::feed(const QByteArray& bytes) {
    m_input.append(bytes);
    Q_EMIT readyRead();
}

} // namespace platform
