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
    QByteArray bytes;
    int expected = 0; // Incomplete: the size the length byte announced (0 when it never arrived)

    bool operator==(const Piece&) const = default;
};

// Cuts the main port's byte stream into frames by their length byte. A read may hold several
// frames or part of one; the frame boundaries come from the length byte alone, so payload bytes
// of 0x40 or 0x23 need no escaping. The owner runs the time-out: while pending() is true it
// calls expire() once the line has been quiet long enough.
class FrameAssembler {
public:
    std::vector<Piece> feed(const QByteArray& bytes);
    // Something is held back: a partial frame, or junk that may go on in the next read. Junk is
    // held so that one run of it, however many reads it spans, is reported once.
    bool pending() const { return !m_partial.isEmpty() || !m_junk.isEmpty(); }
    // Gives up what is held back: the junk as one Junk piece, a partial frame as Incomplete.
    std::vector<Piece> expire();

private:
    QByteArray m_junk;
    QByteArray m_partial; // starts with 0x40 when not empty
};

} // namespace sim
