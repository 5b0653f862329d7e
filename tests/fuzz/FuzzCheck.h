#pragma once

#include <cstdio>
#include <cstdlib>

namespace qvfuzz {

// An invariant of the target: when it breaks, the fuzzer keeps the input that broke it.
inline void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace qvfuzz
