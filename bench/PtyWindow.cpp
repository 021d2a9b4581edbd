// SPDX-License-Identifier: MIT
#include "bench/PtyWindow.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>

namespace bench {

PtyWindow::PtyWindow() : m_form({m_serial, m_ports, m_messages, m_instance, m_files, {}}) {
    m_ports.names = {m_device.slavePath()};
    m_form.Form_Load();
    m_form.show();
}

bool PtyWindow::openPort() {
    if (!m_device.isValid())
        return false;
    auto* open = m_form.findChild<QPushButton*>(QStringLiteral("Command2"));
    // The first click asks for the settings: the dialog's defaults (the pty, 9600 8N1) are taken.
    QTimer::singleShot(0, &m_form, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->accept();
    });
    open->click();
    open->click();
    return m_serial.isOpen();
}

} // namespace bench
