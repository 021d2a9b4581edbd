#pragma once

#include "link/PortChoice.h"
#include "protocol/Reply.h"
#include "shell/Form1View.h"
#include "shell/Services.h"

#include <QMainWindow>
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

// The main window: reads its controls, calls the protocol and configuration core, shows the
// results. It owns the port, the timers, the port panels and the state shared with the dialogs.
namespace shell {

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

    const Form1View& view() const { return v; }
    serial::PortChoice& portChoice() { return m_choice; }
    serial::Dialog* settingsDialog() const { return m_dialog.get(); }
    config::Dialog2* networkDialog() const { return m_dialog2.get(); }
    // Created, and loaded with empty boxes, on first use; never shown by this call.
    config::Dialog2& ensureNetworkDialog();
    QTimer& timer3() { return Timer3; }
    QTimer& timer4() { return Timer4; }

    bool NetParamReadPending = false;
    bool NetParamSetPending = false;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void connectHandlers();
    void showMessage(const QString& text, const QString& title, bool information = true);
    void showSettingsDialog();

    // Port control.
    void Command2_Click();
    void Command3_Click();
    bool ConfigurePort();
    void enterClosedState();
    void onPortLost();

    // Transmitter and reply processor.
    void SendHex(const QString& text);
    void ProcessReply();
    void applyReply(const protocol::Reply& reply, const QString& savedTrace);
    void applyPortConfiguration(const protocol::PortConfiguration& configuration);
    void applyNetworkParameters(const protocol::NetworkParameters& parameters);

    // Console. Builds the forward frame from the command line; shows it, or the reason it failed
    // (clearing the trace and the output box on a generate).
    std::optional<QString> buildForwardFrame(bool clearOnFailure);
    void Command1_Click();
    void Command8_Click();
    void Command5_Click();

    // Port configuration and network parameters.
    void Command4_Click();
    void Command6_Click();
    void Easer_Click();
    void netset_Click();
    void Timer3_Timer();
    void Timer4_Timer();

    void com_set_Click();
    void aboutme_Click();
    void quit_Click();
    void Form_Unload();

    Services m_services;
    Form1View v;
    serial::PortChoice m_choice;
    std::unique_ptr<serial::PortController> m_link;
    QTimer Timer3;
    QTimer Timer4;
    std::unique_ptr<serial::Dialog> m_dialog;
    std::unique_ptr<config::Dialog2> m_dialog2;
};

} // namespace shell
