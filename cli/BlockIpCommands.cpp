// Block IP list changes: blockip add | edit | del. Each fetches the firewall's table, applies the
// same rule as the blacklist page (same checks, same order, same messages), sends the whole
// table back with the firewall's own lead and trailing bytes, and reports the appliance's answer.

#include "cli/CommandOptions.h"
#include "cli/ExitCodes.h"
#include "cli/Registry.h"
#include "core/access/BlacklistRules.h"
#include "link/CodePage.h"
#include "link/Requests.h"
#include "res/Message.h"
#include "res/StringTable.h"

#include <algorithm>
#include <iostream>

namespace qvctl {
namespace {

namespace bl = qv::blacklist;

constexpr const char* kUsage =
    "add ADDRESS [--yes] | edit ADDRESS NEW-ADDRESS [--yes] | del ADDRESS...";

// A refusal, worded as on the page (the firewall's fixed texts, else the terminal's language).
int refuse(CommandContext& context, const bl::Verdict& verdict) {
    context.err() << "qvctl " << context.options().command << ": " << qv::uiString(verdict.stringId)
                  << "\n";
    return kExitUsage;
}

int notListed(CommandContext& context) {
    return refuse(context, bl::Verdict::refused(qv::StringId::BlockIpNotListed));
}

// Sends the store's table and reports the appliance's answer.
int applyTable(CommandContext& context) {
    qv::CGlobalData& store = context.session().store();
    if (const int status =
            context.session().writeTable(ApplianceSession::Table::BlockIps, "the Block IP list");
        status != kExitOk)
        return status;
    const std::string changed(qv::uiString(qv::StringId::BlockIpListChanged));
    Report report;
    report.fields = {
        {"message", "Result", Value::of(changed)},
        {"count", "Addresses", Value::of(int64_t{store.blockIpCount})},
    };
    if (context.options().json)
        context.print(report);
    else
        context.out() << changed << "\n";
    return kExitOk;
}

// The address qvctl itself comes from would shut it out, and every later command with it: that
// needs --yes, as the window asks.
int refuseLockOut(CommandContext& context, const std::string& address, bool confirmed) {
    const std::string own = context.session().store().localAddress();
    if (confirmed || !bl::locksOut(address, own))
        return kExitOk;
    const std::string text = qv::format(qv::uiString(qv::StringId::BlockIpLocksOutRefused), {own});
    context.err() << "qvctl " << context.options().command << ": " << text << "\n";
    return kExitUsage;
}

int runBlockIp(CommandContext& context, const std::vector<std::string>& args, bool confirmed) {
    if (confirmed && (args.empty() || args[0] == "del"))
        return context.usageError("--yes belongs to add and edit");
    if (args.empty())
        return context.usageError("needs an action (add, edit or del)");
    const std::string& action = args[0];
    if (action != "add" && action != "edit" && action != "del")
        return context.usageError("unknown action '" + action + "' (add, edit or del)");
    if (action == "add" && args.size() != 2)
        return context.usageError("add takes one address");
    if (action == "edit" && args.size() != 3)
        return context.usageError("edit takes the address and its new form");
    if (action == "del" && args.size() < 2)
        return context.usageError("del takes one or more addresses");

    if (const int status = context.logOn(); status != kExitOk)
        return status;
    if (const int status =
            context.session().request(qv::request::readBlockIps(), qv::ReplyEvent::BlockIpsArrived);
        status != kExitOk)
        return status;

    qv::CGlobalData& store = context.session().store();
    const int codePage = qv::systemCodePage();
    const bl::Address first = bl::addressFromUtf8(args[1], codePage);

    if (action == "add") {
        if (const bl::Verdict v = bl::validateAdd(store.blockIpTable, store.blockIpCount, first);
            !v.ok())
            return refuse(context, v);
        if (const int status = refuseLockOut(context, first.ansi, confirmed); status != kExitOk)
            return status;
        bl::addAddress(store.blockIpTable, store.blockIpCount, first.ansi);
        return applyTable(context);
    }

    // Edit and del name entries by their address, byte for byte as the firewall keeps them.
    if (action == "edit") {
        const int row = first.convertible
                            ? bl::findAddress(store.blockIpTable, store.blockIpCount, first.ansi)
                            : -1;
        if (row < 0)
            return notListed(context);
        const bl::Address replacement = bl::addressFromUtf8(args[2], codePage);
        if (const bl::Verdict v =
                bl::validateEdit(store.blockIpTable, store.blockIpCount, true, row, replacement);
            !v.ok())
            return refuse(context, v);
        if (const int status = refuseLockOut(context, replacement.ansi, confirmed);
            status != kExitOk)
            return status;
        bl::editAddress(store.blockIpTable, store.blockIpCount, row, replacement.ansi);
        return applyTable(context);
    }

    std::vector<int> rows;
    for (size_t i = 1; i < args.size(); ++i) {
        const bl::Address address = bl::addressFromUtf8(args[i], codePage);
        const int row = address.convertible
                            ? bl::findAddress(store.blockIpTable, store.blockIpCount, address.ansi)
                            : -1;
        if (row < 0)
            return notListed(context);
        rows.push_back(row);
    }
    bl::deleteRows(store.blockIpTable, store.blockIpCount, rows);
    return applyTable(context);
}

CommandRun defineBlockIp(CLI::App& command) {
    auto operands = std::make_shared<std::vector<std::string>>();
    auto confirmed = std::make_shared<bool>(false);
    addOperands(command, *operands, "ARGUMENTS");
    command.add_flag("--yes", *confirmed,
                     "add, edit: block the address this computer reaches the appliance from");
    return [operands, confirmed](CommandContext& context) {
        return runBlockIp(context, *operands, *confirmed);
    };
}

} // namespace

QVCTL_COMMAND(defineBlockIp, "blockip", kUsage,
              "add, change or delete addresses the appliance's firewall blocks");

} // namespace qvctl
