// SPDX-License-Identifier: MIT
#pragma once

#include <QDockWidget>

class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QTimer;

namespace platform {
class FileDialogs;
class MessageBoxes;
} // namespace platform

// The pane "通信记录": the traffic log as a table that follows the newest row unless scrolled up or
// paused, also at the log's cap, filtered by kind and by a text searched for, with copy (also Ctrl+C)
// of the rows selected, clear and save as CSV or text.
namespace traffic {

class TrafficLog;

class TrafficLogPane final : public QDockWidget {
    Q_OBJECT
public:
    TrafficLogPane(TrafficLog& log, platform::FileDialogs& files, platform::MessageBoxes& messages,
                   QWidget* parent = nullptr);

    // The selected rows, or every row when none is selected, onto the clipboard as text.
    void copy();
    // Asks for a file and writes the whole log there: CSV unless the file or the filter chosen is
    // text. False when nothing was written (cancelled, or refused with a message).
    bool save();

private:
    TrafficLog& m_log;
    platform::FileDialogs& m_files;
    platform::MessageBoxes& m_messages;
    QTableView* m_view;
    QSortFilterProxyModel* m_rows; // the rows of the kinds shown that hold the text searched for
    QTimer* m_follow;              // scrolls to the newest row once per round of the event loop, not per row
    bool m_atEnd = true;
    bool m_dropping = false; // the oldest row is going to make room for a new one
    bool m_paused = false;   // the operator stopped the following
};

} // namespace traffic
