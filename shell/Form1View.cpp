// SPDX-License-Identifier: MIT
#include "shell/Form1View.h"

#include "platform/ui/Placement.h"
#include "shell/App.h"
#include "shell/CappedTextEdit.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QCompleter>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

namespace shell {

namespace {

using platform::px;

QRect rect(int left, int top, int width, int height) {
    return {px(left), px(top), px(width), px(height)};
}

template <typename W> W* named(W* widget, const QString& name, const QString& accessible = {}) {
    widget->setObjectName(name);
    if (!accessible.isEmpty())
        widget->setAccessibleName(accessible);
    return widget;
}

QString indexed(const char* base, int i) {
    return QStringLiteral("%1_%2").arg(QLatin1String(base)).arg(i);
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* b = named(new QPushButton(caption, parent), QString::fromLatin1(name), caption);
    b->setGeometry(geometry);
    return b;
}

// A list whose drop-down is as wide as its longest entry, whatever the list's designed width.
class PanelList final : public QComboBox {
public:
    using QComboBox::QComboBox;
    void showPopup() override {
        QAbstractItemView* entries = view();
        entries->setMinimumWidth(entries->sizeHintForColumn(0) + 2 * entries->frameRect().x() +
                                 style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8);
        QComboBox::showPopup();
    }
};

QComboBox* list(QWidget* parent, const QString& name, const QString& accessible, QRect geometry,
                QCompleter& standIn) {
    auto* combo = named(new PanelList(parent), name, accessible);
    // Said instead of the tooltip, which repeats the value a screen reader reads already.
    combo->setAccessibleDescription(QString::fromUtf16(Form1View::ListDescription));
    // Editable through a line edit of its own: setEditable(true) would also build the drop-down
    // popup and resize the box at once, which is most of the window's start-up time; the box
    // builds its popup when it is first opened.
    auto* edit = new QLineEdit(combo);
    edit->setMaxLength(Form1View::ListTextLength);
    // setLineEdit makes a completer over the entries for a line edit that has none, the costliest
    // part of a list: a stand-in shared by every list spares that, and none is kept.
    edit->setCompleter(&standIn);
    combo->setLineEdit(edit);
    combo->setCompleter(nullptr); // a typed "3840" stays 3840, never completed to an entry
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setGeometry(geometry);
    // The narrow lists cannot show "RS485半双工" whole: a chosen entry shows its start, and the
    // whole text is the tooltip.
    QObject::connect(combo, &QComboBox::currentIndexChanged, edit, [edit] { edit->setCursorPosition(0); });
    QObject::connect(combo, &QComboBox::currentTextChanged, combo, &QWidget::setToolTip);
    return combo;
}

// The design puts a list closer below a frame's top than a Chinese title is high: the title's
// face is made just small enough to show whole above it, the list keeps the window's face.
void fitTitleAbove(QGroupBox* frame, QWidget* first) {
    QFont font = frame->font();
    QFont own = first->font();
    own.setResolveMask(QFont::AllPropertiesResolved); // kept, not inherited from the smaller title
    while (QFontMetrics(font).height() > first->y() && QFontInfo(font).pixelSize() > 8)
        font.setPixelSize(QFontInfo(font).pixelSize() - 1);
    frame->setFont(font);
    first->setFont(own);
}

QFont textFont() {
    QFont font;
    // The designed face by its Chinese name; where it is missing, the built-in glyphs, then the system's.
    // Only Windows has it: elsewhere, asking for it first would cost a search of every face at start.
#if defined(Q_OS_WIN)
    font.setFamilies(QStringList{QStringLiteral("微软雅黑")} + App::chineseFamilies());
#else
    font.setFamilies(App::chineseFamilies());
#endif
    return font;
}

} // namespace

Form1View Form1View::build(QMainWindow* window) {
    Form1View v;
    auto* client = new QWidget(window);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(px(10785), px(8550));
    window->setCentralWidget(client);
    QCompleter standIn; // see list()

    struct Row {
        const char* label;
        QString caption;
        int top;
    };
    const std::array<Row, 5> rows{{{"Label3", QStringLiteral("波特率:"), 360},
                                   {"Label4", QStringLiteral("数据位:"), 720},
                                   {"Label5", QStringLiteral("停止位:"), 1080},
                                   {"Label6", QStringLiteral("校验位:"), 1440},
                                   {"Label7", QStringLiteral("功能:"), 1800}}};
    const std::array<const char*, 5> lists{"Combo2", "Combo3", "Combo4", "Combo5", "Combo7"};
    const std::array<PortArray*, 5> listArrays{&v.Combo2, &v.Combo3, &v.Combo4, &v.Combo5, &v.Combo7};
    const std::array<LabelArray*, 5> labelArrays{&v.Label3, &v.Label4, &v.Label5, &v.Label6, &v.Label7};

    for (int i = 0; i < protocol::frame::PortCount; ++i) {
        const QString panel = QStringLiteral("串口%1").arg(i + 1);
        auto* frame = named(new QGroupBox(panel, client), indexed("Frame1", i), panel);
        frame->setGeometry(rect(360 + 2160 * (i % 4), i < 4 ? 0 : 2400, 2055, 2295));
        v.Frame1[i] = frame;
        for (int r = 0; r < 5; ++r) {
            auto* label = named(new QLabel(rows[r].caption, frame), indexed(rows[r].label, i));
            label->setGeometry(rect(120, rows[r].top + 30, 720, 255));
            auto* combo = list(frame, indexed(lists[r], i), panel + QLatin1Char(' ') + rows[r].caption,
                               rect(840, rows[r].top, 1095, 315), standIn);
            label->setBuddy(combo);
            (*labelArrays[r])[i] = label;
            (*listArrays[r])[i] = combo;
        }
    }

    v.Frame2 = named(new QGroupBox(QStringLiteral("串口0"), client), QStringLiteral("Frame2"),
                     QStringLiteral("串口0"));
    v.Frame2->setGeometry(rect(9000, 2400, 1695, 1095));
    v.Combo6 = list(v.Frame2, QStringLiteral("Combo6"), QStringLiteral("串口0 波特率"),
                    rect(240, 480, 1215, 315), standIn);
    v.Frame3 = named(new QGroupBox(QStringLiteral("串口0接收输出"), client), QStringLiteral("Frame3"),
                     QStringLiteral("串口0接收输出"));
    v.Frame3->setGeometry(rect(9000, 3600, 1695, 735));
    v.Combo8 = list(v.Frame3, QStringLiteral("Combo8"), QStringLiteral("串口0接收输出"),
                    rect(240, 240, 1215, 315), standIn);
    fitTitleAbove(v.Frame3, v.Combo8);

    v.Command2 = button(client, "Command2", QStringLiteral("打开串口"), rect(9240, 120, 1335, 375));
    v.Command3 = button(client, "Command3", QStringLiteral("连接设备"), rect(9240, 480, 1335, 375));
    v.Command6 = button(client, "Command6", QStringLiteral("同步串口参数"), rect(9240, 840, 1335, 375));
    v.Command4 = button(client, "Command4", QStringLiteral("设置串口参数"), rect(9240, 1200, 1335, 375));
    v.Command7 = button(client, "Command7", QStringLiteral("使能设置"), rect(9240, 1920, 1335, 375));

    v.Label1 = named(new QLabel(QStringLiteral("转发串口:"), client), QStringLiteral("Label1"));
    v.Label1->setGeometry(rect(240, 4920, 1020, 300));
    v.Combo1 = named(new QComboBox(client), QStringLiteral("Combo1"), QStringLiteral("转发串口:"));
    v.Combo1->setGeometry(rect(240, 5400, 1335, 420));
    v.Label1->setBuddy(v.Combo1);
    v.Text2 = named(new QLineEdit(client), QStringLiteral("Text2"));
    v.Text2->setGeometry(rect(240, 5880, 1335, 1815));
    v.Label2 = named(new QLabel(QStringLiteral("命令行:"), client), QStringLiteral("Label2"));
    v.Label2->setGeometry(rect(1680, 4920, 780, 300));
    v.Text1 = named(new CappedTextEdit(CommandLineLength, client), QStringLiteral("Text1"),
                    QStringLiteral("命令行:"));
    v.Text1->setGeometry(rect(1680, 5400, 9015, 1050));
    v.Label2->setBuddy(v.Text1);
    v.Text3 =
        named(new CappedTextEdit(CommandLineLength, client), QStringLiteral("Text3"), QStringLiteral("输出"));
    v.Text3->setGeometry(rect(1680, 6600, 9015, 1095));
    for (QPlainTextEdit* box : {v.Text1, v.Text3}) {
        box->setFont(textFont());
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setTabChangesFocus(true);
    }

    v.Command8 = button(client, "Command8", QStringLiteral("生成"), rect(2760, 7920, 1575, 375));
    v.Command1 = button(client, "Command1", QStringLiteral("发送"), rect(4680, 7920, 1575, 375));
    v.Command5 = button(client, "Command5", QStringLiteral("清空"), rect(6720, 7920, 1575, 375));

    QMenuBar* bar = window->menuBar();
    v.settingsMenu = bar->addMenu(QStringLiteral("设置(&S)"));
    v.settingsMenu->setObjectName(QStringLiteral("settingsMenu"));
    v.com_set = v.settingsMenu->addAction(QStringLiteral("通信串口设置(&C)"));
    v.ComDataSet = v.settingsMenu->addAction(QStringLiteral("主串口参数设置"));
    v.netset = v.settingsMenu->addAction(QStringLiteral("网络参数设置"));
    v.settingsMenu->addSeparator();
    v.quit = v.settingsMenu->addAction(QStringLiteral("退出(&Q)"));
    v.aboutMenu = bar->addMenu(QStringLiteral("关于(&A)"));
    v.aboutMenu->setObjectName(QStringLiteral("aboutMenu"));
    v.aboutme = v.aboutMenu->addAction(QStringLiteral("关于(&T)"));
    v.Easer = v.aboutMenu->addAction(QStringLiteral("还原设置(&B)"));
    v.com_set->setObjectName(QStringLiteral("com_set"));
    v.ComDataSet->setObjectName(QStringLiteral("ComDataSet"));
    v.netset->setObjectName(QStringLiteral("netset"));
    v.quit->setObjectName(QStringLiteral("quit"));
    v.aboutme->setObjectName(QStringLiteral("aboutme"));
    v.Easer->setObjectName(QStringLiteral("Easer"));

    // The design's initial states.
    v.ComDataSet->setEnabled(false); // switched off in the design; it has no action
    v.Command7->setVisible(false);
    v.Command7->setEnabled(false);
    v.Text2->setVisible(false);
    for (QPushButton* b : {v.Command1, v.Command3, v.Command4, v.Command6})
        b->setEnabled(false);

    // Reading order: panels row by row, the device buttons, then the console.
    QWidget* previous = nullptr;
    auto chain = [&previous](QWidget* next) {
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    };
    for (int i = 0; i < protocol::frame::PortCount; ++i)
        for (const PortArray* array : listArrays)
            chain((*array)[i]);
    chain(v.Command2);
    chain(v.Command3);
    chain(v.Command6);
    chain(v.Command4);
    chain(v.Combo6);
    chain(v.Combo8);
    chain(v.Combo1);
    chain(v.Text1);
    chain(v.Text3);
    chain(v.Command8);
    chain(v.Command1);
    chain(v.Command5);
    return v;
}

} // namespace shell
