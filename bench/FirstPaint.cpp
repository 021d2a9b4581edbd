// SPDX-License-Identifier: MIT
#include "bench/FirstPaint.h"

#include "bench/ProcessStats.h"

#include <QEvent>
#include <QWidget>

namespace bench {

FirstPaint::FirstPaint(QWidget* window) : m_window(window) {
    window->installEventFilter(this);
}

bool FirstPaint::eventFilter(QObject* watched, QEvent* event) {
    // The update request that starts the frame comes first; the paint event follows once the
    // frame is being drawn, the window itself before its children.
    if (watched == m_window && m_paintNs == 0 && event->type() == QEvent::Paint) {
        m_paintNs = bootTimeNs();
        m_window->removeEventFilter(this);
        // Queued: runs once the paint pass that has just begun, and its flush, are done.
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_paintedNs = bootTimeNs();
                Q_EMIT painted();
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

QString FirstPaint::report() const {
    const qint64 start = processStartNs();
    const auto ms = [start](qint64 ns) { return QString::number(double(ns - start) / 1e6, 'f', 3); };
    return QStringLiteral(
               "paint_ms=%1 painted_ms=%2 paint_boot_ns=%3 painted_boot_ns=%4 tick_ms=%5 hwm_kb=%6")
        .arg(ms(m_paintNs), ms(m_paintedNs), QString::number(m_paintNs), QString::number(m_paintedNs),
             QString::number(double(clockTickNs()) / 1e6), QString::number(peakResidentKb()));
}

} // namespace bench
