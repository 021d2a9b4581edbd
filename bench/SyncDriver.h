// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

namespace shell {
class Form1;
}
namespace platform {
class PtyPair;
}

// Drives the main window as an operator does against a device played on a pty: open the
// port, connect, synchronise the port parameters, with every message box answered.
namespace bench {

class ModalCloser;

class SyncDriver final : public QObject {
    Q_OBJECT
public:
    SyncDriver(shell::Form1& form, platform::PtyPair& device, ModalCloser& boxes, QObject* parent = nullptr);

    void start();

Q_SIGNALS:
    // The window shows the synchronised parameters (ok), or the run got stuck (`why`).
    void finished(bool ok, const QString& why);

private:
    enum class Step { Idle, Connecting, Synchronising, Settling, Done };

    void onDeviceReadable();
    void onBoxClosed(const QString& text);
    void settle();
    void finish(bool ok, const QString& why);

    shell::Form1& m_form;
    platform::PtyPair& m_device;
    QSocketNotifier m_readable;
    QTimer m_deadline;
    QByteArray m_fromProgram;
    Step m_step = Step::Idle;
};

} // namespace bench
