// SPDX-License-Identifier: MIT
// Cutting received bytes into frames, however they were split; bytes before a start byte are
// skipped, and what began as a frame but is none comes out as malformed, once.
#include "device/FrameReader.h"

#include <QTest>

using device::FrameReader;
using namespace Qt::StringLiterals;

namespace {

// "F:4002E123", "M:4001" or "S:0102" for each chunk, separated by spaces.
QString shown(const std::vector<FrameReader::Chunk>& chunks) {
    QStringList list;
    for (const FrameReader::Chunk& chunk : chunks)
        list.append(QStringList{u"F:"_s, u"M:"_s, u"S:"_s}.at(int(chunk.kind)) +
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
        row("split at every byte", u"40 02 E1 23"_s, u"F:4002E123"_s);
        row("two frames in one read", u"4002E1234002E223"_s, u"F:4002E123 F:4002E223"_s);
        row("start and end bytes inside the payload", u"4005DD0140232340"_s, u"F:4005DD01402323"_s,
            u"M:40"_s);
        row("length byte leaves no room for a command", u"40014002E123"_s, u"M:4001 F:4002E123"_s);
        row("junk over two reads, then a frame", u"0102 034002E123"_s, u"S:0102 S:03 F:4002E123"_s);
        row("a frame inside one that stops short", u"40FF4002E123"_s, {}, u"M:40FF F:4002E123"_s);
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
