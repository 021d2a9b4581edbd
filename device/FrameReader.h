// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

#include <vector>

// Cuts the bytes a device sends into frames by their length byte, the moment the last byte of each
// has arrived, and sets apart whatever is not a frame.
namespace device {

class FrameReader {
public:
    struct Chunk {
        enum class Kind {
            Frame,     // 0x40, L (>= 2), L more bytes, the last 0x23
            Malformed, // anything else: see below
        };
        Kind kind = Kind::Frame;
        QByteArray bytes;

        bool operator==(const Chunk&) const = default;
    };

    // The longest run of bytes before a start byte that is held back as one chunk. Together with
    // the longest frame (257 bytes) it bounds what the reader holds, whatever it is fed.
    static constexpr int MaxJunk = 256;

    // The chunks completed by `bytes`, in order. A frame comes out as soon as the bytes its length
    // byte announces are there; one whose last byte is not 0x23, or whose length byte is below 2
    // (no room for a command), is Malformed. Bytes before a start byte are held as one Malformed
    // run until a start byte arrives, the run reaches MaxJunk bytes, or expire() is called; so the
    // chunks do not depend on how the bytes were split into reads.
    std::vector<Chunk> feed(const QByteArray& bytes);

    // Bytes are held back: a partial frame or a run of junk.
    bool pending() const { return !m_held.isEmpty(); }
    // The line has been quiet too long: what is held comes out as one Malformed chunk.
    std::vector<Chunk> expire();
    // Forgets what is held, as when the port is reopened.
    void clear() { m_held.clear(); }

private:
    QByteArray m_held; // a partial frame (starts with 0x40) or a run of junk (does not)
};

} // namespace device
