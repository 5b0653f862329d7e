#include "ApplianceReading.h"

#include "ExitCodes.h"
#include "Requests.h"

#include <algorithm>

namespace qvctl {
namespace {

int readRecord(ApplianceSession& session, const qv::Frame& request, qv::ReplyEvent event,
               qv::NetworkConfigRecord& record) {
    qv::LinkEvent answer;
    if (const int status = session.request(request, event, &answer); status != kExitOk)
        return status;
    // The record travels with its event; a short payload cannot happen on a whole reply.
    std::copy_n(answer.payload.begin(), std::min(answer.payload.size(), record.size()),
                record.data());
    return kExitOk;
}

} // namespace

int readAppliance(CommandContext& context, qv::backup::Backup& into) {
    ApplianceSession& session = context.session();
    const qv::CGlobalData& store = session.store();
    using Event = qv::ReplyEvent;
    namespace request = qv::request;
    int status = readRecord(session, request::readSummary(), Event::SummaryArrived, into.summary);
    if (status == kExitOk)
        status = readRecord(session, request::readNetwork(), Event::NetworkArrived, into.network);
    const std::pair<qv::Frame, Event> tables[] = {
        {request::readCenterIds(), Event::CenterIdsArrived},
        {request::readWol(), Event::WolArrived},
        {request::readBlockIps(), Event::BlockIpsArrived},
        {request::readIoList(), Event::IoListArrived},
        {request::readSchedule(), Event::SchedulesArrived},
    };
    for (const auto& [frame, event] : tables)
        if (status == kExitOk)
            status = session.request(frame, event);
    qv::LinkEvent autoUpdate;
    if (status == kExitOk)
        status = session.request(request::readAutoUpdate(), Event::AutoUpdateArrived, &autoUpdate);
    if (status != kExitOk)
        return status;

    into.centerIdCount = store.centerIdCount;
    into.centerIds = store.centerIdTable;
    into.wolCount = store.wolCount;
    into.wol = store.wolTable;
    into.blockIpCount = store.blockIpCount;
    into.blockIps = store.blockIpTable;
    into.ioDeviceCount = store.ioDeviceCount;
    into.ioDevices = *store.ioListTable;
    into.scheduleCount = store.scheduleCount;
    into.schedule = *store.scheduleTable;
    into.autoUpdate = autoUpdate.value;
    return kExitOk;
}

} // namespace qvctl
