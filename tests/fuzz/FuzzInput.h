#pragma once

#include "link/ByteSource.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace qvfuzz {

// The fuzz input as a byte stream. The first input byte chooses how the stream is cut into the
// pieces a socket would return (one byte at a time, a few bytes, or everything), so the readers
// see the same frames arrive in every shape. A read past the end fails, and every read after it.
class InputStream : public qv::ByteSource {
public:
    InputStream(const uint8_t* data, size_t size) {
        if (size > 0) {
            m_pieceSeed = data[0];
            m_data = data + 1;
            m_size = size - 1;
        }
    }

    bool readExact(uint8_t* buffer, size_t length) override {
        if (m_size - m_position < length) {
            m_position = m_size;
            return false;
        }
        size_t done = 0;
        while (done < length) {
            const size_t piece = std::min(length - done, nextPiece());
            std::memcpy(buffer + done, m_data + m_position, piece);
            m_position += piece;
            done += piece;
        }
        return true;
    }

    // Where the next unread byte of the stream is; the stream itself is at data().
    size_t position() const { return m_position; }
    const uint8_t* data() const { return m_data; }

private:
    size_t nextPiece() {
        // 0: everything at once; otherwise pieces of 1 to 15 bytes in a repeating pattern.
        if (m_pieceSeed == 0)
            return SIZE_MAX;
        m_step = (m_step * 5 + m_pieceSeed) & 0xFF;
        return 1 + (m_step % 15);
    }

    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    size_t m_position = 0;
    uint8_t m_pieceSeed = 0;
    uint32_t m_step = 0;
};

} // namespace qvfuzz
