// SPDX-License-Identifier: MIT
// The exit-code policy: each verdict's word and code, the worst of a batch, and the verdict that a
// device fault, a scan result and an open failure come to.
#include "cli/Verdict.h"

#include <QTest>

using namespace cli;
using namespace Qt::StringLiterals;
using enum Verdict;

class TestVerdict : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void namesCodesAndTheWorst() {
        const std::tuple<Verdict, QString, int> rows[] = {
            {Passed, u"passed"_s, 0},      {Mismatch, u"mismatch"_s, 1},  {Malformed, u"malformed"_s, 3},
            {NoAnswer, u"no-answer"_s, 4}, {PortLost, u"port-lost"_s, 5}, {CannotOpen, u"cannot-open"_s, 6}};
        for (const auto& [verdict, name, code] : rows) {
            QCOMPARE(verdictName(verdict), name);
            QCOMPARE(int(exitCode(verdict)), code);
        }
        QCOMPARE(worst({}), ExitCode::Passed);
        QCOMPARE(worst({Passed, Mismatch, Passed}), ExitCode::Mismatch);
        QCOMPARE(worst({NoAnswer, CannotOpen, Malformed}), ExitCode::CannotOpen);
        QCOMPARE(worst({PortLost, NoAnswer}), ExitCode::PortLost);
    }

    void causes() {
        using Kind = device::DeviceFault::Kind;
        using Connect = device::ConnectFault::Kind;
        const std::pair<Kind, Verdict> faults[] = {{Kind::NoAnswer, NoAnswer},
                                                   {Kind::PortLost, PortLost},
                                                   {Kind::PortNotOpen, PortLost},
                                                   {Kind::Malformed, Malformed},
                                                   {Kind::UnexpectedReply, Malformed}};
        for (const auto& [kind, verdict] : faults)
            QCOMPARE(verdictOf(kind), verdict);
        QCOMPARE(verdictOf(Connect::NoAnswer), NoAnswer);
        QCOMPARE(verdictOf(Connect::Malformed), Malformed);
        QCOMPARE(verdictOf(Connect::CannotOpen), CannotOpen);
        using platform::SerialError;
        QCOMPARE(openFailure(SerialError::DeviceNotFound), u"not found"_s);
        QCOMPARE(openFailure(SerialError::InUse), u"in use by another program"_s);
        QVERIFY(openFailure(SerialError::Permission).startsWith(u"permission denied"_s));
        QCOMPARE(openFailure(SerialError::Open), u"cannot be opened"_s);
    }
};

QTEST_GUILESS_MAIN(TestVerdict)
#include "tst_verdict.moc"
