#include "core/backup/RestoreChoices.h"

#include "core/backup/RestorePreview.h"

namespace qv::backup {
namespace {

// The addresses a backup restores pass the network page's own checks: a file that would leave
// the appliance at 0.0.0.0 or a multicast address is no way to lose it either.
std::optional<Message> checkNetwork(const NetworkRestore& network) {
    const network::Settings& after = network.after;
    network::SettingsInput input;
    input.address = after.address;
    input.netMask = after.netMask;
    input.gateway = after.gateway;
    input.dhcp = after.dhcp;
    input.upnp = after.upnp;
    input.linkPort = std::to_string(after.linkPort);
    input.dataPort = std::to_string(after.dataPort);
    input.webPort = std::to_string(after.webPort);
    const network::SettingsVerdict verdict = network::checkSettings(input);
    if (verdict.ok())
        return std::nullopt;
    return Message{StringId::RestoreNetworkUnreachable, {network::refusalText(*verdict.refusal)}};
}

void addRefusal(TableChoice& choice) {
    choice.json["refusal"] = choice.refusal ? Json(qv::format(*choice.refusal)) : Json();
}

} // namespace

std::vector<TableChoice> restoreChoices(const Backup& now, const Backup& restored,
                                        const TargetLimits& limits, const NetworkRestore& network) {
    std::vector<TableChoice> choices;
    for (const Table table : kAllTables) {
        TableChoice choice{table, {}, false, std::nullopt, {}};
        if (table == Table::Network) {
            choice.lines = networkLines(network);
            choice.differs = !network.unchanged();
            if (choice.differs) {
                choice.lines.push_back(qv::format({StringId::NetworkNotRestored, {}}));
                if (network.reboots())
                    choice.refusal = checkNetwork(network);
            }
            choice.json = Json{{"table", std::string(tableName(table))},
                               {"title", tableTitle(table)},
                               {"differs", choice.differs},
                               {"lines", choice.lines}};
            addRefusal(choice);
            choices.push_back(std::move(choice));
            continue;
        }
        const TablePreview preview = previewTable(table, now, restored);
        choice.lines = previewLines(preview);
        choice.json = previewJson(preview);
        choice.differs = preview.differs;
        if (const auto missing = devicesNotListed(now, restored);
            table == Table::Schedule && preview.differs && !missing.empty()) {
            std::string names;
            for (const std::string& name : missing)
                names += (names.empty() ? "" : ", ") + name;
            choice.lines.push_back(qv::format({StringId::RestoreDevicesNotListed, {names}}));
            choice.json["devicesNotListed"] = missing;
        }
        if (preview.differs)
            choice.refusal = checkLimit(table, restored, limits);
        addRefusal(choice);
        choices.push_back(std::move(choice));
    }
    return choices;
}

} // namespace qv::backup
