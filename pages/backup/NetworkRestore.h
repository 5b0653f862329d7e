#pragma once

// Restoring the network settings: the Save & Reboot record built from a backup, the fields it
// changes and whether it cuts the administrator off. The record is built by the network page's
// own rules.

#include "backup/Message.h"

#include "NetworkConfigRecord.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::backup {

struct FieldChange {
    std::string field; // as the backup file names it ("ipAddress")
    std::string before;
    std::string after;
};

struct NetworkRestore {
    // What Save & Reboot sends, built as the network page builds it: ports (0 read as the
    // default), addresses (zero under DHCP), DHCP and UPNP; every other byte zero.
    NetworkConfigRecord record;
    // The NTP server address, set with its own request before the reboot when it changes.
    std::string ntpServer;
    bool ntpChanges = false;
    std::vector<FieldChange> changes; // empty: nothing to restore
    // Set when the reboot leaves the administrator without the address connected to.
    std::optional<Message> cutOff;
};

// From the appliance's record `now` to the backup's `restored`; `connectedHost` is the address
// this client reached the appliance at (host, without the port).
NetworkRestore planNetworkRestore(const NetworkConfigRecord& now,
                                  const NetworkConfigRecord& restored, int codePage,
                                  std::string_view connectedHost);
// The changes as lines to print, each "  field: before -> after".
std::vector<std::string> networkLines(const NetworkRestore& plan);

} // namespace qv::backup
