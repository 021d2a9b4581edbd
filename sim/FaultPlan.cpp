// SPDX-License-Identifier: MIT
#include "sim/FaultPlan.h"

#include <QStringList>

namespace sim {

namespace {

constexpr quint8 kStart = 0x40;
constexpr char kCorruptEnd = 0x24;

// The faults a random draw chooses from, each equally likely; Clean lets some replies through.
enum class Drawn { Clean, Delay, Split, Drop, CorruptEnd, Garbage, Double, Count };

bool every(int n, int count) {
    return n > 0 && count % n == 0;
}

} // namespace

QByteArray PlannedReply::wire() const {
    QByteArray all;
    for (const PlannedWrite& write : writes)
        all.append(write.bytes);
    return all;
}

FaultPlan::FaultPlan(const FaultOptions& options)
    : m_options(options), m_random(options.randomSeed.value_or(DefaultSeed)) {}

PlannedReply FaultPlan::next(const QByteArray& reply) {
    ++m_replies;
    int delayMs = m_options.delayMs;
    int splitGapMs = m_options.splitGapMs;
    int garbage = m_options.garbage;
    bool drop = every(m_options.dropEvery, m_replies);
    bool corrupt = every(m_options.corruptEndEvery, m_replies);
    bool doubled = m_options.doubled;

    if (m_options.randomSeed) {
        switch (Drawn(m_random.bounded(int(Drawn::Count)))) {
        case Drawn::Delay:
            delayMs = delayMs > 0 ? delayMs : RandomDelayMs;
            break;
        case Drawn::Split:
            splitGapMs = splitGapMs > 0 ? splitGapMs : RandomSplitGapMs;
            break;
        case Drawn::Drop:
            drop = true;
            break;
        case Drawn::CorruptEnd:
            corrupt = true;
            break;
        case Drawn::Garbage:
            garbage = garbage > 0 ? garbage : RandomGarbage;
            break;
        case Drawn::Double:
            doubled = true;
            break;
        case Drawn::Clean:
        case Drawn::Count:
            break;
        }
    }

    PlannedReply planned;
    if (drop) {
        planned.tag = QStringLiteral("drop");
        return planned;
    }

    QStringList tags;
    if (delayMs > 0)
        tags.append(QStringLiteral("delay:%1").arg(delayMs));
    QByteArray bytes = reply;
    if (corrupt && !bytes.isEmpty()) {
        bytes[bytes.size() - 1] = kCorruptEnd; // both copies of a doubled reply carry it
        tags.append(QStringLiteral("corrupt-end"));
    }
    if (doubled) {
        bytes.append(QByteArray(bytes));
        tags.append(QStringLiteral("double"));
    }
    if (garbage > 0) {
        QByteArray junk;
        while (junk.size() < garbage) {
            const quint8 byte = quint8(m_random.bounded(256));
            if (byte != kStart) // a start byte would make the garbage look like a frame
                junk.append(char(byte));
        }
        bytes.prepend(junk);
        tags.append(QStringLiteral("garbage:%1").arg(garbage));
    }
    if (splitGapMs > 0 && bytes.size() >= 2) {
        const qsizetype half = bytes.size() / 2;
        planned.writes.push_back({delayMs, bytes.left(half)});
        planned.writes.push_back({splitGapMs, bytes.mid(half)});
        tags.append(QStringLiteral("split:%1").arg(splitGapMs));
    } else {
        planned.writes.push_back({delayMs, bytes});
    }
    planned.tag = tags.join(QLatin1Char(','));
    return planned;
}

} // namespace sim
