// SPDX-License-Identifier: MIT
#include "shell/ToolMenus.h"

#include "shell/Form1View.h"
#include "traffic/ui/TrafficLogPane.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include <memory>

namespace shell {

namespace {

QAction* named(QAction* action, const char* name) {
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

// The list's own edit menu with `extra` below it, for the mouse and for the Menu key or Shift+F10.
void addToContextMenu(QComboBox* list, QAction* extra) {
    QLineEdit* edit = list->lineEdit();
    for (QWidget* target : {static_cast<QWidget*>(list), static_cast<QWidget*>(edit)}) {
        target->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(target, &QWidget::customContextMenuRequested, edit,
                         [target, edit, extra](QPoint at) {
                             std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
                             menu->addSeparator();
                             menu->addAction(extra);
                             menu->exec(target->mapToGlobal(at));
                         });
    }
}

} // namespace

ToolMenus::ToolMenus(QMainWindow* window, const Form1View& v, traffic::TrafficLog& log,
                     platform::FileDialogs& files, platform::MessageBoxes& messages)
    : QObject(window), m_window(window), m_log(log), m_files(files), m_messages(messages) {
    // Menus of their own, so the designed ones keep their items: 文件(F) first, 工具(T) before 关于(A).
    auto* fileMenu = new QMenu(QStringLiteral("文件(&F)"), window);
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    window->menuBar()->insertMenu(v.settingsMenu->menuAction(), fileMenu);
    QAction* openProfile = named(fileMenu->addAction(QStringLiteral("打开配置(&O)…")), "openProfile");
    openProfile->setShortcut(QKeySequence::Open);
    QAction* saveProfile = named(fileMenu->addAction(QStringLiteral("保存配置(&S)…")), "saveProfile");
    saveProfile->setShortcut(QKeySequence::Save);
    connect(openProfile, &QAction::triggered, this, &ToolMenus::openProfileRequested);
    connect(saveProfile, &QAction::triggered, this, &ToolMenus::saveProfileRequested);

    auto* toolsMenu = new QMenu(QStringLiteral("工具(&T)"), window);
    toolsMenu->setObjectName(QStringLiteral("toolsMenu"));
    window->menuBar()->insertMenu(v.aboutMenu->menuAction(), toolsMenu);
    QAction* find = named(toolsMenu->addAction(QStringLiteral("查找设备(&F)…")), "findDevice");
    connect(find, &QAction::triggered, this, &ToolMenus::findDeviceRequested);
    m_writeAndVerify = named(toolsMenu->addAction(QStringLiteral("写入并校验(&W)")), "writeAndVerify");
    m_writeAndVerify->setEnabled(false);
    connect(m_writeAndVerify, &QAction::triggered, this, &ToolMenus::writeAndVerifyRequested);
    QMenu* copyMenu = toolsMenu->addMenu(QStringLiteral("应用到所有串口(&A)"));
    copyMenu->setObjectName(QStringLiteral("copyMenu"));
    toolsMenu->addSeparator();
    m_logAction = named(toolsMenu->addAction(QStringLiteral("通信记录(&L)")), "trafficLog");
    m_logAction->setCheckable(true);
    m_logAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(m_logAction, &QAction::toggled, this, &ToolMenus::showTrafficLog);

    // A port panel's five values to the other seven panels; nothing is sent. From 工具(T), from the
    // panel's context menu and its lists' edit menus, and by Ctrl+Shift+A inside the panel.
    for (int i = 0; i < protocol::frame::PortCount; ++i) {
        auto request = [this, i] { Q_EMIT copyPanelRequested(i); };
        connect(copyMenu->addAction(QStringLiteral("以串口%1为准(&%1)").arg(i + 1)), &QAction::triggered,
                this, request);
        auto* copy = new QAction(QStringLiteral("应用到所有串口(&A)"), v.Frame1[i]);
        copy->setObjectName(QStringLiteral("copyPanel_%1").arg(i));
        copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
        copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        v.Frame1[i]->addAction(copy);
        v.Frame1[i]->setContextMenuPolicy(Qt::ActionsContextMenu);
        connect(copy, &QAction::triggered, this, request);
        for (QComboBox* list : {v.Combo2[i], v.Combo3[i], v.Combo4[i], v.Combo5[i], v.Combo7[i]})
            addToContextMenu(list, copy);
    }
}

void ToolMenus::setDesignedSize(QSize size) {
    m_designedSize = size;
    m_window->setFixedSize(size); // a fixed layout: the window is not meant to be resized
    fitToPane();
}

void ToolMenus::showTrafficLog(bool shown) {
    if (!m_pane && shown) {
        m_pane = new traffic::TrafficLogPane(m_log, m_files, m_messages, m_window);
        m_window->addDockWidget(Qt::RightDockWidgetArea, m_pane);
        connect(m_pane, &QDockWidget::visibilityChanged, this, [this] {
            m_logAction->setChecked(!m_pane->isHidden()); // also when closed by its own button
            fitToPane();
        });
        connect(m_pane, &QDockWidget::topLevelChanged, this, &ToolMenus::fitToPane);
    }
    if (m_pane)
        m_pane->setVisible(shown);
}

void ToolMenus::fitToPane() {
    if (!m_designedSize.isValid() || !m_pane)
        return; // not laid out yet, or the pane never shown
    if (!m_pane->isVisible() || m_pane->isFloating()) {
        m_window->setFixedSize(m_designedSize);
        return;
    }
    // Docked beside the client area, which keeps its designed size: the window is as high as
    // designed and wider by the pane, as wide as the operator likes, never narrower.
    const int pane = qMax(m_pane->minimumWidth(), 560);
    m_window->setMinimumSize(m_designedSize.width() + m_pane->minimumWidth(), m_designedSize.height());
    m_window->setMaximumSize(QWIDGETSIZE_MAX, m_designedSize.height());
    if (m_window->width() < m_designedSize.width() + pane)
        m_window->resize(m_designedSize.width() + pane, m_designedSize.height());
    // Grown to the right; moved left as far as needed to stay on the screen.
    if (const QScreen* screen = m_window->screen()) {
        const QRect available = screen->availableGeometry();
        const int overhang = m_window->frameGeometry().right() - available.right();
        if (overhang > 0)
            m_window->move(qMax(available.left(), m_window->x() - overhang), m_window->y());
    }
}

} // namespace shell
