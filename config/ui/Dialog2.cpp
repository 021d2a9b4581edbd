// SPDX-License-Identifier: MIT
#include "config/ui/Dialog2.h"

#include "config/ui/OctetValidator.h"
#include "platform/ui/Placement.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace config {

namespace {

using platform::px;

struct Row {
    const char* label;
    QString caption;
    int top;
    int firstBox;
    int boxes;
    int firstSeparator;
};

const std::array<Row, 4> kRows{{{"Label1", QStringLiteral("MAC地址:"), 360, 0, 6, 0},
                                {"Label2", QStringLiteral("IP地址:"), 840, 6, 4, 9},
                                {"Label3", QStringLiteral("子网掩码:"), 1320, 10, 4, 12},
                                {"Label4", QStringLiteral("默认网关:"), 1800, 14, 4, 15}}};

QFont boxFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")});
    return font;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int left) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(px(left), px(2640), px(1215), px(375));
    button->setAutoDefault(false); // no button answers Enter
    return button;
}

} // namespace

Dialog2::Dialog2(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Dialog2"));
    setWindowTitle(QStringLiteral("网络参数设置"));
    setFixedSize(px(5235), px(3195));
    setModal(true);

    QFont separatorFont;
    separatorFont.setFamilies(
        {QStringLiteral("黑体"), QStringLiteral("SimHei"), QStringLiteral("Noto Sans CJK SC")});
    separatorFont.setBold(true);

    auto* validator = new OctetValidator(this);
    for (const Row& row : kRows) {
        auto* label = new QLabel(row.caption, this);
        label->setObjectName(QString::fromLatin1(row.label));
        label->move(px(120), px(row.top));
        label->adjustSize();
        for (int k = 0; k < row.boxes; ++k) {
            const int index = row.firstBox + k;
            const int left = 1320 + 600 * k;
            auto* box = new QLineEdit(this);
            box->setObjectName(QStringLiteral("Text1_%1").arg(index));
            box->setAccessibleName(row.caption + QStringLiteral(" %1").arg(k + 1));
            box->setGeometry(px(left), px(row.top), px(495), px(375));
            box->setFont(boxFont());
            box->setValidator(validator); // filters what is pasted
            box->setMaxLength(MaxBoxLength);
            box->installEventFilter(this); // refuses keys before they touch the text
            connect(box, &QLineEdit::textChanged, this, [this, index] { Text1_Change(index); });
            Text1[index] = box;
            if (k + 1 < row.boxes) {
                auto* dot = new QLabel(QStringLiteral("."), this);
                dot->setObjectName(QStringLiteral("Label5_%1").arg(row.firstSeparator + k));
                dot->setFont(separatorFont);
                dot->setGeometry(px(left + 495 - 15), px(row.top + 120), px(135), px(255));
            }
        }
        label->setBuddy(Text1[row.firstBox]);
    }

    Command2 = makeButton(this, "Command2", QStringLiteral("清空"), 120);
    Command1 = makeButton(this, "Command1", QStringLiteral("同步"), 1320);
    OKButton = makeButton(this, "OKButton", QStringLiteral("设置"), 2520);
    CancelButton = makeButton(this, "CancelButton", QStringLiteral("取消"), 3720);

    // Reading order of the design: 设置, 取消, the boxes, 同步, 清空.
    setTabOrder(OKButton, CancelButton);
    QWidget* previous = CancelButton;
    for (QLineEdit* box : Text1) {
        setTabOrder(previous, box);
        previous = box;
    }
    setTabOrder(previous, Command1);
    setTabOrder(Command1, Command2);
    OKButton->setFocus(); // the dialog opens where its tab order starts

    connect(Command2, &QPushButton::clicked, this, &Dialog2::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &Dialog2::readRequested);
    connect(OKButton, &QPushButton::clicked, this, &Dialog2::writeRequested);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::hide);
}

void Dialog2::run(const QWidget* main) {
    if (!m_placed) {
        platform::centreOver(this, main);
        m_placed = true;
    }
    exec();
}

OctetTexts Dialog2::octetTexts() const {
    OctetTexts texts;
    for (int i = 0; i < int(Text1.size()); ++i)
        texts[i] = Text1[i]->text();
    return texts;
}

void Dialog2::setOctetText(int index, const QString& text) {
    Text1[index]->setText(text);
}

void Dialog2::markOctet(int index, const QString& note) {
    QLineEdit* box = Text1[index];
    box->setStyleSheet(note.isEmpty() ? QString()
                                      : QStringLiteral("QLineEdit { border: 2px solid #B01C1C; }"));
    box->setToolTip(note);
    box->setAccessibleDescription(note);
}

void Dialog2::focusBox(int index) {
    Text1[index]->setFocus();
    Text1[index]->selectAll();
}

void Dialog2::Text1_Change(int index) {
    // A value above 255 is no octet: the box is reset, without a message.
    if (NetworkFrame::exceedsOctet(Text1[index]->text()))
        Text1[index]->setText(QStringLiteral("0"));
}

void Dialog2::Command2_Click() {
    for (QLineEdit* box : Text1)
        box->setText(QStringLiteral("0"));
}

bool Dialog2::eventFilter(QObject* watched, QEvent* event) {
    // A refused key is dropped whole, so typed over a selection it leaves the box as it was. Keys
    // that carry no printable character (editing, moving, shortcuts) pass.
    if (event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        for (QChar c : typed)
            if (c.isPrint() && NetworkFrame::filterBoxText(QString(c)).isEmpty())
                return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Dialog2::keyPressEvent(QKeyEvent* event) {
    // No button answers Enter or Esc.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace config
