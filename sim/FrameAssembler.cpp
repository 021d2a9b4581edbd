// SPDX-License-Identifier: MIT
#include "sim/FrameAssembler.h"

#include "protocol/Frame.h"

namespace sim {

std::vector<Piece> FrameAssembler::feed(const QByteArray& bytes) {
    std::vector<Piece> pieces;
    for (const char byte : bytes) {
        if (m_partial.isEmpty()) {
            if (quint8(byte) != protocol::frame::Start) {
                if (m_junk.size() < ShownJunk)
                    m_junk.append(byte);
                ++m_junkLength;
                continue;
            }
            if (m_junkLength > 0)
                pieces.push_back(takeJunk());
        }
        m_partial.append(byte);
        if (m_partial.size() >= 2 && m_partial.size() == qsizetype(quint8(m_partial.at(1))) + 2) {
            pieces.push_back({Piece::Kind::Frame, m_partial, 0, m_partial.size()});
            m_partial.clear();
        }
    }
    return pieces;
}

std::vector<Piece> FrameAssembler::expire() {
    std::vector<Piece> pieces;
    if (m_junkLength > 0)
        pieces.push_back(takeJunk());
    if (!m_partial.isEmpty()) {
        const int expected = m_partial.size() >= 2 ? quint8(m_partial.at(1)) + 2 : 0;
        pieces.push_back({Piece::Kind::Incomplete, m_partial, expected, m_partial.size()});
    }
    m_partial.clear();
    return pieces;
}

Piece FrameAssembler::takeJunk() {
    Piece junk{Piece::Kind::Junk, m_junk, 0, m_junkLength};
    m_junk.clear();
    m_junkLength = 0;
    return junk;
}

} // namespace sim
