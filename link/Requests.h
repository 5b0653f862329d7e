#pragma once

#include "link/Frame.h"
#include "link/Records.h"

#include <string_view>
#include <vector>

// Every request the client sends, as a plain frame at its full size. Texts longer than their
// field are cut at the field (pages refuse such input before it gets here).
namespace qv::request {

Frame logon(std::string_view adminId, std::string_view password);
Frame readSummary();
Frame changeAdmin(std::string_view newAdminId, std::string_view newPassword);
Frame readCenterIds();
// Header alone when the count is 0 or below.
Frame writeCenterIds(int32_t count, const CenterIdTable& table);
Frame readWol();
// The whole table, whatever the count.
Frame writeWol(int32_t count, const WolTable& table);
Frame readNetwork();
Frame saveNetworkAndReboot(const NetworkConfigRecord& record);
Frame checkDdns(std::string_view ddnsId, std::string_view macText);
Frame registerMac(std::string_view macText);
Frame registerDdns(const NetworkConfigRecord& record);
Frame startUpdate();
// File contents followed by one type byte, counted in the length.
Frame uploadLogo(std::vector<uint8_t> contents, uint8_t typeByte);
Frame deleteLogo();
Frame uploadActiveXPage(std::vector<uint8_t> contents);
Frame readAutoUpdate();
Frame writeAutoUpdate(bool ticked);
Frame reboot();
Frame startFirmwareUpdate();
Frame uploadWebArchive(std::vector<uint8_t> contents);
Frame readIoList();
Frame readSchedule();
// Header alone when the count is 0 or below; otherwise all 2048 slots.
Frame writeSchedule(int32_t count, const ScheduleTable& table);
Frame readTime();
Frame setNtpServer(std::string_view address);
Frame readBlacklist();
Frame readBlockIps();
// The whole table, whatever the count.
Frame writeBlockIps(int32_t count, const BlockIpTable& table);
Frame clearBlacklist();

} // namespace qv::request
