// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

#include <optional>

// How long the device client waits, and how often it asks again.
namespace device {

// The defaults follow the wire time at the open baud (10 bits a byte: 1 ms for 10 bytes at
// 115200, 83 ms at 1200):
//   answerMs = 400 ms + twice the wire time of the exchange (request and reply together; by
//              default the longest, 34 bytes: the port-set frame and its 4-byte answer, or the
//              sync request and its 30-byte reply). 406 ms at 115200, 472 ms at 9600, 968 ms at
//              1200. Slow firmware and long cables answer a few hundred milliseconds late; a
//              device that answers sooner costs nothing, as a reply counts at its last byte.
//   gapMs    = 150 ms + the wire time of 16 bytes: the longest pause inside one reply before what
//              came is taken as malformed (167 ms at 9600). A reply that is complete never waits
//              for it.
//   retries  = 2: a request that draws no answer, or a malformed or unexpected reply, is written
//              again up to twice more. Every request may be repeated safely: connect and the reads
//              change nothing, and writing the ports, writing the network or restoring twice leaves
//              the device as once. A forward is never repeated (nothing answers it).
struct Timing {
    static constexpr int TurnaroundMs = 400;
    static constexpr int QuietMs = 150;
    static constexpr int GapBytes = 16;
    static constexpr int Retries = 2;
    static constexpr int LongestExchange = 34;

    int answerMs = 0; // from the write to the reply, per attempt; bytes that are no frame never extend it
    int gapMs = 0;    // the longest pause between two bytes of one reply
    int retries = 0;  // attempts after the first

    bool operator==(const Timing&) const = default;

    // The defaults above at `baud`, for an exchange of `exchangeBytes` bytes.
    static Timing forBaud(qint32 baud, int exchangeBytes = LongestExchange);
    // The time `bytes` take on the line at `baud`, 10 bits a byte, rounded up to whole milliseconds.
    static int wireMs(int bytes, qint32 baud);
    // How long after writing `bytes` they are surely on the wire: twice their wire time (parity
    // and two stop bits make a byte up to 12 bits; adapters buffer) and 50 ms more.
    static int sentMs(int bytes, qint32 baud);
};

// What the user set (expander-cli --timeout, --retries); what is not set follows the baud.
struct TimingOverrides {
    std::optional<int> answerMs;
    std::optional<int> gapMs;
    std::optional<int> retries;

    bool operator==(const TimingOverrides&) const = default;

    Timing applyTo(Timing timing) const;
};

} // namespace device
