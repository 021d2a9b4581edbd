// SPDX-License-Identifier: MIT
#include "device/Timing.h"

#include <algorithm>

namespace device {

int Timing::wireMs(int bytes, qint32 baud) {
    const qint64 bits = qint64(bytes) * 10 * 1000;
    const qint64 rate = std::max<qint64>(baud, 1);
    return int((bits + rate - 1) / rate);
}

int Timing::sentMs(int bytes, qint32 baud) {
    return QuietMs + 2 * wireMs(bytes, baud);
}

Timing Timing::forBaud(qint32 baud, int exchangeBytes) {
    return {TurnaroundMs + 2 * wireMs(exchangeBytes, baud), QuietMs + wireMs(2, baud), Retries};
}

} // namespace device
