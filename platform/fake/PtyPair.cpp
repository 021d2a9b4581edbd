// SPDX-License-Identifier: MIT
#include "platform/fake/PtyPair.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace platform {

PtyPair::PtyPair() {
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair() {
    if (m_slave >= 0)
        ::close(m_slave);
    hangUp();
}

bool PtyPair::write(const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EAGAIN) {
            // The line is full until the program reads, and it reads in this thread.
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            pollfd p{m_master, POLLOUT, 0};
            ::poll(&p, 1, 5);
            continue;
        }
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QByteArray PtyPair::readAvailable() {
    QByteArray all;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        all.append(buffer, n);
    }
    return all;
}

QByteArray PtyPair::read(int atLeast, int timeoutMs) {
    QByteArray all;
    QElapsedTimer clock;
    clock.start();
    while (all.size() < atLeast && clock.elapsed() < timeoutMs) {
        // The program under test runs in this thread: let its events run while waiting.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        all.append(readAvailable());
        if (all.size() < atLeast) {
            pollfd p{m_master, POLLIN, 0};
            ::poll(&p, 1, 5);
        }
    }
    return all;
}

void PtyPair::hangUp() {
    if (m_slave >= 0) {
        ::close(m_slave);
        m_slave = -1;
    }
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

} // namespace platform
