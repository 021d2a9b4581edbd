// SPDX-License-Identifier: MIT
// Arbitrary received bursts through the reply decoder: the cut into replies loses and invents no
// byte, every reply that is acted on has the right start, end, code and size, and the frame built
// back from a decoded reply decodes to the same reply. The input is read as a burst as it is, and
// once more wrapped as each of the two data replies, so that their fields vary on every run.
#include "fuzz/FuzzSupport.h"
#include "protocol/ReplyDecoder.h"

#include <initializer_list>
#include <utility>
#include <variant>

using namespace protocol;

namespace {

quint8 at(const QByteArray& bytes, qsizetype i) {
    return quint8(bytes.at(i));
}

// The size of the complete frame at the start of `bytes` (0x40, L, 0x23 at offset L + 1), or 0.
qsizetype completeFrameSize(const QByteArray& bytes) {
    if (bytes.size() < 2 || at(bytes, 0) != frame::Start)
        return 0;
    const qsizetype size = qsizetype(at(bytes, 1)) + 2;
    if (size > bytes.size() || at(bytes, size - 1) != frame::End)
        return 0;
    return size;
}

template <typename T> bool is(const Reply& reply) {
    return std::holds_alternative<T>(reply);
}

// What one part must decode to, judged from its bytes alone.
void checkDecoded(const QByteArray& part, const Reply& reply) {
    const qsizetype size = part.size();
    const bool starts = size >= 3 && at(part, 0) == frame::Start;
    const bool ends = size >= 1 && at(part, size - 1) == frame::End;
    const int code = size >= 3 ? at(part, 2) : -1;
    const bool confirmation = starts && ends;

    FUZZ_CHECK(is<ConnectConfirmed>(reply) == (confirmation && code == frame::reply::Connected));
    FUZZ_CHECK(is<PortSetConfirmed>(reply) == (confirmation && code == frame::reply::PortSetDone));
    FUZZ_CHECK(is<RestoreConfirmed>(reply) == (confirmation && code == frame::reply::RestoreDone));
    FUZZ_CHECK(is<NetworkSetConfirmed>(reply) == (confirmation && code == frame::reply::NetworkSetDone));
    FUZZ_CHECK(is<NetworkParameters>(reply) == (starts && ends && code == frame::reply::NetworkParameters &&
                                                size == frame::NetworkParametersSize));
    FUZZ_CHECK(is<PortConfiguration>(reply) == (starts && ends && code == frame::reply::PortConfiguration &&
                                                size == frame::PortConfigurationSize));

    if (const auto* p = std::get_if<NetworkParameters>(&reply)) {
        for (int i = 0; i < frame::NetworkOctets; ++i)
            FUZZ_CHECK(p->octets[i] == at(part, 3 + i));
    }
    if (const auto* c = std::get_if<PortConfiguration>(&reply)) {
        for (int i = 0; i < frame::PortCount; ++i) {
            FUZZ_CHECK(c->ports[i].baudCode == at(part, 3 + 3 * i));
            FUZZ_CHECK(c->ports[i].lineByte == at(part, 4 + 3 * i));
            FUZZ_CHECK(c->ports[i].functionCode == at(part, 5 + 3 * i));
        }
        FUZZ_CHECK(c->mainBaudCode == at(part, size - 3));
        FUZZ_CHECK(c->outputSwitch == at(part, size - 2));
    }
}

// The frame built back from a decoded reply; empty for an unrecognised one.
QByteArray checkReencoded(const QByteArray& part, const Reply& reply) {
    const QByteArray encoded = encodeReply(reply);
    if (is<Unrecognised>(reply)) {
        FUZZ_CHECK(encoded.isEmpty());
        return encoded;
    }
    FUZZ_CHECK(completeFrameSize(encoded) == encoded.size());
    FUZZ_CHECK(at(encoded, 2) == at(part, 2));
    FUZZ_CHECK(decodeReply(encoded) == reply);
    const std::vector<QByteArray> alone = splitBurst(encoded);
    FUZZ_CHECK(alone.size() == 1 && alone.front() == encoded);

    const bool dataReply = is<NetworkParameters>(reply) || is<PortConfiguration>(reply);
    if (dataReply && at(part, 1) == part.size() - 2)
        FUZZ_CHECK(encoded == part);
    if (!dataReply)
        FUZZ_CHECK(encoded.size() == 4);
    return encoded;
}

void checkBurst(const QByteArray& burst) {
    const std::vector<QByteArray> parts = splitBurst(burst);
    const std::vector<ReplySegment> segments = decodeBurst(burst);

    FUZZ_CHECK(parts.empty() == burst.isEmpty());
    FUZZ_CHECK(segments.size() == parts.size());

    QByteArray joined;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const QByteArray& part = parts[i];
        FUZZ_CHECK(!part.isEmpty());
        joined += part;
        // Every part but the last is one complete frame; the last is what no longer starts with
        // a complete frame followed by more bytes.
        const qsizetype lead = completeFrameSize(part);
        if (i + 1 < parts.size())
            FUZZ_CHECK(lead == part.size());
        else
            FUZZ_CHECK(lead == 0 || lead == part.size());
    }
    FUZZ_CHECK(joined == burst);

    QByteArray rebuiltBurst;
    std::vector<QByteArray> rebuiltFrames;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const ReplySegment& segment = segments[i];
        FUZZ_CHECK(segment.bytes == parts[i]);
        FUZZ_CHECK(segment.reply == decodeReply(segment.bytes));
        checkDecoded(segment.bytes, segment.reply);
        const QByteArray encoded = checkReencoded(segment.bytes, segment.reply);
        if (!encoded.isEmpty()) {
            rebuiltBurst += encoded;
            rebuiltFrames.push_back(encoded);
        }
    }
    // Well-formed frames that arrive in one burst are cut apart again exactly.
    FUZZ_CHECK(splitBurst(rebuiltBurst) == rebuiltFrames);
}

// A data reply made from the input: its first byte as the length byte, the next bytes as the
// payload (zeros where the input runs out). Random bytes seldom hit the exact shape by chance.
QByteArray dataReply(quint8 code, qsizetype payloadSize, const QByteArray& input) {
    QByteArray bytes;
    bytes.append(char(frame::Start));
    bytes.append(input.isEmpty() ? char(payloadSize + 2) : input.at(0));
    bytes.append(char(code));
    QByteArray payload = input.mid(1, payloadSize);
    payload.append(QByteArray(payloadSize - payload.size(), '\0'));
    bytes.append(payload);
    bytes.append(char(frame::End));
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    checkBurst(input);
    for (const auto& [code, payloadSize] :
         {std::pair{frame::reply::NetworkParameters, frame::NetworkOctets},
          std::pair{frame::reply::PortConfiguration, frame::PortSetPayload}}) {
        const QByteArray reply = dataReply(code, payloadSize, input);
        checkBurst(reply);
        checkBurst(reply + input.mid(1 + payloadSize)); // and whatever follows it in the same burst
    }
    return 0;
}
