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
    return 50 + 2 * wireMs(bytes, baud);
}

Timing Timing::forBaud(qint32 baud, int exchangeBytes) {
    return {TurnaroundMs + 2 * wireMs(exchangeBytes, baud), QuietMs + wireMs(GapBytes, baud), Retries};
}

Timing TimingOverrides::applyTo(Timing timing) const {
    return {answerMs.value_or(timing.answerMs), gapMs.value_or(timing.gapMs),
            retries.value_or(timing.retries)};
}

} // namespace device
