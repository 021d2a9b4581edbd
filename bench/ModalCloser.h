// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QDialog;

// Presses OK on every modal dialog once it has been on screen for a moment, as an operator
// would, so that real message boxes never hold up a benchmark.
namespace bench {

class ModalCloser final : public QObject {
    Q_OBJECT
public:
    // `settleMs`: how long a dialog stays up (and gets painted) before it is answered.
    explicit ModalCloser(int settleMs, QObject* parent = nullptr);

Q_SIGNALS:
    // A dialog has been answered; `text` is a message box's text, empty for other dialogs.
    void closed(const QString& text);

private:
    void poll();

    QTimer m_poll;
    QPointer<QDialog> m_seen;
    int m_seenTicks = 0;
    int m_settleTicks;
};

} // namespace bench
