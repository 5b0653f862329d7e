#include "core/backup/TransferSteps.h"

#include "core/backup/RestorePreview.h"
#include "link/Answers.h"
#include "link/CGlobalData.h"
#include "link/CodePage.h"
#include "link/Commands.h"
#include "link/Requests.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace qv::backup {
namespace {

void takeRecord(NetworkConfigRecord& record, const std::vector<uint8_t>& payload) {
    std::memcpy(record.data(), payload.data(), std::min(payload.size(), record.size()));
}

std::string utcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return stamp;
}

std::string names(std::vector<Table>::const_iterator from, std::vector<Table>::const_iterator to) {
    if (from == to)
        return qv::format({StringId::RestoreNone, {}});
    std::string out;
    for (auto it = from; it != to; ++it)
        out += (out.empty() ? "" : ", ") + tableTitle(*it);
    return out;
}

} // namespace

std::vector<Step> readingSteps() {
    using E = ReplyEvent;
    return {
        {request::readSummary(), E::SummaryArrived},
        {request::readNetwork(), E::NetworkArrived},
        {request::readCenterIds(), E::CenterIdsArrived},
        {request::readWol(), E::WolArrived},
        {request::readBlockIps(), E::BlockIpsArrived},
        {request::readIoList(), E::IoListArrived},
        {request::readSchedule(), E::SchedulesArrived},
        {request::readAutoUpdate(), E::AutoUpdateArrived},
    };
}

void takeReading(Backup& into, const LinkEvent& answer) {
    switch (answer.code) {
    case ReplyEvent::SummaryArrived:
        takeRecord(into.summary, answer.payload);
        return;
    case ReplyEvent::NetworkArrived:
        takeRecord(into.network, answer.payload);
        return;
    case ReplyEvent::AutoUpdateArrived:
        into.autoUpdate = answer.value;
        return;
    default:
        break;
    }
    // The tables go through the store's own rule into a store of their own, so the window's
    // store (and the edits its pages keep there) is not touched.
    CGlobalData scratch;
    if (!applyReplyToStore(scratch, answer))
        return;
    switch (answer.code) {
    case ReplyEvent::CenterIdsArrived:
        into.centerIdCount = scratch.centerIdCount;
        into.centerIds = scratch.centerIdTable;
        break;
    case ReplyEvent::WolArrived:
        into.wolCount = scratch.wolCount;
        into.wol = scratch.wolTable;
        break;
    case ReplyEvent::BlockIpsArrived:
        into.blockIpCount = scratch.blockIpCount;
        into.blockIps = scratch.blockIpTable;
        break;
    case ReplyEvent::IoListArrived:
        into.ioDeviceCount = scratch.ioDeviceCount;
        into.ioDevices = *scratch.ioListTable;
        break;
    case ReplyEvent::SchedulesArrived:
        into.scheduleCount = scratch.scheduleCount;
        into.schedule = *scratch.scheduleTable;
        break;
    default:
        break;
    }
}

void stampBackup(Backup& backup, const std::string& appliance) {
    backup.codePage = systemCodePage();
    backup.writtenAt = utcNow();
    backup.appliance = appliance;
}

std::vector<Table> writingOrder(const std::vector<Table>& chosen) {
    std::vector<Table> order;
    for (const Table table : kAllTables)
        if (std::find(chosen.begin(), chosen.end(), table) != chosen.end())
            order.push_back(table);
    return order;
}

std::vector<Step> writingSteps(Table table, const Backup& b, const NetworkRestore& network) {
    using E = ReplyEvent;
    switch (table) {
    case Table::CenterIds:
        return {{request::writeCenterIds(b.centerIdCount, b.centerIds), E::CenterIdsApplied}};
    case Table::Wol:
        return {{request::writeWol(b.wolCount, b.wol), E::WolApplied}};
    case Table::BlockIps:
        return {{request::writeBlockIps(b.blockIpCount, b.blockIps), E::BlockIpsApplied}};
    case Table::Schedule:
        return {{request::writeSchedule(b.scheduleCount, b.schedule), E::SchedulesApplied}};
    case Table::AutoUpdate:
        // The answer carries no result; its arrival is the confirmation.
        return {{request::writeAutoUpdate(b.autoUpdate == result::kAutoUpdateOff),
                 E::AutoUpdateApplied}};
    case Table::Network: {
        std::vector<Step> steps;
        if (network.ntpChanges)
            steps.push_back({request::setNtpServer(network.ntpServer), E::NtpServerSet});
        if (network.reboots())
            steps.push_back({request::saveNetworkAndReboot(network.record), E::None});
        return steps;
    }
    }
    return {};
}

bool confirms(const Step& step, const LinkEvent& answer) {
    return answer.code == step.answer && answer::confirmsChange(step.answer, answer.value);
}

Message RestoreLedger::outcome() const {
    const auto split = order.begin() + static_cast<std::ptrdiff_t>(written);
    if (finished())
        return {StringId::RestoreDone, {names(order.begin(), split)}};
    return {StringId::RestorePartial, {names(order.begin(), split), names(split, order.end())}};
}

} // namespace qv::backup
