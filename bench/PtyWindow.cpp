#include "bench/PtyWindow.h"

#include <QPushButton>

namespace bench {

PtyWindow::PtyWindow() : m_form({m_serial, m_ports, m_messages, m_instance}) {
    m_form.Form_Load();
    m_form.show();
}

bool PtyWindow::openPort() {
    if (!m_device.isValid())
        return false;
    serial::PortChoice& choice = m_form.portChoice();
    choice.PcPortName = m_device.slavePath();
    choice.PcPortBaud = QStringLiteral("9600");
    choice.PcPortParity = QStringLiteral("N");
    choice.PcPortDataBits = 8;
    choice.PcPortStopBits = platform::LineSettings::StopBits::One;
    choice.PcPortChosen = true;
    m_form.view().Command2->click();
    return m_serial.isOpen();
}

} // namespace bench
