#include "sim/FrameAssembler.h"

#include <QTest>

using namespace Qt::StringLiterals;
using sim::FrameAssembler;
using sim::Piece;

namespace {

// Pieces as short texts so that a failing row shows what was cut: "F:4002F123", "J:0102",
// "I:401CCD/30" (incomplete, with the size its length byte announced).
QStringList texts(const std::vector<Piece>& pieces) {
    static const QString kKinds[] = {u"F:"_s, u"J:"_s, u"I:"_s};
    QStringList list;
    for (const Piece& piece : pieces) {
        const QString text = kKinds[int(piece.kind)] + QString::fromLatin1(piece.bytes.toHex().toUpper());
        list.append(piece.kind == Piece::Kind::Incomplete ? text + u'/' + QString::number(piece.expected)
                                                          : text);
    }
    return list;
}

} // namespace

class FrameAssemblerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cutsTheStream_data() {
        QTest::addColumn<QString>("input");       // hex, reads separated by spaces
        QTest::addColumn<QStringList>("fed");     // pieces out of the reads
        QTest::addColumn<QString>("held");        // held back afterwards: "frame", "junk" or ""
        QTest::addColumn<QStringList>("expired"); // pieces out of expire()

        const QStringList none;
        QTest::newRow("one frame") << u"4002F123"_s << QStringList{u"F:4002F123"_s} << QString() << none;
        QTest::newRow("two frames in one read")
            << u"4002F1234002FB23"_s << QStringList{u"F:4002F123"_s, u"F:4002FB23"_s} << QString() << none;
        QTest::newRow("a frame and the start of the next")
            << u"4002F12340 02FB23"_s << QStringList{u"F:4002F123"_s, u"F:4002FB23"_s} << QString() << none;
        QTest::newRow("frame boundaries from the length byte, not from 23 or 40 inside")
            << u"4014CE23402340234023402340234023402340234023"_s
            << QStringList{u"F:4014CE23402340234023402340234023402340234023"_s} << QString() << none;
        QTest::newRow("junk before a frame")
            << u"01024002F123"_s << QStringList{u"J:0102"_s, u"F:4002F123"_s} << QString() << none;
        QTest::newRow("one run of junk over three reads is one piece")
            << u"01 0203 FF4002F123"_s << QStringList{u"J:010203FF"_s, u"F:4002F123"_s} << QString() << none;
        QTest::newRow("junk between frames")
            << u"4002F123AA4002FB23"_s << QStringList{u"F:4002F123"_s, u"J:AA"_s, u"F:4002FB23"_s}
            << QString() << none;
        QTest::newRow("junk alone waits for the time-out")
            << u"2323"_s << none << u"junk"_s << QStringList{u"J:2323"_s};
        QTest::newRow("a frame that stops coming")
            << u"401CCD0803"_s << none << u"frame"_s << QStringList{u"I:401CCD0803/30"_s};
        QTest::newRow("a lone start byte") << u"40"_s << none << u"frame"_s << QStringList{u"I:40/0"_s};
        QTest::newRow("a too large length byte swallows the next request")
            << u"4003F123 4002"_s << QStringList{u"F:4003F12340"_s} << u"junk"_s << QStringList{u"J:02"_s};
        QTest::newRow("length byte zero is a frame of its own, rejected later")
            << u"40004002F123"_s << QStringList{u"F:4000"_s, u"F:4002F123"_s} << QString() << none;
        QTest::newRow("a complete frame then junk held back")
            << u"4002F12323"_s << QStringList{u"F:4002F123"_s} << u"junk"_s << QStringList{u"J:23"_s};
        QTest::newRow("a bad end byte still ends the frame where its length says")
            << u"4002F1244002FB23"_s << QStringList{u"F:4002F124"_s, u"F:4002FB23"_s} << QString() << none;
        const QString portSet = u"401CCD"_s + u"080302"_s.repeated(8) + u"080123"_s;
        for (int cut = 2; cut < portSet.size(); cut += 2)
            QTest::addRow("port set cut after byte %d", cut / 2)
                << portSet.left(cut) + u' ' + portSet.mid(cut) << QStringList{u"F:"_s + portSet} << QString()
                << none;
    }

    void cutsTheStream() {
        QFETCH(QString, input);
        QFETCH(QStringList, fed);
        QFETCH(QString, held);
        QFETCH(QStringList, expired);
        FrameAssembler assembler;
        QStringList out;
        for (const QString& read : input.split(u' '))
            out += texts(assembler.feed(QByteArray::fromHex(read.toLatin1())));
        QCOMPARE(out, fed);
        QCOMPARE(assembler.partial() ? u"frame"_s : assembler.pending() ? u"junk"_s : QString(), held);
        QCOMPARE(texts(assembler.expire()), expired);
        QVERIFY(!assembler.pending());
    }

    // 20 MiB without a start byte: one piece that tells the run's length and shows only its start.
    void countsALongRunOfJunkWithoutHoldingIt() {
        FrameAssembler assembler;
        const QByteArray read = QByteArray::fromHex("0123").repeated(32 * 1024);
        for (int i = 0; i < 320; ++i)
            QVERIFY(assembler.feed(read).empty());
        const std::vector<Piece> pieces = assembler.feed(QByteArray::fromHex("4002F123"));
        QCOMPARE(pieces.at(0).length, 20 * 1024 * 1024);
        QCOMPARE(texts(pieces),
                 QStringList({u"J:"_s + u"0123"_s.repeated(FrameAssembler::ShownJunk / 2), u"F:4002F123"_s}));
    }
};

QTEST_GUILESS_MAIN(FrameAssemblerTest)
#include "tst_sim_assembler.moc"
