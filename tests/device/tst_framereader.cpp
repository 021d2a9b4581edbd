// SPDX-License-Identifier: MIT
// Cutting received bytes into frames: each comes out at its last byte, however the bytes were split,
// and whatever is no frame comes out as malformed, once.
#include "device/FrameReader.h"

#include <QTest>

using device::FrameReader;
using namespace Qt::StringLiterals;

namespace {

// "F:4002E123" or "M:0102" for each chunk, separated by spaces.
QString shown(const std::vector<FrameReader::Chunk>& chunks) {
    QStringList list;
    for (const FrameReader::Chunk& chunk : chunks)
        list.append((chunk.kind == FrameReader::Chunk::Kind::Frame ? u"F:"_s : u"M:"_s) +
                    QString::fromLatin1(chunk.bytes.toHex().toUpper()));
    return list.join(u' ');
}

} // namespace

class TestFrameReader : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cutsFrames_data() {
        QTest::addColumn<QString>("reads"); // hex, reads separated by spaces
        QTest::addColumn<QString>("chunks");
        QTest::addColumn<QString>("expired"); // what expire() then gives
        const auto row = [](const char* name, const QString& reads, const QString& chunks,
                            const QString& expired = {}) {
            QTest::newRow(name) << reads << chunks << expired;
        };
        const QString junk256 = u"07"_s.repeated(256);
        row("split at every byte", u"40 02 E1 23"_s, u"F:4002E123"_s);
        row("two frames in one read", u"4002E1234002E223"_s, u"F:4002E123 F:4002E223"_s);
        row("start and end bytes inside the payload", u"4005DD0140232340"_s, u"F:4005DD01402323"_s,
            u"M:40"_s);
        row("wrong end byte", u"4002E124"_s, u"M:4002E124"_s);
        row("length byte leaves no room for a command", u"40014002E123"_s, u"M:4001 F:4002E123"_s);
        row("junk over two reads, then a frame", u"0102 03 4002E123"_s, u"M:010203 F:4002E123"_s);
        row("junk at the end waits for the gap", u"4002E12301"_s, u"F:4002E123"_s, u"M:01"_s);
        row("a frame that stops short", u"401CFB0803"_s, {}, u"M:401CFB0803"_s);
        row("a run of junk is bounded", junk256 + u"07"_s, u"M:"_s + junk256, u"M:07"_s);
    }

    void cutsFrames() {
        QFETCH(QString, reads);
        QFETCH(QString, chunks);
        QFETCH(QString, expired);
        FrameReader reader;
        std::vector<FrameReader::Chunk> got;
        for (const QString& read : reads.split(u' '))
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
