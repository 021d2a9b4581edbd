// SPDX-License-Identifier: MIT
#include "shell/Form1.h"

#include "config/Describe.h"
#include "config/NetworkFrame.h"
#include "config/PortSetFrame.h"
#include "config/Tables.h"
#include "config/ui/Dialog2.h"
#include "device/ui/FindDeviceDialog.h"
#include "link/PortController.h"
#include "link/ui/Dialog.h"
#include "platform/SingleInstance.h"
#include "platform/ui/MessageBoxes.h"
#include "platform/ui/Placement.h"
#include "protocol/ForwardFrame.h"
#include "protocol/HexText.h"
#include "protocol/ReplyDecoder.h"
#include "protocol/Requests.h"
#include "shell/StatusLine.h"
#include "shell/Titles.h"
#include "shell/frmAbout.h"
#include "traffic/AnswerWatch.h"
#include "traffic/TrafficLog.h"
#include "traffic/ui/TrafficLogPane.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTextDocument>

namespace shell {

namespace {

const QString kOpen = QStringLiteral("打开串口");
const QString kClose = QStringLiteral("关闭串口");
const QString kAttention = QStringLiteral("注意");
const QString kCongratulations = QStringLiteral("恭喜");
const QString kError = QStringLiteral("错误");
const QString kCrLf = QStringLiteral("\r\n");
const QString kLostText = QStringLiteral("串口连接已断开,请检查设备和连接线后重新打开串口!");
constexpr auto kChinese = config::Language::Chinese;
using traffic::Direction;

void fill(QComboBox* combo, const config::OptionTable& table) {
    combo->addItems(table.texts());
    combo->setCurrentIndex(-1); // nothing chosen until the operator or a sync reply chooses
}

void select(QComboBox* combo, const std::optional<int>& position) {
    if (position) // a code that matches no entry leaves the list as it was
        combo->setCurrentIndex(*position);
}

// A visitor from lambdas, so that std::visit demands an action for every kind of reply.
template <typename... Actions> struct Overloaded : Actions... { using Actions::operator()...; };
template <typename... Actions>
Overloaded(Actions...) -> Overloaded<Actions...>; // clang does not deduce it for an aggregate

// Why the chosen port could not be opened, as the operator is told.
QString openFailureText(platform::SerialError error) {
    switch (error) {
    case platform::SerialError::DeviceNotFound:
        return QStringLiteral("没有发现此串口!请检查串口号和连接线。");
    case platform::SerialError::InUse:
        return QStringLiteral("此串口已被其他程序占用!请关闭占用它的程序后再打开。");
    case platform::SerialError::Permission:
#ifdef Q_OS_LINUX
        return QStringLiteral("没有权限打开此串口!请把当前用户加入dialout组"
                              "(sudo usermod -aG dialout $USER),重新登录后再打开。");
#else
        return QStringLiteral("没有权限打开此串口!请以有权使用串口的用户运行本程序。");
#endif
    default:
        return QStringLiteral("没有发现此串口或被占用!");
    }
}

} // namespace

Form1::Form1(Services services, QWidget* parent)
    : QMainWindow(parent), m_services(services), v(Form1View::build(this)),
      m_link(new serial::PortController(services.serial, this)),
      m_profiles(m_panels, services.files, services.messages, this), m_log(new traffic::TrafficLog(this)),
      m_answers(new traffic::AnswerWatch(this)) {
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
    // The pane hides as the window's base part closes it; by then this part is gone.
    if (m_pane)
        m_pane->disconnect(this);
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
    setFixedSize(size()); // a fixed layout: the window is not meant to be resized
    m_designedSize = size();
    platform::centreOnScreen(this);
    fill(v.Combo1, config::tables::forwardPorts());
    v.Combo1->setCurrentIndex(0);
    fill(v.Combo6, config::tables::baudRates());
    fill(v.Combo8, config::tables::outputSwitch());
    for (int i = 0; i < protocol::frame::PortCount; ++i) {
        fill(v.Combo2[i], config::tables::baudRates());
        fill(v.Combo3[i], config::tables::dataBits());
        fill(v.Combo4[i], config::tables::stopBits());
        fill(v.Combo5[i], config::tables::parities());
        fill(v.Combo7[i], config::tables::functions());
    }
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
            m_dialog->choosePort(this, found->port, QString::number(found->baud));
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
    showChoiceInStatus();
}

void Form1::setConnectionState(ConnectionState state) {
    if (state == m_state)
        return; // a second connect reply changes nothing
    m_state = state;
    const bool open = state != ConnectionState::Closed;
    const bool connected = state == ConnectionState::Connected;
    const QString caption = open ? kClose : kOpen;
    v.Command2->setText(caption);
    v.Command2->setAccessibleName(caption);
    v.Command3->setEnabled(open);
    for (QPushButton* b : {v.Command1, v.Command4, v.Command6})
        b->setEnabled(connected);
    if (connected)
        v.netset->setEnabled(true); // and stays enabled for the rest of the run
    m_status->setState(state);
    Q_EMIT connectionStateChanged(state);
}

void Form1::Command2_Click() {
    if (!m_choice.PcPortChosen) {
        showMessage(QStringLiteral("请设置串口参数!"), kAttention);
        showSettingsDialog();
        return; // a second click opens
    }
    if (m_state == ConnectionState::Closed)
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
    if (m_link->isOpen())
        return true;
    const platform::OpenResult opened = ConfigurePort();
    if (const platform::SerialError* error = opened.faultIf()) {
        m_log->append(
            Direction::Event, {},
            QStringLiteral("打开串口 %1 失败: %2").arg(m_choice.PcPortName, openFailureText(*error)));
        showMessage(openFailureText(*error), QStringLiteral("SETPASS"));
        return false;
    }
    return true;
}

void Form1::closecom() {
    m_link->close();
}

void Form1::onPortLost() {
    m_log->append(Direction::Event, {}, QStringLiteral("串口连接已断开"));
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
    if (!m_link->isOpen()) {
        showMessage(QStringLiteral("请打开串口!"), kAttention);
        return false;
    }
    if (!m_link->send(bytes)) // a failed write closes the port and reports it
        return false;
    m_log->append(Direction::Sent, bytes, config::describe::request(bytes, kChinese));
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
        if (m_state == ConnectionState::Closed) {
            for (; k < segments.size(); ++k)
                logReply(segments[k], k, segments.size(), QStringLiteral(" (串口已关闭,未处理)"));
            return;
        }
        logReply(segment, k, segments.size());
        const QString savedTrace = v.Text2->text();
        v.Text2->setText(protocol::toHexText(segment.bytes.left(1)));
        applyReply(segment.reply, savedTrace, boxesShown);
    }
}

void Form1::logReply(const protocol::ReplySegment& segment, size_t index, size_t count, const QString& note) {
    // What the window made of the bytes, which is not always what a strict reader would.
    QString meaning = config::describe::decodedReply(segment.reply, segment.bytes, kChinese);
    if (count > 1)
        meaning += QStringLiteral(" (同一批 %1/%2)").arg(index + 1).arg(count);
    m_log->append(Direction::Received, segment.bytes, meaning + note);
    m_answers->replied();
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
                if (m_state != ConnectionState::Closed) // lost while the box was open: nothing to unlock
                    setConnectionState(ConnectionState::Connected);
            },
            [&](const protocol::PortSetConfirmed&) {
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
                applyPortConfiguration(configuration);
                compareWithDevice(configuration);
                confirm(QStringLiteral("扩展串口数据同步成功!"), boxesShown);
            },
        },
        reply);
}

void Form1::applyPortConfiguration(const protocol::PortConfiguration& c) {
    namespace tables = config::tables;
    std::array<tables::LineCodes, protocol::frame::PortCount> line;
    for (int i = 0; i < protocol::frame::PortCount; ++i)
        line[i] = tables::decodeLineByte(c.ports[i].lineByte);
    // List by list, as the device's panels are read: main port, switch, then each field of every port.
    select(v.Combo6, tables::baudRates().positionOfCode(c.mainBaudCode));
    select(v.Combo8, tables::outputSwitch().positionOfCode(c.outputSwitch));
    for (int i = 0; i < protocol::frame::PortCount; ++i)
        select(v.Combo2[i], tables::baudRates().positionOfCode(c.ports[i].baudCode));
    for (int i = 0; i < protocol::frame::PortCount; ++i)
        select(v.Combo3[i], tables::dataBits().positionOfCode(line[i].dataBits));
    for (int i = 0; i < protocol::frame::PortCount; ++i)
        select(v.Combo4[i], tables::stopBits().positionOfCode(line[i].stopBits));
    for (int i = 0; i < protocol::frame::PortCount; ++i)
        select(v.Combo5[i], tables::parities().positionOfCode(line[i].parity));
    for (int i = 0; i < protocol::frame::PortCount; ++i)
        select(v.Combo7[i], tables::functions().positionOfCode(c.ports[i].functionCode));
}

void Form1::applyNetworkParameters(const protocol::NetworkParameters& parameters) {
    config::Dialog2& dialog = ensureNetworkDialog();
    for (int i = 0; i < protocol::frame::NetworkOctets; ++i)
        dialog.setOctetText(i, QString::number(parameters.octets[i]));
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
    const config::PortPanels panels = m_panels.read();
    const auto built = config::PortSetFrame::build(panels);
    if (const auto* fault = built.faultIf()) {
        showMessage(fault->message(), kAttention);
        return;
    }
    const QString& frame = built.value();
    v.Text2->setText(QStringLiteral("00010000"));
    v.Text1->setPlainText(frame);
    if (SendHex(frame))
        expect(config::Profile::fromPanels(panels).value(), QStringLiteral("写入的配置"));
}

void Form1::Command6_Click() {
    if (m_choice.PcPortName.isEmpty()) {
        showMessage(QStringLiteral("请设置串口参数!"), kAttention);
        return;
    }
    SendHex(protocol::requests::PortSync.toString());
}

void Form1::Easer_Click() {
    if (!m_link->isOpen()) {
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
    SendHex(frame);
}

// ---- Menus and shutdown --------------------------------------------------------------------

void Form1::com_set_Click() {
    closecom();
    showSettingsDialog();
}

// ---- Beside the designed window ------------------------------------------------------------

void Form1::buildExtras() {
    // Menus of their own, so the designed ones keep their items: 文件(F) first, 工具(T) before 关于(A).
    auto* fileMenu = new QMenu(QStringLiteral("文件(&F)"), this);
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    menuBar()->insertMenu(v.settingsMenu->menuAction(), fileMenu);
    QAction* openProfile = fileMenu->addAction(QStringLiteral("打开配置(&O)…"));
    openProfile->setObjectName(QStringLiteral("openProfile"));
    openProfile->setShortcut(QKeySequence::Open);
    QAction* saveProfile = fileMenu->addAction(QStringLiteral("保存配置(&S)…"));
    saveProfile->setObjectName(QStringLiteral("saveProfile"));
    saveProfile->setShortcut(QKeySequence::Save);
    connect(openProfile, &QAction::triggered, this, &Form1::openProfile_Click);
    connect(saveProfile, &QAction::triggered, this, &Form1::saveProfile_Click);

    m_log->setObjectName(QStringLiteral("TrafficLog"));
    auto* toolsMenu = new QMenu(QStringLiteral("工具(&T)"), this);
    toolsMenu->setObjectName(QStringLiteral("toolsMenu"));
    menuBar()->insertMenu(v.aboutMenu->menuAction(), toolsMenu);
    QAction* find = toolsMenu->addAction(QStringLiteral("查找设备(&F)…"));
    find->setObjectName(QStringLiteral("findDevice"));
    connect(find, &QAction::triggered, this, &Form1::findDevice_Click);
    m_logAction = toolsMenu->addAction(QStringLiteral("通信记录(&L)"));
    m_logAction->setObjectName(QStringLiteral("trafficLog"));
    m_logAction->setCheckable(true);
    m_logAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(m_logAction, &QAction::toggled, this, &Form1::showTrafficLog);

    // Right-click on a port panel, or on one of its lists below the edit entries: its five values to
    // the other seven panels; nothing is sent.
    for (int i = 0; i < protocol::frame::PortCount; ++i) {
        auto* copy = new QAction(QStringLiteral("应用到所有串口"), v.Frame1[i]);
        copy->setObjectName(QStringLiteral("copyPanel_%1").arg(i));
        v.Frame1[i]->addAction(copy);
        v.Frame1[i]->setContextMenuPolicy(Qt::ActionsContextMenu);
        connect(copy, &QAction::triggered, this, [this, i] { m_panels.copyToAll(i); });
        for (QComboBox* list : {v.Combo2[i], v.Combo3[i], v.Combo4[i], v.Combo5[i], v.Combo7[i]}) {
            QLineEdit* edit = list->lineEdit();
            edit->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(edit, &QLineEdit::customContextMenuRequested, edit, [edit, copy](const QPoint& at) {
                std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
                menu->addSeparator();
                menu->addAction(copy);
                menu->exec(edit->mapToGlobal(at));
            });
        }
    }

    m_status = new StatusLine(this);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(m_status, 1);

    connect(m_link, &serial::PortController::opened, this, [this] {
        m_openPort = m_choice.PcPortName; // the choice may change while the port stays open
        m_status->setPort(m_choice.PcPortName, m_choice.settingsString());
        m_log->append(Direction::Event, {},
                      QStringLiteral("打开串口 %1 %2").arg(m_choice.PcPortName, m_choice.settingsString()));
    });
    connect(m_link, &serial::PortController::closed, this, [this] {
        m_answers->clear();
        m_log->append(Direction::Event, {}, QStringLiteral("关闭串口"));
        showChoiceInStatus();
    });
    connect(m_answers, &traffic::AnswerWatch::unanswered, this, [this](const QByteArray& request) {
        m_log->append(Direction::Event, request,
                      QStringLiteral("无应答: ") + config::describe::request(request, kChinese));
    });
}

void Form1::showChoiceInStatus() {
    if (m_state == ConnectionState::Closed)
        m_status->setPort(m_choice.PcPortName, m_choice.settingsString());
}

void Form1::showTrafficLog(bool shown) {
    if (!m_pane && shown) {
        // Made when first asked for, so the window starts as fast as designed.
        m_pane = new traffic::TrafficLogPane(*m_log, m_services.files, m_services.messages, this);
        addDockWidget(Qt::BottomDockWidgetArea, m_pane);
        connect(m_pane, &QDockWidget::visibilityChanged, this, [this] {
            m_logAction->setChecked(!m_pane->isHidden()); // also when closed by its own button
            fitToPane();
        });
        connect(m_pane, &QDockWidget::topLevelChanged, this, &Form1::fitToPane);
    }
    if (m_pane)
        m_pane->setVisible(shown);
}

void Form1::fitToPane() {
    if (!m_designedSize.isValid() || !m_pane)
        return; // not loaded yet, or the pane never shown
    if (!m_pane->isVisible() || m_pane->isFloating()) {
        setFixedSize(m_designedSize);
        return;
    }
    // Docked: as tall as the operator likes, never narrower or lower than designed.
    const int pane = qMax(m_pane->minimumHeight(), 220);
    setMinimumSize(m_designedSize.width(), m_designedSize.height() + m_pane->minimumHeight());
    setMaximumSize(m_designedSize.width(), QWIDGETSIZE_MAX);
    if (height() < m_designedSize.height() + pane)
        resize(m_designedSize.width(), m_designedSize.height() + pane);
    // Grown downwards; moved up as far as needed to stay on the screen.
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        const int overhang = frameGeometry().bottom() - available.bottom();
        if (overhang > 0)
            move(x(), qMax(available.top(), y() - overhang));
    }
}

std::optional<device::ScanResult> Form1::findDevice(QWidget* parent) {
    if (!m_services.serialFactory)
        return std::nullopt;
    const QString inUse = m_link->isOpen() ? m_openPort : QString();
    device::FindDeviceDialog dialog(m_services.serialFactory, m_services.ports.ports(), inUse, parent);
    const std::optional<device::ScanResult> found = dialog.run();
    if (found)
        m_log->append(Direction::Event, {},
                      QStringLiteral("查找设备: %1 在 %2 波特应答").arg(found->port).arg(found->baud));
    return found;
}

void Form1::findDevice_Click() {
    const std::optional<device::ScanResult> found = findDevice(this);
    if (!found)
        return;
    // As if chosen in the settings dialog and confirmed; an open port stays as it is until reopened.
    ensureSettingsDialog();
    m_dialog->choosePort(this, found->port, QString::number(found->baud));
    m_choice.apply(m_dialog->selection());
    m_choice.PcPortChosen = true;
    showChoiceInStatus();
}

void Form1::saveProfile_Click() {
    const QString file = m_profiles.save(m_dialog2.get());
    if (!file.isEmpty())
        m_log->append(Direction::Event, {}, QStringLiteral("保存配置 %1").arg(file));
}

void Form1::openProfile_Click() {
    const std::optional<ProfileActions::Opened> opened =
        m_profiles.open([this]() -> config::Dialog2& { return ensureNetworkDialog(); });
    if (!opened)
        return;
    m_log->append(Direction::Event, {}, QStringLiteral("打开配置 %1").arg(opened->file));
    expect(opened->profile, QStringLiteral("打开的配置"));
}

void Form1::expect(const config::Profile& profile, const QString& source) {
    m_expected = Expected{profile, source};
    m_expected->profile.network.reset();
    m_marks.clear();
    m_status->setDifferences(std::nullopt);
}

void Form1::compareWithDevice(const protocol::PortConfiguration& configuration) {
    if (!m_expected)
        return;
    const std::vector<config::ProfileDifference> differences =
        config::ProfileDiff::compare(m_expected->profile, config::Profile::fromConfiguration(configuration));
    m_marks.show(differences);
    m_status->setDifferences(int(differences.size()));
    m_log->append(Direction::Event, {}, CompareMarks::summary(differences, m_expected->source));
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
