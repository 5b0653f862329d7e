#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

// The appliance scrambles every frame header and most payloads with a 16-bit running-key stream
// scrambler. The key restarts for every block and advances with the scrambled byte, so the same
// block always scrambles to the same bytes and the two directions are inverse.
//
// Both functions return false and write nothing when either buffer is absent; otherwise they
// return true (also for length 0). Source and destination may be the same buffer.
bool ScrambleBlock(const uint8_t* source, uint8_t* destination, size_t length);
bool UnscrambleBlock(const uint8_t* source, uint8_t* destination, size_t length);

} // namespace qv
