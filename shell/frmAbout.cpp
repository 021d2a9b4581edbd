// SPDX-License-Identifier: MIT
#include "shell/frmAbout.h"

#include "platform/ChineseFaces.h"
#include "platform/ui/Placement.h"
#include "shell/Titles.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace shell {

namespace {

using platform::px;

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect twips) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height()));
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif")} +
                     platform::chineseFaces());
    l->setFont(font);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    l->setPalette(palette);
    return l;
}

QFrame* rule(QWidget* parent, const char* name, const QColor& colour, int left, int top, int thickness) {
    auto* line = new QFrame(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setFrameShape(QFrame::NoFrame);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    line->setGeometry(px(left), top, px(5654) - px(left), thickness);
    return line;
}

} // namespace

frmAbout::frmAbout(QWidget* main) : QDialog(main) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("关于"));
    setFixedSize(px(5280), px(2640));

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setGeometry(px(240), px(240), px(480), px(480));
    picIcon->setPixmap(QIcon(QStringLiteral(":/icons/expander-config.svg")).pixmap(32, 32));
    picIcon->setAccessibleName(QStringLiteral("图标"));

    lblTitle = label(this, "lblTitle", ProgramTitle.toString(), {1050, 240, 2160 + 1200, 300});
    lblVersion = label(this, "lblVersion", Version.toString(), {1050, 780, 1275, 300});
    lblDescription =
        label(this, "lblDescription", QStringLiteral("八口串口扩展器的配置与测试工具,开源软件。"),
              {1080, 1320, 2400 + 1600, 300});

    // An etched rule: grey above, white below.
    rule(this, "Line1_1", QColor(128, 128, 128), 90, px(2040), 1);
    rule(this, "Line1_0", Qt::white, 105, px(2040) + 1, 2);

    cmdOK = new QPushButton(QStringLiteral("确定"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(px(2040), px(2160), px(1260), px(345));
    cmdOK->setDefault(true); // Enter; Esc rejects, which closes the box as well
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    platform::centreOver(this, main);
}

} // namespace shell
