// SPDX-License-Identifier: MIT
#include "device/ui/FindDeviceDialog.h"

#include "config/Describe.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/Placement.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace device {

namespace {

enum Column { PortColumn, BaudColumn, ResultColumn };

QString openFailure(platform::SerialFault error) {
    switch (error) {
    case platform::SerialFault::DeviceNotFound:
        return QStringLiteral("没有发现此串口");
    case platform::SerialFault::InUse:
        return QStringLiteral("已被其他程序占用");
    case platform::SerialFault::Permission:
        return QStringLiteral("没有权限打开");
    case platform::SerialFault::Resource:
        return QStringLiteral("查找中串口断开");
    default:
        return QStringLiteral("无法打开");
    }
}

// "找到设备，IP 192.168.1.100，MAC 00:08:DC:01:02:03": boxes on one bench told apart.
QString foundText(const FoundDevice& device) {
    if (!device.network)
        return QStringLiteral("找到设备");
    return QStringLiteral("找到设备，IP %1，MAC %2")
        .arg(config::describe::dottedQuad(*device.network, 6), config::describe::macAddress(*device.network));
}

} // namespace

FindDeviceDialog::FindDeviceDialog(Scanner::SerialFactory factory, const QStringList& ports,
                                   const QString& inUse, QWidget* parent)
    : QDialog(parent), m_scanner(std::move(factory)), m_ports(ports), m_inUse(inUse),
      m_status(new QLabel(this)), m_progress(new QProgressBar(this)), m_results(new QTreeWidget(this)),
      m_use(platform::toolButton(this, "useButton", QStringLiteral("使用"))),
      m_stop(platform::toolButton(this, "stopButton", QStringLiteral("停止"))),
      m_close(platform::toolButton(this, "closeButton", QStringLiteral("关闭"))) {
    setObjectName(QStringLiteral("FindDeviceDialog"));
    setWindowTitle(QStringLiteral("查找设备"));
    setModal(true);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setAccessibleName(QStringLiteral("查找进度"));
    m_results->setObjectName(QStringLiteral("results"));
    m_results->setAccessibleName(QStringLiteral("查找结果"));
    m_results->setHeaderLabels({QStringLiteral("串口"), QStringLiteral("波特率"), QStringLiteral("结果")});
    m_results->setRootIsDecorated(false);
    m_results->setUniformRowHeights(true);
    m_results->header()->setStretchLastSection(true);
    m_results->setColumnWidth(PortColumn, 200);
    m_results->setColumnWidth(BaudColumn, 70);
    m_results->setTextElideMode(Qt::ElideMiddle); // long paths differ at their end; the tooltip has it whole
    m_use->setDefault(true);                      // Enter uses the device selected

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_use);
    buttons->addWidget(m_stop);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_progress);
    layout->addWidget(m_results);
    layout->addLayout(buttons);
    resize(480, 320);

    connect(&m_scanner, &Scanner::progress, this, [this](int done, int total) {
        m_progress->setMaximum(qMax(total, 1));
        m_progress->setValue(done);
    });
    connect(&m_scanner, &Scanner::found, this, &FindDeviceDialog::onFound);
    connect(&m_scanner, &Scanner::finished, this, &FindDeviceDialog::onFinished);
    connect(m_results, &QTreeWidget::itemSelectionChanged, this, &FindDeviceDialog::updateButtons);
    connect(m_results, &QTreeWidget::itemActivated, this, [this] { useSelected(); });
    connect(m_use, &QPushButton::clicked, this, &FindDeviceDialog::useSelected);
    connect(m_stop, &QPushButton::clicked, this, [this] {
        if (m_scanner.isRunning())
            m_scanner.cancel();
        else
            start();
    });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<ScanResult> FindDeviceDialog::run() {
    platform::centreOver(this, parentWidget());
    start();
    exec();
    return m_chosen;
}

void FindDeviceDialog::done(int result) {
    m_scanner.cancel(); // closes every port the scan holds
    QDialog::done(result);
}

void FindDeviceDialog::start() {
    m_chosen.reset();
    m_found.clear();
    m_results->clear();
    for (const QString& port : m_ports) {
        auto* item = new QTreeWidgetItem(m_results, {port, QString(), QStringLiteral("查找中…")});
        item->setFlags(Qt::ItemIsEnabled); // selectable once a device answers there
        item->setToolTip(PortColumn, port);
        if (port == m_inUse)
            item->setText(ResultColumn, QStringLiteral("本程序正在使用此串口，已跳过"));
    }
    m_progress->setValue(0);
    if (m_ports.isEmpty()) {
        onFinished({});
        return;
    }
    m_status->setText(QStringLiteral("正在 %1 个串口上以 %2 种波特率查找设备…")
                          .arg(m_ports.size())
                          .arg(Scanner::defaultBauds().size()));
    m_stop->setText(QStringLiteral("停止"));
    ScanOptions options;
    options.ports = m_ports;
    if (!m_inUse.isEmpty())
        options.inUse = {m_inUse};
    m_scanner.start(options);
    updateButtons();
}

void FindDeviceDialog::setRow(int row, const QString& baud, const QString& result) {
    QTreeWidgetItem* item = m_results->topLevelItem(row);
    item->setText(BaudColumn, baud);
    item->setText(ResultColumn, result);
}

void FindDeviceDialog::onFound(const QString& port, qint32 baud) {
    const int row = int(m_ports.indexOf(port));
    if (row < 0)
        return;
    setRow(row, QString::number(baud), QStringLiteral("找到设备"));
    QTreeWidgetItem* item = m_results->topLevelItem(row);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (m_results->selectedItems().isEmpty()) // the first device found is ready to use, and current
        m_results->setCurrentItem(item);
}

void FindDeviceDialog::onFinished(const QList<ScanResult>& results) {
    int found = 0;
    bool cancelled = false;
    m_found = results;
    for (int row = 0; row < results.size(); ++row) {
        const ScanResult& r = results[row];
        const ConnectFault* fault = r.outcome.faultIf();
        if (!fault) {
            ++found;
            setRow(row, QString::number(r.outcome.value().baud), foundText(r.outcome.value()));
            continue;
        }
        switch (fault->kind) {
        case ConnectFault::Kind::NoAnswer:
        case ConnectFault::Kind::Malformed:
        case ConnectFault::Kind::PortLost:
            setRow(row, {}, QStringLiteral("无应答"));
            break;
        case ConnectFault::Kind::CannotOpen:
            setRow(row, {}, openFailure(fault->error));
            break;
        case ConnectFault::Kind::InUse:
            if (r.port != m_inUse) // listed twice
                setRow(row, {}, QStringLiteral("重复，已跳过"));
            break;
        case ConnectFault::Kind::Cancelled:
            cancelled = true;
            setRow(row, {}, QStringLiteral("已停止"));
            break;
        }
    }
    m_progress->setValue(m_progress->maximum());
    if (found > 0)
        m_status->setText(QStringLiteral("找到 %1 台设备，选中一台后按“使用”。").arg(found));
    else if (cancelled)
        m_status->setText(QStringLiteral("已停止查找。"));
    else
        m_status->setText(QStringLiteral("没有找到应答的设备，请检查连接线和设备电源。"));
    m_stop->setText(QStringLiteral("重新查找"));
    updateButtons();
}

void FindDeviceDialog::updateButtons() {
    m_use->setEnabled(!m_results->selectedItems().isEmpty());
}

void FindDeviceDialog::useSelected() {
    const QList<QTreeWidgetItem*> selected = m_results->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem* item = selected.first();
    const int row = m_results->indexOfTopLevelItem(item);
    if (row < m_found.size() && m_found[row].outcome.ok()) // with its network, once the scan is over
        m_chosen = m_found[row];
    else
        m_chosen =
            ScanResult{item->text(PortColumn), FoundDevice{item->text(BaudColumn).toInt(), std::nullopt}};
    accept();
}

} // namespace device
