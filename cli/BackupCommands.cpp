// The whole configuration to a file and back: backup FILE | restore FILE. A restore reads the
// file first (a damaged file changes nothing), then what the appliance holds, previews every
// chosen table, checks them all against the appliance's limits, asks, and only then writes,
// table by table, the network settings last since Save & Reboot ends the link.

#include "cli/ApplianceReading.h"
#include "cli/CommandOptions.h"
#include "cli/ExitCodes.h"
#include "cli/Registry.h"
#include "core/backup/BackupFile.h"
#include "core/backup/NetworkRestore.h"
#include "core/backup/RestoreChoices.h"
#include "core/backup/RestorePreview.h"
#include "core/backup/TransferSteps.h"
#include "link/Answers.h"
#include "link/CMySocket.h"
#include "link/CodePage.h"
#include "res/StringTable.h"

#include <algorithm>
#include <iostream>

namespace qvctl {
namespace {

namespace bk = qv::backup;
using qv::StringId;

constexpr const char* kRestoreUsage = "FILE [--only TABLE,...] [--dry-run [--json]] [--yes]";

std::string text(StringId id, std::vector<std::string> args = {}) {
    return bk::messageText({id, std::move(args)});
}

int refuse(CommandContext& context, const std::string& message, int status = kExitUsage) {
    context.err() << "qvctl " << context.options().command << ": " << message << "\n";
    return status;
}

int runBackup(CommandContext& context, const std::vector<std::string>& args) {
    if (args.size() != 1)
        return context.usageError(text(StringId::BackupNeedsFile));
    if (const int status = context.logOn(); status != kExitOk)
        return status;
    auto backup = std::make_unique<bk::Backup>();
    if (const int status = readAppliance(context, *backup); status != kExitOk)
        return status;
    bk::stampBackup(*backup, context.options().server);
    if (const auto fault = bk::writeBackupFile(*backup, args[0]))
        return refuse(context, bk::messageText(*fault), kExitUsage);
    context.out() << text(StringId::BackupWritten, {args[0]}) << "\n";
    return kExitOk;
}

// What the command line gave restore: its operands and options.
struct RestoreLine {
    std::vector<std::string> args;
    std::optional<std::string> only;
    bool dryRun = false;
    bool yes = false;
};

struct RestoreRequest {
    std::string file;
    std::vector<bk::Table> tables;
    bool dryRun = false;
    bool yes = false;
};

// False with the message when the arguments are wrong.
bool parseRestore(const RestoreLine& line, RestoreRequest& request, std::string& error) {
    request.dryRun = line.dryRun;
    request.yes = line.yes;
    if (line.only) {
        std::string names = *line.only + ",";
        for (size_t at; (at = names.find(',')) != std::string::npos; names.erase(0, at + 1)) {
            const auto table = bk::tableNamed(names.substr(0, at));
            if (!table) {
                error = text(StringId::RestoreUnknownTable, {names.substr(0, at)});
                return false;
            }
            request.tables.push_back(*table);
        }
    }
    if (line.args.size() > 1) {
        error = text(StringId::RestoreUnexpectedArgument, {line.args[1]});
        return false;
    }
    if (line.args.empty()) {
        error = text(StringId::RestoreNeedsFile);
        return false;
    }
    request.file = line.args.front();
    // Without --only every table but the network settings, which reboot the appliance.
    for (const bk::Table table : bk::kAllTables)
        if (!line.only && table != bk::Table::Network)
            request.tables.push_back(table);
    return true;
}

bool chosen(const RestoreRequest& request, bk::Table table) {
    return std::find(request.tables.begin(), request.tables.end(), table) != request.tables.end();
}

// One step of a restore on the blocking session: a verdict is checked, Save & Reboot ends the
// link.
int runStep(ApplianceSession& session, const bk::Step& step, bk::Table table) {
    if (step.answer == qv::ReplyEvent::None)
        return session.sendLast(step.request);
    if (qv::answer::isVerdict(step.answer))
        return session.change(step.request, step.answer, bk::tableTitle(table));
    return session.request(step.request, step.answer);
}

int runRestore(CommandContext& context, const RestoreLine& line) {
    RestoreRequest request;
    if (std::string error; !parseRestore(line, request, error))
        return context.usageError(error);
    // The JSON is the preview alone: the question and the writing that follow are text.
    if (context.options().json && !request.dryRun)
        return context.usageError(text(StringId::RestoreJsonNeedsDryRun));
    const bk::ReadResult file = bk::readBackupFile(request.file);
    if (!file.ok())
        return refuse(context, bk::messageText(file.error));
    const bk::Backup& restored = *file.backup;

    if (const int status = context.logOn(); status != kExitOk)
        return status;
    auto now = std::make_unique<bk::Backup>();
    now->codePage = qv::systemCodePage();
    if (const int status = readAppliance(context, *now); status != kExitOk)
        return status;

    std::ostream& out = context.out();
    const bool json = context.options().json;
    if (!json)
        out << text(StringId::RestoreFrom, {restored.appliance, restored.writtenAt}) << "\n";
    bk::Json document{{"appliance", restored.appliance},
                      {"writtenAt", restored.writtenAt},
                      {"tables", bk::Json::array()}};
    qv::CMySocket& link = *context.session().store().link;
    const bk::NetworkRestore network =
        bk::planNetworkRestore(now->network, restored.network, restored.codePage,
                               qv::network::linkViewOf(link.endpoints()));
    const bk::TargetLimits limits =
        bk::targetLimits(context.session().maxCenterIds(), now->summary);
    // Written in one order whatever the order named: the network settings last.
    std::vector<bk::Table> toWrite;
    bool fits = true;
    for (const bk::TableChoice& choice : bk::restoreChoices(*now, restored, limits, network)) {
        if (!chosen(request, choice.table)) {
            if (choice.table == bk::Table::Network && choice.differs && !json)
                out << text(StringId::RestoreNetworkHint) << "\n";
            continue;
        }
        if (json)
            document["tables"].push_back(choice.json);
        for (const std::string& line : choice.lines)
            if (!json)
                out << line << "\n";
        if (choice.differs)
            toWrite.push_back(choice.table);
        // Every table is checked before any is written, so a refusal leaves the appliance as
        // it was.
        if (choice.refusal) {
            refuse(context, bk::messageText(*choice.refusal));
            fits = false;
        }
    }
    if (json)
        out << document.dump(2, ' ', false, bk::Json::error_handler_t::replace) << "\n";
    if (!fits)
        return kExitUsage;
    const bool restoreNetwork = chosen(request, bk::Table::Network) && !network.unchanged();
    if (request.dryRun) {
        if (!json)
            out << text(StringId::RestoreDryRun) << "\n";
        return kExitOk;
    }
    if (toWrite.empty()) {
        out << text(StringId::RestoreNothingToDo) << "\n";
        return kExitOk;
    }
    if (!request.yes &&
        (!askYes(text(StringId::RestoreQuestion)) ||
         (restoreNetwork && network.reboots() && !askYes(text(StringId::NetworkRebootAsk))))) {
        out << text(StringId::RestoreCancelled) << "\n";
        return kExitDeclined;
    }

    bk::RestoreLedger ledger{bk::writingOrder(toWrite)};
    for (const bk::Table table : ledger.order) {
        out << text(StringId::RestoreWriting, {bk::tableTitle(table)}) << std::endl;
        for (const bk::Step& step : bk::writingSteps(table, restored, network))
            if (const int status = runStep(context.session(), step, table); status != kExitOk)
                return refuse(context, bk::messageText(ledger.outcome()), status);
        ++ledger.written;
    }
    out << bk::messageText(ledger.outcome()) << "\n";
    if (restoreNetwork && network.reboots())
        out << text(StringId::NetworkSent) << "\n";
    return kExitOk;
}

CommandRun defineRestore(CLI::App& command) {
    auto line = std::make_shared<RestoreLine>();
    addOperands(command, line->args, "FILE");
    command.add_flag("--dry-run", line->dryRun, "show what would change, and change nothing");
    command.add_flag("--yes", line->yes, "do not ask before the tables are written");
    command
        .add_option_function<std::string>(
            "--only", [line](const std::string& value) { line->only = value; },
            "restore only these tables, separated by commas")
        ->type_name("TABLES");
    return [line](CommandContext& context) { return runRestore(context, *line); };
}

} // namespace

QVCTL_OPERANDS_COMMAND(runBackup, "backup", "FILE",
                       "save the whole configuration to FILE (mode 0600: it holds passwords)");
QVCTL_COMMAND(defineRestore, "restore", kRestoreUsage,
              "preview, then restore tables from a backup (network only with --only)");

} // namespace qvctl
