// IO schedule commands: iolist, schedule, and schedule add | edit | del (export and import are in
// ScheduleSheetCommands.cpp). A change fetches the IO device list and the whole timetable,
// applies the same rule as the IO schedule window (same checks, same order, same messages), sends
// the whole timetable back and reports the answer.

#include "cli/ExitCodes.h"
#include "cli/Registry.h"
#include "cli/ScheduleSheetCommands.h"
#include "cli/TextForms.h"
#include "cli/TimetableSession.h"
#include "core/schedule/ScheduleRules.h"
#include "link/CodePage.h"
#include "link/Requests.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iostream>
#include <optional>

namespace qvctl {
namespace {

using qv::StringId;
using qv::schedule::functionText;
using qv::schedule::ioStatusText;
using qv::schedule::twoDigits;
using qv::schedule::weekdayText;
namespace sched = qv::schedule;

constexpr const char* kChangeUsage =
    "add DEVICE-ID --function on|off|push-on|push-off --relay 1-4 (--weekday sun|mon|tue|wed|"
    "thu|fri|sat | --exception MONTH/DATE) --time HH:MM | edit DEVICE-ID NO [the same options] | "
    "del DEVICE-ID NO | export FILE.xlsx | import FILE [--yes]";

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

// A decimal number that is the whole of `text`.
std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// What a change asked for: the action, the device, the row number, and the editor's values of
// the options that were given.
struct ChangeRequest {
    std::string action;
    std::string device;
    int number = 0;
    std::optional<int> function;
    std::optional<int> relay;
    std::optional<int> weekday;
    std::optional<std::pair<int, int>> exception; // month index, date
    std::optional<std::pair<int, int>> time;      // hour index, minute
};

bool parseChange(const std::vector<std::string>& args, ChangeRequest& request, std::string& error) {
    request.action = args[0];
    request.device = args[1];
    size_t next = 2;
    if (request.action != "add") {
        const std::optional<int> number =
            args.size() > 2 ? wholeNumber(args[2]) : std::optional<int>();
        if (!number) {
            error = request.action + " needs the device ID and the row number NO";
            return false;
        }
        request.number = *number;
        next = 3;
    }
    if (request.action == "del" && args.size() > next) {
        error = "del takes only the device ID and the row number";
        return false;
    }
    static const std::vector<std::string> functions{"on", "off", "push-on", "push-off"};
    static const std::vector<std::string> weekdays{"sun", "mon", "tue", "wed", "thu", "fri", "sat"};
    const auto indexIn = [](const std::vector<std::string>& names, const std::string& text) {
        const auto it = std::find(names.begin(), names.end(), text);
        return it == names.end() ? std::optional<int>()
                                 : std::optional<int>(static_cast<int>(it - names.begin()));
    };
    // "A/B" as two numbers.
    const auto pairOf = [](const std::string& text, char separator) {
        const size_t at = text.find(separator);
        if (at == std::string::npos)
            return std::optional<std::pair<int, int>>();
        const auto first = wholeNumber(std::string_view(text).substr(0, at));
        const auto second = wholeNumber(std::string_view(text).substr(at + 1));
        if (!first || !second)
            return std::optional<std::pair<int, int>>();
        return std::optional<std::pair<int, int>>({*first, *second});
    };
    for (size_t i = next; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) {
            error = "option " + option + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (option == "--function" && indexIn(functions, value)) {
            request.function = indexIn(functions, value);
        } else if (option == "--relay" && wholeNumber(value) && *wholeNumber(value) >= 1 &&
                   *wholeNumber(value) <= sched::kRelayCount) {
            request.relay = *wholeNumber(value) - 1;
        } else if (option == "--weekday" && indexIn(weekdays, value)) {
            request.weekday = indexIn(weekdays, value);
        } else if (option == "--exception" && pairOf(value, '/') &&
                   pairOf(value, '/')->first >= 1 && pairOf(value, '/')->first <= 12) {
            // The date is left to the rules, which word its refusals as the window does.
            request.exception = {pairOf(value, '/')->first - 1, pairOf(value, '/')->second};
        } else if (option == "--time" && pairOf(value, ':') && pairOf(value, ':')->first >= 0 &&
                   pairOf(value, ':')->first <= 23) {
            request.time = pairOf(value, ':');
        } else {
            error = "bad option or value: " + option + " " + value;
            return false;
        }
    }
    if (request.weekday && request.exception) {
        error = "--weekday and --exception exclude each other";
        return false;
    }
    return true;
}

// The editor as the options fill it, over `in` (empty for add, the row's values for edit).
sched::EditorInput editorOf(const ChangeRequest& request, sched::EditorInput in) {
    if (request.function)
        in.function = request.function;
    if (request.relay)
        in.relay = request.relay;
    if (request.weekday) {
        in.exception = false;
        in.weekday = request.weekday;
    }
    if (request.exception) {
        in.exception = true;
        in.month = request.exception->first;
        in.date = request.exception->second;
    }
    if (request.time) {
        in.hour = request.time->first;
        in.minute = request.time->second;
    }
    return in;
}

int refuse(CommandContext& context, const qv::Verdict& verdict) {
    std::cerr << "qvctl " << context.options().command << ": " << qv::uiString(verdict.message.id)
              << "\n";
    return kExitUsage;
}

int runScheduleChange(CommandContext& context) {
    ChangeRequest request;
    std::string error;
    if (!parseChange(context.options().args, request, error))
        return context.usageError(error);
    qv::LinkEvent summary;
    if (const int status = fetchTimetable(context, &summary, true); status != kExitOk)
        return status;
    qv::CGlobalData& store = context.session().store();
    const std::string device = qv::utf8ToAnsi(request.device);
    bool deviceFound = false;
    for (int32_t i = 0; i < sched::usedDevices(store.ioDeviceCount); ++i)
        deviceFound =
            deviceFound || store.ioListTable->entry(static_cast<size_t>(i)).id() == device;
    std::vector<sched::Values> shown;
    for (const int slot : sched::deviceSlots(*store.scheduleTable, store.scheduleCount, device))
        shown.push_back(sched::shownValues(store.scheduleTable->entry(static_cast<size_t>(slot))));
    const int row = request.number - 1;
    const bool rowExists = row >= 0 && row < static_cast<int>(shown.size());

    sched::Values candidate;
    if (request.action == "add") {
        const qv::Verdict verdict =
            sched::validateAdd(deviceFound, device, editorOf(request, {}), shown,
                               store.scheduleCount, limitOf(summary), candidate);
        if (!verdict.ok())
            return refuse(context, verdict);
        sched::addSchedule(*store.scheduleTable, store.scheduleCount, candidate);
    } else if (request.action == "edit") {
        const sched::EditorInput start = rowExists
                                             ? sched::editorFromRow(shown[static_cast<size_t>(row)])
                                             : sched::EditorInput{};
        const qv::Verdict verdict = sched::validateEdit(deviceFound, rowExists ? row : -1,
                                                        editorOf(request, start), shown, candidate);
        if (!verdict.ok())
            return refuse(context, verdict);
        sched::editSchedule(*store.scheduleTable, store.scheduleCount,
                            shown[static_cast<size_t>(row)], candidate);
    } else {
        if (!deviceFound)
            return refuse(context, qv::Verdict::refused(StringId::ScheduleSelectIo));
        if (!rowExists)
            return refuse(context, qv::Verdict::refused(StringId::ScheduleSelectToDelete));
        sched::deleteSchedules(*store.scheduleTable, store.scheduleCount,
                               shown[static_cast<size_t>(row)]);
    }
    return sendTimetable(context);
}

int runSchedule(CommandContext& context) {
    const auto& args = context.options().args;
    if (args.size() >= 2 && (args[0] == "add" || args[0] == "edit" || args[0] == "del"))
        return runScheduleChange(context);
    if (args.size() >= 2 && args[0] == "export")
        return runScheduleExport(context);
    if (args.size() >= 2 && args[0] == "import")
        return runScheduleImport(context);
    if (args.size() > 1)
        return context.usageError("takes at most one argument, a device ID");
    const bool oneDevice = args.size() == 1;
    // Device IDs are kept in the appliance's code page.
    const std::string wanted = oneDevice ? qv::utf8ToAnsi(args[0]) : std::string();
    qv::LinkEvent summary;
    if (const int status = fetchTimetable(context, &summary, false); status != kExitOk)
        return status;
    const qv::CGlobalData& store = context.session().store();

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
        {"maxSchedules", "Max Schedules", Value::of(int64_t{limitOf(summary)})},
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
QVCTL_COMMAND(runSchedule, "schedule", std::string("[DEVICE-ID] | ") + kChangeUsage,
              "IO schedules, normal then exception, of every device or of one; add, change "
              "(NO as listed) or delete one and send the timetable; export it to, or replace it "
              "from, a spreadsheet file (export and import are absent from the Windows build)");

} // namespace qvctl
