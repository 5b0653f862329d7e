#pragma once

// The product summary's text forms: how the appliance's identity and limits read, on the
// summary page and in qvctl alike. No Qt here; every text comes back in UTF-8.

#include "link/ApplianceLimits.h"
#include "link/NetworkConfigRecord.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv::info {

// The domain of the vendor's DDNS service; an appliance's host name is its DDNS ID followed by
// this suffix.
inline constexpr std::string_view kDdnsDomainSuffix = ".quorvel-ddns.net";

// The dispatcher keeps the appliance's schedule limit within these bounds.
inline constexpr int32_t kMinScheduleLimit = limits::kMinSchedules;
inline constexpr int32_t kMaxScheduleLimit = limits::kMaxSchedules;

// The limits the summary shows, as the settings store keeps them after a summary arrived.
struct Limits {
    int32_t maxCenterIds = 0;
    int32_t ioScheduleEnabled = 0; // 0: the appliance has no IO scheduler
    int32_t maxSchedules = 0;
    int32_t maxStandby = 0;
};

// The limits as the dispatcher copies them from a summary record (the schedule limit clamped to
// 10..2040) beside the center ID limit from the logon answer.
Limits limitsFromRecord(const NetworkConfigRecord& record, int32_t maxCenterIds);

// "%d.%02d (%s)": the software version (times 100) and the version note, in the code page's
// bytes as the record holds them.
std::string softwareVersionAnsi(uint16_t version, std::string_view note);
// "%02x:%02x:%02x:%02x:%02x:%02x", lower case, first byte first.
std::string macText(const std::array<uint8_t, 6>& mac);
// The DDNS ID exactly as the record holds it, followed by the DDNS domain suffix; an empty ID
// gives the suffix alone.
std::string ddnsHostAnsi(std::string_view ddnsId);
// The record's company text, which the appliance keeps in UTF-8. A last character that the
// field's width cut short is dropped; any other invalid byte sequence makes the text unreadable
// and the result empty.
std::string companyText(std::string_view utf8);

// Every field of the summary page in UTF-8, ANSI texts read in `codePage`.
struct SummaryTexts {
    std::string firmwareNumber; // 1010, "%d"
    std::string deviceName;     // 1011
    std::string softwareVersion;
    std::string macAddress;
    std::string company;
    std::string ddnsHost;
    std::string email;
    std::string maxCenterIds;
    std::string maxSchedules; // empty when the appliance has no IO scheduler
    std::string maxStandby;
};
SummaryTexts summaryTexts(const NetworkConfigRecord& record, const Limits& limits, int codePage);

} // namespace qv::info
