// SPDX-License-Identifier: MIT
#pragma once

#include "platform/fake/FakeFileDialogs.h"
#include "platform/fake/FakeMessageBoxes.h"
#include "platform/fake/FakePortList.h"
#include "platform/fake/FakeSerialControl.h"
#include "platform/fake/FakeSingleInstance.h"
#include "shell/Form1.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <map>
#include <memory>

using namespace Qt::StringLiterals;

// The main window wired to fakes: a serial control the test feeds, a port list it sets, and
// message boxes that are answered at once and remembered. Controls are found by their names.
namespace testing {

// The child of `root` named `name`; the test ends at once when there is none.
template <typename T> T* find(const QObject* root, QAnyStringView name) {
    T* child = root->findChild<T*>(name.toString());
    if (!child)
        qFatal("no %s named %s", T::staticMetaObject.className(), qPrintable(name.toString()));
    return child;
}

// The timer's tick, now, as if its interval had just passed.
inline void tick(const QObject* root, QAnyStringView timer) {
    auto* t = find<QTimer>(root, timer);
    t->stop();
    QMetaObject::invokeMethod(t, "timeout");
}

// Runs `act` on the next modal dialog that opens (the next named `name` when one is given, also one
// opened over another), from inside its event loop.
inline void onNextModal(std::function<void(QDialog*)> act, const QString& name = {}) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, name, act = std::move(act)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && (name.isEmpty() || dialog->objectName() == name)) {
            poll->deleteLater();
            poll->stop();
            act(dialog);
        }
    });
    poll->start(2);
}

inline QByteArray hex(QAnyStringView digits) {
    return QByteArray::fromHex(digits.toString().toLatin1());
}

// The traffic log's rows from `from` on, as "direction|bytes|meaning".
inline QStringList logRows(const QObject* window, int from = 0) {
    const auto* log = find<QAbstractItemModel>(window, "TrafficLog");
    QStringList rows;
    for (int r = from; r < log->rowCount(); ++r)
        rows << log->index(r, 1).data().toString() + u'|' + log->index(r, 2).data().toString() + u'|' +
                    log->index(r, 3).data().toString();
    return rows;
}

// Clicks the button named `button` of the next modal dialog.
inline void pressInNextModal(const char* button) {
    onNextModal([button](QDialog* d) { find<QPushButton>(d, button)->click(); });
}

// What every window test hands the program beside its serial control.
struct Fakes {
    platform::FakePortList ports;
    platform::FakeMessageBoxes messages;
    platform::FakeSingleInstance instance;
    platform::FakeFileDialogs files;
};

struct FormHarness : Fakes {
    platform::FakeSerialControl serial;
    // What "查找设备" meets on each port: a device answering at this baud; at any other baud, and on
    // ports not listed, what a UART at the wrong speed makes of an answer.
    std::map<QString, qint32> devices;
    QStringList scanned; // the ports a scan made a serial control for
    std::unique_ptr<shell::Form1> form;

    explicit FormHarness(QStringList portNames = {u"COM1"_s, u"COM3"_s}) {
        ports.names = std::move(portNames);
        const auto ownPort = [this](const QString& name) {
            scanned.append(name);
            auto fake = std::make_unique<platform::FakeSerialControl>();
            platform::FakeSerialControl* port = fake.get();
            port->onWrite = [this, name, port](const QByteArray& sent) {
                const bool answers =
                    devices.count(name) && devices[name] == port->openings.last().settings.baud;
                const bool network = answers && sent.toHex() == "4002ca23"; // its MAC and IP asked for
                QTimer::singleShot(0, port, [port, answers, network] {
                    port->feed(QByteArray::fromHex(network   ? "4014CA0008DC010203C0A80164FFFFFF00C0A8010123"
                                                   : answers ? "4002E123"
                                                             : "4002E124"));
                });
            };
            return fake;
        };
        form = std::make_unique<shell::Form1>(
            shell::Services{serial, ports, messages, instance, files, ownPort});
        form->Form_Load();
    }

    QPushButton* button(QAnyStringView name) const { return find<QPushButton>(form.get(), name); }
    QComboBox* combo(QAnyStringView name) const { return find<QComboBox>(form.get(), name); }
    QAction* action(QAnyStringView name) const { return find<QAction>(form.get(), name); }
    QPlainTextEdit* box(QAnyStringView name) const { return find<QPlainTextEdit>(form.get(), name); }
    QString text(QAnyStringView name) const { return box(name)->toPlainText(); }
    QLineEdit* trace() const { return find<QLineEdit>(form.get(), "Text2"); }
    void click(QAnyStringView name) { button(name)->click(); }

    // Confirms the settings dialog with its defaults (the last port, 9600 8N1), then opens the port.
    void openPort() {
        pressInNextModal("Command2");
        click("Command2"); // asks for the settings first
        click("Command2"); // opens
    }
    // Open, and the device has answered the connect request.
    void connectDevice() {
        openPort();
        feed(QByteArray::fromHex("4002E123"));
    }
    // Bytes from the device; then the quiet time is over and the reply is processed.
    void feed(const QByteArray& bytes) {
        serial.feed(bytes);
        tick(form.get(), "Timer1");
    }
    // The five lists of extension port `port` (0..7): baud, data bits, stop bits, parity, function.
    QList<QComboBox*> panel(int port) const {
        QList<QComboBox*> lists;
        for (QChar k : u"23457"_s)
            lists << combo(u"Combo%1_%2"_s.arg(k).arg(port));
        return lists;
    }
    // Shows `texts` ("9600 8 1 无 RS232") in the lists of extension port `port`.
    void setPanel(int port, const QString& texts) {
        const QStringList each = texts.split(u' ');
        for (int k = 0; k < 5; ++k)
            panel(port)[k]->setCurrentText(each[k]);
    }
    // Every port at 9600 8N1 RS232, main port 115200, output allowed: 08 03 02 eight times, 60 01.
    void fillAll() {
        for (int i = 0; i < 8; ++i)
            setPanel(i, u"9600 8 1 无 RS232"_s);
        combo("Combo6")->setCurrentText(u"115200"_s);
        combo("Combo8")->setCurrentIndex(0);
    }
    QString status() const { return find<QLabel>(form.get(), "statusLine")->text(); }
    // Which of 连接设备, 发送, 设置串口参数, 同步串口参数 are enabled, e.g. "1000".
    QString deviceButtons() const {
        QString pattern;
        for (const char* name : {"Command3", "Command1", "Command4", "Command6"})
            pattern += button(name)->isEnabled() ? u'1' : u'0';
        return pattern;
    }
};

} // namespace testing
