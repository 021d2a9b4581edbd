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
QString text(const PlannedReply& planned) {
    if (planned.dropped())
        return u"drop"_s;
    QStringList writes;
    for (const sim::PlannedWrite& write : planned.writes)
        writes.append(u"%1>%2"_s.arg(write.waitMs).arg(QString::fromLatin1(write.bytes.toHex().toUpper())));
    return writes.join(QLatin1Char(' '));
}

FaultOptions options(std::initializer_list<std::pair<const char*, int>> set) {
    FaultOptions o;
    for (const auto& [name, value] : set) {
        const QByteArray key(name);
        if (key == "delay")
            o.delayMs = value;
        else if (key == "split")
            o.splitGapMs = value;
        else if (key == "drop")
            o.dropEvery = value;
        else if (key == "corrupt")
            o.corruptEndEvery = value;
        else if (key == "garbage")
            o.garbage = value;
        else if (key == "double")
            o.doubled = value != 0;
    }
    return o;
}

} // namespace

Q_DECLARE_METATYPE(FaultOptions)

class FaultPlanTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shapesReplies_data();
    void shapesReplies();
    void garbageNeverHoldsAStartByte_data();
    void garbageNeverHoldsAStartByte();
    void randomFaultsRepeatForTheSameSeed();
    void randomFaultsDrawEveryKindOneAtATime();
};

void FaultPlanTest::shapesReplies_data() {
    QTest::addColumn<FaultOptions>("faults");
    QTest::addColumn<QStringList>("writes"); // for the 1st, 2nd, 3rd ... reply of 40 02 E1 23
    QTest::addColumn<QStringList>("tags");

    QTest::newRow("clean") << options({}) << QStringList{u"0>4002E123"_s} << QStringList{QString()};
    QTest::newRow("delay") << options({{"delay", 100}}) << QStringList{u"100>4002E123"_s}
                           << QStringList{u"delay:100"_s};
    QTest::newRow("split after the first half")
        << options({{"split", 60}}) << QStringList{u"0>4002 60>E123"_s} << QStringList{u"split:60"_s};
    QTest::newRow("delay and split: the delay comes first")
        << options({{"delay", 30}, {"split", 60}}) << QStringList{u"30>4002 60>E123"_s}
        << QStringList{u"delay:30,split:60"_s};
    QTest::newRow("drop every second")
        << options({{"drop", 2}}) << QStringList{u"0>4002E123"_s, u"drop"_s, u"0>4002E123"_s, u"drop"_s}
        << QStringList{QString(), u"drop"_s, QString(), u"drop"_s};
    QTest::newRow("drop every one") << options({{"drop", 1}, {"delay", 50}, {"double", 1}})
                                    << QStringList{u"drop"_s, u"drop"_s} << QStringList{u"drop"_s, u"drop"_s};
    QTest::newRow("corrupt every third end byte")
        << options({{"corrupt", 3}})
        << QStringList{u"0>4002E123"_s, u"0>4002E123"_s, u"0>4002E124"_s, u"0>4002E123"_s}
        << QStringList{QString(), QString(), u"corrupt-end"_s, QString()};
    QTest::newRow("drop and corrupt counted on the same replies")
        << options({{"drop", 2}, {"corrupt", 3}})
        << QStringList{u"0>4002E123"_s, u"drop"_s, u"0>4002E124"_s, u"drop"_s, u"0>4002E123"_s, u"drop"_s}
        << QStringList{QString(), u"drop"_s, u"corrupt-end"_s, u"drop"_s, QString(), u"drop"_s};
    QTest::newRow("double in one write")
        << options({{"double", 1}}) << QStringList{u"0>4002E1234002E123"_s} << QStringList{u"double"_s};
    QTest::newRow("double and corrupt: both copies corrupted")
        << options({{"double", 1}, {"corrupt", 1}}) << QStringList{u"0>4002E1244002E124"_s}
        << QStringList{u"corrupt-end,double"_s};
    QTest::newRow("double and split: split in the middle of the pair")
        << options({{"double", 1}, {"split", 20}}) << QStringList{u"0>4002E123 20>4002E123"_s}
        << QStringList{u"double,split:20"_s};
}

void FaultPlanTest::shapesReplies() {
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

void FaultPlanTest::garbageNeverHoldsAStartByte_data() {
    QTest::addColumn<FaultOptions>("faults");
    QTest::addColumn<QByteArray>("reply"); // what follows the garbage
    QTest::addColumn<int>("writes");
    QTest::newRow("garbage") << options({{"garbage", 500}}) << kConnected << 1;
    QTest::newRow("garbage once in front of a doubled reply")
        << options({{"garbage", 300}, {"double", 1}}) << kConnected + kConnected << 1;
    QTest::newRow("garbage is part of what is split")
        << options({{"garbage", 3}, {"split", 10}}) << kConnected << 2;
}

void FaultPlanTest::garbageNeverHoldsAStartByte() {
    QFETCH(FaultOptions, faults);
    QFETCH(QByteArray, reply);
    QFETCH(int, writes);
    FaultPlan plan(faults);
    FaultPlan again(faults);
    for (int round = 0; round < 3; ++round) {
        const PlannedReply planned = plan.next(kConnected);
        QCOMPARE(int(planned.writes.size()), writes);
        const QByteArray wire = planned.wire();
        QCOMPARE(wire.size(), faults.garbage + reply.size());
        QVERIFY(!wire.left(faults.garbage).contains('\x40'));
        QCOMPARE(wire.mid(faults.garbage).toHex(), reply.toHex());
        QVERIFY(planned.tag.contains(u"garbage:%1"_s.arg(faults.garbage)));
        // The same options give the same bytes, so a failing run can be repeated.
        QCOMPARE(again.next(kConnected).wire().toHex(), wire.toHex());
    }
}

void FaultPlanTest::randomFaultsRepeatForTheSameSeed() {
    FaultOptions faults;
    faults.randomSeed = 42;
    FaultPlan first(faults);
    FaultPlan second(faults);
    faults.randomSeed = 43;
    FaultPlan other(faults);
    QStringList a, b, c;
    for (int i = 0; i < 60; ++i) {
        const PlannedReply p = first.next(kConnected);
        a.append(p.tag + u' ' + text(p));
        const PlannedReply q = second.next(kConnected);
        b.append(q.tag + u' ' + text(q));
        const PlannedReply r = other.next(kConnected);
        c.append(r.tag + u' ' + text(r));
    }
    QCOMPARE(a, b);
    QVERIFY(a != c);
}

void FaultPlanTest::randomFaultsDrawEveryKindOneAtATime() {
    FaultOptions faults;
    faults.randomSeed = 7;
    FaultPlan plan(faults);
    QSet<QString> seen;
    for (int i = 0; i < 500; ++i) {
        const PlannedReply planned = plan.next(kConnected);
        QVERIFY2(!planned.tag.contains(u','), qPrintable(planned.tag)); // one fault per reply
        seen.insert(planned.tag);
    }
    const QSet<QString> expected{QString(),        u"delay:150"_s, u"split:60"_s, u"drop"_s,
                                 u"corrupt-end"_s, u"garbage:3"_s, u"double"_s};
    QCOMPARE(seen, expected);
}

QTEST_GUILESS_MAIN(FaultPlanTest)
#include "tst_sim_faults.moc"
