// Cutting received bytes into frames: each comes out at its last byte, however the bytes were split,
// and whatever is no frame comes out as malformed, once.
#include "device/FrameReader.h"

#include <QTest>

using device::FrameReader;
using namespace Qt::StringLiterals;

namespace {

// "F:4002E123" or "M:0102" for each chunk.
QStringList shown(const std::vector<FrameReader::Chunk>& chunks) {
    QStringList list;
    for (const FrameReader::Chunk& chunk : chunks)
        list.append(
            (chunk.kind == FrameReader::Chunk::Kind::Frame ? QStringLiteral("F:") : QStringLiteral("M:")) +
            QString::fromLatin1(chunk.bytes.toHex().toUpper()));
    return list;
}

} // namespace

class TestFrameReader : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cutsFrames_data() {
        QTest::addColumn<QStringList>("reads"); // hex, one entry per read
        QTest::addColumn<QStringList>("chunks");
        QTest::addColumn<QStringList>("expired"); // what expire() then gives

        const QStringList none;
        const QString junk256 = QString(QStringLiteral("07")).repeated(256);
        QTest::newRow("one frame in one read")
            << QStringList{u"4002E123"_s} << QStringList{u"F:4002E123"_s} << none;
        QTest::newRow("split at every byte")
            << QStringList{u"40"_s, u"02"_s, u"E1"_s, u"23"_s} << QStringList{u"F:4002E123"_s} << none;
        QTest::newRow("two frames in one read")
            << QStringList{u"4002E1234002E223"_s} << QStringList{u"F:4002E123"_s, u"F:4002E223"_s} << none;
        QTest::newRow("start and end bytes inside the payload")
            << QStringList{u"4005DD0140232340"_s} << QStringList{u"F:4005DD01402323"_s}
            << QStringList{u"M:40"_s};
        QTest::newRow("wrong end byte") << QStringList{u"4002E124"_s} << QStringList{u"M:4002E124"_s} << none;
        QTest::newRow("length byte leaves no room for a command")
            << QStringList{u"40014002E123"_s} << QStringList{u"M:4001"_s, u"F:4002E123"_s} << none;
        QTest::newRow("junk over two reads, then a frame")
            << QStringList{u"0102"_s, u"03"_s, u"4002E123"_s} << QStringList{u"M:010203"_s, u"F:4002E123"_s}
            << none;
        QTest::newRow("junk at the end waits for the gap")
            << QStringList{u"4002E12301"_s} << QStringList{u"F:4002E123"_s} << QStringList{u"M:01"_s};
        QTest::newRow("a frame that stops short")
            << QStringList{u"401CFB0803"_s} << none << QStringList{u"M:401CFB0803"_s};
        QTest::newRow("a run of junk is bounded")
            << QStringList{junk256 + u"07"_s} << QStringList{u"M:"_s + junk256} << QStringList{u"M:07"_s};
    }

    void cutsFrames() {
        QFETCH(QStringList, reads);
        QFETCH(QStringList, chunks);
        QFETCH(QStringList, expired);
        FrameReader reader;
        std::vector<FrameReader::Chunk> got;
        for (const QString& read : reads)
            for (FrameReader::Chunk& chunk : reader.feed(QByteArray::fromHex(read.toLatin1())))
                got.push_back(std::move(chunk));
        QCOMPARE(shown(got), chunks);
        QCOMPARE(reader.pending(), !expired.isEmpty());
        QCOMPARE(shown(reader.expire()), expired);
        QVERIFY(!reader.pending());
    }
};

QTEST_GUILESS_MAIN(TestFrameReader)
#include "tst_framereader.moc"
