#include "link/Requests.h"

#include "link/Commands.h"

namespace qv::request {
namespace {

Frame bare(Command cmd, int32_t value) {
    return Frame{cmd, value, {}, true};
}

template <class Record> std::vector<uint8_t> bytesOf(const Record& record) {
    return std::vector<uint8_t>(record.bytes.begin(), record.bytes.end());
}

Frame text(Command cmd, std::string_view first, std::string_view second) {
    TextRequestPayload payload;
    payload.setFirstText(first);
    payload.setSecondText(second);
    return Frame{cmd, kTextRequestValue, bytesOf(payload), true};
}

Frame raw(Command cmd, std::vector<uint8_t> contents) {
    const auto length = static_cast<int32_t>(contents.size());
    return Frame{cmd, length, std::move(contents), false};
}

} // namespace

Frame logon(std::string_view adminId, std::string_view password) {
    return text(CMD_LOGIN_MSG, adminId, password);
}
Frame readSummary() {
    return bare(CMD_GET_INFO_MSG, kUnusedValue);
}
Frame changeAdmin(std::string_view newAdminId, std::string_view newPassword) {
    return text(CMD_SET_ADMIN_MSG, newAdminId, newPassword);
}
Frame readCenterIds() {
    return bare(CMD_GET_CENTERID_MSG, kFixedRequestValue);
}
Frame writeCenterIds(int32_t count, const CenterIdTable& table) {
    Frame frame = bare(CMD_SET_CENTERID_MSG, count);
    if (count > 0)
        frame.payload = bytesOf(table);
    return frame;
}
Frame readWol() {
    return bare(CMD_GET_WOL_MSG, kFixedRequestValue);
}
Frame writeWol(int32_t count, const WolTable& table) {
    return Frame{CMD_SET_WOL_MSG, count, bytesOf(table), true};
}
Frame readNetwork() {
    return bare(CMD_GET_NETWORK_MSG, kUnusedValue);
}
Frame saveNetworkAndReboot(const NetworkConfigRecord& record) {
    return Frame{CMD_SET_NETWORK_MSG, kUnusedValue, bytesOf(record), true};
}
Frame checkDdns(std::string_view ddnsId, std::string_view macText) {
    return text(CMD_CHECK_DDNS_MSG, ddnsId, macText);
}
Frame registerMac(std::string_view macText) {
    return text(CMD_REG_MAC_MSG, macText, {});
}
Frame registerDdns(const NetworkConfigRecord& record) {
    return Frame{CMD_REG_DDNS_MSG, kTextRequestValue, bytesOf(record), true};
}
Frame startUpdate() {
    return bare(CMD_SET_UPDATE_MSG, kUnusedValue);
}
Frame uploadLogo(std::vector<uint8_t> contents, uint8_t typeByte) {
    contents.push_back(typeByte);
    return raw(CMD_SET_LOGO_MSG, std::move(contents));
}
Frame deleteLogo() {
    return raw(CMD_SET_LOGO_MSG, {});
}
Frame uploadActiveXPage(std::vector<uint8_t> contents) {
    return raw(CMD_SET_AXPAGE_MSG, std::move(contents));
}
Frame readAutoUpdate() {
    return bare(CMD_GET_AUTOUPDATE_MSG, kUnusedValue);
}
Frame writeAutoUpdate(bool ticked) {
    return bare(CMD_SET_AUTOUPDATE_MSG, ticked ? result::kAutoUpdateOff : result::kAutoUpdateOn);
}
Frame reboot() {
    return bare(CMD_SET_REBOOT_MSG, kUnusedValue);
}
Frame startFirmwareUpdate() {
    return bare(CMD_SET_FIRMWARE_MSG, kUnusedValue);
}
Frame uploadWebArchive(std::vector<uint8_t> contents) {
    return raw(CMD_SET_WEBPAGE_MSG, std::move(contents));
}
Frame readIoList() {
    return bare(CMD_GET_IOLIST_MSG, kFixedRequestValue);
}
Frame readSchedule() {
    return bare(CMD_GET_SCHEDULE_MSG, kFixedRequestValue);
}
Frame writeSchedule(int32_t count, const ScheduleTable& table) {
    Frame frame = bare(CMD_SET_SCHEDULE_MSG, count);
    if (count > 0)
        frame.payload = bytesOf(table);
    return frame;
}
Frame readTime() {
    return bare(CMD_GET_TIME_MSG, kUnusedValue);
}
Frame setNtpServer(std::string_view address) {
    return text(CMD_SET_NTP_MSG, address, {});
}
Frame readBlacklist() {
    return bare(CMD_GET_BLACKLIST_MSG, kFixedRequestValue);
}
Frame readBlockIps() {
    return bare(CMD_GET_BLOCKIP_MSG, kFixedRequestValue);
}
Frame writeBlockIps(int32_t count, const BlockIpTable& table) {
    return Frame{CMD_SET_BLOCKIP_MSG, count, bytesOf(table), true};
}
Frame clearBlacklist() {
    return bare(CMD_CLEAR_BLACKLIST_MSG, kFixedRequestValue);
}

} // namespace qv::request
