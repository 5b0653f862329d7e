#include "link/Scrambler.h"

namespace qv {
namespace {

constexpr uint16_t kInitialKey = 41233;
constexpr uint16_t kMultiplier = 52711;
constexpr uint16_t kAddend = 39117;

uint16_t nextKey(uint16_t key, uint8_t scrambledByte) {
    // Arithmetic modulo 65536: only the high byte of the key ever reaches the data. Computed
    // unsigned, because (key + byte) * multiplier does not fit a signed int.
    const uint32_t sum = static_cast<uint32_t>(key) + scrambledByte;
    return static_cast<uint16_t>(sum * kMultiplier + kAddend);
}

} // namespace

bool ScrambleBlock(const uint8_t* source, uint8_t* destination, size_t length) {
    if (source == nullptr || destination == nullptr)
        return false;
    uint16_t key = kInitialKey;
    for (size_t i = 0; i < length; ++i) {
        const uint8_t scrambled = source[i] ^ static_cast<uint8_t>(key >> 8);
        destination[i] = scrambled;
        key = nextKey(key, scrambled);
    }
    return true;
}

bool UnscrambleBlock(const uint8_t* source, uint8_t* destination, size_t length) {
    if (source == nullptr || destination == nullptr)
        return false;
    uint16_t key = kInitialKey;
    for (size_t i = 0; i < length; ++i) {
        const uint8_t scrambled = source[i]; // read before an in-place write overwrites it
        destination[i] = scrambled ^ static_cast<uint8_t>(key >> 8);
        key = nextKey(key, scrambled);
    }
    return true;
}

} // namespace qv
