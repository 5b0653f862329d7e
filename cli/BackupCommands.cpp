// The whole configuration to a file and back: backup FILE | restore FILE. A restore reads the
// file first (a damaged file changes nothing), then what the appliance holds, previews every
// chosen table, checks them all against the appliance's limits, asks, and only then writes,
// table by table, the network settings last since Save & Reboot ends the link.

#include "ApplianceReading.h"
#include "CMySocket.h"
#include "CodePage.h"
#include "ExitCodes.h"
#include "Registry.h"
#include "Requests.h"
#include "StringTable.h"
#include "Terminal.h"
#include "backup/BackupFile.h"
#include "backup/NetworkRestore.h"
#include "backup/RestoreLimits.h"
#include "backup/RestorePreview.h"

#include <algorithm>
#include <ctime>
#include <iostream>

namespace qvctl {
namespace {

namespace bk = qv::backup;
using qv::StringId;

constexpr const char* kRestoreUsage = "FILE [--only TABLE,...] [--dry-run] [--yes]";

std::string text(StringId id, std::vector<std::string> args = {}) {
    return bk::messageText({id, std::move(args)});
}

int refuse(CommandContext& context, const std::string& message, int status = kExitUsage) {
    std::cerr << "qvctl " << context.options().command << ": " << message << "\n";
    return status;
}

std::string utcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return stamp;
}

int runBackup(CommandContext& context) {
    const std::vector<std::string>& args = context.options().args;
    if (args.size() != 1)
        return context.usageError(text(StringId::BackupNeedsFile));
    if (const int status = context.logOn(); status != kExitOk)
        return status;
    auto backup = std::make_unique<bk::Backup>();
    if (const int status = readAppliance(context, *backup); status != kExitOk)
        return status;
    backup->codePage = qv::systemCodePage();
    backup->writtenAt = utcNow();
    backup->appliance = context.options().server;
    if (const auto fault = bk::writeBackupFile(*backup, args[0]))
        return refuse(context, bk::messageText(*fault), kExitUsage);
    context.out() << text(StringId::BackupWritten, {args[0]}) << "\n";
    return kExitOk;
}

struct RestoreRequest {
    std::string file;
    std::vector<bk::Table> tables;
    bool dryRun = false;
    bool yes = false;
};

// False with the message when the arguments are wrong.
bool parseRestore(const std::vector<std::string>& args, RestoreRequest& request,
                  std::string& error) {
    bool only = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--dry-run") {
            request.dryRun = true;
        } else if (arg == "--yes") {
            request.yes = true;
        } else if (arg == "--only") {
            if (i + 1 == args.size()) {
                error = text(StringId::RestoreOnlyNeedsTables);
                return false;
            }
            only = true;
            std::string names = args[++i] + ",";
            for (size_t at; (at = names.find(',')) != std::string::npos; names.erase(0, at + 1)) {
                const auto table = bk::tableNamed(names.substr(0, at));
                if (!table) {
                    error = text(StringId::RestoreUnknownTable, {names.substr(0, at)});
                    return false;
                }
                request.tables.push_back(*table);
            }
        } else if (request.file.empty() && arg.rfind("--", 0) != 0) {
            request.file = arg;
        } else {
            error = text(StringId::RestoreUnexpectedArgument, {arg});
            return false;
        }
    }
    if (request.file.empty()) {
        error = text(StringId::RestoreNeedsFile);
        return false;
    }
    // Without --only every table but the network settings, which reboot the appliance.
    for (const bk::Table table : bk::kAllTables)
        if (!only && table != bk::Table::Network)
            request.tables.push_back(table);
    return true;
}

bool chosen(const RestoreRequest& request, bk::Table table) {
    return std::find(request.tables.begin(), request.tables.end(), table) != request.tables.end();
}

// A yes from the terminal; anything else (or the end of input) is no.
bool confirmed(CommandContext& context, StringId question) {
    context.out() << qv::uiString(question) << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    for (char& c : answer)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return answer == "y" || answer == "yes" || answer == "예";
}

std::string joined(const std::vector<bk::Table>& tables) {
    if (tables.empty())
        return text(StringId::RestoreNone);
    std::string out;
    for (const bk::Table table : tables)
        out += (out.empty() ? "" : ", ") + std::string(bk::tableName(table));
    return out;
}

// The host part of --server: the address the reboot may take away.
std::string connectedHost(const std::string& server) {
    const size_t colon = server.rfind(':');
    return colon == std::string::npos ? server : server.substr(0, colon);
}

int writeTable(ApplianceSession& session, bk::Table table, const bk::Backup& b) {
    namespace request = qv::request;
    using Event = qv::ReplyEvent;
    const std::string what(bk::tableTitle(table));
    switch (table) {
    case bk::Table::CenterIds:
        return session.change(request::writeCenterIds(b.centerIdCount, b.centerIds),
                              Event::CenterIdsApplied, what);
    case bk::Table::Wol:
        return session.change(request::writeWol(b.wolCount, b.wol), Event::WolApplied, what);
    case bk::Table::BlockIps:
        return session.change(request::writeBlockIps(b.blockIpCount, b.blockIps),
                              Event::BlockIpsApplied, what);
    case bk::Table::Schedule:
        return session.change(request::writeSchedule(b.scheduleCount, b.schedule),
                              Event::SchedulesApplied, what);
    case bk::Table::AutoUpdate:
        // The answer carries no result; its arrival is the confirmation.
        return session.request(request::writeAutoUpdate(b.autoUpdate == qv::result::kAutoUpdateOff),
                               Event::AutoUpdateApplied);
    case bk::Table::Network:
        break;
    }
    return kExitOk;
}

// The NTP server first (it has an answer), then Save & Reboot, after which the appliance sends
// nothing and the link is closed here.
int sendNetwork(ApplianceSession& session, const bk::NetworkRestore& plan) {
    if (plan.ntpChanges)
        if (const int status = session.request(qv::request::setNtpServer(plan.ntpServer),
                                               qv::ReplyEvent::NtpServerSet);
            status != kExitOk)
            return status;
    if (!session.store().send(qv::request::saveNetworkAndReboot(plan.record)))
        return kExitLinkLost;
    session.store().link->Close();
    return kExitOk;
}

int runRestore(CommandContext& context) {
    RestoreRequest request;
    if (std::string error; !parseRestore(context.options().args, request, error))
        return context.usageError(error);
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
    out << text(StringId::RestoreFrom, {restored.appliance, restored.writtenAt}) << "\n";
    // Written in one order whatever the order named: the network settings last.
    std::vector<bk::Table> toWrite;
    for (const bk::Table table : bk::kAllTables) {
        if (table == bk::Table::Network || !chosen(request, table))
            continue;
        const bk::TablePreview preview = bk::previewTable(table, *now, restored);
        for (const std::string& line : bk::previewLines(preview))
            out << line << "\n";
        if (preview.differs)
            toWrite.push_back(table);
        if (const auto missing = bk::devicesNotListed(*now, restored);
            table == bk::Table::Schedule && preview.differs && !missing.empty()) {
            std::string names;
            for (const std::string& name : missing)
                names += (names.empty() ? "" : ", ") + name;
            out << text(StringId::RestoreDevicesNotListed, {names}) << "\n";
        }
    }
    const bk::NetworkRestore network = bk::planNetworkRestore(
        now->network, restored.network, restored.codePage, connectedHost(context.options().server));
    const bool restoreNetwork = chosen(request, bk::Table::Network) && !network.changes.empty();
    if (chosen(request, bk::Table::Network)) {
        for (const std::string& line : bk::networkLines(network))
            out << line << "\n";
        if (restoreNetwork)
            out << text(StringId::NetworkNotRestored) << "\n";
        if (restoreNetwork && network.cutOff)
            out << bk::messageText(*network.cutOff) << "\n";
    } else if (!network.changes.empty()) {
        out << text(StringId::RestoreNetworkHint) << "\n";
    }

    // Every table is checked before any is written, so a refusal leaves the appliance as it was.
    const bk::TargetLimits limits =
        bk::targetLimits(context.session().maxCenterIds(), now->summary);
    bool fits = true;
    for (const bk::Table table : toWrite)
        if (const auto refusal = bk::checkLimit(table, restored, limits)) {
            refuse(context, bk::messageText(*refusal));
            fits = false;
        }
    if (!fits)
        return kExitUsage;
    if (request.dryRun) {
        out << text(StringId::RestoreDryRun) << "\n";
        return kExitOk;
    }
    if (toWrite.empty() && !restoreNetwork) {
        out << text(StringId::RestoreNothingToDo) << "\n";
        return kExitOk;
    }
    if (!request.yes) {
        if (!inputIsTerminal())
            return refuse(context, text(StringId::RestoreNeedsTerminal));
        if ((!toWrite.empty() && !confirmed(context, StringId::RestoreQuestion)) ||
            (restoreNetwork && !confirmed(context, StringId::NetworkRebootAsk))) {
            out << text(StringId::RestoreCancelled) << "\n";
            return kExitOk;
        }
    }

    if (restoreNetwork)
        toWrite.push_back(bk::Table::Network);
    std::vector<bk::Table> written;
    for (const bk::Table table : toWrite) {
        out << text(StringId::RestoreWriting, {bk::tableTitle(table)}) << std::endl;
        const int status = table == bk::Table::Network
                               ? sendNetwork(context.session(), network)
                               : writeTable(context.session(), table, restored);
        if (status != kExitOk) {
            const std::vector<bk::Table> left(toWrite.begin() + static_cast<long>(written.size()),
                                              toWrite.end());
            return refuse(context, text(StringId::RestorePartial, {joined(written), joined(left)}),
                          status);
        }
        written.push_back(table);
    }
    out << text(StringId::RestoreDone, {joined(written)}) << "\n";
    if (restoreNetwork)
        out << text(StringId::NetworkSent) << "\n";
    return kExitOk;
}

} // namespace

QVCTL_COMMAND(runBackup, "backup", "FILE",
              "save the whole configuration to FILE (mode 0600: it holds passwords)");
QVCTL_COMMAND(runRestore, "restore", kRestoreUsage,
              "preview, then restore tables from a backup (network only with --only)");

} // namespace qvctl
