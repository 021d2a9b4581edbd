// SPDX-License-Identifier: MIT
#include "bench/SyncDriver.h"

#include "bench/ModalCloser.h"
#include "platform/fake/PtyPair.h"
#include "shell/Form1.h"

#include <QComboBox>
#include <QPushButton>

namespace bench {

namespace {

constexpr int kDeadlineMs = 15000;
constexpr int kSettleMs = 300;

const QByteArray kConnectRequest = QByteArray::fromHex("4002F123");
const QByteArray kConnectReply = QByteArray::fromHex("4002E123");
const QByteArray kSyncRequest = QByteArray::fromHex("4002FB23");

// The port configuration reply: all eight ports 9600 8N1 RS232, main port 9600, output allowed.
QByteArray syncReply() {
    return QByteArray::fromHex("401CFB") + QByteArray::fromHex("080302").repeated(8) +
           QByteArray::fromHex("0801") + QByteArray::fromHex("23");
}

QPushButton* button(shell::Form1& form, const char* name) {
    return form.findChild<QPushButton*>(QLatin1String(name));
}

} // namespace

SyncDriver::SyncDriver(shell::Form1& form, platform::PtyPair& device, ModalCloser& boxes, QObject* parent)
    : QObject(parent), m_form(form), m_device(device), m_readable(device.masterFd(), QSocketNotifier::Read) {
    m_readable.setEnabled(false);
    connect(&m_readable, &QSocketNotifier::activated, this, &SyncDriver::onDeviceReadable);
    connect(&boxes, &ModalCloser::closed, this, &SyncDriver::onBoxClosed);
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(kDeadlineMs);
    connect(&m_deadline, &QTimer::timeout, this,
            [this] { finish(false, QStringLiteral("stuck at step %1").arg(int(m_step))); });
}

void SyncDriver::start() {
    m_deadline.start();
    m_readable.setEnabled(true);
    // The first click asks for the settings (both boxes answered by the closer), where the device
    // is the last port and so chosen; the second opens it.
    button(m_form, "Command2")->click();
    button(m_form, "Command2")->click();
    if (!button(m_form, "Command3")->isEnabled()) {
        finish(false, QStringLiteral("the port did not open"));
        return;
    }
    m_step = Step::Connecting;
    button(m_form, "Command3")->click();
}

void SyncDriver::onDeviceReadable() {
    m_fromProgram.append(m_device.readAvailable());
    if (m_step == Step::Connecting && m_fromProgram.contains(kConnectRequest)) {
        m_fromProgram.clear();
        m_device.write(kConnectReply);
    } else if (m_step == Step::Synchronising && m_fromProgram.contains(kSyncRequest)) {
        m_fromProgram.clear();
        m_device.write(syncReply());
    }
}

void SyncDriver::onBoxClosed(const QString& text) {
    if (m_step == Step::Connecting && text == QStringLiteral("连接成功!")) {
        m_step = Step::Synchronising;
        // Once the box's own event loop has ended, as a second click by the operator would.
        QTimer::singleShot(0, this, [this] { button(m_form, "Command6")->click(); });
    } else if (m_step == Step::Synchronising && text == QStringLiteral("扩展串口数据同步成功!")) {
        m_step = Step::Settling;
        QTimer::singleShot(kSettleMs, this, &SyncDriver::settle);
    }
}

void SyncDriver::settle() {
    const auto text = [this](const char* list) {
        return m_form.findChild<QComboBox*>(QLatin1String(list))->currentText();
    };
    const bool shown = text("Combo2_7") == QStringLiteral("9600") &&
                       text("Combo7_0") == QStringLiteral("RS232") &&
                       text("Combo6") == QStringLiteral("9600");
    finish(shown, shown ? QString() : QStringLiteral("the window does not show the synchronised parameters"));
}

void SyncDriver::finish(bool ok, const QString& why) {
    if (m_step == Step::Done)
        return;
    m_step = Step::Done;
    m_deadline.stop();
    m_readable.setEnabled(false);
    Q_EMIT finished(ok, why);
}

} // namespace bench
