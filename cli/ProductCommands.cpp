// Product and device commands: summary, network, time, autoupdate.

#include "cli/CommandOptions.h"
#include "cli/ExitCodes.h"
#include "cli/NetworkCommands.h"
#include "cli/Registry.h"
#include "cli/TextForms.h"
#include "core/network/InfoRules.h"
#include "link/CodePage.h"
#include "link/Commands.h"
#include "link/Requests.h"
#include "res/Message.h"
#include "res/StringTable.h"

#include <algorithm>

namespace qvctl {
namespace {

// The appliance's configuration record, from reply 2 or 8.
int readRecord(CommandContext& context, const qv::Frame& request, qv::ReplyEvent event,
               qv::NetworkConfigRecord& record) {
    qv::LinkEvent answer;
    if (const int status = context.session().request(request, event, &answer); status != kExitOk)
        return status;
    std::copy_n(answer.payload.begin(), std::min(answer.payload.size(), record.size()),
                record.data());
    return kExitOk;
}

int noArguments(CommandContext& context) {
    return context.logOn();
}

int runSummary(CommandContext& context) {
    if (const int status = noArguments(context); status != kExitOk)
        return status;
    qv::NetworkConfigRecord r;
    if (const int status =
            readRecord(context, qv::request::readSummary(), qv::ReplyEvent::SummaryArrived, r);
        status != kExitOk)
        return status;
    // The limits as the window keeps them, and every text as the summary page shows it.
    const qv::info::Limits limits = qv::info::limitsFromRecord(r, context.session().maxCenterIds());
    const qv::info::SummaryTexts texts = qv::info::summaryTexts(r, limits, qv::systemCodePage());
    const bool scheduler = limits.ioScheduleEnabled == 1;
    Report report;
    report.fields = {
        {"firmwareVersion", "Firmware Version", Value::of(int64_t{r.firmwareNumber()})},
        {"deviceName", "Device Name", Value::of(texts.deviceName)},
        {"softwareVersion", "S/W Version", Value::of(texts.softwareVersion)},
        {"macAddress", "Mac Address", Value::of(texts.macAddress)},
        {"company", "Company", Value::of(texts.company)},
        {"ddns", "DDNS", Value::of(texts.ddnsHost)},
        {"email", "e-Mail", Value::of(texts.email)},
        {"maxCenterIds", "Max Center ID", Value::of(int64_t{limits.maxCenterIds})},
        {"maxSchedules", "Max Schedule",
         limits.ioScheduleEnabled != 0 ? Value::of(int64_t{limits.maxSchedules}) : Value::none()},
        {"maxStandby", "Max Standby", Value::of(int64_t{limits.maxStandby})},
        {"ioSchedule", "IO Schedule", Value::flagOf(scheduler, scheduler ? "enabled" : "disabled")},
    };
    context.print(report);
    return kExitOk;
}

} // namespace

int runNetworkRead(CommandContext& context) {
    if (const int status = noArguments(context); status != kExitOk)
        return status;
    qv::NetworkConfigRecord r;
    if (const int status =
            readRecord(context, qv::request::readNetwork(), qv::ReplyEvent::NetworkArrived, r);
        status != kExitOk)
        return status;
    // With DHCP the page shows no addresses of its own: the appliance is given one.
    const bool dhcp = r.dhcp() == 1;
    const auto address = [&](const std::array<uint8_t, 4>& value) {
        return Value::of(dhcp ? std::string("0.0.0.0") : ipText(value));
    };
    Report report;
    report.fields = {
        {"ipAddress", "IP Address", address(r.ipAddress())},
        {"netMask", "Net Mask", address(r.netMask())},
        {"gateway", "Gateway", address(r.gateway())},
        {"dhcp", "DHCP", Value::flagOf(dhcp, dhcp ? "on" : "off")},
        {"linkPort", "Quorvel Link Port", Value::of(int64_t{r.linkPort()})},
        {"dataPort", "Quorvel Data Port", Value::of(int64_t{r.dataPort()})},
        {"configPort", "Quorvel Config Port", Value::of(int64_t{qv::kDefaultPort})},
        {"webPort", "Web Server Port", Value::of(int64_t{r.webPort()})},
        {"upnp", "UPNP", Value::flagOf(r.upnp(), r.upnp() ? "on" : "off")},
        {"macAddress", "Mac Addr", Value::of(qv::info::macText(r.mac()))},
        {"ddnsId", "DDNS", Value::of(qv::ansiToUtf8(r.ddnsId()))},
        {"email", "e-mail", Value::of(qv::ansiToUtf8(r.email()))},
        {"company", "Company", Value::of(r.companyUtf8())},
        {"ntpServer", "NTP Server", Value::of(qv::ansiToUtf8(r.ntpServer()))},
    };
    context.print(report);
    return kExitOk;
}

namespace {

int runTime(CommandContext& context) {
    if (const int status = noArguments(context); status != kExitOk)
        return status;
    qv::LinkEvent answer;
    if (const int status = context.session().request(qv::request::readTime(),
                                                     qv::ReplyEvent::ServerTimeArrived, &answer);
        status != kExitOk)
        return status;
    Report report;
    report.fields = {
        {"serverTime", "Server Time", Value::of(localTimeText(answer.value))},
        {"seconds", "Seconds since 1970 UTC", Value::of(int64_t{answer.value})},
    };
    context.print(report);
    return kExitOk;
}

// autoupdate on|off: what the update page's check box " Do not use autoupdate" sends, cleared
// for on and ticked for off.
int setAutoUpdate(CommandContext& context, bool on) {
    if (const int status = context.logOn(); status != kExitOk)
        return status;
    if (const int status =
            context.session().change(qv::request::writeAutoUpdate(!on),
                                     qv::ReplyEvent::AutoUpdateApplied, "the automatic update");
        status != kExitOk)
        return status;
    context.out() << qv::format(qv::uiString(qv::StringId::CliAutoUpdateSet), {on ? "on" : "off"})
                  << "\n";
    return kExitOk;
}

int runAutoUpdate(CommandContext& context, const std::vector<std::string>& args) {
    if (args.size() == 1 && (args[0] == "on" || args[0] == "off"))
        return setAutoUpdate(context, args[0] == "on");
    if (!args.empty())
        return context.usageError("takes on or off, or nothing to read the setting");
    if (const int status = context.logOn(); status != kExitOk)
        return status;
    qv::LinkEvent answer;
    if (const int status = context.session().request(qv::request::readAutoUpdate(),
                                                     qv::ReplyEvent::AutoUpdateArrived, &answer);
        status != kExitOk)
        return status;
    const bool on = answer.value != qv::result::kAutoUpdateOff;
    Report report;
    report.fields = {
        {"automaticUpdate", "Automatic Update", Value::flagOf(on, on ? "on" : "off")},
        {"value", "Appliance Value", Value::of(int64_t{answer.value})},
    };
    context.print(report);
    return kExitOk;
}

} // namespace

QVCTL_PLAIN_COMMAND(runSummary, "summary", "",
                    "product summary: versions, MAC address, DDNS host, company, limits");
QVCTL_PLAIN_COMMAND(runTime, "time", "", "the appliance's clock, in local time");
QVCTL_OPERANDS_COMMAND(runAutoUpdate, "autoupdate", "[on|off]",
                       "whether the automatic update is switched on; on or off switches it");

} // namespace qvctl
