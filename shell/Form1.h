// SPDX-License-Identifier: MIT
#pragma once

#include "config/Profile.h"
#include "link/PortChoice.h"
#include "platform/SerialControl.h"
#include "protocol/Reply.h"
#include "shell/CompareMarks.h"
#include "shell/ConnectionState.h"
#include "shell/DeviceButtons.h"
#include "shell/Form1View.h"
#include "shell/PanelLists.h"
#include "shell/ProfileActions.h"
#include "shell/Services.h"
#include "shell/Verification.h"

#include <QMainWindow>
#include <QSet>
#include <QTimer>

#include <memory>
#include <optional>

namespace serial {
class Dialog;
class PortController;
} // namespace serial
namespace config {
class Dialog2;
}
namespace traffic {
class AnswerWatch;
class TrafficLog;
class TrafficLogPane;
} // namespace traffic

// The main window: reads its controls, calls the protocol and configuration core, shows the
// results. It owns the port, the timers, the port panels and the state shared with the dialogs.
// Its controls and timers carry their design names as object names. Beside the designed window:
// the menus 文件(F) and 工具(T), the traffic log pane, the status line, the comparison marks and
// the port panels' context menu.
namespace shell {

class SessionRecord;
class StatusLine;
class ToolMenus;

class Form1 final : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(Services services, QWidget* parent = nullptr);
    ~Form1() override;

    // The load steps: placement, lists, initial states, then the single-instance check.
    // False when another copy runs; its message has then been shown.
    bool Form_Load();

    // Opens the chosen port if it is closed; false, with the reason shown, when it cannot.
    bool opencom();
    void closecom();

    ConnectionState connectionState() const { return m_buttons.state(); }

Q_SIGNALS:
    // After every change of the connection state, with the new state; not for a repeated one.
    void connectionStateChanged(shell::ConnectionState state);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void connectHandlers();
    void showMessage(const QString& text, const QString& title, bool information = true);
    void showSettingsDialog();
    // The one place that changes the connection state: the controls through `m_buttons`, then the
    // status line and the signal.
    void setConnectionState(ConnectionState state);

    // Port control.
    void Command2_Click();
    void Command3_Click();
    platform::OpenResult ConfigurePort();
    void onPortLost();

    // Transmitter and reply processor. A reply's confirmation box is shown once per burst:
    // `boxesShown` holds the texts already shown for the burst being processed.
    // SendHex: true when the bytes were written.
    bool SendHex(const QString& text);
    void ProcessReply();
    void applyReply(const protocol::Reply& reply, const QString& savedTrace, QSet<QString>& boxesShown);
    void confirm(const QString& text, QSet<QString>& boxesShown);
    void applyNetworkParameters(const protocol::NetworkParameters& parameters);

    // Console. Builds the forward frame from the command line; shows it, or the reason it failed
    // (clearing the trace and the output box on a generate).
    std::optional<QString> buildForwardFrame(bool clearOnFailure);
    void Command1_Click();
    void Command8_Click();
    void Command5_Click();

    // Port configuration and network parameters.
    void Command4_Click();
    // The panels as a port-set frame to the device; true when it went out.
    bool writePanels();
    void Command6_Click();
    void Easer_Click();
    void netset_Click();
    // Created, and loaded with empty boxes, on first use; never shown by this call.
    config::Dialog2& ensureNetworkDialog();
    void Timer3_Timer();
    void Timer4_Timer();

    void com_set_Click();
    void ensureSettingsDialog();
    void aboutme_Click();
    void quit_Click();
    void Form_Unload();

    // Beside the designed window.
    void buildExtras();
    // The device found, or nullopt; the scan never touches the window's open port.
    std::optional<device::ScanResult> findDevice(QWidget* parent);
    void findDevice_Click();
    void openProfile_Click();
    void saveProfile_Click();

    Services m_services;
    Form1View v;
    serial::PortChoice m_choice;
    serial::PortController* m_link; // a child of the window
    QTimer Timer3{this};
    QTimer Timer4{this};
    bool NetParamReadPending = false;
    bool NetParamSetPending = false;
    std::unique_ptr<serial::Dialog> m_dialog;
    std::unique_ptr<config::Dialog2> m_dialog2;

    PanelLists m_panels{v};
    ProfileActions m_profiles;
    traffic::TrafficLog* m_log;
    traffic::AnswerWatch* m_answers;
    ToolMenus* m_tools;
    DeviceButtons m_buttons;
    StatusLine* m_status = nullptr;
    SessionRecord* m_record = nullptr;
    std::unique_ptr<Verification> m_verification;
};

} // namespace shell
