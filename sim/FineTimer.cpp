// SPDX-License-Identifier: MIT
#include "sim/FineTimer.h"

#include <QSocketNotifier>

#include <sys/timerfd.h>
#include <unistd.h>

#include <cstdint>

namespace sim {

namespace {

constexpr qint64 kNsPerSecond = 1'000'000'000;

void arm(int fd, qint64 ns) {
    itimerspec when{};
    when.it_value.tv_sec = time_t(ns / kNsPerSecond);
    when.it_value.tv_nsec = long(ns % kNsPerSecond);
    ::timerfd_settime(fd, 0, &when, nullptr); // all zero disarms
}

} // namespace

FineTimer::FineTimer(QObject* parent) : QObject(parent) {
    m_fd = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd < 0)
        qFatal("expander-sim: timerfd_create failed");
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &FineTimer::expired);
}

FineTimer::~FineTimer() {
    delete m_notifier;
    ::close(m_fd);
}

void FineTimer::start(qint64 ns) {
    stop(); // an expiry not yet delivered must not end the new wait
    m_active = true;
    arm(m_fd, ns > 0 ? ns : 1); // a zero time would disarm it
}

void FineTimer::stop() {
    m_active = false;
    arm(m_fd, 0);
    std::uint64_t expirations = 0;
    [[maybe_unused]] const ssize_t n = ::read(m_fd, &expirations, sizeof expirations);
}

void FineTimer::expired() {
    std::uint64_t expirations = 0;
    if (::read(m_fd, &expirations, sizeof expirations) != sizeof expirations || !m_active)
        return;
    m_active = false;
    Q_EMIT timeout();
}

} // namespace sim
