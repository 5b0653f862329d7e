#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

// A stream of received bytes. readExact() returns true only when exactly `length` bytes
// arrived; false means the stream ended or failed, and the buffer's contents are then unknown.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual bool readExact(uint8_t* buffer, size_t length) = 0;
};

} // namespace qv
