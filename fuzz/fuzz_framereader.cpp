// SPDX-License-Identifier: MIT
// Arbitrary received bytes through the frame reader, fed whole and in pieces whose sizes come from
// the input itself. The cut is the same however the bytes were split (skipped bytes come out a read
// at a time, so runs of them are joined before comparing); the chunks give back every byte and
// invent none; each frame is well formed, each other chunk is not, by the describer's own reading;
// no frame or malformed chunk is longer than the longest frame.
#include "config/Describe.h"
#include "device/FrameReader.h"
#include "fuzz/FuzzSupport.h"
#include "protocol/Frame.h"

#include <algorithm>
#include <vector>

using device::FrameReader;
namespace frame = protocol::frame;

namespace {

constexpr qsizetype kLongestFrame = frame::MaxLength + 2;

std::vector<FrameReader::Chunk> readAll(const QByteArray& input, bool pieces) {
    FrameReader reader;
    std::vector<FrameReader::Chunk> chunks;
    qsizetype at = 0;
    while (at < input.size()) {
        // In pieces: the byte at the cut says how long the piece is (1 to 16).
        const qsizetype length = pieces ? 1 + (quint8(input.at(at)) & 15) : input.size();
        for (FrameReader::Chunk& chunk : reader.feed(input.mid(at, length)))
            chunks.push_back(std::move(chunk));
        at += length;
    }
    while (reader.pending())
        for (FrameReader::Chunk& chunk : reader.expire())
            chunks.push_back(std::move(chunk));
    // Runs of skipped bytes joined: how they were split into reads is no part of the cut.
    std::vector<FrameReader::Chunk> joined;
    for (FrameReader::Chunk& chunk : chunks) {
        const bool skipped = chunk.kind == FrameReader::Chunk::Kind::Skipped;
        if (skipped && !joined.empty() && joined.back().kind == chunk.kind)
            joined.back().bytes += chunk.bytes;
        else
            joined.push_back(std::move(chunk));
    }
    return joined;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    const std::vector<FrameReader::Chunk> whole = readAll(input, false);
    FUZZ_CHECK(readAll(input, true) == whole);

    QByteArray joined;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const FrameReader::Chunk& chunk = whole[i];
        FUZZ_CHECK(!chunk.bytes.isEmpty());
        const bool skipped = chunk.kind == FrameReader::Chunk::Kind::Skipped;
        FUZZ_CHECK(skipped || chunk.bytes.size() <= kLongestFrame);
        joined += chunk.bytes;
        const bool wellFormed =
            config::describe::malformation(chunk.bytes, config::Language::English).isEmpty();
        FUZZ_CHECK(wellFormed == (chunk.kind == FrameReader::Chunk::Kind::Frame));
        // Skipped bytes are exactly those before a start byte; every other chunk begins with one.
        FUZZ_CHECK(skipped == (quint8(chunk.bytes.at(0)) != frame::Start));
        if (skipped)
            FUZZ_CHECK(!chunk.bytes.contains(char(frame::Start)));
        // A malformed chunk shorter than its length byte says ends where another start byte
        // begins, or is the last: reading goes on from that start byte.
        const bool cut = chunk.bytes.size() != 2 &&
                         (chunk.bytes.size() < 2 || chunk.bytes.size() != quint8(chunk.bytes.at(1)) + 2);
        if (!skipped && cut && i + 1 < whole.size())
            FUZZ_CHECK(quint8(whole[i + 1].bytes.at(0)) == frame::Start);
    }
    FUZZ_CHECK(joined == input);
    return 0;
}
