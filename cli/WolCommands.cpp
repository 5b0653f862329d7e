// Wake-on-LAN command: wol.

#include "cli/ExitCodes.h"
#include "cli/Registry.h"
#include "link/Requests.h"

namespace qvctl {
namespace {

int runWol(CommandContext& context) {
    if (const int status = context.logOn(); status != kExitOk)
        return status;
    if (const int status =
            context.session().request(qv::request::readWol(), qv::ReplyEvent::WolArrived);
        status != kExitOk)
        return status;
    const qv::CGlobalData& store = context.session().store();
    Report report;
    report.listKey = "wol";
    report.columnKeys = {"no", "name", "macAddress"};
    report.columnLabels = {"No.", "Name", "Mac Addr"};
    report.emptyText = "No Wake-on-LAN targets.";
    // Name and MAC text are UTF-8 in the table; they are printed as they are.
    for (int32_t i = 0; i < store.wolCount; ++i) {
        const qv::WolEntry entry = store.wolTable.entry(static_cast<size_t>(i));
        report.rows.push_back(
            {Value::of(int64_t{i + 1}), Value::of(entry.nameUtf8()), Value::of(entry.macUtf8())});
    }
    context.print(report);
    return kExitOk;
}

} // namespace

QVCTL_PLAIN_COMMAND(runWol, "wol", "", "Wake-on-LAN targets: name and MAC address");

} // namespace qvctl
