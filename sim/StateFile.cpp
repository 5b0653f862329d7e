#include "sim/SimState.h"

#include "link/ApplianceLimits.h"
#include "link/PrivateFile.h"
#include "link/TextRequestPayload.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>

namespace qv::sim {
namespace {

constexpr const char* kMagic = "qvsim-state 1";
// Well above the largest file a save writes (the tables in hexadecimal take about 700 KB).
constexpr size_t kMaxStateBytes = 4 * 1024 * 1024;

std::string toHex(const uint8_t* data, size_t length) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(length * 2);
    for (size_t i = 0; i < length; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 0x0F];
    }
    return out;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Exactly `length` bytes of hexadecimal, or false.
bool fromHex(const std::string& hex, uint8_t* out, size_t length) {
    if (hex.size() != length * 2)
        return false;
    for (size_t i = 0; i < length; ++i) {
        const int high = hexValue(hex[2 * i]);
        const int low = hexValue(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        out[i] = static_cast<uint8_t>(high << 4 | low);
    }
    return true;
}

bool parseInt(const std::string& text, int32_t& out) {
    try {
        size_t used = 0;
        const long long v = std::stoll(text, &used);
        if (used != text.size() || v < INT32_MIN || v > INT32_MAX)
            return false;
        out = static_cast<int32_t>(v);
        return true;
    } catch (...) {
        return false;
    }
}

// One table: its count and its bytes, with the count kept within the slots.
struct TableField {
    int32_t* count;
    uint8_t* bytes;
    size_t size;
    int32_t slots;
};

constexpr int32_t slotsOf(size_t slots) {
    return static_cast<int32_t>(slots);
}

std::map<std::string, TableField> tablesOf(SimState& s) {
    return {
        {"center-ids",
         {&s.centerIdCount, s.centerIds.data(), s.centerIds.size(),
          slotsOf(limits::kCenterIdSlots)}},
        {"wol", {&s.wolCount, s.wol.data(), s.wol.size(), slotsOf(limits::kWolSlots)}},
        {"blacklist",
         {&s.blacklistCount, s.blacklist.data(), s.blacklist.size(), SimState::kBlacklistSlots}},
        {"block-ips",
         {&s.blockIpCount, s.blockIps.data(), s.blockIps.size(), slotsOf(limits::kBlockIpSlots)}},
        {"io-list",
         {&s.ioCount, s.ioList.data(), s.ioList.size(), slotsOf(limits::kIoDeviceSlots)}},
        {"schedule",
         {&s.scheduleCount, s.schedule.data(), s.schedule.size(), slotsOf(limits::kScheduleSlots)}},
    };
}

} // namespace

std::string stateText(const SimState& state) {
    std::ostringstream out;
    out << kMagic << '\n';
    out << "admin-id "
        << toHex(reinterpret_cast<const uint8_t*>(state.adminId.data()), state.adminId.size())
        << '\n';
    out << "admin-password "
        << toHex(reinterpret_cast<const uint8_t*>(state.adminPassword.data()),
                 state.adminPassword.size())
        << '\n';
    out << "max-center-ids " << state.maxCenterIds << '\n';
    out << "auto-update " << state.autoUpdate << '\n';
    out << "mac-registered " << (state.macRegistered ? 1 : 0) << '\n';
    out << "record " << toHex(state.record.data(), state.record.size()) << '\n';
    SimState& writable = const_cast<SimState&>(state); // tablesOf only reads here
    for (const auto& [name, table] : tablesOf(writable))
        out << name << ' ' << *table.count << ' ' << toHex(table.bytes, table.size) << '\n';
    return out.str();
}

bool saveState(const SimState& state, const std::string& path, std::string& error) {
    // Private: it holds the administrator's password.
    if (const std::string fault = writePrivateFile(path, stateText(state)); !fault.empty()) {
        error = "cannot write " + path + ": " + fault;
        return false;
    }
    return true;
}

bool loadState(SimState& state, const std::string& path, std::string& error) {
    // Read no more than the largest file a save writes, so a device or a huge file is refused
    // quickly and with bounded memory. The file holds the password that admits to everything:
    // one that another user could have put there or changed is not trusted.
    std::string whole;
    if (const std::string fault = readPrivateFile(path, kMaxStateBytes, whole); !fault.empty()) {
        error = "cannot use " + path + " as the state file: " + fault;
        return false;
    }
    return parseState(state, whole, path, error);
}

void removeStaleTemporaries(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const std::string stem = target.filename().string() + ".tmp";
    std::error_code code;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= stem.size() || name.compare(0, stem.size(), stem) != 0)
            continue;
        // The suffixes saves give their temporaries: letters and digits (a process id, once).
        if (std::all_of(name.begin() + static_cast<std::ptrdiff_t>(stem.size()), name.end(),
                        [](unsigned char c) { return std::isalnum(c) != 0; })) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

bool parseState(SimState& state, const std::string& text, const std::string& path,
                std::string& error) {
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != kMagic) {
        error = path + " is not a qvsim state file (expected the line \"" + kMagic + "\")";
        return false;
    }
    // Everything is read into a copy first, so a broken file changes nothing.
    auto loaded = std::make_unique<SimState>(state);
    auto tables = tablesOf(*loaded);
    std::map<std::string, int> seen; // entry and its line

    int lineNumber = 1;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (line.empty())
            continue;
        std::istringstream fields(line);
        std::string key, a, b, surplus;
        fields >> key >> a;
        const auto fail = [&](const std::string& what) {
            error = path + ":" + std::to_string(lineNumber) + ": " + what;
            return false;
        };
        if (!seen.emplace(key, lineNumber).second)
            return fail("\"" + key + "\" appears twice");
        const auto found = tables.find(key);
        if (found != tables.end())
            fields >> b;
        if (fields >> surplus)
            return fail("more on the line than \"" + key + "\" takes");
        if (key == "admin-id" || key == "admin-password") {
            // As the logon request carries them: at most its field less the terminating NUL,
            // and no NUL inside, which would end the text early on the wire.
            const size_t width = key == "admin-id" ? TextRequestPayload::kFirstWidth - 1
                                                   : TextRequestPayload::kSecondWidth - 1;
            const std::string rule = key + " must be 1 to " + std::to_string(width) +
                                     " bytes in hexadecimal, none of them NUL";
            if (a.empty() || a.size() > 2 * width)
                return fail(rule);
            std::string text(a.size() / 2, '\0');
            if (!fromHex(a, reinterpret_cast<uint8_t*>(text.data()), text.size()) ||
                text.find('\0') != std::string::npos)
                return fail(rule);
            (key == "admin-id" ? loaded->adminId : loaded->adminPassword) = text;
        } else if (key == "max-center-ids" || key == "auto-update" || key == "mac-registered") {
            int32_t value = 0;
            if (!parseInt(a, value))
                return fail("bad number");
            if (key == "max-center-ids") {
                if (value < 1 || value > 149)
                    return fail("max-center-ids must be 1 to 149");
                loaded->maxCenterIds = value;
            } else if (key == "auto-update") {
                loaded->autoUpdate = value;
            } else {
                if (value != 0 && value != 1)
                    return fail("mac-registered must be 0 or 1");
                loaded->macRegistered = value != 0;
            }
        } else if (key == "record") {
            if (!fromHex(a, loaded->record.data(), loaded->record.size()))
                return fail("the record must be 316 bytes in hexadecimal");
        } else if (found != tables.end()) {
            const TableField& table = found->second;
            int32_t count = 0;
            if (!parseInt(a, count) || count < 0 || count > table.slots)
                return fail("bad count for " + key);
            if (!fromHex(b, table.bytes, table.size))
                return fail(key + " must be " + std::to_string(table.size) +
                            " bytes in hexadecimal");
            *table.count = count;
        } else {
            return fail("unknown entry \"" + key + "\"");
        }
    }
    std::vector<std::string> required{"admin-id",    "admin-password", "max-center-ids",
                                      "auto-update", "mac-registered", "record"};
    for (const auto& [name, table] : tables)
        required.push_back(name);
    for (const std::string& name : required)
        if (seen.count(name) == 0) {
            error = path + ": the entry \"" + name + "\" is missing";
            return false;
        }
    // Writes never keep more center IDs than the limit the logon reports.
    if (loaded->centerIdCount > loaded->maxCenterIds) {
        error = path + ":" + std::to_string(seen["center-ids"]) + ": " +
                std::to_string(loaded->centerIdCount) + " center IDs, more than max-center-ids " +
                std::to_string(loaded->maxCenterIds);
        return false;
    }
    state = *loaded;
    return true;
}

} // namespace qv::sim
