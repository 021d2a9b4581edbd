// SPDX-License-Identifier: MIT
#pragma once

#include "device/Scanner.h"

#include <QDialog>

#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The dialog "查找设备": tries every listed port at every main-port baud for an expander, with a
// progress bar and a stop button, never blocking the window; the operator picks one device found.
namespace device {

class FindDeviceDialog final : public QDialog {
    Q_OBJECT
public:
    // `inUse`: the port the window has open (empty when none); it is skipped, and the list says so.
    FindDeviceDialog(Scanner::SerialFactory factory, const QStringList& ports, const QString& inUse,
                     QWidget* parent = nullptr);

    // Shows the dialog modally, centred over its parent, and scans at once. The device chosen with
    // "使用", or nullopt. Every port the scan opened is closed again when this returns.
    std::optional<ScanResult> run();

    void done(int result) override;

private:
    void start();
    void onFound(const QString& port, qint32 baud);
    void onFinished(const QList<device::ScanResult>& results);
    void setRow(int row, const QString& baud, const QString& result);
    void updateButtons();
    void useSelected();

    Scanner m_scanner;
    QStringList m_ports;
    QString m_inUse;
    QLabel* m_status;
    QProgressBar* m_progress;
    QTreeWidget* m_results;
    QPushButton* m_use;
    QPushButton* m_stop; // "停止" while scanning, "重新查找" after
    QPushButton* m_close;
    QList<ScanResult> m_found; // the last scan's results, by row, once it is over
    std::optional<ScanResult> m_chosen;
};

} // namespace device
