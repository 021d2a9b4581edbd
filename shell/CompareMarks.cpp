// SPDX-License-Identifier: MIT
#include "shell/CompareMarks.h"

#include "shell/Form1View.h"
#include "shell/PanelLists.h"

#include <QComboBox>
#include <QPainter>

namespace shell {

namespace {

// Drawn over a list and just around it: a frame twice as thick as any other and a "≠" badge on its
// corner, over the drop-down arrow, so that the list's text stays whole and the mark is a shape,
// not only a colour. It lets the mouse through to the list.
class DifferenceFrame final : public QWidget {
public:
    explicit DifferenceFrame(QComboBox* list) : QWidget(list->parentWidget()) {
        setObjectName(QStringLiteral("differenceMark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(list->geometry().adjusted(-2, -2, 2, 2));
        raise();
        show();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const QColor mark(0xB0, 0x1C, 0x1C);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(mark, 2));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
        const qreal d = 11;
        const QRectF badge(width() - d, 0, d, d);
        painter.setPen(Qt::NoPen);
        painter.setBrush(mark);
        painter.drawEllipse(badge);
        painter.setPen(QPen(Qt::white, 1.3, Qt::SolidLine, Qt::RoundCap));
        const QPointF c = badge.center();
        painter.drawLine(c + QPointF(-3, -1.5), c + QPointF(3, -1.5));
        painter.drawLine(c + QPointF(-3, 1.5), c + QPointF(3, 1.5));
        painter.drawLine(c + QPointF(1.5, -3.5), c + QPointF(-1.5, 3.5));
    }
};

} // namespace

QString CompareMarks::describe(const config::ProfileDifference& difference) {
    return QStringLiteral("%1: 应为 %2, 设备为 %3")
        .arg(difference.listName(), difference.expected, difference.actual);
}

QString CompareMarks::summary(const std::vector<config::ProfileDifference>& differences,
                              const QString& source) {
    if (differences.empty())
        return QStringLiteral("比较: 设备与%1一致").arg(source);
    QStringList parts;
    for (const config::ProfileDifference& difference : differences)
        parts.append(describe(difference));
    return QStringLiteral("比较: 设备与%1有 %2 处不同: %3")
        .arg(source)
        .arg(differences.size())
        .arg(parts.join(QStringLiteral("; ")));
}

void CompareMarks::show(const std::vector<config::ProfileDifference>& differences) {
    QHash<QComboBox*, QString> marked;
    for (const config::ProfileDifference& difference : differences)
        if (QComboBox* list = m_lists.list(difference.field, difference.port))
            marked.insert(list, describe(difference));
    for (QComboBox* list : m_marks.keys())
        if (!marked.contains(list))
            unmark(list);
    for (auto it = marked.cbegin(); it != marked.cend(); ++it) {
        QComboBox* list = it.key();
        if (!m_marks.contains(list))
            m_marks.insert(list, new DifferenceFrame(list));
        list->setToolTip(it.value());
        list->setAccessibleDescription(it.value());
    }
}

void CompareMarks::clear() {
    for (QComboBox* list : m_marks.keys())
        unmark(list);
}

void CompareMarks::unmark(QComboBox* list) {
    delete m_marks.take(list);
    list->setAccessibleDescription(QString::fromUtf16(Form1View::ListDescription));
    list->setToolTip(list->currentText()); // as a list without a mark shows it
}

} // namespace shell
