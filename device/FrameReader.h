// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

#include <vector>

// Cuts the bytes a device sends into frames by their length byte, the moment the last byte of each
// has arrived, wherever a frame starts, and sets apart whatever is not a frame.
namespace device {

class FrameReader {
public:
    struct Chunk {
        enum class Kind {
            Frame,     // 0x40, L (>= 2), L more bytes, the last 0x23
            Malformed, // what began as a frame but is none: see below
            Skipped,   // bytes before a start byte (line noise, a stray byte of an adapter)
        };
        Kind kind = Kind::Frame;
        QByteArray bytes;

        bool operator==(const Chunk&) const = default;
    };

    // The chunks completed by `bytes`, in order. A frame comes out as soon as the bytes its length
    // byte announces are there. Bytes before a start byte come out at once as Skipped, one chunk a
    // read. What began with a start byte but is no frame (its last byte is not 0x23, or its length
    // byte is below 2) is Malformed up to the next start byte inside it, and reading goes on from
    // there: a frame is taken wherever it starts, even behind a stray start byte.
    std::vector<Chunk> feed(const QByteArray& bytes);

    // A frame is under way: its first bytes are held back.
    bool pending() const { return !m_held.isEmpty(); }
    // The line has been quiet too long: the frame under way stops short and is Malformed up to the
    // next start byte inside it; what follows is read again (and may still be held).
    std::vector<Chunk> expire();
    // What is held back, as it came; the reader forgets it.
    QByteArray take();

private:
    void cut(std::vector<Chunk>& chunks, bool quiet);

    QByteArray m_held; // a frame under way: starts with 0x40
};

} // namespace device
