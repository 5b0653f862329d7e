#pragma once

#include "link/ByteFields.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// A record kept as its exact wire bytes. Derived records name their fields' offsets and read and
// write them through these accessors; bytes that no accessor touches travel back unchanged.
template <size_t N> class WireRecord {
public:
    static constexpr size_t kSize = N;

    std::array<uint8_t, N> bytes{};

    uint8_t* data() { return bytes.data(); }
    const uint8_t* data() const { return bytes.data(); }
    static constexpr size_t size() { return N; }

    bool operator==(const WireRecord&) const = default;

protected:
    uint8_t u8(size_t offset) const { return bytes[offset]; }
    void setU8(size_t offset, uint8_t value) { bytes[offset] = value; }
    uint16_t u16(size_t offset) const { return loadU16(bytes.data() + offset); }
    void setU16(size_t offset, uint16_t value) { storeU16(bytes.data() + offset, value); }
    int32_t i32(size_t offset) const { return loadI32(bytes.data() + offset); }
    void setI32(size_t offset, int32_t value) { storeI32(bytes.data() + offset, value); }
    uint32_t u32(size_t offset) const { return loadU32(bytes.data() + offset); }
    void setU32(size_t offset, uint32_t value) { storeU32(bytes.data() + offset, value); }
    std::string text(size_t offset, size_t width) const {
        return loadText(bytes.data() + offset, width);
    }
    void setText(size_t offset, size_t width, std::string_view value) {
        storeText(bytes.data() + offset, width, value);
    }
};

// A table of fixed-size slots, optionally behind lead bytes and followed by trailing bytes that
// the client does not interpret. Slot access outside the table reads an empty entry and writes
// nothing, so no count from the wire can index past the table.
template <class Entry, size_t Slots, size_t Lead = 0, size_t Trail = 0>
class WireTable : public WireRecord<Lead + Slots * Entry::kSize + Trail> {
public:
    static constexpr size_t kSlots = Slots;
    static constexpr size_t kLeadBytes = Lead;
    using EntryType = Entry;

    Entry entry(size_t index) const {
        Entry e;
        if (index < Slots) {
            const uint8_t* from = this->bytes.data() + Lead + index * Entry::kSize;
            std::copy(from, from + Entry::kSize, e.bytes.begin());
        }
        return e;
    }
    void setEntry(size_t index, const Entry& e) {
        if (index < Slots)
            std::copy(e.bytes.begin(), e.bytes.end(),
                      this->bytes.begin() + Lead + index * Entry::kSize);
    }
};

} // namespace qv
