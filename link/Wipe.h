#pragma once

// A password passes through a few buffers on its way from the logon page to the wire. Each is
// overwritten before it is freed, so that no copy lingers in the process's memory for a core
// dump or a swapped-out page to show.

#include <cstddef>
#include <string>

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

// A password held across a queued call or a worker thread: wiped when the last holder lets it
// go, whether or not the call it waits for is ever made. Never copied or moved, so no second
// buffer (a moved-from short string keeps its characters) is left behind.
struct WipedText {
    std::string text;

    WipedText() = default;
    WipedText(const WipedText&) = delete;
    WipedText& operator=(const WipedText&) = delete;
    ~WipedText() { wipe(text); }
};

} // namespace qv
