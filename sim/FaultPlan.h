// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>

#include <optional>
#include <vector>

namespace sim {

// The faults asked for on the command line. Zero leaves a fault off.
struct FaultOptions {
    int delayMs = 0;         // every reply waits this long
    int splitGapMs = 0;      // every reply goes out in two writes this far apart
    int dropEvery = 0;       // every n-th reply is not sent
    int corruptEndEvery = 0; // every n-th reply ends in 0x24 instead of 0x23
    int garbage = 0;         // this many random bytes, none of them 0x40, before every reply
    bool doubled = false;    // every reply is written twice back to back, in one write
    std::optional<quint32> randomSeed = std::nullopt; // every reply also gets one fault drawn at random
};

// One write of a reply: wait, then put the bytes on the line.
struct PlannedWrite {
    int waitMs = 0;
    QByteArray bytes;
    bool operator==(const PlannedWrite&) const = default;
};

// How one reply goes out.
struct PlannedReply {
    std::vector<PlannedWrite> writes; // empty when the reply is dropped
    QString tag;                      // "delay:100,double"; empty when the reply goes out clean

    bool dropped() const { return writes.empty(); }
    QByteArray wire() const; // every byte written, in order
};

// Decides, reply by reply, which faults are applied and turns the reply into its writes. The
// faults are applied in a fixed order: the end byte is corrupted, the reply doubled, the garbage
// put in front, the whole split in two after its first half (rounded down), the first write
// delayed. A dropped reply is not written at all and carries only the tag "drop".
class FaultPlan {
public:
    // What a fault drawn at random uses when its own option is not given.
    static constexpr int RandomDelayMs = 150;
    static constexpr int RandomSplitGapMs = 60;
    static constexpr int RandomGarbage = 3;
    // Without --random-faults the garbage bytes still come from a seeded generator, so that a run
    // can be repeated byte for byte.
    static constexpr quint32 DefaultSeed = 1;

    explicit FaultPlan(const FaultOptions& options);

    PlannedReply next(const QByteArray& reply);

private:
    FaultOptions m_options;
    QRandomGenerator m_random;
    int m_replies = 0;
};

} // namespace sim
