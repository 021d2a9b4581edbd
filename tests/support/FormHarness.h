#pragma once

#include "platform/fake/FakeMessageBoxes.h"
#include "platform/fake/FakePortList.h"
#include "platform/fake/FakeSerialControl.h"
#include "platform/fake/FakeSingleInstance.h"
#include "shell/Form1.h"
#include "shell/Form1View.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEventLoop>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

// The main window wired to fakes: a serial control the test feeds, a port list it sets, and
// message boxes that are answered at once and remembered.
namespace testing {

// Runs the event loop for `ms` without sleeping in between, so timers fire in their order and
// on time (QTest::qWait sleeps between rounds, which can swap two timers that are due close together).
inline void spin(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

struct FormHarness {
    platform::FakeSerialControl serial;
    platform::FakePortList ports;
    platform::FakeMessageBoxes messages;
    platform::FakeSingleInstance instance;
    std::unique_ptr<shell::Form1> form;

    explicit FormHarness(QStringList portNames = {QStringLiteral("COM1"), QStringLiteral("COM3")}) {
        ports.names = std::move(portNames);
        form = std::make_unique<shell::Form1>(shell::Services{serial, ports, messages, instance});
        form->Form_Load();
    }

    const shell::Form1View& v() const { return form->view(); }

    // Runs `act` on the next modal dialog that opens, from inside its event loop.
    static void onNextModal(std::function<void(QDialog*)> act) {
        auto* poll = new QTimer(qApp);
        poll->setInterval(5);
        QObject::connect(poll, &QTimer::timeout, poll, [poll, act = std::move(act)] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                poll->stop();
                poll->deleteLater();
                act(dialog);
            }
        });
        poll->start();
    }

    // Clicks the dialog's button named `button` as soon as the dialog is up.
    static void pressInNextModal(const QString& button) {
        onNextModal([button](QDialog* dialog) {
            if (auto* b = dialog->findChild<QPushButton*>(button))
                b->click();
        });
    }

    // Confirms the settings dialog with its defaults, then opens the port: the Open state.
    void openPort() {
        pressInNextModal(QStringLiteral("Command2"));
        v().Command2->click(); // asks for the settings first
        v().Command2->click(); // opens
    }

    // Open, and the device has answered the connect request.
    void connectDevice() {
        openPort();
        feed(QByteArray::fromHex("4002E123"));
    }

    // Bytes from the device; then the quiet time passes and the reply is processed.
    void feed(const QByteArray& bytes) {
        serial.feed(bytes);
        waitQuiet();
    }

    // Lets the 50 ms quiet time run out and its tick be handled.
    static void waitQuiet() { spin(120); }

    // Selects one extension port's five lists by their texts (index is the port number minus one).
    void setPort(int port, const QString& baud, const QString& data, const QString& stop,
                 const QString& parity, const QString& function) {
        const auto& view = v();
        view.Combo2[port]->setCurrentText(baud);
        view.Combo3[port]->setCurrentText(data);
        view.Combo4[port]->setCurrentText(stop);
        view.Combo5[port]->setCurrentText(parity);
        view.Combo7[port]->setCurrentText(function);
    }
};

} // namespace testing
