// SPDX-License-Identifier: MIT
// How the faults asked for shape each reply: its writes, their waits, the garbage in front, and
// the tag the log shows.
#include "sim/FaultPlan.h"

#include <QTest>

using namespace Qt::StringLiterals;
using sim::FaultOptions;
using sim::FaultPlan;

namespace {

const QByteArray kConnected = QByteArray::fromHex("4002E123");

// A planned reply as text: each write as "wait>hex", then its tag in brackets; "-" for no writes.
// Garbage, every byte in front of the first start byte, shows as "~count,".
QString shown(const sim::PlannedReply& planned) {
    qsizetype garbage = planned.wire().indexOf('\x40');
    QStringList writes;
    for (const sim::PlannedWrite& write : planned.writes) {
        const qsizetype hidden = std::min(garbage, write.bytes.size());
        garbage -= hidden;
        writes.append(u"%1>%2%3"_s.arg(write.waitMs)
                          .arg(hidden > 0 ? u"~%1,"_s.arg(hidden) : QString(),
                               QString::fromLatin1(write.bytes.mid(hidden).toHex().toUpper())));
    }
    return u"%1 [%2]"_s.arg(planned.dropped() ? u"-"_s : writes.join(u' '), planned.tag);
}

} // namespace

Q_DECLARE_METATYPE(FaultOptions)

class FaultPlanTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shapesReplies_data() {
        QTest::addColumn<FaultOptions>("faults");
        QTest::addColumn<QString>("replies"); // the 1st, 2nd ... reply of 40 02 E1 23, separated by " | "
        const auto row = [](const char* name, const FaultOptions& faults, const QString& replies) {
            QTest::newRow(name) << faults << replies;
        };
        row("clean", {}, u"0>4002E123 []"_s);
        row("delay and split: the delay comes first, the split after the first half",
            {.delayMs = 30, .splitGapMs = 60}, u"30>4002 60>E123 [delay:30,split:60]"_s);
        row("drop every second and corrupt every third, counted on the same replies",
            {.dropEvery = 2, .corruptEndEvery = 3},
            u"0>4002E123 [] | - [drop] | 0>4002E124 [corrupt-end] | - [drop] | 0>4002E123 [] | - [drop]"_s);
        row("double and corrupt: both copies corrupted, in one write",
            {.corruptEndEvery = 1, .doubled = true}, u"0>4002E1244002E124 [corrupt-end,double]"_s);
        row("double and split: split in the middle of the pair", {.splitGapMs = 20, .doubled = true},
            u"0>4002E123 20>4002E123 [double,split:20]"_s);
        row("garbage once in front of a doubled reply", {.garbage = 300, .doubled = true},
            u"0>~300,4002E1234002E123 [double,garbage:300]"_s);
        row("garbage is part of what is split", {.splitGapMs = 10, .garbage = 3},
            u"0>~3, 10>4002E123 [garbage:3,split:10]"_s);
    }

    void shapesReplies() {
        QFETCH(FaultOptions, faults);
        QFETCH(QString, replies);
        FaultPlan plan(faults);
        QStringList planned;
        for (qsizetype i = 0; i <= replies.count(u" | "_s); ++i)
            planned.append(shown(plan.next(kConnected)));
        QCOMPARE(planned.join(u" | "_s), replies);
    }
};

QTEST_GUILESS_MAIN(FaultPlanTest)
#include "tst_sim_faults.moc"
