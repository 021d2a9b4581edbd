// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QSize>

class QAction;
class QMainWindow;

namespace platform {
class FileDialogs;
class MessageBoxes;
} // namespace platform
namespace traffic {
class TrafficLog;
class TrafficLogPane;
} // namespace traffic

namespace shell {

struct Form1View;

// What the main window offers beside its designed menus: 文件(F) with the profiles, 工具(T) with the
// device search, write-and-verify, copying one port panel to the others and the traffic log pane,
// and the port panels' own "应用到所有串口" (context menu and Ctrl+Shift+A). It asks the window
// through its signals; the log pane is made when first shown, docked beside the designed client
// area, which it never covers.
class ToolMenus final : public QObject {
    Q_OBJECT
public:
    ToolMenus(QMainWindow* window, const Form1View& view, traffic::TrafficLog& log,
              platform::FileDialogs& files, platform::MessageBoxes& messages);

    // Works only while the device is connected.
    QAction* writeAndVerify() const { return m_writeAndVerify; }
    // The window's fixed size without the log pane, once it is laid out.
    void setDesignedSize(QSize size);
    void showTrafficLog(bool shown);

Q_SIGNALS:
    void openProfileRequested();
    void saveProfileRequested();
    void findDeviceRequested();
    void writeAndVerifyRequested();
    void copyPanelRequested(int index); // 0..7

private:
    void fitToPane();

    QMainWindow* m_window;
    traffic::TrafficLog& m_log;
    platform::FileDialogs& m_files;
    platform::MessageBoxes& m_messages;
    QAction* m_writeAndVerify;
    QAction* m_logAction;
    traffic::TrafficLogPane* m_pane = nullptr; // made when first shown
    QSize m_designedSize;
};

} // namespace shell
