#pragma once

#include <cstdint>

namespace qv {

// Command codes of the conversation. A request and the reply to it carry the same code; the
// header's byte 0 holds it. A code read off the wire may be one the client does not know.
enum class Command : uint8_t {
    CMD_LOGIN_MSG = 1,           // logon with administrator ID and password
    CMD_GET_INFO_MSG = 2,        // product summary record
    CMD_SET_ADMIN_MSG = 3,       // change administrator ID and password
    CMD_GET_CENTERID_MSG = 4,    // read the center ID table
    CMD_SET_CENTERID_MSG = 5,    // write the center ID table
    CMD_GET_WOL_MSG = 6,         // read the Wake-on-LAN table
    CMD_SET_WOL_MSG = 7,         // write the Wake-on-LAN table
    CMD_GET_NETWORK_MSG = 8,     // network configuration record
    CMD_SET_NETWORK_MSG = 9,     // save network configuration and reboot (no reply)
    CMD_CHECK_DDNS_MSG = 10,     // is a DDNS ID still free
    CMD_REG_MAC_MSG = 11,        // register the product's MAC address
    CMD_REG_DDNS_MSG = 12,       // register the DDNS ID
    CMD_SET_UPDATE_MSG = 13,     // start the software update; one reply per step
    CMD_SET_LOGO_MSG = 14,       // upload (or, with length 0, delete) the company logo
    CMD_SET_AXPAGE_MSG = 15,     // upload the ActiveX start page
    CMD_GET_AUTOUPDATE_MSG = 16, // read the automatic-update setting
    CMD_SET_AUTOUPDATE_MSG = 17, // write the automatic-update setting
    CMD_SET_REBOOT_MSG = 18,     // reboot; the reply value also carries limit notices
    CMD_SET_FIRMWARE_MSG = 19,   // start the firmware update
    CMD_SET_WEBPAGE_MSG = 20,    // upload the web page archive
    CMD_GET_IOLIST_MSG = 21,     // read the IO device list
    CMD_GET_SCHEDULE_MSG = 22,   // read the IO schedule table
    CMD_SET_SCHEDULE_MSG = 23,   // write the IO schedule table
    CMD_GET_TIME_MSG = 24,       // the appliance's clock, seconds since 1970 UTC
    CMD_SET_BLANK_MODE = 25,     // only ever received; consumed without effect
    CMD_SET_NTP_MSG = 26,        // set the NTP server
    CMD_GET_BLACKLIST_MSG = 27,  // read the blacklist entries
    CMD_GET_BLOCKIP_MSG = 29,    // read the firewall's block IP table
    CMD_SET_BLOCKIP_MSG = 30,    // write the block IP table
    CMD_CLEAR_BLACKLIST_MSG = 31 // clear the blacklist
};
// The system's names are used as they are (qv::CMD_LOGIN_MSG); they stay of type Command, so a
// command code never passes for a number, an event or a result.
using enum Command;

// Header values that carry no count. Nobody reads them as one, but the appliance has always been
// sent exactly these; its replies whose value means nothing carry 0.
constexpr int32_t kUnusedValue = 0;         // record reads, single-step commands, upload answers
constexpr int32_t kFixedRequestValue = 101; // table reads, and the blacklist clear
constexpr int32_t kTextRequestValue = 100;  // text payloads, and the DDNS registration

// A range of answer values, both ends included.
struct ValueRange {
    int32_t low;
    int32_t high;
    constexpr bool holds(int32_t value) const { return value >= low && value <= high; }
};

// What the appliance means by the value of its replies. Values a reply does not list here are
// failures of their own kind (a refused write, a failed registration, an error of the check).
namespace result {

// Administrator, a table, the schedule, a registration or the blacklist clear was taken; to a
// DDNS check: the ID is free.
inline constexpr int32_t kSuccess = 101;

// Logon: the administrator is admitted; any other value refuses the ID and password.
inline constexpr ValueRange kLogonAccepted{101, 249};
// Logon: an admitting value less this is the number of center IDs the appliance takes.
inline constexpr int32_t kLogonLimitOffset = 100;

// DDNS check: another appliance holds the ID.
inline constexpr int32_t kDdnsIdTaken = 102;
// DDNS check: another appliance holds the MAC address.
inline constexpr int32_t kDdnsMacTaken = 103;

// MAC registration: the vendor's registry knows the product already.
inline constexpr int32_t kMacAlreadyRegistered = 401;
// DDNS registration: the product's MAC address must be registered first.
inline constexpr int32_t kProductNotRegistered = 401;
// DDNS registration: another appliance holds the ID.
inline constexpr int32_t kDdnsIdOccupied = 402;
// DDNS registration: the MAC address is registered to another appliance.
inline constexpr int32_t kMacRegisteredElsewhere = 403;

// Software update: every step is done (0 to 7 are the steps reached so far).
inline constexpr int32_t kUpdateFinished = 8;
// Software or firmware update: the appliance could not reach the vendor's update server.
inline constexpr int32_t kUpdateServerUnreachable = 99;
// Firmware update: done; the appliance restarts and the link ends.
inline constexpr int32_t kFirmwareUpdateFinished = 0;

// Logo upload: the old logo is gone (the answer to an upload of length 0).
inline constexpr int32_t kLogoDeleted = 0;
// Logo upload: the new logo is stored.
inline constexpr int32_t kLogoUploaded = 1;

// Automatic update, read and written: "Do not use autoupdate" is ticked.
inline constexpr int32_t kAutoUpdateOff = 1;
// Automatic update, written: the appliance updates itself.
inline constexpr int32_t kAutoUpdateOn = 0;

// Reboot: accepted; the session ends.
inline constexpr int32_t kRebootAccepted = 101;
// Reboot: accepted with a new center ID limit, the value itself; the session ends.
inline constexpr ValueRange kRebootNewCenterIdLimit{1, 99};
// Reboot reply, a notice: the schedule privilege changed; it applies after the next reboot.
inline constexpr ValueRange kRebootSchedulePrivilegeChanged{1001, 5499};
// Reboot reply, a notice: a new standby limit, the value less kRebootStandbyOffset.
inline constexpr ValueRange kRebootNewStandbyLimit{6001, 12000};
inline constexpr int32_t kRebootStandbyOffset = 6000;

} // namespace result

// The appliance listens on this TCP port.
constexpr int kDefaultPort = 12300;

} // namespace qv
