// SPDX-License-Identifier: MIT
// The network module's write frame built from the eighteen octet boxes, and the boxes' own rules:
// which characters they keep and which values they reset.
#include "config/NetworkFrame.h"

#include <QTest>

using namespace config;
using namespace Qt::StringLiterals;

class TestNetworkFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void build_data() {
        // Eighteen boxes of "0" with some replaced, e.g. "5=64 6=35"; "all=x" sets every box.
        QTest::addColumn<QString>("edits");
        QTest::addColumn<QString>("result"); // the frame, or the first bad box and why
        const auto row = [](const char* edits, const QString& result) {
            QTest::newRow(*edits ? edits : "all zeros") << edits << result;
        };
        row("0=0 1=8 2=220 3=1 4=2 5=3 6=192 7=168 8=1 9=100 10=255 11=255 12=255 13=0 14=192 15=168 16=1 "
            "17=1",
            u"4014CE0008DC010203C0A80164FFFFFF00C0A8010123"_s);
        row("", u"4014CE"_s + QString(36, u'0') + u"23"_s);
        row("all=255", u"4014CE"_s + QString(36, u'F') + u"23"_s);
        row("0=0255 17=00017", u"4014CEFF"_s + QString(32, u'0') + u"1123"_s);
        row("5=64 6=35", u"4014CE00000000004023"_s + QString(22, u'0') + u"23"_s); // travel unescaped
        row("all=", u"box 0 empty"_s);
        row("7=1.5", u"box 7 out of range"_s);
        row("5=. 2=", u"box 2 empty"_s); // the first bad box is named
    }

    void build() {
        QFETCH(QString, edits);
        QFETCH(QString, result);
        OctetTexts boxes;
        boxes.fill(u"0"_s);
        for (const QString& edit : edits.split(u' ', Qt::SkipEmptyParts)) {
            const QString key = edit.section(u'=', 0, 0);
            if (key == u"all")
                boxes.fill(edit.section(u'=', 1));
            else
                boxes[key.toInt()] = edit.section(u'=', 1);
        }
        const auto built = NetworkFrame::build(boxes);
        if (const BoxFault* fault = built.faultIf())
            QCOMPARE(u"box %1 %2"_s.arg(fault->index)
                         .arg(fault->fault == protocol::PadFault::Empty ? u"empty"_s : u"out of range"_s),
                     result);
        else
            QCOMPARE(built.value(), result);
    }

    void boxRules_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept"); // what the box keeps of it
        QTest::addColumn<bool>("exceeds"); // reset to 0
        const auto row = [](const QString& text, const QString& kept, bool exceeds) {
            QTest::addRow("'%ls'", qUtf16Printable(text)) << text << kept << exceeds;
        };
        for (const char* kept : {"255", "0255", "12.5", "1.2.3", "255.0", ".5", ""})
            row(QString::fromLatin1(kept), QString::fromLatin1(kept), false);
        for (const char* exceeds :
             {"0123456789", "256", "00000256", "255.05", "256.0", "99999999999999999999999"})
            row(QString::fromLatin1(exceeds), QString::fromLatin1(exceeds), true);
        row(u" 1-2+a\t5\r\n"_s, u"125"_s, false); // letters, signs, controls
        row(u"１２\u0661"_s, u""_s, false);       // full-width and Arabic-Indic digits
        row(u"1\u30025"_s, u"15"_s, false);       // ideographic full stop
    }

    void boxRules() {
        QFETCH(QString, text);
        QFETCH(QString, kept);
        QFETCH(bool, exceeds);
        QCOMPARE(NetworkFrame::filterBoxText(text), kept);
        QCOMPARE(NetworkFrame::exceedsOctet(text), exceeds);
    }
};

QTEST_APPLESS_MAIN(TestNetworkFrame)
#include "tst_networkframe.moc"
