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

struct TrafficEntry {
    QDateTime time;
    Direction direction = Direction::Event;
    QByteArray bytes; // empty for most events
    QString meaning;

    bool operator==(const TrafficEntry&) const = default;
};

} // namespace traffic
