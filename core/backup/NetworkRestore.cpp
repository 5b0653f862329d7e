#include "core/backup/NetworkRestore.h"

#include "core/backup/RestorePreview.h"
#include "res/Message.h"

#include "link/CodePage.h"

namespace qv::backup {
namespace {

uint16_t orDefault(uint16_t port, uint16_t fallback) {
    return port == 0 ? fallback : port;
}

} // namespace

NetworkRestore planNetworkRestore(const NetworkConfigRecord& now,
                                  const NetworkConfigRecord& restored, int codePage,
                                  const std::optional<network::LinkView>& link) {
    NetworkRestore plan;
    // Sent as the network page's Save & Reboot sends what it shows: a port of 0 is its default.
    plan.after = network::settingsFromRecord(restored);
    plan.after.linkPort = orDefault(plan.after.linkPort, network::kDefaultLinkPort);
    plan.after.dataPort = orDefault(plan.after.dataPort, network::kDefaultDataPort);
    plan.after.webPort = orDefault(plan.after.webPort, network::kDefaultWebPort);
    plan.record = network::saveRecord(plan.after);
    plan.link = link;
    plan.preview =
        network::previewChange(network::settingsFromRecord(now), plan.after, now.ipAddress(), link);
    plan.ntpServer = restored.ntpServer();
    plan.ntpChanges = plan.ntpServer != now.ntpServer();
    plan.ntpBeforeText = ansiToUtf8(now.ntpServer(), codePage);
    plan.ntpAfterText = ansiToUtf8(plan.ntpServer, codePage);
    return plan;
}

std::vector<std::string> networkLines(const NetworkRestore& plan) {
    if (plan.unchanged())
        return {qv::format({StringId::PreviewUnchanged, {tableTitle(Table::Network)}})};
    std::vector<std::string> lines;
    if (plan.reboots())
        lines = network::previewLines(plan.preview, plan.after, plan.link);
    else
        lines.push_back(qv::format({StringId::NetworkChangeHeading, {}}));
    if (plan.ntpChanges)
        lines.push_back(qv::format({StringId::NetworkChangeRow,
                                    {std::string(uiString(StringId::RestoreNtpServerLabel)),
                                     plan.ntpBeforeText, plan.ntpAfterText}}));
    return lines;
}

std::string hostAfterReboot(const NetworkRestore& plan, const std::string& currentHost) {
    return plan.preview.nextAddress ? network::dottedText(*plan.preview.nextAddress) : currentHost;
}

} // namespace qv::backup
