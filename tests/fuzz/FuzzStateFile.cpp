// Fuzzes qvsim's state file reader: the input is the file's text, in a compact form: a table line
// may end in " *" where its bytes would be, standing for the demonstration table's bytes in
// hexadecimal. A whole state file is about 550 KB, far beyond the lengths where mutations pay;
// the compact form lets small inputs be accepted, so the write-back check runs, while every other
// byte (counts, texts, the record, the table bytes written out) is still the fuzzer's.
// A refused text leaves the state as it was; an accepted one has texts the logon can carry,
// counts within their tables and limits, and reads back as the same state from the text a save
// would write of it. The inputs taken are counted, and told at the end.

#include "sim/SimState.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstdio>
#include <map>
#include <memory>
#include <sstream>
#include <string>

namespace {

using qvfuzz::check;

size_t g_inputs = 0;
size_t g_accepted = 0;

bool carriable(const std::string& text, size_t width) {
    return !text.empty() && text.size() < width && text.find('\0') == std::string::npos;
}

// The input with each " *" that ends a table's line replaced by that table's seeded bytes.
std::string expanded(const std::string& input, const qv::sim::SimState& seeded) {
    static const std::map<std::string, std::string> tables = [&] {
        std::map<std::string, std::string> bytes;
        std::istringstream lines(qv::sim::stateText(seeded));
        for (std::string line; std::getline(lines, line);) {
            const size_t last = line.rfind(' ');
            const std::string key = line.substr(0, line.find(' '));
            if (line.find(' ') != last) // a table: key, count, bytes
                bytes[key] = line.substr(last + 1);
        }
        return bytes;
    }();
    std::string out;
    for (size_t start = 0; start <= input.size();) {
        const size_t end = std::min(input.find('\n', start), input.size());
        std::string line = input.substr(start, end - start);
        if (line.size() > 2 && line.compare(line.size() - 2, 2, " *") == 0)
            if (const auto found = tables.find(line.substr(0, line.find(' ')));
                found != tables.end())
                line.replace(line.size() - 1, 1, found->second);
        out += line;
        if (end < input.size())
            out += '\n';
        start = end + 1;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // One seeded state for every input: seeding builds tables worth several hundred kilobytes.
    static const std::unique_ptr<qv::sim::SimState> seeded = qv::sim::seededState();
    static auto state = std::make_unique<qv::sim::SimState>();
    static const bool counted =
        std::atexit([] {
            std::fprintf(stderr, "state_file: %zu of %zu inputs accepted\n", g_accepted, g_inputs);
        }) == 0;
    (void)counted;
    ++g_inputs;
    *state = *seeded;
    const std::string text =
        expanded(std::string(reinterpret_cast<const char*>(data), size), *seeded);
    std::string error;
    if (!qv::sim::parseState(*state, text, "fuzz", error)) {
        check(!error.empty(), "a refusal without a message");
        check(*state == *seeded, "a refused file changed the state");
        return 0;
    }
    ++g_accepted;
    check(carriable(state->adminId, 32) && carriable(state->adminPassword, 64),
          "credentials the logon cannot carry accepted");
    check(state->maxCenterIds >= 1 && state->maxCenterIds <= 149, "center ID limit out of range");
    check(state->centerIdCount >= 0 && state->centerIdCount <= state->maxCenterIds,
          "center ID count above the limit");
    check(state->wolCount >= 0 && state->wolCount <= 101, "Wake-on-LAN count out of range");
    check(state->scheduleCount >= 0 && state->scheduleCount <= 2048, "schedule count out of range");
    static auto again = std::make_unique<qv::sim::SimState>();
    check(qv::sim::parseState(*again, qv::sim::stateText(*state), "again", error),
          "the saved text of an accepted state is refused");
    check(*again == *state, "the saved text reads back differently");
    return 0;
}
