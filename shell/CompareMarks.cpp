#include "shell/CompareMarks.h"

#include "shell/PanelLists.h"

#include <QAction>
#include <QComboBox>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

namespace shell {

namespace {

// A white "≠" on a dark red disc: readable without telling red from green.
QIcon differenceIcon() {
    static const QIcon icon = [] {
        QPixmap pixmap(32, 32);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xB0, 0x1C, 0x1C));
        painter.drawEllipse(1, 1, 30, 30);
        QPen pen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap);
        painter.setPen(pen);
        painter.drawLine(QPointF(9, 12.5), QPointF(23, 12.5));
        painter.drawLine(QPointF(9, 19.5), QPointF(23, 19.5));
        painter.drawLine(QPointF(19.5, 6.5), QPointF(12.5, 25.5));
        return QIcon(pixmap);
    }();
    return icon;
}

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
        QAction*& mark = m_marks[list];
        if (!mark) {
            mark = new QAction(differenceIcon(), QStringLiteral("≠"), list);
            mark->setObjectName(QStringLiteral("differenceMark"));
            list->lineEdit()->addAction(mark, QLineEdit::TrailingPosition);
        }
        mark->setToolTip(it.value());
        list->setAccessibleDescription(it.value());
    }
}

void CompareMarks::clear() {
    for (QComboBox* list : m_marks.keys())
        unmark(list);
}

void CompareMarks::unmark(QComboBox* list) {
    delete m_marks.take(list);
    list->setAccessibleDescription(QString());
}

} // namespace shell
