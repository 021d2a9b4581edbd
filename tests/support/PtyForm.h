#pragma once

#include "CountingSerial.h"
#include "FormHarness.h"
#include "platform/fake/PtyPair.h"

// The main window on the real serial port, opened on a pty whose other end the test plays as the
// device; message boxes are answered at once.
namespace testing {

struct PtyForm {
    platform::PtyPair pty;
    CountingSerial serial;
    platform::FakePortList ports;
    platform::FakeMessageBoxes messages;
    platform::FakeSingleInstance instance;
    std::unique_ptr<shell::Form1> form;

    // Chooses the pty in the settings dialog and opens it.
    PtyForm() {
        ports.names = {pty.slavePath()};
        form = std::make_unique<shell::Form1>(shell::Services{serial, ports, messages, instance});
        form->Form_Load();
        FormHarness::pressInNextModal(QStringLiteral("Command2"));
        v().Command2->click();
        v().Command2->click();
    }
    const shell::Form1View& v() const { return form->view(); }
    // Replies as the device, then lets the quiet time pass.
    void reply(const QByteArray& bytes) {
        pty.write(bytes);
        spin(150);
    }
};

} // namespace testing
