// SPDX-License-Identifier: MIT
// Arbitrary received bytes through the frame reader, fed whole and in pieces whose sizes come from
// the input itself. The cut is the same however the bytes were split; the chunks give back every
// byte and invent none; each frame is well formed, each malformed chunk is not, by the describer's
// own reading; nothing held back grows past the longest frame or run of junk.
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
    for (FrameReader::Chunk& chunk : reader.expire())
        chunks.push_back(std::move(chunk));
    FUZZ_CHECK(!reader.pending());
    return chunks;
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
        FUZZ_CHECK(chunk.bytes.size() <= std::max<qsizetype>(kLongestFrame, FrameReader::MaxJunk));
        joined += chunk.bytes;
        const bool wellFormed =
            config::describe::malformation(chunk.bytes, config::Language::English).isEmpty();
        FUZZ_CHECK(wellFormed == (chunk.kind == FrameReader::Chunk::Kind::Frame));
        // A run of junk ends at a start byte; it never holds one.
        if (quint8(chunk.bytes.at(0)) != frame::Start)
            FUZZ_CHECK(!chunk.bytes.contains(char(frame::Start)));
        // Only the last chunk can be one that stopped short.
        if (i + 1 < whole.size() && quint8(chunk.bytes.at(0)) == frame::Start && chunk.bytes.size() >= 2)
            FUZZ_CHECK(chunk.bytes.size() == 2 || chunk.bytes.size() == quint8(chunk.bytes.at(1)) + 2);
    }
    FUZZ_CHECK(joined == input);
    return 0;
}
