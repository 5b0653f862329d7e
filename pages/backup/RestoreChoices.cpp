#include "backup/RestoreChoices.h"

#include "backup/RestorePreview.h"

namespace qv::backup {

std::vector<TableChoice> restoreChoices(const Backup& now, const Backup& restored,
                                        const TargetLimits& limits, const NetworkRestore& network) {
    std::vector<TableChoice> choices;
    for (const Table table : kAllTables) {
        TableChoice choice{table, {}, false, std::nullopt};
        if (table == Table::Network) {
            choice.lines = networkLines(network);
            choice.differs = !network.unchanged();
            if (choice.differs)
                choice.lines.push_back(messageText({StringId::NetworkNotRestored, {}}));
            choices.push_back(std::move(choice));
            continue;
        }
        const TablePreview preview = previewTable(table, now, restored);
        choice.lines = previewLines(preview);
        choice.differs = preview.differs;
        if (const auto missing = devicesNotListed(now, restored);
            table == Table::Schedule && preview.differs && !missing.empty()) {
            std::string names;
            for (const std::string& name : missing)
                names += (names.empty() ? "" : ", ") + name;
            choice.lines.push_back(messageText({StringId::RestoreDevicesNotListed, {names}}));
        }
        if (preview.differs)
            choice.refusal = checkLimit(table, restored, limits);
        choices.push_back(std::move(choice));
    }
    return choices;
}

} // namespace qv::backup
