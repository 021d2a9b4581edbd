#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal pair: the program opens the slave by its path with the real serial port,
// and the benchmark plays the device on the master.
namespace bench {

class Pty {
public:
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool isValid() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    int masterFd() const { return m_master; }
    // Writes on the device side, all of it in one call when the buffer has room.
    bool write(const QByteArray& bytes);
    // Everything the program has written and not yet read, without waiting.
    QByteArray readAvailable();

private:
    int m_master = -1;
    int m_slave = -1; // held open so the line stays up while the program opens the port
    QString m_slavePath;
};

} // namespace bench
