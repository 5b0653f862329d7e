#include "link/Catalogue.h"

#include "link/Records.h"

#include <array>

namespace qv {
namespace {

using P = PayloadRule;
using E = ReplyEvent;

constexpr size_t kRecord = NetworkConfigRecord::kSize;
constexpr size_t kCenterIds = CenterIdTable::kSize;
constexpr size_t kWol = WolTable::kSize;
constexpr size_t kBlockIps = BlockIpTable::kSize;
constexpr size_t kIoList = IoListTable::kSize;
constexpr size_t kSchedule = ScheduleTable::kSize;
constexpr size_t kText = TextRequestPayload::kSize;

constexpr int32_t maxCount(size_t slots) {
    return static_cast<int32_t>(slots);
}
constexpr int32_t kCenterIdsMax = maxCount(limits::kCenterIdSlots);
constexpr int32_t kWolMax = maxCount(limits::kWolSlots);
constexpr int32_t kIoListMax = maxCount(limits::kIoDeviceSlots);
constexpr int32_t kSchedulesMax = maxCount(limits::kScheduleSlots);
constexpr int32_t kBlacklistMax = maxCount(limits::kBlacklistSlots);
constexpr int32_t kBlockIpsMax = maxCount(limits::kBlockIpSlots);

// Reply code -> payload -> event. Counts are limited to the slots of the table they describe.
constexpr std::array kReplies{
    ReplyRule{CMD_LOGIN_MSG, P::None, 0, true, 0, E::LogonAnswered},
    ReplyRule{CMD_GET_INFO_MSG, P::Always, kRecord, true, 0, E::SummaryArrived},
    ReplyRule{CMD_SET_ADMIN_MSG, P::None, 0, true, 0, E::AdminChangeAnswered},
    ReplyRule{CMD_GET_CENTERID_MSG, P::WhenPositive, kCenterIds, true, kCenterIdsMax,
              E::CenterIdsArrived},
    ReplyRule{CMD_SET_CENTERID_MSG, P::None, 0, true, 0, E::CenterIdsApplied},
    ReplyRule{CMD_GET_WOL_MSG, P::Always, kWol, true, kWolMax, E::WolArrived},
    ReplyRule{CMD_SET_WOL_MSG, P::None, 0, true, 0, E::WolApplied},
    ReplyRule{CMD_GET_NETWORK_MSG, P::Always, kRecord, true, 0, E::NetworkArrived},
    ReplyRule{CMD_CHECK_DDNS_MSG, P::None, 0, true, 0, E::DdnsIdChecked},
    ReplyRule{CMD_REG_MAC_MSG, P::None, 0, true, 0, E::MacRegistrationAnswered},
    ReplyRule{CMD_REG_DDNS_MSG, P::None, 0, true, 0, E::DdnsRegistrationAnswered},
    ReplyRule{CMD_SET_UPDATE_MSG, P::None, 0, true, 0, E::UpdateStepReported},
    ReplyRule{CMD_SET_LOGO_MSG, P::None, 0, true, 0, E::LogoAnswered},
    ReplyRule{CMD_SET_AXPAGE_MSG, P::None, 0, true, 0, E::ActiveXPageUploaded},
    ReplyRule{CMD_GET_AUTOUPDATE_MSG, P::None, 0, true, 0, E::AutoUpdateArrived},
    ReplyRule{CMD_SET_AUTOUPDATE_MSG, P::None, 0, true, 0, E::AutoUpdateApplied},
    ReplyRule{CMD_SET_REBOOT_MSG, P::None, 0, true, 0, E::RebootAnswered},
    ReplyRule{CMD_SET_FIRMWARE_MSG, P::None, 0, true, 0, E::FirmwareUpdateAnswered},
    ReplyRule{CMD_SET_WEBPAGE_MSG, P::None, 0, true, 0, E::WebArchiveUploaded},
    ReplyRule{CMD_GET_IOLIST_MSG, P::WhenPositive, kIoList, true, kIoListMax, E::IoListArrived},
    ReplyRule{CMD_GET_SCHEDULE_MSG, P::WhenPositive, kSchedule, true, kSchedulesMax,
              E::SchedulesArrived},
    ReplyRule{CMD_SET_SCHEDULE_MSG, P::None, 0, true, 0, E::SchedulesApplied},
    ReplyRule{CMD_GET_TIME_MSG, P::None, 0, true, 0, E::ServerTimeArrived},
    ReplyRule{CMD_SET_BLANK_MODE, P::None, 0, true, 0, E::None},
    ReplyRule{CMD_SET_NTP_MSG, P::None, 0, true, 0, E::NtpServerSet},
    ReplyRule{CMD_GET_BLACKLIST_MSG, P::PerEntry, BlacklistEntry::kSize, false, kBlacklistMax,
              E::BlacklistArrived},
    ReplyRule{CMD_GET_BLOCKIP_MSG, P::Always, kBlockIps, true, kBlockIpsMax, E::BlockIpsArrived},
    ReplyRule{CMD_SET_BLOCKIP_MSG, P::None, 0, true, 0, E::BlockIpsApplied},
    ReplyRule{CMD_CLEAR_BLACKLIST_MSG, P::None, 0, true, 0, E::BlacklistCleared},
};

// Request code -> what follows the header, and the request's name in the simulator's log.
constexpr std::array kRequests{
    RequestRule{CMD_LOGIN_MSG, P::Always, kText, true, "logon"},
    RequestRule{CMD_GET_INFO_MSG, P::None, 0, true, "read product summary"},
    RequestRule{CMD_SET_ADMIN_MSG, P::Always, kText, true, "change administrator"},
    RequestRule{CMD_GET_CENTERID_MSG, P::None, 0, true, "read center IDs"},
    RequestRule{CMD_SET_CENTERID_MSG, P::WhenPositive, kCenterIds, true, "write center IDs"},
    RequestRule{CMD_GET_WOL_MSG, P::None, 0, true, "read Wake-on-LAN"},
    RequestRule{CMD_SET_WOL_MSG, P::Always, kWol, true, "write Wake-on-LAN"},
    RequestRule{CMD_GET_NETWORK_MSG, P::None, 0, true, "read network settings"},
    RequestRule{CMD_SET_NETWORK_MSG, P::Always, kRecord, true, "save network settings and reboot"},
    RequestRule{CMD_CHECK_DDNS_MSG, P::Always, kText, true, "check DDNS ID"},
    RequestRule{CMD_REG_MAC_MSG, P::Always, kText, true, "register MAC address"},
    RequestRule{CMD_REG_DDNS_MSG, P::Always, kRecord, true, "register DDNS"},
    RequestRule{CMD_SET_UPDATE_MSG, P::None, 0, true, "start software update"},
    RequestRule{CMD_SET_LOGO_MSG, P::RawLength, 0, false, "logo upload"},
    RequestRule{CMD_SET_AXPAGE_MSG, P::RawLength, 0, false, "ActiveX page upload"},
    RequestRule{CMD_GET_AUTOUPDATE_MSG, P::None, 0, true, "read automatic update"},
    RequestRule{CMD_SET_AUTOUPDATE_MSG, P::None, 0, true, "write automatic update"},
    RequestRule{CMD_SET_REBOOT_MSG, P::None, 0, true, "reboot"},
    RequestRule{CMD_SET_FIRMWARE_MSG, P::None, 0, true, "start firmware update"},
    RequestRule{CMD_SET_WEBPAGE_MSG, P::RawLength, 0, false, "web archive upload"},
    RequestRule{CMD_GET_IOLIST_MSG, P::None, 0, true, "read IO list"},
    RequestRule{CMD_GET_SCHEDULE_MSG, P::None, 0, true, "read schedule"},
    RequestRule{CMD_SET_SCHEDULE_MSG, P::WhenPositive, kSchedule, true, "write schedule"},
    RequestRule{CMD_GET_TIME_MSG, P::None, 0, true, "read time"},
    RequestRule{CMD_SET_NTP_MSG, P::Always, kText, true, "set NTP server"},
    RequestRule{CMD_GET_BLACKLIST_MSG, P::None, 0, true, "read blacklist"},
    RequestRule{CMD_GET_BLOCKIP_MSG, P::None, 0, true, "read block IPs"},
    RequestRule{CMD_SET_BLOCKIP_MSG, P::Always, kBlockIps, true, "write block IPs"},
    RequestRule{CMD_CLEAR_BLACKLIST_MSG, P::None, 0, true, "clear blacklist"},
};

template <class Rule, size_t N> const Rule* find(const std::array<Rule, N>& rules, Command cmd) {
    for (const Rule& rule : rules)
        if (rule.cmd == cmd)
            return &rule;
    return nullptr;
}

} // namespace

const ReplyRule* findReplyRule(Command cmd) {
    return find(kReplies, cmd);
}

const RequestRule* findRequestRule(Command cmd) {
    return find(kRequests, cmd);
}

} // namespace qv
