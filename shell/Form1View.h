// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/Frame.h"

#include <array>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QPushButton;

// The main window's controls, laid out as designed (positions in twips, 15 to a pixel).
namespace shell {

struct Form1View {
    using PortArray = std::array<QComboBox*, protocol::frame::PortCount>;
    using LabelArray = std::array<QLabel*, protocol::frame::PortCount>;

    // Builds every control into `window`; each gets its design name as objectName.
    static Form1View build(QMainWindow* window);

    // The most a box takes: the command line and the output box as many characters as a
    // one-line edit box of the platform holds (64 KiB), a list's line far more than any of its entries.
    static constexpr int CommandLineLength = 65535;
    static constexpr int ListTextLength = 64;
    // What a screen reader says of a list without a mark, after its name and value.
    static constexpr char16_t ListDescription[] = u"可从列表选择或直接输入";

    std::array<QGroupBox*, protocol::frame::PortCount> Frame1{}; // "串口1" .. "串口8"
    LabelArray Label3{}, Label4{}, Label5{}, Label6{}, Label7{};
    PortArray Combo2{};          // baud rate
    PortArray Combo3{};          // data bits
    PortArray Combo4{};          // stop bits
    PortArray Combo5{};          // parity
    PortArray Combo7{};          // function
    QGroupBox* Frame2 = nullptr; // "串口0"
    QComboBox* Combo6 = nullptr; // main-port baud rate
    QGroupBox* Frame3 = nullptr; // "串口0接收输出"
    QComboBox* Combo8 = nullptr; // output switch

    QPushButton* Command1 = nullptr; // 发送
    QPushButton* Command2 = nullptr; // 打开串口 / 关闭串口
    QPushButton* Command3 = nullptr; // 连接设备
    QPushButton* Command4 = nullptr; // 设置串口参数
    QPushButton* Command5 = nullptr; // 清空
    QPushButton* Command6 = nullptr; // 同步串口参数
    QPushButton* Command7 = nullptr; // 使能设置, hidden
    QPushButton* Command8 = nullptr; // 生成

    QLabel* Label1 = nullptr;        // 转发串口:
    QComboBox* Combo1 = nullptr;     // forward port
    QLineEdit* Text2 = nullptr;      // hidden trace of the last frame
    QLabel* Label2 = nullptr;        // 命令行:
    QPlainTextEdit* Text1 = nullptr; // command line
    QPlainTextEdit* Text3 = nullptr; // output box

    QMenu* settingsMenu = nullptr; // 设置(S)
    QMenu* aboutMenu = nullptr;    // 关于(A)
    QAction* com_set = nullptr;
    QAction* ComDataSet = nullptr;
    QAction* netset = nullptr;
    QAction* quit = nullptr;
    QAction* aboutme = nullptr;
    QAction* Easer = nullptr;
};

} // namespace shell
