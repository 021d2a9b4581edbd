// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// One row of the traffic log: a frame sent, a reply received, or something that happened to the port.
namespace traffic {

enum class Direction {
    Sent,     // a frame the window wrote
    Received, // one reply, as the window cut and read it
    Event,    // port opened, closed or lost; no reply; a comparison
};

// What a row is about, given by whoever logs it, for the pane's filter: its direction, with the
// requests that drew no answer and the replies that were no frame told apart.
enum class Kind {
    Sent,
    Received,
    Event,
    NoAnswer,  // an event: a request drew nothing in time
    Malformed, // received: bytes that are no well-formed frame
};

struct TrafficEntry {
    QDateTime time;
    Kind kind = Kind::Event;
    QByteArray bytes; // empty for most events
    QString meaning;

    bool operator==(const TrafficEntry&) const = default;
    Direction direction() const {
        return kind == Kind::NoAnswer    ? Direction::Event
               : kind == Kind::Malformed ? Direction::Received
                                         : Direction(kind);
    }
};

} // namespace traffic
