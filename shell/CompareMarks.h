// SPDX-License-Identifier: MIT
#pragma once

#include "config/ProfileDiff.h"

#include <QHash>
#include <QString>

#include <vector>

class QComboBox;
class QWidget;

namespace shell {

class PanelLists;

// Marks the lists whose device value differs from the value written or loaded: a thick frame with a
// "≠" badge around the list (shapes, not only a colour), and a tooltip and accessible description
// naming both values. The lists that match lose their marks.
class CompareMarks {
public:
    explicit CompareMarks(const PanelLists& lists) : m_lists(lists) {}

    void show(const std::vector<config::ProfileDifference>& differences);
    void clear();
    // "串口4 校验位: 应为 偶校验, 设备为 奇校验"
    static QString describe(const config::ProfileDifference& difference);
    // What the traffic log says of a comparison with `source` ("写入的配置", "打开的配置"), e.g.
    // "比较: 设备与写入的配置有 1 处不同: 串口4 校验位: 应为 偶校验, 设备为 奇校验".
    static QString summary(const std::vector<config::ProfileDifference>& differences, const QString& source);

private:
    void unmark(QComboBox* list);

    const PanelLists& m_lists;
    QHash<QComboBox*, QWidget*> m_marks; // the frame drawn around each marked list
};

} // namespace shell
