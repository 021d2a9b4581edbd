// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

class QSocketNotifier;

namespace sim {

// One port of the simulated device: a pseudo-terminal pair whose slave side is what a program
// opens as a serial port, and whose master side the simulator reads and writes.
class PtyPort : public QObject {
    Q_OBJECT
public:
    explicit PtyPort(QObject* parent = nullptr);
    ~PtyPort() override;

    // Opens the pair in raw mode. The simulator keeps a descriptor of the slave side open as well,
    // so that the master never sees a hang-up while no program has the port open.
    bool open(QString* error);
    void close();
    bool isOpen() const { return m_master >= 0; }
    QString devicePath() const { return m_path; }

    // Reading is on after open(); turned off, received bytes wait in the terminal.
    void setReading(bool on);
    // Writes all of `bytes` at once if the terminal takes them; returns how many it took. A
    // terminal whose buffer is full (nobody reads the slave) takes fewer.
    qsizetype write(const QByteArray& bytes);
    // Throws away what the slave's user wrote and was not read yet; returns how many bytes.
    qint64 discardInput();
    // Bytes written here that the slave's user has not read yet.
    int unread() const;
    // The speed the slave's user set on the line; nullopt when the port is closed.
    std::optional<int> speed() const;

Q_SIGNALS:
    void received(const QByteArray& bytes);

private:
    void readAvailable();

    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace sim
