// IO schedule commands: iolist, schedule, and schedule add | edit | del (export and import are in
// ScheduleSheetCommands.cpp). A change fetches the IO device list and the whole timetable,
// applies the same rule as the IO schedule window (same checks, same order, same messages), sends
// the whole timetable back and reports the answer.

#include "cli/CommandOptions.h"
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
const std::vector<std::string> kFunctions{"on", "off", "push-on", "push-off"};
const std::vector<std::string> kWeekdays{"sun", "mon", "tue", "wed", "thu", "fri", "sat"};

std::optional<int> indexIn(const std::vector<std::string>& names, const std::string& text) {
    const auto it = std::find(names.begin(), names.end(), text);
    return it == names.end() ? std::optional<int>()
                             : std::optional<int>(static_cast<int>(it - names.begin()));
}

// "A/B" as two numbers.
std::optional<std::pair<int, int>> pairOf(const std::string& text, char separator) {
    const size_t at = text.find(separator);
    if (at == std::string::npos)
        return std::nullopt;
    const auto first = wholeNumber(std::string_view(text).substr(0, at));
    const auto second = wholeNumber(std::string_view(text).substr(at + 1));
    if (!first || !second)
        return std::nullopt;
    return std::pair<int, int>{*first, *second};
}

// A check of an option's value; `fits` says whether it does, `words` what is wanted.
CLI::Validator valueCheck(bool (*fits)(const std::string&), const char* words) {
    return CLI::Validator(
        [fits, words](std::string& text) {
            return fits(text) ? std::string() : std::string(words);
        },
        std::string());
}

// What the command line gave the schedule command: its operands and its options' values.
struct ScheduleLine {
    std::vector<std::string> args;
    std::optional<std::string> function, relay, weekday, exception, time;
    bool yes = false;
};

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

bool parseChange(const ScheduleLine& line, ChangeRequest& request, std::string& error) {
    const std::vector<std::string>& args = line.args;
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
    if (request.action == "del" &&
        (line.function || line.relay || line.weekday || line.exception || line.time)) {
        error = "del takes only the device ID and the row number";
        return false;
    }
    if (args.size() > next) {
        error = "unexpected argument '" + args[next] + "'";
        return false;
    }
    // The values were checked as the line was read; here they become the editor's.
    if (line.function)
        request.function = indexIn(kFunctions, *line.function);
    if (line.relay)
        request.relay = *wholeNumber(*line.relay) - 1;
    if (line.weekday)
        request.weekday = indexIn(kWeekdays, *line.weekday);
    // The date is left to the rules, which word its refusals as the window does.
    if (line.exception)
        request.exception = {pairOf(*line.exception, '/')->first - 1,
                             pairOf(*line.exception, '/')->second};
    if (line.time)
        request.time = pairOf(*line.time, ':');
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
    context.err() << "qvctl " << context.options().command << ": " << qv::uiString(verdict.stringId)
                  << "\n";
    return kExitUsage;
}

int runScheduleChange(CommandContext& context, const ScheduleLine& line) {
    ChangeRequest request;
    std::string error;
    if (!parseChange(line, request, error))
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

int runSchedule(CommandContext& context, const ScheduleLine& line) {
    const auto& args = line.args;
    if (args.size() >= 2 && (args[0] == "add" || args[0] == "edit" || args[0] == "del")) {
        if (line.yes)
            return context.usageError("--yes belongs to import");
        return runScheduleChange(context, line);
    }
    const bool changeOptions =
        line.function || line.relay || line.weekday || line.exception || line.time;
    if (changeOptions)
        return context.usageError("--function, --relay, --weekday, --exception and --time belong "
                                  "to add and edit");
    if (args.size() >= 2 && args[0] == "export") {
        if (args.size() != 2 || line.yes)
            return context.usageError("export needs the file to write, FILE.xlsx");
        return runScheduleExport(context, args[1]);
    }
    if (args.size() >= 2 && args[0] == "import") {
        if (args.size() != 2)
            return context.usageError("import needs the file to read, FILE, and optionally --yes");
        return runScheduleImport(context, args[1], line.yes);
    }
    if (line.yes)
        return context.usageError("--yes belongs to import");
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

CommandRun defineSchedule(CLI::App& command) {
    auto line = std::make_shared<ScheduleLine>();
    addOperands(command, line->args, "ARGUMENTS");
    const auto text = [&](const char* name, std::optional<std::string> ScheduleLine::*field,
                          const char* help, const char* kind, CLI::Validator check) {
        command
            .add_option_function<std::string>(
                name, [line, field](const std::string& value) { (*line).*field = value; }, help)
            ->type_name(kind)
            ->check(std::move(check));
    };
    text("--function", &ScheduleLine::function, "add, edit: what the relay does", "FUNCTION",
         valueCheck([](const std::string& v) { return indexIn(kFunctions, v).has_value(); },
                    "takes on, off, push-on or push-off"));
    text("--relay", &ScheduleLine::relay, "add, edit: the relay, 1 to 4", "N",
         wholeNumberOption(1, sched::kRelayCount, "takes a relay number from 1 to 4"));
    text("--weekday", &ScheduleLine::weekday, "add, edit: a day of every week", "DAY",
         valueCheck([](const std::string& v) { return indexIn(kWeekdays, v).has_value(); },
                    "takes sun, mon, tue, wed, thu, fri or sat"));
    text("--exception", &ScheduleLine::exception, "add, edit: one date of the year instead",
         "MONTH/DATE",
         valueCheck(
             [](const std::string& v) {
                 const auto pair = pairOf(v, '/');
                 return pair && pair->first >= 1 && pair->first <= 12;
             },
             "takes MONTH/DATE with a month from 1 to 12"));
    text("--time", &ScheduleLine::time, "add, edit: the hour and minute", "HH:MM",
         valueCheck(
             [](const std::string& v) {
                 const auto pair = pairOf(v, ':');
                 return pair && pair->first >= 0 && pair->first <= 23;
             },
             "takes HH:MM with an hour from 0 to 23"));
    command.add_flag("--yes", line->yes, "import: do not ask before the timetable is replaced");
    return [line](CommandContext& context) { return runSchedule(context, *line); };
}

} // namespace

QVCTL_PLAIN_COMMAND(runIoList, "iolist", "", "IO devices with their status, sorted by ID");
QVCTL_COMMAND(defineSchedule, "schedule", std::string("[DEVICE-ID] | ") + kChangeUsage,
              "IO schedules, normal then exception, of every device or of one; add, change "
              "(NO as listed) or delete one and send the timetable; export it to, or replace it "
              "from, a spreadsheet file (export and import are absent from the Windows build)");

} // namespace qvctl
