// Fuzzes qvsim's state file reader: the input is the file's text. A refused text leaves the state
// as it was; an accepted one has an administrator ID and password, counts within their tables,
// and reads back as the same state from the text a save would write of it.

#include "SimState.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // One seeded state for every input: seeding builds tables worth several hundred kilobytes.
    static const std::unique_ptr<qv::sim::SimState> seeded = qv::sim::seededState();
    static auto state = std::make_unique<qv::sim::SimState>();
    *state = *seeded;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    if (!qv::sim::parseState(*state, text, "fuzz", error)) {
        check(!error.empty(), "a refusal without a message");
        check(*state == *seeded, "a refused file changed the state");
        return 0;
    }
    check(!state->adminId.empty() && !state->adminPassword.empty(), "empty credentials accepted");
    check(state->maxCenterIds >= 1 && state->maxCenterIds <= 149, "center ID limit out of range");
    check(state->wolCount >= 0 && state->wolCount <= 101, "Wake-on-LAN count out of range");
    check(state->scheduleCount >= 0 && state->scheduleCount <= 2048, "schedule count out of range");
    static auto again = std::make_unique<qv::sim::SimState>();
    check(qv::sim::parseState(*again, qv::sim::stateText(*state), "again", error),
          "the saved text of an accepted state is refused");
    check(*again == *state, "the saved text reads back differently");
    return 0;
}
