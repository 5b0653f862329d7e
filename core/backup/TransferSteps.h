#pragma once

// The requests of a backup and of a restore, in order, and what their answers mean. qvctl sends
// them one after another on its blocking session; the window sends each when the answer to the
// one before has come through its reply dispatcher. Both read the same parts, write the tables
// in the same order and count a table as written on the same answer.

#include "core/backup/Backup.h"
#include "core/backup/NetworkRestore.h"
#include "res/Message.h"

#include "link/Frame.h"
#include "link/LinkEvent.h"

#include <string>
#include <vector>

namespace qv::backup {

struct Step {
    Frame request;
    // The event the answer raises; None when nothing answers (Save & Reboot, after which the
    // appliance reboots and the sender closes the link).
    ReplyEvent answer = ReplyEvent::None;
};

// Everything a backup holds, one request each: the product summary, the network record, the
// center IDs, Wake-on-LAN, the block IP list, the IO devices, the IO schedule, automatic update.
std::vector<Step> readingSteps();
// Puts the answer to a reading step into `into`, counts and tables limited as the store limits
// them. Other events change nothing.
void takeReading(Backup& into, const LinkEvent& answer);
// Marks a backup just read with this machine's code page, the time (UTC) and the appliance.
void stampBackup(Backup& backup, const std::string& appliance);

// The chosen tables in the order a restore writes them, each once: the network settings last,
// since Save & Reboot ends the link.
std::vector<Table> writingOrder(const std::vector<Table>& chosen);
// The requests that write `table` from `restored`; the network settings as `network` plans them
// (the NTP server, then Save & Reboot when a field it carries changes).
std::vector<Step> writingSteps(Table table, const Backup& restored, const NetworkRestore& network);
// True when `answer` confirms `step`: its event came and, where the value is a verdict, success.
bool confirms(const Step& step, const LinkEvent& answer);

// How far a restore got: the tables in writing order and how many of them were written.
struct RestoreLedger {
    std::vector<Table> order;
    size_t written = 0;

    bool finished() const { return written == order.size(); }
    // "Restored: centerids, wol." when every table was written; otherwise which were and
    // which were not.
    Message outcome() const;
};

} // namespace qv::backup
