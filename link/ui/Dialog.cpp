// SPDX-License-Identifier: MIT
#include "link/ui/Dialog.h"

#include "platform/PortList.h"
#include "platform/ui/Placement.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>

namespace serial {

namespace {

using platform::px;

// The PC may need any rate the device's main port can be set to, so 76800 is offered too.
const QStringList kBaudRates = {QStringLiteral("1200"),  QStringLiteral("2400"),  QStringLiteral("4800"),
                                QStringLiteral("9600"),  QStringLiteral("14400"), QStringLiteral("19200"),
                                QStringLiteral("38400"), QStringLiteral("56000"), QStringLiteral("57600"),
                                QStringLiteral("76800"), QStringLiteral("115200")};

// The port list. Its drop-down shows what the system knows of each port beside the port's name, in a
// second column; the box itself shows and hands over the name alone, the one the port is opened
// with. The two-column drop-down is built when first opened: made with the dialog, it would cost
// megabytes that most showings never use.
class PortBox final : public QComboBox {
public:
    explicit PortBox(QWidget* parent) : QComboBox(parent) { setModel(new QStandardItemModel(0, 2, this)); }

    bool popupShown() const { return m_shown; }

    void showPopup() override {
        if (!m_described) {
            m_described = true;
            auto* list = new QTreeView(this);
            list->setHeaderHidden(true);
            list->setRootIsDecorated(false);
            list->setItemsExpandable(false);
            list->setUniformRowHeights(true);
            list->setAllColumnsShowFocus(true);
            list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
            list->header()->setStretchLastSection(false);
            setView(list);
        }
        int widest = 0;
        const QFontMetrics metrics = fontMetrics();
        for (int row = 0; row < model()->rowCount(); ++row)
            widest = qMax(widest, metrics.horizontalAdvance(model()->index(row, 0).data().toString()) +
                                      metrics.horizontalAdvance(model()->index(row, 1).data().toString()));
        view()->setMinimumWidth(qMin(widest + 48, 640));
        m_shown = true;
        QComboBox::showPopup();
    }
    void hidePopup() override {
        m_shown = false;
        QComboBox::hidePopup();
    }

private:
    bool m_described = false;
    bool m_shown = false;
};

QComboBox* makeList(QWidget* parent, const char* name, const QString& label, int top, bool ports = false) {
    QComboBox* combo = ports ? new PortBox(parent) : new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setAccessibleName(label);
    combo->setGeometry(px(1560), px(top), px(1575), px(360));
    return combo;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect twips, QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height()));
    label->setBuddy(buddy);
    return label;
}

void selectText(QComboBox* combo, const QString& text) {
    combo->setCurrentIndex(combo->findText(text));
}

} // namespace

Dialog::Dialog(platform::PortList& ports, QWidget* parent) : QDialog(parent), m_ports(ports) {
    setObjectName(QStringLiteral("Dialog"));
    setWindowTitle(QStringLiteral("串口设置"));
    // One row taller than the design, for the baud list, and wider, for "查找设备" beside the ports.
    setFixedSize(px(4695), px(3780));
    setModal(true);

    Combo1 = makeList(this, "Combo1", QStringLiteral("串口号："), 240, true);
    Combo1->setEditable(true); // a device path can be typed, e.g. /dev/ttyUSB3
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCompleter(nullptr); // what is typed stays as typed
    Combo1->lineEdit()->setMaxLength(MaxPortNameLength);
    Combo3 = makeList(this, "Combo3", QStringLiteral("数据位："), 720);
    Combo4 = makeList(this, "Combo4", QStringLiteral("停止位："), 1200);
    Combo5 = makeList(this, "Combo5", QStringLiteral("效验位："), 1680);
    Combo2 = makeList(this, "Combo2", QStringLiteral("波特率："), 2160);
    makeLabel(this, "Label1", QStringLiteral("串口号："), {600, 240, 720, 240}, Combo1);
    makeLabel(this, "Label3", QStringLiteral("数据位："), {600, 720, 720, 240}, Combo3);
    makeLabel(this, "Label4", QStringLiteral("停止位："), {600, 1200, 720, 240}, Combo4);
    makeLabel(this, "Label5", QStringLiteral("效验位："), {600, 1680, 720, 240}, Combo5);
    makeLabel(this, "Label2", QStringLiteral("波特率："), {600, 2160, 855, 255}, Combo2);

    Command2 = new QPushButton(QStringLiteral("确定"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(px(240), px(2880), px(1455), px(375));
    Command1 = new QPushButton(QStringLiteral("取消"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(px(2040), px(2880), px(1455), px(375));
    // Neither button answers Enter.
    Command2->setAutoDefault(false);
    Command1->setAutoDefault(false);

    m_find = new QPushButton(QStringLiteral("查找设备…"), this);
    m_find->setObjectName(QStringLiteral("findButton"));
    m_find->setGeometry(px(3240), px(240), px(1215), px(360));
    m_find->setAutoDefault(false);
    m_find->setToolTip(QStringLiteral("在所有串口上以每种波特率查找设备"));

    connect(Command2, &QPushButton::clicked, this, [this] { accept(); });
    connect(Command1, &QPushButton::clicked, this, [this] { reject(); });
    connect(m_find, &QPushButton::clicked, this, &Dialog::findRequested);
    connect(Combo1, &QComboBox::currentTextChanged, this, &Dialog::showDescription);
    m_poll.setObjectName(QStringLiteral("portPoll"));
    m_poll.setInterval(PortPollMs);
    connect(&m_poll, &QTimer::timeout, this, [this] { refreshPorts(true); });
}

bool Dialog::run(const QWidget* main) {
    m_loadedOnLastRun = !m_loaded;
    if (!m_loaded)
        Form_Load(main);
    else
        refreshPorts(false);
    return exec() == QDialog::Accepted;
}

void Dialog::Form_Load(const QWidget* main) {
    platform::centreOver(this, main);
    Combo1->clear();
    showPorts(m_ports.describedPorts());
    Combo1->setCurrentIndex(Combo1->count() - 1); // the last port; none when there is none
    if (Combo1->count() == 0)
        Combo1->setEditText(QString());

    Combo2->clear();
    Combo2->addItems(kBaudRates);
    selectText(Combo2, QStringLiteral("9600"));
    Combo3->clear();
    Combo3->addItems({QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8")});
    selectText(Combo3, QStringLiteral("8"));
    Combo4->clear();
    Combo4->addItems({QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")});
    selectText(Combo4, QStringLiteral("1"));
    Combo5->clear();
    Combo5->addItems({QStringLiteral("None"), QStringLiteral("Odd"), QStringLiteral("Even"),
                      QStringLiteral("Mark"), QStringLiteral("Space")});
    selectText(Combo5, QStringLiteral("None"));
    m_loaded = true;
}

void Dialog::showPorts(const QList<platform::PortInfo>& ports) {
    m_shown = ports;
    auto* model = static_cast<QStandardItemModel*>(Combo1->model());
    for (const platform::PortInfo& port : ports) {
        auto* name = new QStandardItem(port.name);
        if (!port.description.isEmpty())
            name->setToolTip(port.description);
        model->appendRow({name, new QStandardItem(port.description)});
    }
}

void Dialog::refreshPorts(bool keepGone) {
    const QList<platform::PortInfo> ports = m_ports.describedPorts();
    // Never while the operator looks at the drop-down: the next reading catches up.
    if ((keepGone && ports == m_shown) || static_cast<const PortBox*>(Combo1)->popupShown())
        return;
    const QString current = Combo1->currentText();
    const int cursor = Combo1->lineEdit()->cursorPosition();
    const bool typed = Combo1->findText(current) < 0;
    Combo1->clear();
    showPorts(ports);
    const int index = Combo1->findText(current);
    if (index >= 0)
        Combo1->setCurrentIndex(index);
    else if (current.isEmpty() || (!typed && !keepGone))
        Combo1->setCurrentIndex(Combo1->count() - 1); // as at loading
    else
        Combo1->setEditText(current);
    Combo1->lineEdit()->setCursorPosition(cursor);
}

void Dialog::showDescription() {
    const int index = Combo1->findText(Combo1->currentText());
    Combo1->setToolTip(index >= 0 ? m_shown.value(index).description : QString());
}

void Dialog::choosePort(const QWidget* main, const QString& port, const QString& baud) {
    if (!m_loaded)
        Form_Load(main);
    const int index = Combo1->findText(port);
    if (index >= 0)
        Combo1->setCurrentIndex(index);
    else
        Combo1->setEditText(port);
    selectText(Combo2, baud);
}

void Dialog::showEvent(QShowEvent* event) {
    m_poll.start();
    QDialog::showEvent(event);
}

void Dialog::hideEvent(QHideEvent* event) {
    m_poll.stop();
    QDialog::hideEvent(event);
}

PortSelection Dialog::selection() const {
    return {Combo1->currentText(), Combo2->currentText(), Combo5->currentText(), Combo3->currentText(),
            Combo4->currentText()};
}

void Dialog::closeEvent(QCloseEvent* event) {
    // Closed through its frame: the dialog is unloaded, and the next showing loads it afresh.
    m_loaded = false;
    QDialog::closeEvent(event);
}

void Dialog::keyPressEvent(QKeyEvent* event) {
    // Neither Enter nor Esc answers the dialog; only its buttons and its frame do.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace serial
