#pragma once

#include "link/PortChoice.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace platform {
class PortList;
}

// The communication-port settings dialog "串口设置": the PC port and its line settings.
namespace serial {

class Dialog final : public QDialog {
    Q_OBJECT
public:
    explicit Dialog(platform::PortList& ports, QWidget* parent = nullptr);

    // Shows the dialog modally, centred over `main` when it is loaded afresh. True on OK.
    bool run(const QWidget* main);
    // True when the last run() loaded the dialog (first showing, or after a close by its frame);
    // the defaults it selected are then part of the port choice.
    bool loadedOnLastRun() const { return m_loadedOnLastRun; }
    PortSelection selection() const;

    // The longest port name a list takes; device paths are far shorter.
    static constexpr int MaxPortNameLength = 255;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load(const QWidget* main);
    void refreshPorts();

    QComboBox* Combo1;     // port
    QComboBox* Combo2;     // baud rate
    QComboBox* Combo3;     // data bits
    QComboBox* Combo4;     // stop bits
    QComboBox* Combo5;     // parity
    QPushButton* Command2; // 确定
    QPushButton* Command1; // 取消
    platform::PortList& m_ports;
    bool m_loaded = false;
    bool m_loadedOnLastRun = false;
};

} // namespace serial
