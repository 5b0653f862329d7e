#include "backup/NetworkRestore.h"

#include "backup/BackupViews.h"
#include "backup/RestorePreview.h"
#include "network/NetworkRules.h"

namespace qv::backup {
namespace {

// The fields Save & Reboot and the NTP request carry, as the backup file names them; under
// DHCP the appliance chooses its addresses, so the ones it has then are no change.
struct RestoredField {
    const char* name;
    bool address;
};
constexpr RestoredField kRestoredFields[] = {
    {"dhcp", false},    {"ipAddress", true}, {"netMask", true},
    {"gateway", true},  {"linkPort", false}, {"dataPort", false},
    {"webPort", false}, {"upnp", false},     {"ntpServer", false},
};

uint16_t orDefault(uint16_t port, uint16_t fallback) {
    return port == 0 ? fallback : port;
}

std::string textOf(const Json& value) {
    return value.is_string() ? value.get<std::string>() : value.dump();
}

} // namespace

NetworkRestore planNetworkRestore(const NetworkConfigRecord& now,
                                  const NetworkConfigRecord& restored, int codePage,
                                  std::string_view connectedHost) {
    NetworkRestore plan;
    // Sent as the network page's Save & Reboot sends what it shows: a port of 0 is its default.
    network::Settings settings = network::settingsFromRecord(restored);
    settings.linkPort = orDefault(settings.linkPort, network::kDefaultLinkPort);
    settings.dataPort = orDefault(settings.dataPort, network::kDefaultDataPort);
    settings.webPort = orDefault(settings.webPort, network::kDefaultWebPort);
    const bool dhcp = settings.dhcp;
    plan.record = network::saveRecord(settings);
    plan.ntpServer = restored.ntpServer();
    plan.ntpChanges = plan.ntpServer != now.ntpServer();

    // Compared as the appliance will hold them: the record sent plus the NTP server.
    NetworkConfigRecord after = plan.record;
    after.setNtpServer(plan.ntpServer);
    const Json before = recordFields(now, codePage);
    const Json target = recordFields(after, codePage);
    for (const RestoredField& field : kRestoredFields) {
        if (dhcp && field.address)
            continue;
        if (before[field.name] != target[field.name])
            plan.changes.push_back(
                {field.name, textOf(before[field.name]), textOf(target[field.name])});
    }
    if (plan.changes.empty())
        return plan;
    const std::string newAddress = textOf(target["ipAddress"]);
    if (dhcp)
        plan.cutOff = Message{StringId::NetworkCutOffDhcp, {std::string(connectedHost)}};
    else if (newAddress != connectedHost)
        plan.cutOff =
            Message{StringId::NetworkCutOffAddress, {newAddress, std::string(connectedHost)}};
    return plan;
}

std::vector<std::string> networkLines(const NetworkRestore& plan) {
    if (plan.changes.empty())
        return {messageText({StringId::PreviewUnchanged, {tableTitle(Table::Network)}})};
    std::vector<std::string> lines{
        messageText({StringId::PreviewSummary,
                     {tableTitle(Table::Network), "0", "0", std::to_string(plan.changes.size())}})};
    for (const FieldChange& change : plan.changes)
        lines.push_back("  " + change.field + ": " + change.before + " -> " + change.after);
    return lines;
}

} // namespace qv::backup
