// The network page's changes: network set (Save & Reboot), ddns check | register,
// mac register, ntp set. Each reads the appliance's configuration first, applies the page's
// rules (same checks, same order, same messages) and prints the appliance's answer.

#include "cli/NetworkCommands.h"

#include "cli/CommandOptions.h"
#include "cli/ExitCodes.h"
#include "core/network/InfoRules.h"
#include "core/network/NetworkRules.h"
#include "link/CMySocket.h"
#include "link/CodePage.h"
#include "link/Commands.h"
#include "link/Requests.h"
#include "res/Message.h"
#include "res/StringTable.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>

namespace qvctl {
namespace {

namespace net = qv::network;
using qv::StringId;

constexpr const char* kNetworkUsage =
    "[set [--dhcp|--static] [--address A] [--netmask M] [--gateway G] [--link-port N] "
    "[--data-port N] [--web-port N] [--upnp|--no-upnp] [--yes]]";

int refuse(CommandContext& context, const std::string& text) {
    context.err() << "qvctl " << context.options().command << ": " << text << "\n";
    return kExitUsage;
}

int refuse(CommandContext& context, const net::Refusal& refusal) {
    return refuse(context, net::refusalText(refusal));
}

// Logs on and reads the configuration record (reply 8).
int readConfiguration(CommandContext& context, qv::NetworkConfigRecord& record) {
    if (const int status = context.logOn(); status != kExitOk)
        return status;
    qv::LinkEvent answer;
    if (const int status = context.session().request(qv::request::readNetwork(),
                                                     qv::ReplyEvent::NetworkArrived, &answer);
        status != kExitOk)
        return status;
    std::copy_n(answer.payload.begin(), std::min(answer.payload.size(), record.size()),
                record.data());
    return kExitOk;
}

// Sends a DDNS or registration request and prints the message of its answer: on standard output
// with status 0 for success, on standard error with status 6 otherwise.
int answerOf(CommandContext& context, const qv::Frame& frame, qv::ReplyEvent event,
             StringId (*message)(int32_t)) {
    qv::LinkEvent answer;
    if (const int status = context.session().request(frame, event, &answer); status != kExitOk)
        return status;
    const std::string_view text = qv::uiString(message(answer.value));
    if (answer.value != qv::result::kSuccess) {
        context.err() << "qvctl " << context.options().command << ": " << text << " ("
                      << answer.value << ")\n";
        return kExitChangeRefused;
    }
    context.out() << text << "\n";
    return kExitOk;
}

// What `network set` was asked to change; everything else keeps the appliance's value.
struct NetworkRequest {
    std::optional<bool> dhcp;
    std::optional<net::Ipv4> address, netMask, gateway;
    std::optional<std::string> linkPort, dataPort, webPort;
    std::optional<bool> upnp;
    bool yes = false;

    bool any() const {
        return dhcp || address || netMask || gateway || linkPort || dataPort || webPort || upnp ||
               yes;
    }
};

// The options of network set, typed and named as the page's fields.
void addNetworkOptions(CLI::App& command, const std::shared_ptr<NetworkRequest>& request) {
    command.add_flag_function(
        "--dhcp,!--static", [request](int64_t n) { request->dhcp = n > 0; },
        "network set: take the address by DHCP, or keep one of its own (--static)");
    command.add_flag_function(
        "--upnp,!--no-upnp", [request](int64_t n) { request->upnp = n > 0; },
        "network set: switch UPNP on or off");
    command.add_flag("--yes", request->yes, "network set: do not ask before the reboot");
    const std::pair<const char*, std::optional<net::Ipv4> NetworkRequest::*> addresses[] = {
        {"--address", &NetworkRequest::address},
        {"--netmask", &NetworkRequest::netMask},
        {"--gateway", &NetworkRequest::gateway}};
    for (const auto& [name, field] : addresses) {
        const std::string option = name;
        command
            .add_option_function<std::string>(
                option,
                [request, field = field](const std::string& text) {
                    (*request).*field = net::parseDotted(text);
                },
                "network set: a dotted address")
            ->type_name("A")
            ->check(CLI::Validator(
                [](std::string& text) {
                    return net::parseDotted(text) ? std::string()
                                                  : std::string("needs a dotted address such as "
                                                                "192.168.0.10");
                },
                std::string()));
    }
    // The ports are judged by the page's rule, with its messages, once every value is known.
    const std::pair<const char*, std::optional<std::string> NetworkRequest::*> ports[] = {
        {"--link-port", &NetworkRequest::linkPort},
        {"--data-port", &NetworkRequest::dataPort},
        {"--web-port", &NetworkRequest::webPort}};
    for (const auto& [name, field] : ports)
        command
            .add_option_function<std::string>(
                name,
                [request, field = field](const std::string& text) { (*request).*field = text; },
                "network set: a port number")
            ->type_name("N");
}

// Asks on the terminal (or reads the answer from standard input); only "y" or "yes" go on.
bool confirmed() {
    std::cerr << qv::uiString(StringId::NetworkConfirmPrompt) << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    std::transform(answer.begin(), answer.end(), answer.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return answer == "y" || answer == "yes";
}

std::string withMarker(StringId id, const std::string& value) {
    return qv::format(qv::uiString(id), {value});
}

struct DdnsRequest {
    std::vector<std::string> args;
    std::optional<std::string> id, email, company;
};

int runDdns(CommandContext& context, const DdnsRequest& request) {
    const std::vector<std::string>& args = request.args;
    const bool check = !args.empty() && args[0] == "check";
    if (check && args.size() != 2)
        return context.usageError("check needs the DDNS ID and nothing else");
    net::DdnsInput input;
    const std::optional<std::string>&id = request.id, &email = request.email,
          &company = request.company;
    if (check && (id || email || company))
        return context.usageError("--id, --email and --company belong to register");
    if (!check && (args.size() != 1 || args[0] != "register"))
        return context.usageError("needs an action: check ID, or register");
    qv::NetworkConfigRecord record;
    if (const int status = readConfiguration(context, record); status != kExitOk)
        return status;
    // The MAC text as the page shows it; the other fields as typed, or as the appliance has them.
    input.macText = qv::info::macText(record.mac());
    input.ddnsId = check ? args[1] : id.value_or(qv::ansiToUtf8(record.ddnsId()));
    input.email = email.value_or(qv::ansiToUtf8(record.email()));
    input.company = company.value_or(qv::info::companyText(record.companyUtf8()));
    net::DdnsWire wire;
    const int codePage = qv::systemCodePage();
    if (check) {
        if (const auto refusal = net::checkDdnsCheck(input, codePage, wire))
            return refuse(context, *refusal);
        return answerOf(context, qv::request::checkDdns(wire.ddnsId, wire.macText),
                        qv::ReplyEvent::DdnsIdChecked, net::ddnsCheckAnswer);
    }
    if (const auto refusal = net::checkDdnsRegistration(input, codePage, wire))
        return refuse(context, *refusal);
    return answerOf(context, qv::request::registerDdns(net::ddnsRegistrationRecord(wire)),
                    qv::ReplyEvent::DdnsRegistrationAnswered, net::ddnsRegistrationAnswer);
}

CommandRun defineDdns(CLI::App& command) {
    auto request = std::make_shared<DdnsRequest>();
    addOperands(command, request->args, "ARGUMENTS");
    const std::pair<const char*, std::optional<std::string> DdnsRequest::*> texts[] = {
        {"--id", &DdnsRequest::id},
        {"--email", &DdnsRequest::email},
        {"--company", &DdnsRequest::company}};
    for (const auto& [name, field] : texts)
        command
            .add_option_function<std::string>(
                name,
                [request, field = field](const std::string& text) { (*request).*field = text; },
                "register: instead of the appliance's value")
            ->type_name("TEXT");
    return [request](CommandContext& context) { return runDdns(context, *request); };
}

int runMac(CommandContext& context, const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0] != "register")
        return context.usageError("takes one action: register");
    qv::NetworkConfigRecord record;
    if (const int status = readConfiguration(context, record); status != kExitOk)
        return status;
    net::DdnsInput input;
    input.macText = qv::info::macText(record.mac());
    net::DdnsWire wire;
    if (const auto refusal = net::checkMacRegistration(input, qv::systemCodePage(), wire))
        return refuse(context, *refusal);
    return answerOf(context, qv::request::registerMac(wire.macText),
                    qv::ReplyEvent::MacRegistrationAnswered, net::macRegistrationAnswer);
}

int runNtp(CommandContext& context, const std::vector<std::string>& args) {
    if (args.size() != 2 || args[0] != "set")
        return context.usageError("takes one action: set ADDRESS");
    std::string wire;
    if (const auto refusal = net::checkNtpServer(args[1], qv::systemCodePage(), wire))
        return refuse(context, *refusal);
    if (const int status = context.logOn(); status != kExitOk)
        return status;
    // The appliance's answer to the NTP server means done, whatever its value.
    qv::LinkEvent answer;
    if (const int status = context.session().request(qv::request::setNtpServer(wire),
                                                     qv::ReplyEvent::NtpServerSet, &answer);
        status != kExitOk)
        return status;
    context.out() << qv::uiString(StringId::NtpServerSet) << "\n";
    return kExitOk;
}

int runNetworkSet(CommandContext& context, const NetworkRequest& request) {
    qv::NetworkConfigRecord record;
    if (const int status = readConfiguration(context, record); status != kExitOk)
        return status;

    // The page's controls after load, with the options typed over them.
    const net::Settings before = net::settingsFromRecord(record);
    net::SettingsInput input;
    input.dhcp = request.dhcp.value_or(before.dhcp);
    // Under DHCP the appliance takes no address of ours: an address option would be dropped
    // without a word, so it is refused instead, whatever else was asked.
    const std::pair<const std::optional<net::Ipv4>&, const char*> typed[] = {
        {request.address, "--address"},
        {request.netMask, "--netmask"},
        {request.gateway, "--gateway"}};
    for (const auto& [option, name] : typed)
        if (input.dhcp && option)
            return refuse(context, withMarker(StringId::NetworkOptionNoEffect, name));
    // Leaving DHCP, the appliance's 0.0.0.0 placeholders are no addresses to keep.
    if (before.dhcp && !input.dhcp && !(request.address && request.netMask && request.gateway))
        return context.usageError(std::string(qv::uiString(StringId::NetworkStaticNeedsAddresses)));
    input.address = request.address.value_or(before.address);
    input.netMask = request.netMask.value_or(before.netMask);
    input.gateway = request.gateway.value_or(before.gateway);
    input.linkPort = request.linkPort.value_or(std::to_string(before.linkPort));
    input.dataPort = request.dataPort.value_or(std::to_string(before.dataPort));
    input.webPort = request.webPort.value_or(std::to_string(before.webPort));
    input.upnp = request.upnp.value_or(before.upnp);
    const net::SettingsVerdict verdict = net::checkSettings(input);
    if (!verdict.ok())
        return refuse(context, *verdict.refusal);

    qv::CMySocket& link = *context.session().store().link;
    const std::optional<net::LinkView> view = net::linkViewOf(link.endpoints());
    const net::ChangePreview preview =
        net::previewChange(before, verdict.settings, record.ipAddress(), view);
    for (const std::string& line : net::previewLines(preview, verdict.settings, view))
        context.out() << line << "\n";
    context.out() << std::flush;
    if (preview.unchanged())
        return kExitOk;
    if (!request.yes && !confirmed()) {
        context.err() << qv::uiString(StringId::NetworkNotSent) << "\n";
        return kExitDeclined;
    }
    const std::string host =
        preview.nextAddress ? net::dottedText(*preview.nextAddress) : link.host();
    const std::string next = host + ":" + std::to_string(link.port());
    if (const int status = context.session().sendLast(
            qv::request::saveNetworkAndReboot(net::saveRecord(verdict.settings)));
        status != kExitOk)
        return status;
    context.out() << withMarker(StringId::NetworkSaved, next) << "\n";
    return kExitOk;
}

// network alone reads the settings; network set changes them.
CommandRun defineNetwork(CLI::App& command) {
    auto request = std::make_shared<NetworkRequest>();
    auto operands = std::make_shared<std::vector<std::string>>();
    addOperands(command, *operands, "ARGUMENTS");
    addNetworkOptions(command, request);
    return [request, operands](CommandContext& context) {
        if (operands->size() == 1 && operands->front() == "set")
            return runNetworkSet(context, *request);
        if (!operands->empty())
            return context.usageError("takes set and its options, or nothing to read the "
                                      "settings");
        if (request->any())
            return context.usageError("the options belong to network set");
        return runNetworkRead(context);
    };
}

} // namespace

QVCTL_COMMAND(defineNetwork, "network", kNetworkUsage,
              "network and DDNS settings: addresses, DHCP, ports, UPNP, DDNS ID, NTP server; "
              "set changes the network settings and reboots the appliance");
QVCTL_COMMAND(defineDdns, "ddns", "check ID | register [--id ID] [--email E] [--company C]",
              "asks whether a DDNS ID is free, or registers the DDNS entry (options not given "
              "keep the appliance's values)");
QVCTL_OPERANDS_COMMAND(runMac, "mac", "register", "registers the product by its MAC address");
QVCTL_OPERANDS_COMMAND(runNtp, "ntp", "set ADDRESS", "sets the appliance's NTP server");

} // namespace qvctl
