// SPDX-License-Identifier: MIT
#include "sim/PtyPort.h"

#include "sim/LineSpeed.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {

QString systemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PtyPort::PtyPort(QObject* parent) : QObject(parent) {}

PtyPort::~PtyPort() {
    close();
}

bool PtyPort::open(QString* error) {
    close();
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0) {
        *error = systemError("posix_openpt");
        return false;
    }
    char name[128] = {};
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
        ::ptsname_r(m_master, name, sizeof name) != 0) {
        *error = systemError("pseudo-terminal set-up");
        close();
        return false;
    }
    m_path = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        *error = systemError("open slave");
        close();
        return false;
    }
    // The line settings belong to the pair, so raw mode set here is what the slave's user gets
    // until it sets its own: no echo, no line editing, no translation of CR and LF.
    termios settings{};
    if (::tcgetattr(m_master, &settings) != 0) {
        *error = systemError("tcgetattr");
        close();
        return false;
    }
    ::cfmakeraw(&settings);
    if (::tcsetattr(m_master, TCSANOW, &settings) != 0) {
        *error = systemError("tcsetattr");
        close();
        return false;
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);

    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyPort::readAvailable);
    return true;
}

void PtyPort::close() {
    delete m_notifier;
    m_notifier = nullptr;
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = -1;
    m_master = -1;
}

void PtyPort::setReading(bool on) {
    if (m_notifier)
        m_notifier->setEnabled(on);
}

qsizetype PtyPort::write(const QByteArray& bytes) {
    if (m_master < 0)
        return 0;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

qint64 PtyPort::discardInput() {
    qint64 count = 0;
    char buffer[4096];
    ssize_t n = 0;
    while (m_master >= 0 && ((n = ::read(m_master, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)))
        count += std::max<ssize_t>(n, 0);
    return count;
}

int PtyPort::unread() const {
    int count = 0;
    if (m_slave < 0 || ::ioctl(m_slave, FIONREAD, &count) != 0)
        return 0;
    return count;
}

std::optional<int> PtyPort::speed() const {
    if (m_slave < 0)
        return std::nullopt;
    return lineSpeed(m_slave);
}

void PtyPort::readAvailable() {
    // At most this much per wake-up: a writer that never stops must not grow one read without
    // bound; what is left wakes the notifier again.
    constexpr qsizetype kMostPerRead = 64 * 1024;
    QByteArray bytes;
    char buffer[4096];
    while (bytes.size() < kMostPerRead) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: all read
    }
    if (!bytes.isEmpty())
        Q_EMIT received(bytes);
}

} // namespace sim
