// SPDX-License-Identifier: MIT
// The console's forward frame: what the operator types on the command line, wrapped for one
// extension port, or the reason nothing is built and what the operator is told.
#include "protocol/ForwardFrame.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Fault = protocol::ForwardFault;
using Outcome = std::optional<Fault>; // nothing: the frame is built

Q_DECLARE_METATYPE(Outcome)

namespace {
// n data bytes as 2n digits: 00 01 02 ...
QString data(int bytes) {
    QString digits;
    for (int i = 0; i < bytes; ++i)
        digits += u"%1"_s.arg(i % 256, 2, 16, QLatin1Char('0')).toUpper();
    return digits;
}
} // namespace

class TestForwardFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void build_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("port");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("text"); // the frame, or the message shown
        const auto row = [](const char* name, const QString& command, const QString& port, Outcome outcome,
                            const QString& text) {
            QTest::newRow(name) << command << port << outcome << text;
        };
        const QString illegal = u"命令中含有非法字符!"_s, badPort = u"转发串口无效!"_s;
        const Outcome built;
        row("to port 2", u"01 02 03"_s, u"2"_s, built, u"4006DD0201020323"_s);
        row("odd digit dropped", u"a1b"_s, u"8"_s, built, u"4004DD08A123"_s);
        row("lower case folded", u"abcdef"_s, u"3"_s, built, u"4006DD03ABCDEF23"_s);
        row("spaces inside pairs", u" 4 0 2 3 "_s, u"4"_s, built, u"4005DD04402323"_s);
        row("one digit: no data", u"5"_s, u"1"_s, built, u"4003DD0123"_s);
        row("13 bytes: length 10", data(13), u"1"_s, built, u"4010DD01"_s + data(13) + u"23"_s);
        row("252 bytes and an odd digit", data(252) + u"7"_s, u"5"_s, built,
            u"40FFDD05"_s + data(252) + u"23"_s);
        row("253 bytes", data(253), u"1"_s, Fault::TooLong, u"命令过长,最多只能转发252个字节!"_s);
        row("empty", u""_s, u"1"_s, Fault::Empty, u"命令为空!"_s);
        row("spaces only: silent", u"   "_s, u"1"_s, Fault::Blank, u""_s);
        row("x", u"0x12"_s, u"1"_s, Fault::IllegalChar, illegal);
        row("tab", u"01\t02"_s, u"1"_s, Fault::IllegalChar, illegal);
        row("ligature ff", u"\uFB00"_s, u"1"_s, Fault::IllegalChar, illegal);
        row("full-width digits", u"０１"_s, u"1"_s, Fault::IllegalChar, illegal);
        row("NUL", QChar(0) + u"01"_s, u"1"_s, Fault::IllegalChar, illegal);
        row("port 0", u"01"_s, u"0"_s, Fault::BadPort, badPort);
        row("port 9", u"01"_s, u"9"_s, Fault::BadPort, badPort);
        row("no port", u"01"_s, u""_s, Fault::BadPort, badPort);
        row("port with a NUL", u"01"_s, u"1"_s + QChar(0) + u"7"_s, Fault::BadPort, badPort);
    }

    void build() {
        QFETCH(QString, command);
        QFETCH(QString, port);
        QFETCH(Outcome, outcome);
        QFETCH(QString, text);
        const auto built = protocol::ForwardFrame::build(command, port);
        QCOMPARE(built ? Outcome() : Outcome(built.fault()), outcome);
        QCOMPARE(built ? built.value() : protocol::ForwardFrame::messageFor(built.fault()), text);
    }
};

QTEST_APPLESS_MAIN(TestForwardFrame)
#include "tst_forwardframe.moc"
