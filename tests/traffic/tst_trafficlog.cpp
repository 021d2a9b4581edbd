// SPDX-License-Identifier: MIT
// The traffic log's store and texts. The note of a request that drew no reply is shown by the
// window's rows (tst_tools), which hold every case of it.
#include "traffic/TrafficLog.h"

#include <QSignalSpy>
#include <QTest>

using namespace traffic;
using namespace Qt::StringLiterals;

class TestTrafficLog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keepsTheNewestRows_data() {
        QTest::addColumn<int>("appended");
        QTest::addColumn<QString>("kept"); // the meanings, oldest first
        QTest::newRow("below the bound") << 2 << "r0 r1";
        QTest::newRow("at the bound") << 3 << "r0 r1 r2";
        QTest::newRow("past it, more than once round") << 8 << "r5 r6 r7";
    }

    void keepsTheNewestRows() {
        QFETCH(int, appended);
        QFETCH(QString, kept);
        int tick = 0;
        TrafficLog log(nullptr, 3,
                       [&tick] { return QDateTime(QDate(2024, 5, 1), QTime(9, 0)).addMSecs(tick++); });
        QSignalSpy removed(&log, &TrafficLog::rowsRemoved);
        QSignalSpy inserted(&log, &TrafficLog::rowsInserted);
        for (int i = 0; i < appended; ++i)
            log.append(Kind(i % 3), QByteArray::fromHex("4002E1") + char(i), u"r%1"_s.arg(i));
        QStringList meanings;
        for (int row = 0; row < log.rowCount(); ++row)
            meanings << log.data(log.index(row, TrafficLog::MeaningColumn)).toString();
        QCOMPARE(meanings.join(u' '), kept);
        QCOMPARE(removed.size(), qMax(0, appended - 3)); // one oldest row at a time, as each new one comes
        QCOMPARE(inserted.size(), appended);
        for (const QList<QVariant>& rows : removed) // always the oldest row alone
            QCOMPARE(rows.at(1).toInt() + rows.at(2).toInt(), 0);
        QCOMPARE(inserted.last().at(1).toInt(), log.rowCount() - 1); // always appended at the end
        const int last = log.rowCount() - 1;
        const auto cell = [&](int column) { return log.data(log.index(last, column)).toString(); };
        QCOMPARE(cell(TrafficLog::TimeColumn), u"09:00:00.00%1"_s.arg(appended - 1));
        QCOMPARE(cell(TrafficLog::BytesColumn), u"40 02 E1 0%1"_s.arg(appended - 1));
        log.clear();
        QCOMPARE(log.rowCount(), 0);
    }

    void exportsTextAndCsv() {
        TrafficLog log(nullptr, 10, [] { return QDateTime(QDate(2024, 5, 1), QTime(13, 4, 5, 67)); });
        log.append(Kind::Sent, QByteArray::fromHex("4002f123"), u"连接设备"_s);
        log.append(Kind::Malformed, QByteArray::fromHex("401c"), u"无效帧: 不完整, 收到 2 字节, 应为 30"_s);
        log.append(Kind::NoAnswer, {}, u"say \"x\"\tthen\nmore"_s);
        QCOMPARE(log.toText(), u"13:04:05.067\t发送\t40 02 F1 23\t连接设备\n"
                               u"13:04:05.067\t接收\t40 1C\t无效帧: 不完整, 收到 2 字节, 应为 30\n"
                               u"13:04:05.067\t事件\t\tsay \"x\" then more\n"_s);
        QCOMPARE(log.toText({2, 7}), u"13:04:05.067\t事件\t\tsay \"x\" then more\n"_s);
        QCOMPARE(log.toCsv(),
                 "\xEF\xBB\xBF" +
                     u"时间,方向,数据,含义\r\n"
                     u"2024-05-01 13:04:05.067,发送,40 02 F1 23,连接设备\r\n"
                     u"2024-05-01 13:04:05.067,接收,40 1C,\"无效帧: 不完整, 收到 2 字节, 应为 30\"\r\n"
                     u"2024-05-01 13:04:05.067,事件,,\"say \"\"x\"\"\tthen\nmore\"\r\n"_s.toUtf8());
        // A kilobyte of noise is one row: the table shows its start, a copy every byte.
        log.append(Kind::Received, QByteArray(33, '\x07'), u"x"_s);
        QCOMPARE(log.data(log.index(3, TrafficLog::BytesColumn)).toString(),
                 u"07 "_s.repeated(31) + u"07 … (共 33 字节)"_s);
        QCOMPARE(log.toText({3}).count(u"07"_s), 33);
    }
};

QTEST_GUILESS_MAIN(TestTrafficLog)
#include "tst_trafficlog.moc"
