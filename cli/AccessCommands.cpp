// Access commands: centerids, blacklist, blockips.

#include "cli/ExitCodes.h"
#include "cli/Registry.h"
#include "core/access/CenterIdRules.h"
#include "link/CodePage.h"
#include "link/Requests.h"
#include "res/StringTable.h"

#include <algorithm>

namespace qvctl {
namespace {

int noArguments(CommandContext& context) {
    return context.logOn();
}

int runCenterIds(CommandContext& context) {
    if (const int status = noArguments(context); status != kExitOk)
        return status;
    if (const int status = context.session().request(qv::request::readCenterIds(),
                                                     qv::ReplyEvent::CenterIdsArrived);
        status != kExitOk)
        return status;
    const qv::CGlobalData& store = context.session().store();
    const int codePage = qv::systemCodePage();
    Report report;
    report.fields = {
        {"count", "Center IDs", Value::of(int64_t{store.centerIdCount})},
        {"maxCenterIds", "Max Center ID", Value::of(int64_t{context.session().maxCenterIds()})},
    };
    report.listKey = "centerIds";
    report.columnKeys = {"no",    "id",        "password",    "name",
                         "group", "superUser", "logDeletion", "fileTransfer"};
    for (const auto& column : qv::centerid::kColumns)
        report.columnLabels.emplace_back(qv::uiString(column.caption));
    for (int32_t i = 0; i < store.centerIdCount; ++i) {
        const qv::CenterIdEntry entry = store.centerIdTable.entry(static_cast<size_t>(i));
        const auto texts = qv::centerid::rowTexts(entry, i, codePage);
        report.rows.push_back({Value::of(int64_t{i + 1}), Value::of(texts[1]), Value::of(texts[2]),
                               Value::of(texts[3]), Value::of(int64_t{entry.group()}),
                               Value::flagOf(entry.superUser() == "1", texts[5]),
                               Value::flagOf(entry.logDeletionProhibited(), texts[6]),
                               Value::flagOf(entry.fileTransferProhibited(), texts[7])});
    }
    context.print(report);
    return kExitOk;
}

int runBlacklist(CommandContext& context) {
    if (const int status = noArguments(context); status != kExitOk)
        return status;
    if (const int status = context.session().request(qv::request::readBlacklist(),
                                                     qv::ReplyEvent::BlacklistArrived);
        status != kExitOk)
        return status;
    const qv::CGlobalData& store = context.session().store();
    Report report;
    report.listKey = "blacklist";
    report.columnKeys = {"no",    "ip",    "day1",       "day2",       "minusDay1", "minusDay2",
                         "week1", "week2", "minusWeek1", "minusWeek2", "quorvelIp"};
    report.columnLabels = {"No.",    "IP",     "Day 1",   "Day 2",   "-Day 1",    "-Day 2",
                           "Week 1", "Week 2", "-Week 1", "-Week 2", "Quorvel IP"};
    report.emptyText = "The blacklist is empty.";
    for (int32_t i = 0; i < store.blacklistCount; ++i) {
        const qv::BlacklistEntry entry = store.blacklist->entry(static_cast<size_t>(i));
        std::vector<Value> row{Value::of(int64_t{i + 1}), Value::of(qv::ansiToUtf8(entry.ip()))};
        for (int c = 0; c < qv::BlacklistEntry::kCounters; ++c)
            row.push_back(Value::of(int64_t{entry.counter(c)}));
        row.push_back(Value::of(int64_t{entry.quorvelIp()}));
        report.rows.push_back(std::move(row));
    }
    context.print(report);
    return kExitOk;
}

int runBlockIps(CommandContext& context) {
    if (const int status = noArguments(context); status != kExitOk)
        return status;
    if (const int status =
            context.session().request(qv::request::readBlockIps(), qv::ReplyEvent::BlockIpsArrived);
        status != kExitOk)
        return status;
    const qv::CGlobalData& store = context.session().store();
    Report report;
    report.listKey = "blockIps";
    report.columnKeys = {"no", "ip"};
    report.columnLabels = {"No.", "IP"};
    report.emptyText = "The Block IP list is empty.";
    for (int32_t i = 0; i < store.blockIpCount; ++i)
        report.rows.push_back(
            {Value::of(int64_t{i + 1}),
             Value::of(qv::ansiToUtf8(store.blockIpTable.address(static_cast<size_t>(i))))});
    context.print(report);
    return kExitOk;
}

} // namespace

QVCTL_PLAIN_COMMAND(runCenterIds, "centerids", "",
                    "center IDs: ID, password masked, name, group, super user, prohibitions");
QVCTL_PLAIN_COMMAND(runBlacklist, "blacklist", "",
                    "blacklisted addresses with their eight counters");
QVCTL_PLAIN_COMMAND(runBlockIps, "blockips", "", "addresses the appliance's firewall blocks");

} // namespace qvctl
