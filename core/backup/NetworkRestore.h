#pragma once

// Restoring the network settings: the Save & Reboot record built from a backup, the fields it
// changes and whether it cuts the administrator off. The record, the changed fields and the
// warnings come from the network page's own rules, so the page, qvctl network and a restore
// from either side say the same about the same change.

#include "core/network/NetworkRules.h"

#include "link/NetworkConfigRecord.h"

#include <optional>
#include <string>
#include <vector>

namespace qv::backup {

struct NetworkRestore {
    // What Save & Reboot sends, built as the network page builds it: ports (0 read as the
    // default), addresses (zero under DHCP), DHCP and UPNP; every other byte zero.
    NetworkConfigRecord record;
    network::Settings after;
    // The fields that change and the warnings of a change that may end this client's link.
    network::ChangePreview preview;
    std::optional<network::LinkView> link;
    // The NTP server address, set with its own request before the reboot when it changes; in
    // the appliance's code page, and as text for people.
    std::string ntpServer;
    bool ntpChanges = false;
    std::string ntpBeforeText;
    std::string ntpAfterText;

    bool unchanged() const { return preview.unchanged() && !ntpChanges; }
    // Save & Reboot is sent only when a field it carries changes; a new NTP server alone is
    // set without a reboot.
    bool reboots() const { return !preview.unchanged(); }
};

// From the appliance's record `now` to the backup's `restored`; `link` is where this client's
// link runs, when known.
NetworkRestore planNetworkRestore(const NetworkConfigRecord& now,
                                  const NetworkConfigRecord& restored, int codePage,
                                  const std::optional<network::LinkView>& link);
// The changes as lines to show: the network page's preview, then the NTP server's change.
std::vector<std::string> networkLines(const NetworkRestore& plan);
// The address to log on to after the reboot: the new one when this client reached the
// appliance directly at the address that changes, `currentHost` otherwise.
std::string hostAfterReboot(const NetworkRestore& plan, const std::string& currentHost);

} // namespace qv::backup
