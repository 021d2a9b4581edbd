// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

namespace sim {

// The simulator's log on standard error: one line per frame in and out, with the time, the
// device when there are several, the direction, the bytes as hex and what they mean, so that a
// person can follow an exchange and a test can parse what the device did.
class Log {
public:
    // `device` goes between the time and the direction ("device 2"); empty for a sole device.
    explicit Log(bool quiet, const QString& device = {}) : m_quiet(quiet), m_device(device) {}

    // "12:34:56.789 rx 4002F123 connect"
    void received(const QByteArray& bytes, const QString& text);
    // "12:34:56.790 tx 4002E123 connected fault=delay:100,double"; no tag when `faults` is empty.
    void sent(const QByteArray& bytes, const QString& text, const QString& faults = {});
    // "12:34:56.791 -- text": everything that is not a frame.
    void note(const QString& text);

private:
    void write(const QString& direction, const QString& text);

    bool m_quiet;
    QString m_device;
};

} // namespace sim
