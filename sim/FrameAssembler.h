// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

#include <vector>

namespace sim {

// One piece cut from the byte stream of the main port.
struct Piece {
    enum class Kind {
        Frame,      // 0x40, L, then the L bytes the length byte announces; not yet checked further
        Junk,       // a run of bytes before a start byte, skipped
        Incomplete, // a frame whose bytes stopped coming, given up
    };
    Kind kind;
    QByteArray bytes;  // Junk: only its first FrameAssembler::ShownJunk bytes
    int expected = 0;  // Incomplete: the size the length byte announced (0 when it never arrived)
    qint64 length = 0; // Junk: how many bytes the run had

    bool operator==(const Piece&) const = default;
};

// Cuts the main port's byte stream into frames by their length byte. A read may hold several
// frames or part of one; the frame boundaries come from the length byte alone, so payload bytes
// of 0x40 or 0x23 need no escaping. The owner runs the time-out: while pending() is true it
// calls expire() once the line has been quiet long enough.
class FrameAssembler {
public:
    // A run of junk is reported with this many of its bytes; the rest are only counted, so that
    // a line flooded with junk costs no memory.
    static constexpr int ShownJunk = 16;

    std::vector<Piece> feed(const QByteArray& bytes);
    // Something is held back: a partial frame, or junk that may go on in the next read. Junk is
    // held so that one run of it, however many reads it spans, is reported once.
    bool pending() const { return !m_partial.isEmpty() || m_junkLength > 0; }
    // Part of a frame is held back.
    bool partial() const { return !m_partial.isEmpty(); }
    // Gives up what is held back: the junk as one Junk piece, a partial frame as Incomplete.
    std::vector<Piece> expire();

private:
    Piece takeJunk();

    QByteArray m_junk; // the first ShownJunk bytes of the current run
    qint64 m_junkLength = 0;
    QByteArray m_partial; // starts with 0x40 when not empty
};

} // namespace sim
