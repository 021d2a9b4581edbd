// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal pair made by a test or a benchmark: the program opens the slave by its path
// with the real serial port, and the caller plays the device on the master.
namespace platform {

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool isValid() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    int masterFd() const { return m_master; }
    // Writes on the device side.
    bool write(const QByteArray& bytes);
    // Reads what the program wrote, waiting up to `timeoutMs` for at least `atLeast` bytes.
    QByteArray read(int atLeast, int timeoutMs = 2000);
    // Everything waiting right now.
    QByteArray readAvailable();
    // The device side goes away, as an unplugged adapter does.
    void hangUp();

private:
    int m_master = -1;
    int m_slave = -1; // kept open so the line stays up while the program opens and closes it
    QString m_slavePath;
};

} // namespace platform
