#include "CountingSerial.h"

namespace testing {

CountingSerial::CountingSerial() {
    connect(&m_real, &SerialControl::readyRead, this, &SerialControl::readyRead);
    connect(&m_real, &SerialControl::errorOccurred, this, &SerialControl::errorOccurred);
}

QByteArray CountingSerial::readAll() {
    const QByteArray bytes = m_real.readAll();
    taken += bytes.size();
    largest = qMax(largest, bytes.size());
    return bytes;
}

} // namespace testing
