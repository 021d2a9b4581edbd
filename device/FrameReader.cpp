// SPDX-License-Identifier: MIT
#include "device/FrameReader.h"

#include "protocol/Frame.h"

namespace device {

namespace frame = protocol::frame;
using Kind = FrameReader::Chunk::Kind;

std::vector<FrameReader::Chunk> FrameReader::feed(const QByteArray& bytes) {
    std::vector<Chunk> chunks;
    for (const char byte : bytes) {
        const bool start = quint8(byte) == frame::Start;
        const bool junk = !m_held.isEmpty() && quint8(m_held.at(0)) != frame::Start;
        if (junk && start) {
            chunks.push_back({Kind::Malformed, m_held});
            m_held.clear();
        }
        m_held.append(byte);
        if (quint8(m_held.at(0)) != frame::Start) {
            if (m_held.size() >= MaxJunk) {
                chunks.push_back({Kind::Malformed, m_held});
                m_held.clear();
            }
            continue;
        }
        if (m_held.size() < 2)
            continue;
        const int length = quint8(m_held.at(1));
        if (length < 2) {
            chunks.push_back({Kind::Malformed, m_held});
            m_held.clear();
        } else if (m_held.size() == length + 2) {
            const bool ends = quint8(m_held.back()) == frame::End;
            chunks.push_back({ends ? Kind::Frame : Kind::Malformed, m_held});
            m_held.clear();
        }
    }
    return chunks;
}

std::vector<FrameReader::Chunk> FrameReader::expire() {
    std::vector<Chunk> chunks;
    if (!m_held.isEmpty())
        chunks.push_back({Kind::Malformed, m_held});
    m_held.clear();
    return chunks;
}

} // namespace device
