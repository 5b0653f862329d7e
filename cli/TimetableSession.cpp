#include "cli/TimetableSession.h"

#include "cli/ExitCodes.h"
#include "core/schedule/ScheduleRules.h"
#include "link/Requests.h"
#include "res/StringTable.h"

#include <algorithm>
#include <iostream>

namespace qvctl {

using qv::StringId;

int32_t limitOf(const qv::LinkEvent& summary) {
    qv::NetworkConfigRecord record;
    std::copy_n(summary.payload.begin(), std::min(summary.payload.size(), record.size()),
                record.data());
    return qv::schedule::scheduleLimit(record.maxScheduleCount());
}

int fetchTimetable(CommandContext& context, qv::LinkEvent* summary, bool withDevices) {
    if (const int status = context.logOn(); status != kExitOk)
        return status;
    ApplianceSession& session = context.session();
    qv::LinkEvent ignored;
    if (const int status =
            session.request(qv::request::readSummary(), qv::ReplyEvent::SummaryArrived,
                            summary ? summary : &ignored);
        status != kExitOk)
        return status;
    if (withDevices)
        if (const int status =
                session.request(qv::request::readIoList(), qv::ReplyEvent::IoListArrived);
            status != kExitOk)
            return status;
    return session.request(qv::request::readSchedule(), qv::ReplyEvent::SchedulesArrived);
}

int sendTimetable(CommandContext& context) {
    const qv::CGlobalData& store = context.session().store();
    if (const int status =
            context.session().writeTable(ApplianceSession::Table::Schedules, "the schedules",
                                         "the appliance refused the schedules");
        status != kExitOk)
        return status;
    Report report;
    report.fields = {
        {"message", "Result", Value::of(std::string(qv::uiString(StringId::ScheduleUploaded)))},
        {"scheduleCount", "Current Schedule Count", Value::of(int64_t{store.scheduleCount})},
    };
    if (context.options().json)
        context.print(report);
    else
        context.out() << qv::uiString(StringId::ScheduleUploaded) << "\n";
    return kExitOk;
}

} // namespace qvctl
