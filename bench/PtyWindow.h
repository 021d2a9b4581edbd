// SPDX-License-Identifier: MIT
#pragma once

#include "platform/QtSerialControl.h"
#include "platform/fake/FakeFileDialogs.h"
#include "platform/fake/FakeMessageBoxes.h"
#include "platform/fake/FakePortList.h"
#include "platform/fake/FakeSingleInstance.h"
#include "platform/fake/PtyPair.h"
#include "shell/Form1.h"

// The main window shown, with the real serial port opened on the slave of a pty the benchmark
// plays the device on; message boxes, port list and instance check are fakes, so nothing blocks.
namespace bench {

class PtyWindow {
public:
    PtyWindow();

    // Opens the port as the operator's click on "打开串口" does; false when it stays closed.
    bool openPort();

    shell::Form1& form() { return m_form; }
    platform::PtyPair& device() { return m_device; }
    platform::FakeMessageBoxes& messages() { return m_messages; }

private:
    platform::PtyPair m_device;
    platform::QtSerialControl m_serial;
    platform::FakePortList m_ports;
    platform::FakeMessageBoxes m_messages;
    platform::FakeSingleInstance m_instance;
    platform::FakeFileDialogs m_files;
    shell::Form1 m_form;
};

} // namespace bench
