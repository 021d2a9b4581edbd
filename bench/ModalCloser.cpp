// SPDX-License-Identifier: MIT
#include "bench/ModalCloser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>

namespace bench {

namespace {
constexpr int kPollMs = 10;
}

ModalCloser::ModalCloser(int settleMs, QObject* parent)
    : QObject(parent), m_settleTicks(qMax(1, settleMs / kPollMs)) {
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &ModalCloser::poll);
    m_poll.start();
}

void ModalCloser::poll() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) {
        m_seen = nullptr;
        return;
    }
    if (dialog != m_seen) {
        m_seen = dialog;
        m_seenTicks = 0;
    }
    if (++m_seenTicks < m_settleTicks)
        return;
    m_seen = nullptr;
    QString text;
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        text = box->text();
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->accept();
    } else {
        dialog->accept();
    }
    Q_EMIT closed(text);
}

} // namespace bench
