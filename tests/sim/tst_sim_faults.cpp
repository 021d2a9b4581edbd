#include "sim/FaultPlan.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using sim::FaultOptions;
using sim::FaultPlan;
using sim::PlannedReply;

namespace {

const QByteArray kConnected = QByteArray::fromHex("4002E123");

// A planned reply as text: each write as "wait>hex", separated by spaces; "drop" when dropped.
// Garbage, every byte in front of the first start byte, shows as "~count,".
QString text(const PlannedReply& planned) {
    if (planned.dropped())
        return u"drop"_s;
    qsizetype garbage = planned.wire().indexOf('\x40');
    QStringList writes;
    for (const sim::PlannedWrite& write : planned.writes) {
        const qsizetype hidden = std::min(garbage, write.bytes.size());
        garbage -= hidden;
        writes.append(u"%1>%2%3"_s.arg(write.waitMs)
                          .arg(hidden > 0 ? u"~%1,"_s.arg(hidden) : QString(),
                               QString::fromLatin1(write.bytes.mid(hidden).toHex().toUpper())));
    }
    return writes.join(QLatin1Char(' '));
}

} // namespace

Q_DECLARE_METATYPE(FaultOptions)

class FaultPlanTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shapesReplies_data() {
        QTest::addColumn<FaultOptions>("faults");
        QTest::addColumn<QStringList>("writes"); // for the 1st, 2nd, 3rd ... reply of 40 02 E1 23
        QTest::addColumn<QStringList>("tags");

        const QString clean = u"0>4002E123"_s;
        const QString none;
        QTest::newRow("clean") << FaultOptions{} << QStringList{clean} << QStringList{none};
        QTest::newRow("delay") << FaultOptions{.delayMs = 100} << QStringList{u"100>4002E123"_s}
                               << QStringList{u"delay:100"_s};
        QTest::newRow("delay and split: the delay comes first, the split after the first half")
            << FaultOptions{.delayMs = 30, .splitGapMs = 60} << QStringList{u"30>4002 60>E123"_s}
            << QStringList{u"delay:30,split:60"_s};
        QTest::newRow("drop every one, whatever else is asked")
            << FaultOptions{.delayMs = 50, .dropEvery = 1, .doubled = true}
            << QStringList{u"drop"_s, u"drop"_s} << QStringList{u"drop"_s, u"drop"_s};
        QTest::newRow("drop every second and corrupt every third, counted on the same replies")
            << FaultOptions{.dropEvery = 2, .corruptEndEvery = 3}
            << QStringList{clean, u"drop"_s, u"0>4002E124"_s, u"drop"_s, clean, u"drop"_s}
            << QStringList{none, u"drop"_s, u"corrupt-end"_s, u"drop"_s, none, u"drop"_s};
        QTest::newRow("double and corrupt: both copies corrupted, in one write")
            << FaultOptions{.corruptEndEvery = 1, .doubled = true} << QStringList{u"0>4002E1244002E124"_s}
            << QStringList{u"corrupt-end,double"_s};
        QTest::newRow("double and split: split in the middle of the pair")
            << FaultOptions{.splitGapMs = 20, .doubled = true} << QStringList{u"0>4002E123 20>4002E123"_s}
            << QStringList{u"double,split:20"_s};
        QTest::newRow("garbage, none of it a start byte")
            << FaultOptions{.garbage = 500} << QStringList{u"0>~500,4002E123"_s}
            << QStringList{u"garbage:500"_s};
        QTest::newRow("garbage once in front of a doubled reply")
            << FaultOptions{.garbage = 300, .doubled = true} << QStringList{u"0>~300,4002E1234002E123"_s}
            << QStringList{u"double,garbage:300"_s};
        QTest::newRow("garbage is part of what is split")
            << FaultOptions{.splitGapMs = 10, .garbage = 3} << QStringList{u"0>~3, 10>4002E123"_s}
            << QStringList{u"garbage:3,split:10"_s};
    }

    void shapesReplies() {
        QFETCH(FaultOptions, faults);
        QFETCH(QStringList, writes);
        QFETCH(QStringList, tags);
        FaultPlan plan(faults);
        for (int i = 0; i < writes.size(); ++i) {
            const PlannedReply planned = plan.next(kConnected);
            QCOMPARE(text(planned), writes.at(i));
            QCOMPARE(planned.tag, tags.at(i));
        }
    }

    // A seed draws one fault per reply, every kind in time, the same ones again for the same seed.
    void randomFaultsAreOneAtATimeAndRepeatable() {
        FaultPlan first(FaultOptions{.randomSeed = 7});
        FaultPlan second(FaultOptions{.randomSeed = 7});
        FaultPlan other(FaultOptions{.randomSeed = 8});
        QStringList a, b, c;
        QSet<QString> seen;
        for (int i = 0; i < 500; ++i) {
            const PlannedReply p = first.next(kConnected);
            QVERIFY2(!p.tag.contains(u','), qPrintable(p.tag));
            seen.insert(p.tag);
            a.append(p.tag + u' ' + text(p));
            const PlannedReply q = second.next(kConnected);
            b.append(q.tag + u' ' + text(q));
            c.append(other.next(kConnected).tag);
        }
        QCOMPARE(a, b);
        QVERIFY(a != c);
        const QSet<QString> expected{QString(),        u"delay:150"_s, u"split:60"_s, u"drop"_s,
                                     u"corrupt-end"_s, u"garbage:3"_s, u"double"_s};
        QCOMPARE(seen, expected);
    }
};

QTEST_GUILESS_MAIN(FaultPlanTest)
#include "tst_sim_faults.moc"
