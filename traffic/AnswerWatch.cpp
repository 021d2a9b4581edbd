// SPDX-License-Identifier: MIT
#include "traffic/AnswerWatch.h"

#include "protocol/Frame.h"

namespace traffic {

AnswerWatch::AnswerWatch(QObject* parent) : QObject(parent) {
    m_timer.setObjectName(QStringLiteral("answerTimer"));
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &AnswerWatch::onTimeout);
    m_clock.start();
}

void AnswerWatch::sent(const QByteArray& request) {
    if (request.size() > 2 && quint8(request.at(2)) == protocol::frame::command::Forward)
        return;
    m_waiting.push_back({request, m_clock.elapsed() + AnswerMs});
    if (m_waiting.size() == 1)
        arm();
}

void AnswerWatch::replied() {
    if (m_waiting.empty())
        return;
    m_waiting.pop_front();
    arm();
}

void AnswerWatch::clear() {
    m_waiting.clear();
    m_timer.stop();
}

void AnswerWatch::arm() {
    if (m_waiting.empty()) {
        m_timer.stop();
        return;
    }
    m_timer.start(int(qMax<qint64>(0, m_waiting.front().deadline - m_clock.elapsed())));
}

void AnswerWatch::onTimeout() {
    // The tick always ends the oldest request's wait, so a test can hand it over at once.
    if (m_waiting.empty())
        return;
    const QByteArray request = m_waiting.front().request;
    m_waiting.pop_front();
    arm();
    Q_EMIT unanswered(request);
}

} // namespace traffic
