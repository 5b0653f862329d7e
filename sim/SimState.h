#pragma once

#include "link/ApplianceLimits.h"
#include "link/Records.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qv::sim {

// Everything the simulated appliance remembers. Tables are kept as the exact bytes the last
// write brought (bytes it does not interpret included), so a later read returns them unchanged.
struct SimState {
    static constexpr int32_t kBlacklistSlots = static_cast<int32_t>(limits::kBlacklistSlots);

    std::string adminId = "admin";
    std::string adminPassword = "admin";
    // The logon answer is 100 plus this (the client reads its center ID limit from it).
    int32_t maxCenterIds = 20;
    // 1: automatic update switched off; anything else: on.
    int32_t autoUpdate = 0;
    // Whether the vendor's registry knows this appliance's MAC address.
    bool macRegistered = true;

    // The product summary and the network settings are one record on the appliance.
    NetworkConfigRecord record;

    int32_t centerIdCount = 0;
    CenterIdTable centerIds;
    int32_t wolCount = 0;
    WolTable wol;
    int32_t blacklistCount = 0;
    BlacklistEntries blacklist;
    int32_t blockIpCount = 0;
    BlockIpTable blockIps;
    int32_t ioCount = 0;
    IoListTable ioList;
    int32_t scheduleCount = 0;
    ScheduleTable schedule;

    bool operator==(const SimState&) const = default;
};

// A fresh appliance with realistic demonstration data: center IDs (one named in Korean, CP949),
// Wake-on-LAN targets, a product record with a Korean company name in UTF-8 and the IO scheduler
// enabled, a dozen IO devices with normal and exception schedules, blacklist entries with
// counters and a few blocked addresses.
std::unique_ptr<SimState> seededState();
// Replaces the IO devices and the timetable with a large plant: `devices` devices "IO-0001" on
// (up to 1024) and `schedules` schedules spread over them (up to 2040), for demonstrations and
// for timing full tables.
void seedLargePlant(SimState& state, int devices, int schedules);

// Keeps the state across restarts. The file is text: a version line, then one line per value,
// tables as their exact bytes in hexadecimal. Writing goes through a temporary file and a rename,
// so a crash never leaves half a file behind.
bool saveState(const SimState& state, const std::string& path, std::string& error);
// False with a message when the file cannot be read, is not a state file of this version, or is
// not this user's own regular file (a link, a pipe, another user's file, one that others may
// write to); the state is then unchanged.
bool loadState(SimState& state, const std::string& path, std::string& error);

// Removes what saves of `path` by killed runs left behind: its temporaries, `path` + ".tmp" +
// letters and digits. Only one qvsim keeps a state file at a time.
void removeStaleTemporaries(const std::string& path);

// The state file's text, and its reading: what saveState writes and loadState checks, apart
// from the file itself (`name` is the file the text came from, for the messages).
std::string stateText(const SimState& state);
bool parseState(SimState& state, const std::string& text, const std::string& name,
                std::string& error);

} // namespace qv::sim
