// SPDX-License-Identifier: MIT
#include "shell/Form1.h"

#include "config/Describe.h"
#include "config/NetworkFrame.h"
#include "config/PortSetFrame.h"
#include "config/ui/Dialog2.h"
#include "link/PortController.h"
#include "link/ui/Dialog.h"
#include "platform/SingleInstance.h"
#include "platform/ui/MessageBoxes.h"
#include "platform/ui/Placement.h"
#include "protocol/ForwardFrame.h"
#include "protocol/HexText.h"
#include "protocol/ReplyDecoder.h"
#include "protocol/Requests.h"
#include "shell/SessionRecord.h"
#include "shell/StatusLine.h"
#include "shell/Titles.h"
#include "shell/ToolMenus.h"
#include "shell/frmAbout.h"
#include "traffic/AnswerWatch.h"
#include "traffic/TrafficLog.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QIcon>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextDocument>

namespace shell {

namespace {

const QString kAttention = QStringLiteral("注意");
const QString kCongratulations = QStringLiteral("恭喜");
const QString kError = QStringLiteral("错误");
const QString kCrLf = QStringLiteral("\r\n");
const QString kLostText = QStringLiteral("串口连接已断开,请检查设备和连接线后重新打开串口!");

// A visitor from lambdas, so that std::visit demands an action for every kind of reply.
template <typename... Actions> struct Overloaded : Actions... { using Actions::operator()...; };
template <typename... Actions>
Overloaded(Actions...) -> Overloaded<Actions...>; // clang does not deduce it for an aggregate

} // namespace

Form1::Form1(Services services, QWidget* parent)
    : QMainWindow(parent), m_services(services), v(Form1View::build(this)),
      m_link(new serial::PortController(services.serial, this)),
      m_profiles(m_panels, services.files, services.messages, this), m_log(new traffic::TrafficLog(this)),
      m_answers(new traffic::AnswerWatch(this)),
      m_tools(new ToolMenus(this, v, *m_log, services.files, services.messages)),
      m_buttons({v.Command2,
                 v.Command3,
                 {v.Command1, v.Command4, v.Command6},
                 {m_tools->writeAndVerify()},
                 {v.netset}}) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ProgramTitle.toString());
    setWindowIcon(QIcon(QStringLiteral(":/icons/expander-config.svg")));
    Timer3.setObjectName(QStringLiteral("Timer3"));
    Timer4.setObjectName(QStringLiteral("Timer4"));
    Timer3.setInterval(200);
    Timer4.setInterval(200);
    connectHandlers();
    buildExtras();
}

Form1::~Form1() {
    // The log pane hides as the window's base part closes it; by then this part is gone.
    delete m_tools;
}

void Form1::connectHandlers() {
    connect(v.Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(v.Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(v.Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(v.Command8, &QPushButton::clicked, this, &Form1::Command8_Click);
    connect(v.Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(v.Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(v.Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(v.com_set, &QAction::triggered, this, &Form1::com_set_Click);
    connect(v.netset, &QAction::triggered, this, &Form1::netset_Click);
    connect(v.quit, &QAction::triggered, this, &Form1::quit_Click);
    connect(v.aboutme, &QAction::triggered, this, &Form1::aboutme_Click);
    connect(v.Easer, &QAction::triggered, this, &Form1::Easer_Click);
    connect(v.Text2, &QLineEdit::textChanged, this,
            [this] { v.Text2->setCursorPosition(int(v.Text2->text().size())); });
    connect(m_link, &serial::PortController::opened, this,
            [this] { setConnectionState(ConnectionState::Open); });
    connect(m_link, &serial::PortController::closed, this,
            [this] { setConnectionState(ConnectionState::Closed); });
    connect(m_link, &serial::PortController::quiet, this, &Form1::ProcessReply);
    connect(m_link, &serial::PortController::portLost, this, &Form1::onPortLost);
    connect(&Timer3, &QTimer::timeout, this, &Form1::Timer3_Timer);
    connect(&Timer4, &QTimer::timeout, this, &Form1::Timer4_Timer);
}

bool Form1::Form_Load() {
    adjustSize();
    m_tools->setDesignedSize(size());
    platform::centreOnScreen(this);
    m_panels.fill();
    v.Text3->clear();
    v.netset->setEnabled(false);
    if (m_services.instance.anotherIsRunning()) {
        showMessage(QStringLiteral("程序已经运行,请检查是否最小化!."), QStringLiteral("系统提示"));
        return false;
    }
    return true;
}

void Form1::showMessage(const QString& text, const QString& title, bool information) {
    m_services.messages.show(text, title,
                             information ? platform::MessageBoxes::Icon::Information
                                         : platform::MessageBoxes::Icon::None);
}

// ---- Port control -------------------------------------------------------------------------

void Form1::ensureSettingsDialog() {
    if (m_dialog)
        return;
    m_dialog = std::make_unique<serial::Dialog>(m_services.ports, this);
    connect(m_dialog.get(), &serial::Dialog::findRequested, this, [this] {
        if (const std::optional<device::ScanResult> found = findDevice(m_dialog.get()))
            m_dialog->choosePort(this, found->port, QString::number(found->outcome.value().baud));
    });
}

void Form1::showSettingsDialog() {
    ensureSettingsDialog();
    const bool accepted = m_dialog->run(this);
    // Loading selects defaults that count as the choice; OK also confirms it.
    if (m_dialog->loadedOnLastRun() || accepted)
        m_choice.apply(m_dialog->selection());
    if (accepted)
        m_choice.PcPortChosen = true;
    m_record->showChoice(m_buttons.state() == ConnectionState::Closed);
}

void Form1::setConnectionState(ConnectionState state) {
    if (!m_buttons.set(state))
        return;
    m_status->setState(state);
    Q_EMIT connectionStateChanged(state);
}

void Form1::Command2_Click() {
    if (!m_choice.PcPortChosen) {
        showMessage(QStringLiteral("请设置串口参数!"), kAttention);
        showSettingsDialog();
        return; // a second click opens
    }
    if (m_buttons.state() == ConnectionState::Closed)
        opencom(); // the state follows the port's own signals
    else
        closecom();
}

platform::OpenResult Form1::ConfigurePort() {
    return m_link->open(m_choice);
}

bool Form1::opencom() {
    if (m_choice.PcPortName.isEmpty()) {
        showMessage(QStringLiteral("未发现串口!"), kAttention);
        return false;
    }
    if (m_buttons.state() != ConnectionState::Closed)
        return true;
    const platform::OpenResult opened = ConfigurePort();
    if (const platform::SerialFault* error = opened.faultIf()) {
        showMessage(m_record->openFailed(*error), QStringLiteral("SETPASS"));
        return false;
    }
    return true;
}

void Form1::closecom() {
    m_link->close();
}

void Form1::onPortLost() {
    m_record->logEvent(QStringLiteral("串口连接已断开"));
    showMessage(kLostText, kAttention);
}

void Form1::Command3_Click() {
    SendHex(protocol::requests::Connect.toString());
}

// ---- Transmitter and reply processor ------------------------------------------------------

bool Form1::SendHex(const QString& text) {
    const QByteArray bytes = protocol::parseHexFrame(text);
    if (bytes.isEmpty())
        return false;
    if (m_buttons.state() == ConnectionState::Closed) {
        showMessage(QStringLiteral("请打开串口!"), kAttention);
        return false;
    }
    if (!m_link->send(bytes)) // a failed write closes the port and reports it
        return false;
    m_log->append(traffic::Kind::Sent, bytes, config::describe::request(bytes, config::Language::Chinese));
    m_answers->sent(bytes);
    return true;
}

void Form1::ProcessReply() {
    const QByteArray received = m_link->takeReceived();
    if (received.isEmpty())
        return;
    v.Text1->setPlainText(protocol::toHexText(received));
    QSet<QString> boxesShown;
    const std::vector<protocol::ReplySegment> segments = protocol::decodeBurst(received);
    for (size_t k = 0; k < segments.size(); ++k) {
        const protocol::ReplySegment& segment = segments[k];
        // A box lets events run: the port may have been lost or closed meanwhile, and the rest of
        // the burst belongs to a session that is over.
        if (m_buttons.state() == ConnectionState::Closed) {
            for (; k < segments.size(); ++k)
                m_record->reply(segments[k], k, segments.size(), QStringLiteral(" (串口已关闭,未处理)"));
            return;
        }
        m_record->reply(segment, k, segments.size());
        const QString savedTrace = v.Text2->text();
        v.Text2->setText(protocol::toHexText(segment.bytes.left(1)));
        applyReply(segment.reply, savedTrace, boxesShown);
    }
}

void Form1::confirm(const QString& text, QSet<QString>& boxesShown) {
    // One burst of 256 identical confirmations is one box, not 256 to click away.
    if (boxesShown.contains(text))
        return;
    boxesShown.insert(text);
    showMessage(text, kCongratulations);
}

void Form1::applyReply(const protocol::Reply& reply, const QString& savedTrace, QSet<QString>& boxesShown) {
    std::visit(
        Overloaded{
            [](const protocol::Unrecognised&) {},
            [&](const protocol::ConnectConfirmed&) {
                confirm(QStringLiteral("连接成功!"), boxesShown);
                if (m_buttons.state() !=
                    ConnectionState::Closed) // lost while the box was open: nothing to unlock
                    setConnectionState(ConnectionState::Connected);
            },
            [&](const protocol::PortSetConfirmed&) {
                if (m_verification->verifying()) { // read back at once; one message when it is in
                    SendHex(protocol::requests::PortSync.toString());
                    return;
                }
                confirm(QStringLiteral("设置扩展串口数据成功!请重启设备应用新的通迅波特率!"), boxesShown);
            },
            [&](const protocol::RestoreConfirmed&) {
                v.Text1->setPlainText(
                    savedTrace + kCrLf +
                    QStringLiteral("还原设置成功,请重新上电初始化所有参数,此过程将耗时数秒钟!") + kCrLf);
            },
            [&](const protocol::NetworkSetConfirmed&) {
                v.Text1->setPlainText(savedTrace + kCrLf);
                confirm(QStringLiteral("网络参数设置成功,请重新上电初始化网络参数!"), boxesShown);
                ensureNetworkDialog().hide();
            },
            [&](const protocol::NetworkParameters& parameters) { applyNetworkParameters(parameters); },
            [&](const protocol::PortConfiguration& configuration) {
                m_panels.show(configuration);
                const std::optional<QString> verdict = m_verification->compare(configuration);
                confirm(verdict ? *verdict : QStringLiteral("扩展串口数据同步成功!"), boxesShown);
            },
        },
        reply);
}

void Form1::applyNetworkParameters(const protocol::NetworkParameters& parameters) {
    config::Dialog2& dialog = ensureNetworkDialog();
    for (int i = 0; i < protocol::frame::NetworkOctets; ++i)
        dialog.setOctetText(i, QString::number(parameters.octets[i]));
    m_verification->compareNetwork(parameters, dialog);
}

config::Dialog2& Form1::ensureNetworkDialog() {
    if (!m_dialog2) {
        m_dialog2 = std::make_unique<config::Dialog2>(this);
        connect(m_dialog2.get(), &config::Dialog2::readRequested, this, [this] {
            NetParamReadPending = true;
            if (!Timer3.isActive())
                Timer3.start();
        });
        connect(m_dialog2.get(), &config::Dialog2::writeRequested, this, [this] {
            NetParamSetPending = true;
            if (!Timer4.isActive())
                Timer4.start();
        });
    }
    return *m_dialog2;
}

// ---- Console -------------------------------------------------------------------------------

std::optional<QString> Form1::buildForwardFrame(bool clearOnFailure) {
    using protocol::ForwardFault;
    const auto frame =
        // The characters as typed: toPlainText() would turn a no-break space into a space.
        protocol::ForwardFrame::build(v.Text1->document()->toRawText(), v.Combo1->currentText());
    if (frame) {
        v.Text3->setPlainText(frame.value());
        v.Text2->setText(frame.value());
        return frame.value();
    }
    const QString message = protocol::ForwardFrame::messageFor(frame.fault());
    if (!message.isEmpty())
        showMessage(message, kError, false);
    // The command line itself is always kept, so the operator can correct a typo.
    if (clearOnFailure &&
        (frame.fault() == ForwardFault::Empty || frame.fault() == ForwardFault::IllegalChar)) {
        v.Text2->clear();
        v.Text3->clear();
    }
    return std::nullopt;
}

void Form1::Command1_Click() {
    if (const std::optional<QString> frame = buildForwardFrame(false))
        SendHex(*frame);
}

void Form1::Command8_Click() {
    buildForwardFrame(true);
}

void Form1::Command5_Click() {
    v.Text1->clear();
    v.Text3->clear();
}

// ---- Port configuration and network parameters --------------------------------------------

void Form1::Command4_Click() {
    writePanels();
}

bool Form1::writePanels() {
    const config::PortPanels panels = m_panels.read();
    const auto built = config::PortSetFrame::build(panels);
    if (const auto* fault = built.faultIf()) {
        showMessage(fault->message(), kAttention);
        return false;
    }
    const QString& frame = built.value();
    v.Text2->setText(QStringLiteral("00010000"));
    v.Text1->setPlainText(frame);
    if (!SendHex(frame))
        return false;
    m_verification->expect(config::Profile::fromPanels(panels).value(), QStringLiteral("写入的配置"));
    return true;
}

void Form1::Command6_Click() {
    if (m_choice.PcPortName.isEmpty()) {
        showMessage(QStringLiteral("请设置串口参数!"), kAttention);
        return;
    }
    SendHex(protocol::requests::PortSync.toString());
}

void Form1::Easer_Click() {
    if (m_buttons.state() == ConnectionState::Closed) {
        showMessage(QStringLiteral("请打开串口!"), kAttention);
        return;
    }
    v.Text1->setPlainText(QStringLiteral("还原所有设置至默认状态!") + kCrLf);
    SendHex(protocol::requests::Restore.toString());
}

void Form1::netset_Click() {
    ensureNetworkDialog().run(this);
}

void Form1::Timer3_Timer() {
    if (!NetParamReadPending)
        return;
    // Stopped before sending: a message shown on the way must not let the next tick send again.
    Timer3.stop();
    NetParamReadPending = false;
    SendHex(protocol::requests::NetworkRead.toString());
}

void Form1::Timer4_Timer() {
    if (!NetParamSetPending)
        return;
    Timer4.stop();
    NetParamSetPending = false;
    config::Dialog2& dialog = ensureNetworkDialog();
    const auto built = config::NetworkFrame::build(dialog.octetTexts()); // the boxes as they are now
    if (const auto* fault = built.faultIf()) {
        showMessage(protocol::padFaultText(fault->fault), QString(), false);
        dialog.focusBox(fault->index);
        return;
    }
    const QString& frame = built.value();
    v.Text3->setPlainText(frame);
    if (SendHex(frame))
        m_verification->expectNetwork(frame);
}

void Form1::com_set_Click() {
    closecom();
    showSettingsDialog();
}

// ---- Beside the designed window ------------------------------------------------------------

void Form1::buildExtras() {
    m_log->setObjectName(QStringLiteral("TrafficLog"));
    connect(m_tools, &ToolMenus::openProfileRequested, this, &Form1::openProfile_Click);
    connect(m_tools, &ToolMenus::saveProfileRequested, this, &Form1::saveProfile_Click);
    connect(m_tools, &ToolMenus::findDeviceRequested, this, &Form1::findDevice_Click);
    connect(m_tools, &ToolMenus::writeAndVerifyRequested, this,
            [this] { m_verification->setVerifying(writePanels()); });
    connect(m_tools, &ToolMenus::copyPanelRequested, this, [this](int i) { m_panels.copyToAll(i); });

    m_status = new StatusLine(this);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(m_status, 1);
    m_verification = std::make_unique<Verification>(m_panels, *m_status, *m_log);
    connect(this, &Form1::connectionStateChanged, this,
            [this](ConnectionState state) { m_verification->onConnectionState(state); });

    m_record = new SessionRecord(*m_link, m_choice, *m_log, *m_answers, *m_status, this);
}

std::optional<device::ScanResult> Form1::findDevice(QWidget* parent) {
    const bool open = m_buttons.state() != ConnectionState::Closed;
    return m_record->findDevice(m_services, open ? m_record->openPort() : QString(), parent);
}

void Form1::findDevice_Click() {
    const std::optional<device::ScanResult> found = findDevice(this);
    if (!found)
        return;
    // As if chosen in the settings dialog and confirmed; an open port stays as it is until reopened.
    ensureSettingsDialog();
    m_dialog->choosePort(this, found->port, QString::number(found->outcome.value().baud));
    m_choice.apply(m_dialog->selection());
    m_choice.PcPortChosen = true;
    m_record->showChoice(m_buttons.state() == ConnectionState::Closed);
}

void Form1::saveProfile_Click() {
    const QString file = m_profiles.save(m_dialog2.get());
    if (!file.isEmpty())
        m_record->logEvent(QStringLiteral("保存配置 %1").arg(file));
}

void Form1::openProfile_Click() {
    const std::optional<ProfileActions::Opened> opened =
        m_profiles.open([this]() -> config::Dialog2& { return ensureNetworkDialog(); });
    if (!opened)
        return;
    m_record->logEvent(QStringLiteral("打开配置 %1").arg(opened->file));
    m_verification->expect(opened->profile, QStringLiteral("打开的配置"));
}

void Form1::aboutme_Click() {
    frmAbout about(this); // loaded afresh at each showing
    about.exec();
}

void Form1::quit_Click() {
    closecom();
    close(); // runs Form_Unload
    m_dialog.reset();
    m_dialog2.reset();
}

void Form1::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void Form1::Form_Unload() {
    closecom(); // ends the quiet time as well
    Timer3.stop();
    Timer4.stop();
}

} // namespace shell
