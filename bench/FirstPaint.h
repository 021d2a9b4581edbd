// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QWidget;

// Watches a window for its first paint: notes the moment the window receives its first paint
// event, and the moment that paint pass (children included, flushed) is over and the event loop
// turns.
namespace bench {

class FirstPaint final : public QObject {
    Q_OBJECT
public:
    explicit FirstPaint(QWidget* window);

    // CLOCK_BOOTTIME in nanoseconds; 0 until it happened.
    qint64 paintNs() const { return m_paintNs; }
    qint64 paintedNs() const { return m_paintedNs; }

    // One line of key=value pairs for the benchmark runner: both moments relative to the
    // process start, the second one also as an absolute time, and the peak resident memory.
    QString report() const;

Q_SIGNALS:
    // The first paint pass is over.
    void painted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    qint64 m_paintNs = 0;
    qint64 m_paintedNs = 0;
};

} // namespace bench
