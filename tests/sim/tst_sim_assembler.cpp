#include "sim/FrameAssembler.h"

#include <QTest>

using namespace Qt::StringLiterals;
using sim::FrameAssembler;
using sim::Piece;

namespace {

// Pieces as short texts so that a failing row shows what was cut: "F:4002F123", "J:0102",
// "I:401CCD/30" (incomplete, with the size its length byte announced).
QString text(const Piece& piece) {
    const QString bytes = QString::fromLatin1(piece.bytes.toHex().toUpper());
    switch (piece.kind) {
    case Piece::Kind::Frame:
        return QStringLiteral("F:") + bytes;
    case Piece::Kind::Junk:
        return QStringLiteral("J:") + bytes;
    case Piece::Kind::Incomplete:
        return QStringLiteral("I:%1/%2").arg(bytes).arg(piece.expected);
    }
    return {};
}

QStringList texts(const std::vector<Piece>& pieces) {
    QStringList list;
    for (const Piece& piece : pieces)
        list.append(text(piece));
    return list;
}

QList<QByteArray> reads(std::initializer_list<const char*> digits) {
    QList<QByteArray> list;
    for (const char* d : digits)
        list.append(QByteArray::fromHex(d));
    return list;
}

const char kPortSet[] = "401CCD080302080302080302080302080302080302080302080302080123";

} // namespace

class FrameAssemblerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cutsTheStream_data();
    void cutsTheStream();
    void assemblesAFrameSplitAnywhere_data();
    void assemblesAFrameSplitAnywhere();
    void startsAfreshAfterExpiry();
};

void FrameAssemblerTest::cutsTheStream_data() {
    QTest::addColumn<QList<QByteArray>>("input"); // one entry per read
    QTest::addColumn<QStringList>("fed");         // pieces out of the reads
    QTest::addColumn<bool>("pending");            // something held back afterwards
    QTest::addColumn<QStringList>("expired");     // pieces out of expire()

    const QStringList none;
    QTest::newRow("one frame") << reads({"4002F123"}) << QStringList{u"F:4002F123"_s} << false << none;
    QTest::newRow("two frames in one read")
        << reads({"4002F1234002FB23"}) << QStringList{u"F:4002F123"_s, u"F:4002FB23"_s} << false << none;
    QTest::newRow("a frame and the start of the next")
        << reads({"4002F12340", "02FB23"}) << QStringList{u"F:4002F123"_s, u"F:4002FB23"_s} << false << none;
    QTest::newRow("frame boundaries from the length byte, not from 23 or 40 inside")
        << reads({"4014CE23402340234023402340234023402340234023"})
        << QStringList{u"F:4014CE23402340234023402340234023402340234023"_s} << false << none;
    QTest::newRow("junk before a frame")
        << reads({"01024002F123"}) << QStringList{u"J:0102"_s, u"F:4002F123"_s} << false << none;
    QTest::newRow("one run of junk over three reads is one piece")
        << reads({"01", "0203", "FF4002F123"}) << QStringList{u"J:010203FF"_s, u"F:4002F123"_s} << false
        << none;
    QTest::newRow("junk between frames")
        << reads({"4002F123AA4002FB23"}) << QStringList{u"F:4002F123"_s, u"J:AA"_s, u"F:4002FB23"_s} << false
        << none;
    QTest::newRow("junk alone waits for the time-out")
        << reads({"2323"}) << none << true << QStringList{u"J:2323"_s};
    QTest::newRow("a frame that stops coming")
        << reads({"401CCD0803"}) << none << true << QStringList{u"I:401CCD0803/30"_s};
    QTest::newRow("a lone start byte") << reads({"40"}) << none << true << QStringList{u"I:40/0"_s};
    QTest::newRow("a too large length byte swallows the next request")
        << reads({"4003F123", "4002"}) << QStringList{u"F:4003F12340"_s} << true << QStringList{u"J:02"_s};
    QTest::newRow("length byte zero is a frame of its own, rejected later")
        << reads({"40004002F123"}) << QStringList{u"F:4000"_s, u"F:4002F123"_s} << false << none;
    QTest::newRow("a complete frame then junk held back")
        << reads({"4002F12323"}) << QStringList{u"F:4002F123"_s} << true << QStringList{u"J:23"_s};
    QTest::newRow("a bad end byte still ends the frame where its length says")
        << reads({"4002F1244002FB23"}) << QStringList{u"F:4002F124"_s, u"F:4002FB23"_s} << false << none;
    QTest::newRow("nothing") << reads({""}) << none << false << none;
}

void FrameAssemblerTest::cutsTheStream() {
    QFETCH(QList<QByteArray>, input);
    QFETCH(QStringList, fed);
    QFETCH(bool, pending);
    QFETCH(QStringList, expired);
    FrameAssembler assembler;
    QStringList out;
    for (const QByteArray& read : input)
        out += texts(assembler.feed(read));
    QCOMPARE(out, fed);
    QCOMPARE(assembler.pending(), pending);
    QCOMPARE(texts(assembler.expire()), expired);
    QVERIFY(!assembler.pending());
}

void FrameAssemblerTest::assemblesAFrameSplitAnywhere_data() {
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("cut");
    const QByteArray connect = QByteArray::fromHex("4002F123");
    const QByteArray portSet = QByteArray::fromHex(kPortSet);
    for (int cut = 1; cut < connect.size(); ++cut)
        QTest::addRow("connect cut after %d", cut) << connect << cut;
    for (int cut = 1; cut < portSet.size(); ++cut)
        QTest::addRow("port set cut after %d", cut) << portSet << cut;
}

void FrameAssemblerTest::assemblesAFrameSplitAnywhere() {
    QFETCH(QByteArray, frame);
    QFETCH(int, cut);
    FrameAssembler assembler;
    QVERIFY(assembler.feed(frame.left(cut)).empty());
    QVERIFY(assembler.pending());
    const std::vector<Piece> pieces = assembler.feed(frame.mid(cut));
    QCOMPARE(texts(pieces), QStringList{u"F:"_s + QString::fromLatin1(frame.toHex().toUpper())});
    QVERIFY(!assembler.pending());
}

void FrameAssemblerTest::startsAfreshAfterExpiry() {
    FrameAssembler assembler;
    QVERIFY(assembler.feed(QByteArray::fromHex("401C")).empty());
    QCOMPARE(assembler.expire().size(), size_t(1));
    // The given-up bytes must not count towards the next frame.
    QCOMPARE(texts(assembler.feed(QByteArray::fromHex("4002F123"))), QStringList{u"F:4002F123"_s});
}

QTEST_GUILESS_MAIN(FrameAssemblerTest)
#include "tst_sim_assembler.moc"
