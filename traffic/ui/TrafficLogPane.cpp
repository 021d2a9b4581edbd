// SPDX-License-Identifier: MIT
#include "traffic/ui/TrafficLogPane.h"

#include "platform/ui/Buttons.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/MessageBoxes.h"
#include "traffic/TrafficLog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QSet>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace traffic {

namespace {

const QString kCsvFilter = QStringLiteral("CSV 文件 (*.csv)");
const QString kTextFilter = QStringLiteral("文本文件 (*.txt)");

// The rows of the kinds shown that hold the text searched for, in their bytes or their meaning.
class RowFilter final : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    QSet<Kind> hidden;
    QString text;
    void refilter() { invalidateRowsFilter(); }

protected:
    bool filterAcceptsRow(int row, const QModelIndex&) const override {
        const auto& log = static_cast<const TrafficLog&>(*sourceModel());
        const TrafficEntry& entry = log.entry(row);
        if (hidden.contains(entry.kind))
            return false;
        return text.isEmpty() || entry.meaning.contains(text, Qt::CaseInsensitive) ||
               TrafficLog::bytesText(entry.bytes).contains(text, Qt::CaseInsensitive);
    }
};

} // namespace

TrafficLogPane::TrafficLogPane(TrafficLog& log, platform::FileDialogs& files,
                               platform::MessageBoxes& messages, QWidget* parent)
    : QDockWidget(QStringLiteral("通信记录"), parent), m_log(log), m_files(files), m_messages(messages),
      m_view(new QTableView), m_follow(new QTimer(this)) {
    setObjectName(QStringLiteral("TrafficLogPane"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetFloatable);
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);

    m_view->setObjectName(QStringLiteral("trafficView"));
    m_view->setAccessibleName(QStringLiteral("通信记录"));
    auto* filter = new RowFilter(this);
    filter->setSourceModel(&m_log);
    m_rows = filter;
    m_view->setModel(filter);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    m_view->setCornerButtonEnabled(false);
    // Every row one line high, fixed: the view never measures its rows, however many there are.
    QHeaderView* rows = m_view->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(m_view->fontMetrics().height() + 4);
    rows->hide();
    QHeaderView* columns = m_view->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    const int digit = m_view->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    m_view->setColumnWidth(TrafficLog::TimeColumn, 14 * digit);
    m_view->setColumnWidth(TrafficLog::DirectionColumn, 6 * digit);
    m_view->setColumnWidth(TrafficLog::BytesColumn, 36 * digit);
    columns->setStretchLastSection(true);

    auto* copyButton = platform::toolButton(this, "copyLog", QStringLiteral("复制"));
    auto* clearButton = platform::toolButton(this, "clearLog", QStringLiteral("清空"));
    auto* saveButton = platform::toolButton(this, "saveLog", QStringLiteral("保存…"));
    auto* pauseButton = platform::toolButton(this, "pauseLog", QStringLiteral("暂停滚动"));
    pauseButton->setCheckable(true);
    clearButton->setAccessibleName(QStringLiteral("清空通信记录")); // the form has a 清空 of its own
    copyButton->setToolTip(QStringLiteral("把选中的行(未选中时为全部)复制到剪贴板"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copyButton);
    buttons->addWidget(clearButton);
    buttons->addWidget(saveButton);
    buttons->addWidget(pauseButton);
    buttons->addStretch();
    // Which kinds of rows are shown, and a text they must hold.
    auto* kinds = new QHBoxLayout;
    const std::pair<Kind, QString> kindNames[] = {{Kind::Sent, QStringLiteral("发送")},
                                                  {Kind::Received, QStringLiteral("接收")},
                                                  {Kind::Event, QStringLiteral("事件")},
                                                  {Kind::NoAnswer, QStringLiteral("无应答")},
                                                  {Kind::Malformed, QStringLiteral("无效帧")}};
    for (const auto& kindName : kindNames) {
        const Kind kind = kindName.first; // a plain variable: a lambda may capture it
        auto* box = new QCheckBox(kindName.second, this);
        box->setObjectName(QStringLiteral("show_%1").arg(int(kind)));
        box->setChecked(true);
        kinds->addWidget(box);
        connect(box, &QCheckBox::toggled, this, [filter, kind](bool shown) {
            if (shown)
                filter->hidden.remove(kind);
            else
                filter->hidden.insert(kind);
            filter->refilter();
        });
    }
    auto* search = new QLineEdit(this);
    search->setObjectName(QStringLiteral("searchLog"));
    search->setPlaceholderText(QStringLiteral("查找"));
    search->setAccessibleName(QStringLiteral("查找通信记录"));
    search->setClearButtonEnabled(true);
    kinds->addWidget(search, 1);
    connect(search, &QLineEdit::textChanged, this, [filter](const QString& text) {
        filter->text = text;
        filter->refilter();
    });
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->addLayout(buttons);
    layout->addLayout(kinds);
    layout->addWidget(m_view);
    setWidget(content);
    setMinimumWidth(360);
    // Ctrl+C copies the selected rows, as 复制 does, not the current cell.
    auto* copyKey = new QAction(m_view);
    copyKey->setShortcut(QKeySequence::Copy);
    copyKey->setShortcutContext(Qt::WidgetShortcut);
    m_view->addAction(copyKey);
    connect(copyKey, &QAction::triggered, this, &TrafficLogPane::copy);
    connect(pauseButton, &QPushButton::toggled, this, [this](bool paused) {
        m_paused = paused;
        if (!paused)
            m_follow->start();
    });

    connect(copyButton, &QPushButton::clicked, this, &TrafficLogPane::copy);
    connect(clearButton, &QPushButton::clicked, &m_log, &TrafficLog::clear);
    connect(saveButton, &QPushButton::clicked, this, [this] { save(); });
    // Follows the newest row while the operator has not scrolled away from it.
    m_follow->setSingleShot(true);
    m_follow->setInterval(0);
    connect(m_follow, &QTimer::timeout, m_view, &QTableView::scrollToBottom);
    // Whether the view is at the end is read before the rows change: at the log's cap the oldest row
    // goes first, which moves the bar, and the newest then comes in.
    const auto readAtEnd = [this] {
        // A scroll still pending means the view is meant to be at the end, whatever the bar shows.
        const QScrollBar* bar = m_view->verticalScrollBar();
        if (!m_dropping)
            m_atEnd = m_follow->isActive() || bar->value() == bar->maximum();
    };
    connect(&m_log, &TrafficLog::rowsAboutToBeRemoved, this, [this, readAtEnd] {
        readAtEnd();
        m_dropping = true;
    });
    connect(&m_log, &TrafficLog::rowsAboutToBeInserted, this, readAtEnd);
    connect(&m_log, &TrafficLog::rowsInserted, this, [this] {
        m_dropping = false;
        if (m_atEnd && !m_paused && !m_follow->isActive())
            m_follow->start();
    });
}

void TrafficLogPane::copy() {
    QList<int> rows;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows())
        rows.append(m_rows->mapToSource(index).row());
    std::sort(rows.begin(), rows.end());
    QApplication::clipboard()->setText(m_log.toText(rows));
}

bool TrafficLogPane::save() {
    QString filter = kCsvFilter;
    const QString suggested =
        QStringLiteral("通信记录-%1.csv")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString file = m_files.saveFileName(this, QStringLiteral("保存通信记录"), suggested,
                                        kCsvFilter + QStringLiteral(";;") + kTextFilter, &filter);
    if (file.isEmpty())
        return false;
    const bool text = file.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive) ||
                      (!file.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) && filter == kTextFilter);
    // A name typed without an extension gets the chosen format's.
    if (QFileInfo(file).suffix().isEmpty())
        file += text ? QStringLiteral(".txt") : QStringLiteral(".csv");
    const QByteArray content = text ? m_log.toText({}, true).toUtf8() : m_log.toCsv();
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size() || !out.commit()) {
        m_messages.show(QStringLiteral("无法保存通信记录:%1\n%2").arg(file, out.errorString()),
                        QStringLiteral("注意"), platform::MessageBoxes::Icon::Information);
        return false;
    }
    return true;
}

} // namespace traffic
