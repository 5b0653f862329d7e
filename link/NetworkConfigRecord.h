#pragma once

#include "link/WireRecord.h"

namespace qv {

// The appliance's configuration record: the product summary (reply 2), the network settings
// (reply 8) and the payload of Save & Reboot (9) and DDNS registration (12).
class NetworkConfigRecord : public WireRecord<316> {
public:
    uint8_t firmwareNumber() const { return u8(0); }
    void setFirmwareNumber(uint8_t v) { setU8(0, v); }
    // Software version times 100 (412 is version 4.12).
    uint16_t softwareVersion() const { return u16(2); }
    void setSoftwareVersion(uint16_t v) { setU16(2, v); }
    uint16_t linkPort() const { return u16(4); }
    void setLinkPort(uint16_t v) { setU16(4, v); }
    uint16_t dataPort() const { return u16(6); }
    void setDataPort(uint16_t v) { setU16(6, v); }
    uint16_t webPort() const { return u16(8); }
    void setWebPort(uint16_t v) { setU16(8, v); }
    std::string deviceName() const { return text(10, 16); }
    void setDeviceName(std::string_view v) { setText(10, 16, v); }
    // The MAC as text; set only in the DDNS registration request.
    std::string macText() const { return text(26, 64); }
    void setMacText(std::string_view v) { setText(26, 64, v); }
    // UTF-8, unlike the other texts.
    std::string companyUtf8() const { return text(90, 32); }
    void setCompanyUtf8(std::string_view v) { setText(90, 32, v); }
    std::string ddnsId() const { return text(122, 32); }
    void setDdnsId(std::string_view v) { setText(122, 32, v); }
    // The appliance's Ethernet address, first byte first.
    std::array<uint8_t, 6> mac() const { return pick<6>(154); }
    void setMac(const std::array<uint8_t, 6>& v) { put(154, v); }
    // IPv4 addresses, first byte is the first number of the dotted form.
    std::array<uint8_t, 4> ipAddress() const { return pick<4>(160); }
    void setIpAddress(const std::array<uint8_t, 4>& v) { put(160, v); }
    std::array<uint8_t, 4> gateway() const { return pick<4>(164); }
    void setGateway(const std::array<uint8_t, 4>& v) { put(164, v); }
    std::array<uint8_t, 4> netMask() const { return pick<4>(168); }
    void setNetMask(const std::array<uint8_t, 4>& v) { put(168, v); }
    std::string email() const { return text(172, 65); }
    void setEmail(std::string_view v) { setText(172, 65, v); }
    // 1: the appliance takes its address by DHCP; anything else: static.
    uint8_t dhcp() const { return u8(237); }
    void setDhcp(uint8_t v) { setU8(237, v); }
    // 1: the IO schedule feature is enabled on this appliance.
    uint8_t ioScheduleEnabled() const { return u8(238); }
    void setIoScheduleEnabled(uint8_t v) { setU8(238, v); }
    uint8_t optionFlag() const { return u8(239); }
    void setOptionFlag(uint8_t v) { setU8(239, v); }
    uint16_t maxStandbyCount() const { return u16(242); }
    void setMaxStandbyCount(uint16_t v) { setU16(242, v); }
    int32_t maxScheduleCount() const { return i32(244); }
    void setMaxScheduleCount(int32_t v) { setI32(244, v); }
    // Bit 0: UPNP enabled; the other bits belong to the appliance.
    uint32_t options() const { return u32(248); }
    void setOptions(uint32_t v) { setU32(248, v); }
    bool upnp() const { return (options() & 1u) != 0; }
    void setUpnp(bool on) { setOptions(on ? (options() | 1u) : (options() & ~1u)); }
    std::string versionNote() const { return text(252, 32); }
    void setVersionNote(std::string_view v) { setText(252, 32, v); }
    std::string ntpServer() const { return text(284, 32); }
    void setNtpServer(std::string_view v) { setText(284, 32, v); }

private:
    template <size_t K> std::array<uint8_t, K> pick(size_t offset) const {
        std::array<uint8_t, K> out{};
        std::copy(bytes.begin() + offset, bytes.begin() + offset + K, out.begin());
        return out;
    }
    template <size_t K> void put(size_t offset, const std::array<uint8_t, K>& v) {
        std::copy(v.begin(), v.end(), bytes.begin() + offset);
    }
};

} // namespace qv
