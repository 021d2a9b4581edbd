// The exit-code policy: each verdict's word and code, the worst of a batch, and which verdict a
// device fault, a scan result and an open failure come to.
#include "cli/Verdict.h"

#include <QTest>

using namespace cli;
using namespace Qt::StringLiterals;

class TestVerdict : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void verdicts_data();
    void verdicts();
    void worstOfABatch_data();
    void worstOfABatch();
    void causes();
};

void TestVerdict::verdicts_data() {
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("code");
    QTest::newRow("passed") << Verdict::Passed << u"passed"_s << 0;
    QTest::newRow("mismatch") << Verdict::Mismatch << u"mismatch"_s << 1;
    QTest::newRow("malformed") << Verdict::Malformed << u"malformed"_s << 3;
    QTest::newRow("no answer") << Verdict::NoAnswer << u"no-answer"_s << 4;
    QTest::newRow("port lost") << Verdict::PortLost << u"port-lost"_s << 5;
    QTest::newRow("cannot open") << Verdict::CannotOpen << u"cannot-open"_s << 6;
}

void TestVerdict::verdicts() {
    QFETCH(Verdict, verdict);
    QFETCH(QString, name);
    QFETCH(int, code);
    QCOMPARE(verdictName(verdict), name);
    QCOMPARE(int(exitCode(verdict)), code);
}

void TestVerdict::worstOfABatch_data() {
    QTest::addColumn<QList<Verdict>>("verdicts");
    QTest::addColumn<ExitCode>("code");
    QTest::newRow("none") << QList<Verdict>{} << ExitCode::Passed;
    QTest::newRow("all passed") << QList<Verdict>{Verdict::Passed, Verdict::Passed} << ExitCode::Passed;
    QTest::newRow("one mismatch") << QList<Verdict>{Verdict::Passed, Verdict::Mismatch, Verdict::Passed}
                                  << ExitCode::Mismatch;
    QTest::newRow("the earliest failure")
        << QList<Verdict>{Verdict::NoAnswer, Verdict::CannotOpen, Verdict::Malformed} << ExitCode::CannotOpen;
    QTest::newRow("lost before no answer")
        << QList<Verdict>{Verdict::PortLost, Verdict::NoAnswer} << ExitCode::PortLost;
}

void TestVerdict::worstOfABatch() {
    QFETCH(QList<Verdict>, verdicts);
    QFETCH(ExitCode, code);
    QCOMPARE(worst(verdicts), code);
}

void TestVerdict::causes() {
    using Kind = device::DeviceFault::Kind;
    using Status = device::ScanResult::Status;
    const std::pair<Kind, Verdict> faults[] = {{Kind::NoAnswer, Verdict::NoAnswer},
                                               {Kind::PortLost, Verdict::PortLost},
                                               {Kind::PortNotOpen, Verdict::PortLost},
                                               {Kind::Malformed, Verdict::Malformed},
                                               {Kind::UnexpectedReply, Verdict::Malformed}};
    for (const auto& [kind, verdict] : faults)
        QCOMPARE(verdictOf(kind), verdict);
    QCOMPARE(verdictOf(Status::Found), Verdict::Passed);
    QCOMPARE(verdictOf(Status::NotFound), Verdict::NoAnswer);
    QCOMPARE(verdictOf(Status::CannotOpen), Verdict::CannotOpen);

    using platform::SerialError;
    QCOMPARE(openFailure(SerialError::DeviceNotFound, false), u"not found"_s);
    QCOMPARE(openFailure(SerialError::Permission, true), u"in use by another program"_s);
    QCOMPARE(openFailure(SerialError::Permission, false), u"permission denied"_s);
    QCOMPARE(openFailure(SerialError::Open, true), u"cannot be opened"_s);
}

QTEST_GUILESS_MAIN(TestVerdict)
#include "tst_verdict.moc"
