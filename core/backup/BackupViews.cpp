#include "core/backup/BackupViews.h"

#include "link/CodePage.h"
#include "link/Commands.h"

#include <cstdio>

namespace qv::backup {
namespace {

std::string ansiText(const std::string& bytes, int codePage) {
    return ansiToUtf8(bytes, codePage);
}

// A field the records declare UTF-8 may still hold other bytes; they read as U+FFFD so the
// file stays valid JSON (the bytes beside it keep the truth).
std::string utf8Text(const std::string& bytes) {
    return isUtf8(bytes) ? bytes : ansiToUtf8(bytes, kUtf8CodePage);
}

std::string dotted(const std::array<uint8_t, 4>& a) {
    return std::to_string(a[0]) + "." + std::to_string(a[1]) + "." + std::to_string(a[2]) + "." +
           std::to_string(a[3]);
}

std::string macText(const std::array<uint8_t, 6>& m) {
    char text[18];
    std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", m[0], m[1], m[2], m[3], m[4],
                  m[5]);
    return text;
}

} // namespace

Json recordFields(const NetworkConfigRecord& r, int codePage) {
    return Json{
        {"firmwareNumber", r.firmwareNumber()},
        {"softwareVersion", r.softwareVersion()},
        {"versionNote", ansiText(r.versionNote(), codePage)},
        {"deviceName", ansiText(r.deviceName(), codePage)},
        {"mac", macText(r.mac())},
        {"company", utf8Text(r.companyUtf8())},
        {"ddnsId", ansiText(r.ddnsId(), codePage)},
        {"email", ansiText(r.email(), codePage)},
        {"dhcp", r.dhcp()},
        {"ipAddress", dotted(r.ipAddress())},
        {"netMask", dotted(r.netMask())},
        {"gateway", dotted(r.gateway())},
        {"linkPort", r.linkPort()},
        {"dataPort", r.dataPort()},
        {"webPort", r.webPort()},
        {"upnp", r.upnp()},
        {"ntpServer", ansiText(r.ntpServer(), codePage)},
        {"ioScheduleEnabled", r.ioScheduleEnabled()},
        {"maxScheduleCount", r.maxScheduleCount()},
        {"maxStandbyCount", r.maxStandbyCount()},
    };
}

Json centerIdFields(const CenterIdEntry& e, int codePage) {
    return Json{
        {"id", ansiText(e.id(), codePage)},
        {"password", ansiText(e.password(), codePage)},
        {"name", ansiText(e.name(), codePage)},
        {"group", e.group()},
        {"superUser", e.superUser() == "1"},
        {"prohibitFileTransfer", e.fileTransferProhibited()},
        {"prohibitLogDeletion", e.logDeletionProhibited()},
    };
}

Json wolFields(const WolEntry& e) {
    return Json{{"name", utf8Text(e.nameUtf8())}, {"mac", utf8Text(e.macUtf8())}};
}

Json blockIpFields(const BlockIpSlot& slot, int codePage) {
    return ansiText(slot.address(), codePage);
}

Json scheduleFields(const ScheduleEntry& e, int codePage) {
    return Json{
        {"device", ansiText(e.id(), codePage)},
        {"function", e.function()},
        {"relay", e.relay()},
        {"day", e.day()},
        {"date", e.date()},
        {"hour", e.hour()},
        {"minute", e.minute()},
        {"seq", e.seq()},
    };
}

Json ioDeviceFields(const IoListEntry& e, int codePage) {
    return Json{{"id", ansiText(e.id(), codePage)}, {"status", e.status()}};
}

Json autoUpdateFields(int32_t value) {
    return Json{{"on", value != result::kAutoUpdateOff}};
}

} // namespace qv::backup
