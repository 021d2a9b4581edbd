// SPDX-License-Identifier: MIT
// Cutting the main port's byte stream into frames by their length byte, whatever the reads, and
// what is junk, held back, or given up.
#include "sim/FrameAssembler.h"

#include <QTest>

using namespace Qt::StringLiterals;
using sim::FrameAssembler;
using sim::Piece;

namespace {

// Pieces as short texts, separated by spaces, so that a failing row shows what was cut:
// "F:4002F123", "J:0102/2" (junk, with the run's length), "I:401CCD/30" (incomplete, with the size
// its length byte announced).
QString texts(const std::vector<Piece>& pieces) {
    QStringList list;
    for (const Piece& piece : pieces) {
        const QString bytes = QString::fromLatin1(piece.bytes.toHex().toUpper());
        list.append(piece.kind == Piece::Kind::Frame  ? u"F:"_s + bytes
                    : piece.kind == Piece::Kind::Junk ? u"J:%1/%2"_s.arg(bytes).arg(piece.length)
                                                      : u"I:%1/%2"_s.arg(bytes).arg(piece.expected));
    }
    return list.join(u' ');
}

} // namespace

class FrameAssemblerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cutsTheStream_data() {
        QTest::addColumn<QString>("input");   // hex, reads separated by spaces
        QTest::addColumn<QString>("fed");     // pieces out of the reads
        QTest::addColumn<QString>("held");    // held back afterwards: "frame", "junk" or ""
        QTest::addColumn<QString>("expired"); // pieces out of expire()
        const auto row = [](const char* name, const QString& input, const QString& fed, const char* held = "",
                            const char* expired = "") {
            QTest::newRow(name) << input << fed << QString::fromLatin1(held) << QString::fromLatin1(expired);
        };
        row("a frame and the start of the next", u"4002F12340 02FB23"_s, u"F:4002F123 F:4002FB23"_s);
        row("frame boundaries from the length byte, not from 23 or 40 inside",
            u"4014CE23402340234023402340234023402340234023"_s,
            u"F:4014CE23402340234023402340234023402340234023"_s);
        row("one run of junk over three reads is one piece", u"01 0203 FF4002F123"_s,
            u"J:010203FF/4 F:4002F123"_s);
        row("a long run of junk is counted, its start shown", u"01"_s.repeated(20) + u" 4002F123"_s,
            u"J:"_s + u"01"_s.repeated(FrameAssembler::ShownJunk) + u"/20 F:4002F123"_s);
        row("junk alone waits for the time-out", u"2323"_s, {}, "junk", "J:2323/2");
        row("a frame that stops coming", u"401CCD0803"_s, {}, "frame", "I:401CCD0803/30");
        row("a lone start byte", u"40"_s, {}, "frame", "I:40/0");
        row("a too large length byte swallows the next request", u"4003F123 4002"_s, u"F:4003F12340"_s,
            "junk", "J:02/1");
        row("length byte zero is a frame of its own, rejected later", u"40004002F123"_s,
            u"F:4000 F:4002F123"_s);
        row("a bad end byte still ends the frame where its length says", u"4002F1244002FB23"_s,
            u"F:4002F124 F:4002FB23"_s);
        const QString portSet = u"401CCD"_s + u"080302"_s.repeated(8) + u"080123"_s;
        for (int cut = 2; cut < portSet.size(); cut += 2)
            QTest::addRow("port set cut after byte %d", cut / 2)
                << portSet.left(cut) + u' ' + portSet.mid(cut) << u"F:"_s + portSet << QString() << QString();
    }

    void cutsTheStream() {
        QFETCH(QString, input);
        QFETCH(QString, fed);
        QFETCH(QString, held);
        QFETCH(QString, expired);
        FrameAssembler assembler;
        QStringList out;
        for (const QString& read : input.split(u' '))
            if (const QString pieces = texts(assembler.feed(QByteArray::fromHex(read.toLatin1())));
                !pieces.isEmpty())
                out.append(pieces);
        QCOMPARE(out.join(u' '), fed);
        QCOMPARE(assembler.partial() ? u"frame"_s : assembler.pending() ? u"junk"_s : QString(), held);
        QCOMPARE(texts(assembler.expire()), expired);
        QVERIFY(!assembler.pending());
    }
};

QTEST_GUILESS_MAIN(FrameAssemblerTest)
#include "tst_sim_assembler.moc"
