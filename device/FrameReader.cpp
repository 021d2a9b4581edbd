// SPDX-License-Identifier: MIT
#include "device/FrameReader.h"

#include "protocol/Frame.h"

namespace device {

namespace frame = protocol::frame;
using Kind = FrameReader::Chunk::Kind;

std::vector<FrameReader::Chunk> FrameReader::feed(const QByteArray& bytes) {
    std::vector<Chunk> chunks;
    m_held.append(bytes);
    cut(chunks, false);
    return chunks;
}

std::vector<FrameReader::Chunk> FrameReader::expire() {
    std::vector<Chunk> chunks;
    cut(chunks, true);
    return chunks;
}

QByteArray FrameReader::take() {
    QByteArray held;
    held.swap(m_held);
    return held;
}

void FrameReader::cut(std::vector<Chunk>& chunks, bool quiet) {
    const char start = char(frame::Start);
    while (!m_held.isEmpty()) {
        if (m_held.at(0) != start) {
            const qsizetype next = m_held.indexOf(start);
            const qsizetype skipped = next < 0 ? m_held.size() : next;
            chunks.push_back({Kind::Skipped, m_held.left(skipped)});
            m_held.remove(0, skipped);
            continue;
        }
        qsizetype candidate = m_held.size(); // what a frame under way has of itself, when quiet
        if (m_held.size() >= 2) {
            const int length = quint8(m_held.at(1));
            if (length >= 2 && m_held.size() < length + 2 && !quiet)
                return; // under way
            if (length >= 2 && m_held.size() >= length + 2) {
                if (quint8(m_held.at(length + 1)) == frame::End) {
                    chunks.push_back({Kind::Frame, m_held.left(length + 2)});
                    m_held.remove(0, length + 2);
                    continue;
                }
                candidate = length + 2;
            } else if (length < 2) {
                candidate = 2;
            }
        } else if (!quiet) {
            return;
        }
        quiet = false; // only the frame under way stops short
        const qsizetype next = m_held.left(candidate).indexOf(start, 1);
        const qsizetype bad = next < 0 ? candidate : next;
        chunks.push_back({Kind::Malformed, m_held.left(bad)});
        m_held.remove(0, bad);
    }
}

} // namespace device
