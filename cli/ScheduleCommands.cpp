// IO schedule commands: iolist, schedule.

#include "CodePage.h"
#include "ExitCodes.h"
#include "Registry.h"
#include "Requests.h"
#include "TextForms.h"
#include "schedule/ScheduleRules.h"

#include <algorithm>
#include <cstring>

namespace qvctl {
namespace {

using qv::StringId;
using qv::schedule::functionText;
using qv::schedule::ioStatusText;
using qv::schedule::twoDigits;
using qv::schedule::weekdayText;

// The IO device list as the page shows it: sorted by ID, byte by byte, ascending.
std::vector<qv::IoListEntry> sortedDevices(const qv::CGlobalData& store) {
    std::vector<qv::IoListEntry> devices;
    for (int32_t i = 0; i < store.ioDeviceCount; ++i)
        devices.push_back(store.ioListTable->entry(static_cast<size_t>(i)));
    std::stable_sort(devices.begin(), devices.end(),
                     [](const qv::IoListEntry& a, const qv::IoListEntry& b) {
                         return a.id() < b.id(); // std::string compares bytes as unsigned
                     });
    return devices;
}

int runIoList(CommandContext& context) {
    if (!context.options().args.empty())
        return context.usageError("takes no arguments");
    if (const int status = context.logOn(); status != kExitOk)
        return status;
    if (const int status =
            context.session().request(qv::request::readIoList(), qv::ReplyEvent::IoListArrived);
        status != kExitOk)
        return status;
    Report report;
    report.listKey = "ioDevices";
    report.columnKeys = {"no", "id", "status"};
    report.columnLabels = {"No.", "ID", "Status"};
    report.emptyText = "No IO devices.";
    const auto devices = sortedDevices(context.session().store());
    for (size_t i = 0; i < devices.size(); ++i)
        report.rows.push_back({Value::of(static_cast<int64_t>(i + 1)),
                               Value::of(qv::ansiToUtf8(devices[i].id())),
                               Value::of(ioStatusText(devices[i].status()))});
    context.print(report);
    return kExitOk;
}

// One row of the schedule list; `language` chooses the texts of kind and weekday (JSON uses
// English so that scripts read the same words everywhere).
std::vector<Value> scheduleRow(const qv::ScheduleEntry& e, int number, qv::Language language,
                               bool forJson) {
    const bool exception = e.isException();
    const auto optionalNumber = [&](bool shown, int value, const std::string& text) {
        if (!shown)
            return Value::none();
        Value v = Value::of(int64_t{value});
        v.text = text;
        return v;
    };
    std::vector<Value> row{
        Value::of(qv::ansiToUtf8(e.id())),
        Value::of(int64_t{number}),
        Value::of(qv::schedule::kindText(exception, language)),
        Value::of(functionText(e.function())),
        optionalNumber(exception, e.day(), twoDigits(e.day())),
        exception ? Value::none() : Value::of(weekdayText(e.day(), language)),
        optionalNumber(exception, e.date(), twoDigits(e.date())),
        Value::of(twoDigits(e.hour())),
        Value::of(twoDigits(e.minute())),
        Value::of(int64_t{e.relay()}),
        Value::of(int64_t{e.seq()}),
    };
    if (forJson) {
        row[7] = Value::of(int64_t{e.hour()});
        row[8] = Value::of(int64_t{e.minute()});
        row.push_back(Value::of(int64_t{e.function()}));
    }
    return row;
}

int runSchedule(CommandContext& context) {
    const auto& args = context.options().args;
    if (args.size() > 1)
        return context.usageError("takes at most one argument, a device ID");
    const bool oneDevice = args.size() == 1;
    // Device IDs are kept in the appliance's code page.
    const std::string wanted = oneDevice ? qv::utf8ToAnsi(args[0]) : std::string();
    if (const int status = context.logOn(); status != kExitOk)
        return status;
    ApplianceSession& session = context.session();
    qv::LinkEvent summary;
    if (const int status =
            session.request(qv::request::readSummary(), qv::ReplyEvent::SummaryArrived, &summary);
        status != kExitOk)
        return status;
    if (const int status =
            session.request(qv::request::readSchedule(), qv::ReplyEvent::SchedulesArrived);
        status != kExitOk)
        return status;
    qv::NetworkConfigRecord record;
    std::copy_n(summary.payload.begin(), std::min(summary.payload.size(), record.size()),
                record.data());
    const qv::CGlobalData& store = session.store();

    // Devices in the order their first schedule appears; per device the normal schedules
    // first, then the exceptions, each in table order, numbered from 1 as the page numbers
    // them.
    std::vector<std::string> devices;
    if (oneDevice) {
        devices.push_back(wanted);
    } else {
        for (int32_t i = 0; i < store.scheduleCount; ++i) {
            const std::string id = store.scheduleTable->entry(static_cast<size_t>(i)).id();
            if (std::find(devices.begin(), devices.end(), id) == devices.end())
                devices.push_back(id);
        }
    }
    const bool json = context.options().json;
    const qv::Language language = json ? qv::Language::English : qv::systemLanguage();
    Report report;
    report.fields = {
        {"scheduleCount", "Current Schedule Count", Value::of(int64_t{store.scheduleCount})},
        {"maxSchedules", "Max Schedules",
         Value::of(int64_t{std::clamp(record.maxScheduleCount(), 10, 2040)})},
    };
    if (oneDevice)
        report.fields.push_back({"device", "Device", Value::of(args[0])});
    report.listKey = "schedules";
    report.columnKeys = {"id",   "no",   "type",   "function", "month", "weekday",
                         "date", "hour", "minute", "relay",    "seq"};
    for (const StringId id :
         {StringId::ScheduleType, StringId::ScheduleFunction, StringId::ScheduleMonth,
          StringId::ScheduleWeekday, StringId::ScheduleDate, StringId::ScheduleHour,
          StringId::ScheduleMinute, StringId::ScheduleRelay})
        report.columnLabels.emplace_back(qv::uiString(id));
    report.columnLabels.insert(report.columnLabels.begin(), {"ID", "No"});
    report.columnLabels.emplace_back("SEQ");
    if (json)
        report.columnKeys.emplace_back("functionCode");
    report.emptyText = oneDevice ? "No schedules for this device." : "No schedules.";
    for (const std::string& device : devices) {
        int number = 0;
        for (const bool exceptions : {false, true})
            for (int32_t i = 0; i < store.scheduleCount; ++i) {
                const qv::ScheduleEntry e = store.scheduleTable->entry(static_cast<size_t>(i));
                if (e.id() == device && e.isException() == exceptions)
                    report.rows.push_back(scheduleRow(e, ++number, language, json));
            }
    }
    context.print(report);
    return kExitOk;
}

} // namespace

QVCTL_COMMAND(runIoList, "iolist", "", "IO devices with their status, sorted by ID");
QVCTL_COMMAND(runSchedule, "schedule", "[DEVICE-ID]",
              "IO schedules, normal then exception, of every device or of one");

} // namespace qvctl
