#pragma once

// A password passes through a few buffers on its way from the logon page to the wire. Each is
// overwritten before it is freed, so that no copy lingers in the process's memory for a core
// dump or a swapped-out page to show.

#include <cstddef>

namespace qv {

// Written through a volatile pointer, so that the stores are not dropped as dead before the
// buffer is freed.
inline void wipeBytes(void* data, size_t size) {
    auto* byte = static_cast<volatile unsigned char*>(data);
    for (size_t i = 0; i < size; ++i)
        byte[i] = 0;
}

// Any contiguous container of bytes or characters: std::string, std::vector, QByteArray.
template <class Bytes> void wipe(Bytes& bytes) {
    wipeBytes(bytes.data(), static_cast<size_t>(bytes.size()) * sizeof(*bytes.data()));
}

} // namespace qv
