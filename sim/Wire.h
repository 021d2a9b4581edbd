// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

// Time on a serial line: each byte is ten bits (start bit, eight data bits, stop bit).
namespace sim::wire {

inline constexpr qint64 BitsPerByte = 10;
inline constexpr qint64 NsPerSecond = 1'000'000'000;

// How long `bytes` take at `baud`, rounded up, so that pacing by it is never early.
constexpr qint64 durationNs(qint64 bytes, int baud) {
    return (bytes * BitsPerByte * NsPerSecond + baud - 1) / baud;
}

// How many whole bytes go over the line in `elapsedNs` at `baud`.
constexpr qint64 bytesIn(qint64 elapsedNs, int baud) {
    return elapsedNs * baud / (BitsPerByte * NsPerSecond);
}

} // namespace sim::wire
