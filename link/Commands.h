#pragma once

#include <cstdint>

namespace qv {

// Command codes of the conversation. A request and the reply to it carry the same code.
enum : uint8_t {
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

// The value that fixed-size read requests carry in their header; the appliance does not use it.
constexpr int32_t kFixedRequestValue = 101;
// The value of requests that carry a text payload.
constexpr int32_t kTextRequestValue = 100;
// The value with which the appliance confirms a change.
constexpr int32_t kResultSuccess = 101;

// The appliance listens on this TCP port.
constexpr int kDefaultPort = 12300;

} // namespace qv
