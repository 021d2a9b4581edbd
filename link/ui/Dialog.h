// SPDX-License-Identifier: MIT
#pragma once

#include "link/PortChoice.h"
#include "platform/PortList.h"

#include <QDialog>
#include <QList>
#include <QTimer>

class QComboBox;
class QLabel;
class QPushButton;

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
    // Chooses `port` (typed in when it is not listed) and `baud`, loading the dialog first when it
    // is not loaded, as a device found by "查找设备" is chosen.
    void choosePort(const QWidget* main, const QString& port, const QString& baud);

    // How often the port list is read again while the dialog is shown, so that an adapter plugged
    // in or pulled out shows within a second.
    static constexpr int PortPollMs = 500;

    // The longest port name a list takes; device paths are far shorter.
    static constexpr int MaxPortNameLength = 255;

Q_SIGNALS:
    // "查找设备" was pressed; the dialog stays open.
    void findRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Form_Load(const QWidget* main);
    // Reads the port list again. What the operator chose or typed stays while it is listed, and a
    // typed name stays in any case; a chosen port that has gone stays as typed text when `keepGone`,
    // otherwise the last port is chosen, as at loading.
    void refreshPorts(bool keepGone);
    void showPorts(const QList<platform::PortInfo>& ports);
    void showDescription();

    QComboBox* Combo1;     // port
    QComboBox* Combo2;     // baud rate
    QComboBox* Combo3;     // data bits
    QComboBox* Combo4;     // stop bits
    QComboBox* Combo5;     // parity
    QPushButton* Command2; // 确定
    QPushButton* Command1; // 取消
    QPushButton* m_find;   // 查找设备…
    platform::PortList& m_ports;
    QList<platform::PortInfo> m_shown; // the list as it was last read
    QTimer m_poll{this};
    bool m_loaded = false;
    bool m_loadedOnLastRun = false;
};

} // namespace serial
