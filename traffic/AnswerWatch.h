// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <deque>

// Tells when a request drew no reply within a second, for the traffic log only: the window itself
// neither pairs, waits nor retries. Requests and replies are matched in order (the oldest request
// still waiting takes the next reply), which is what the device does.
namespace traffic {

class AnswerWatch final : public QObject {
    Q_OBJECT
public:
    static constexpr int AnswerMs = 1000;

    explicit AnswerWatch(QObject* parent = nullptr);

    // A request went out. A forward frame is not watched: nothing answers it.
    void sent(const QByteArray& request);
    // A reply came: the oldest request waiting counts as answered.
    void replied();
    // The port closed: nothing waits any longer.
    void clear();
    int waiting() const { return int(m_waiting.size()); }

Q_SIGNALS:
    void unanswered(const QByteArray& request);

private:
    struct Waiting {
        QByteArray request;
        qint64 deadline; // on m_clock
    };
    void arm();
    void onTimeout();

    QTimer m_timer{this}; // named "answerTimer"; its tick ends the oldest request's second
    QElapsedTimer m_clock;
    std::deque<Waiting> m_waiting;
};

} // namespace traffic
