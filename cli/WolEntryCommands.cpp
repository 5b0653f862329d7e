// Wake-on-LAN changes: wolentry add | edit | del | export | import. Each fetches the appliance's
// table and applies the same rule as the Wake-on-LAN page (same checks, same order, same
// messages). Changes send the whole table back and report the appliance's answer; export only
// writes the file.

#include "cli/CommandOptions.h"
#include "cli/ExitCodes.h"
#include "cli/Registry.h"
#include "core/network/WolRules.h"
#include "link/CodePage.h"
#include "link/RegularFile.h"
#include "link/Requests.h"
#include "res/Message.h"
#include "res/StringTable.h"

#include <charconv>
#include <fstream>
#include <iostream>
#include <optional>

namespace qvctl {
namespace {

namespace wol = qv::wol;
using qv::StringId;

constexpr const char* kUsage = "add NAME MAC | edit NO [--name NAME] [--mac MAC] | del NO | "
                               "export FILE [--utf8] | import FILE";

struct Request {
    std::string action;
    std::string operand; // NAME for add, NO for edit and del, FILE for export and import
    std::string mac;     // add
    std::optional<std::string> name;
    std::optional<std::string> newMac;
    bool utf8 = false; // export: UTF-8 with a byte-order mark in place of the code page
    int row = -1;      // edit and del: the list's number less one
};

// The command line's words for wolentry: its operands and its options' values.
struct Line {
    std::vector<std::string> args;
    std::optional<std::string> name, mac;
    bool utf8 = false;
};

bool parseRequest(const Line& line, Request& request, std::string& error) {
    const std::vector<std::string>& args = line.args;
    if (args.size() < 2) {
        error = "needs an action (add, edit, del, export or import) and its operand";
        return false;
    }
    request.action = args[0];
    request.operand = args[1];
    const std::string& action = request.action;
    if (line.utf8 && action != "export") {
        error = "--utf8 belongs to export";
        return false;
    }
    if ((line.name || line.mac) && action != "edit") {
        error = "--name and --mac belong to edit";
        return false;
    }
    if (action == "add") {
        if (args.size() != 3) {
            error = "add takes the name and the MAC address";
            return false;
        }
        request.mac = args[2];
        return true;
    }
    request.utf8 = line.utf8;
    if (action == "export" || action == "import") {
        if (args.size() != 2) {
            error = action == "export" ? "export takes the file and optionally --utf8"
                                       : "import takes only the file";
            return false;
        }
        return true;
    }
    if (action != "edit" && action != "del") {
        error = "unknown action '" + action + "' (add, edit, del, export or import)";
        return false;
    }
    int number = 0;
    const std::string& text = request.operand;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (ec != std::errc{} || end != text.data() + text.size() || number < 1) {
        error = action + " takes the entry's number as 'qvctl wol' lists it";
        return false;
    }
    request.row = number - 1;
    if (args.size() > 2) {
        error = action == "del" ? "del takes only the entry's number"
                                : "unexpected argument '" + args[2] + "'";
        return false;
    }
    request.name = line.name;
    request.newMac = line.mac;
    return true;
}

// A message of the string table with its "%1" filled in.
std::string message(StringId id, const std::string& argument = {}) {
    return qv::format(qv::uiString(id), {argument});
}

int refuse(CommandContext& context, const std::string& text) {
    context.err() << "qvctl " << context.options().command << ": " << text << "\n";
    return kExitUsage;
}

// The page's "select an item" refusals mean, for a number given here, that no such entry exists.
int refuse(CommandContext& context, const wol::Verdict& verdict) {
    if (verdict.stringId == StringId::WolSelectToModify ||
        verdict.stringId == StringId::WolSelectToDelete)
        return refuse(context, message(StringId::WolEntryNotFound));
    return refuse(context, message(verdict.stringId));
}

int applyTable(CommandContext& context) {
    if (const int status =
            context.session().writeTable(ApplianceSession::Table::Wol, "the Wake-on-LAN list");
        status != kExitOk)
        return status;
    context.out() << qv::uiString(StringId::WolSet) << "\n";
    return kExitOk;
}

// A script cannot be asked: a list the code page cannot hold is refused with the option that
// writes it as UTF-8, which is then used for the whole file whatever the names.
int exportTo(CommandContext& context, const std::string& path, bool utf8) {
    const qv::CGlobalData& store = context.session().store();
    if (const wol::Verdict v = wol::validateExport(store.wolCount); !v.ok())
        return refuse(context, v);
    const int codePage = qv::systemCodePage();
    if (const int row = wol::firstRowOutsideCodePage(store.wolTable, store.wolCount, codePage);
        row >= 0 && !utf8)
        return refuse(context, message(StringId::WolExportNeedsUtf8, std::to_string(row + 1)));
    const wol::ExportResult csv =
        wol::exportCsv(store.wolTable, store.wolCount, codePage,
                       utf8 ? wol::CsvEncoding::Utf8 : wol::CsvEncoding::CodePage);
    if (!csv.ok())
        return refuse(context,
                      message(StringId::WolExportNotConvertible, std::to_string(csv.badRow + 1)));
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(csv.text.data(), static_cast<std::streamsize>(csv.text.size()));
    file.close();
    if (!file)
        return refuse(context, message(StringId::WolFileNotWritten, path));
    context.out() << store.wolCount << " entries written to " << path << "\n";
    return kExitOk;
}

// The CSV file's bytes, read before logging on: a file that cannot be read costs no session.
std::optional<std::string> readCsv(CommandContext& context, const std::string& path) {
    qv::FileBytes file = qv::readRegularFile(path, wol::kMaxImportFileBytes);
    switch (file.status) {
    case qv::FileReadStatus::Ok:
        return std::move(file.bytes);
    case qv::FileReadStatus::NotRegular:
        refuse(context, message(StringId::NotRegularFile, path));
        break;
    case qv::FileReadStatus::TooLarge:
        refuse(context, message(StringId::WolFileTooLarge, path));
        break;
    case qv::FileReadStatus::Unreadable:
        refuse(context, message(StringId::WolFileNotRead, path));
        break;
    }
    return std::nullopt;
}

int importFrom(CommandContext& context, const std::string& path, const std::string& bytes) {
    const wol::ImportResult result = wol::parseCsv(bytes, qv::systemCodePage());
    if (!result.ok())
        return refuse(context, message(*result.error, std::to_string(result.errorLine)));
    if (result.entries.empty())
        return refuse(context, message(StringId::WolFileHasNoEntries, path));
    if (result.limited)
        context.err() << "qvctl " << context.options().command << ": "
                      << qv::uiString(StringId::WolImportLimited) << "\n";
    qv::CGlobalData& store = context.session().store();
    wol::replaceEntries(store.wolTable, store.wolCount, result.entries);
    return applyTable(context);
}

int runWolEntry(CommandContext& context, const Line& line) {
    Request request;
    std::string error;
    if (!parseRequest(line, request, error))
        return context.usageError(error);
    std::optional<std::string> csv;
    if (request.action == "import" && !(csv = readCsv(context, request.operand)))
        return kExitUsage;
    if (const int status = context.logOn(); status != kExitOk)
        return status;
    if (const int status =
            context.session().request(qv::request::readWol(), qv::ReplyEvent::WolArrived);
        status != kExitOk)
        return status;

    qv::CGlobalData& store = context.session().store();
    if (request.action == "export")
        return exportTo(context, request.operand, request.utf8);
    if (request.action == "import")
        return importFrom(context, request.operand, *csv);
    if (request.action == "add") {
        const wol::Input input{request.operand, request.mac};
        if (const wol::Verdict v = wol::validateAdd(store.wolCount, input); !v.ok())
            return refuse(context, v);
        wol::addEntry(store.wolTable, store.wolCount, input);
        return applyTable(context);
    }
    if (request.action == "del") {
        const wol::Verdict v = wol::validateDelete(store.wolCount, request.row);
        if (v.kind == wol::Verdict::Kind::Ignored)
            return refuse(context, "the Wake-on-LAN list is empty");
        if (!v.ok())
            return refuse(context, v);
        wol::deleteEntry(store.wolTable, store.wolCount, request.row);
        return applyTable(context);
    }
    // Edit starts from the entry as it is and changes what was asked for.
    const qv::WolEntry entry = store.wolTable.entry(static_cast<size_t>(request.row));
    const wol::Input input{request.name.value_or(entry.nameUtf8()),
                           request.newMac.value_or(entry.macUtf8())};
    const wol::Verdict v = wol::validateEdit(store.wolCount, request.row, input);
    if (v.kind == wol::Verdict::Kind::Ignored)
        return refuse(context, "the Wake-on-LAN list is empty");
    if (!v.ok())
        return refuse(context, v);
    wol::editEntry(store.wolTable, store.wolCount, request.row, input);
    return applyTable(context);
}

CommandRun defineWolEntry(CLI::App& command) {
    auto line = std::make_shared<Line>();
    addOperands(command, line->args, "ARGUMENTS");
    command
        .add_option_function<std::string>(
            "--name", [line](const std::string& value) { line->name = value; },
            "edit: the new name")
        ->type_name("NAME");
    command
        .add_option_function<std::string>(
            "--mac", [line](const std::string& value) { line->mac = value; },
            "edit: the new MAC address")
        ->type_name("MAC");
    command.add_flag("--utf8", line->utf8,
                     "export: UTF-8 with a byte-order mark instead of the code page");
    return [line](CommandContext& context) { return runWolEntry(context, *line); };
}

} // namespace

QVCTL_COMMAND(defineWolEntry, "wolentry", kUsage,
              "add, change or delete a Wake-on-LAN target, or export or import the list as CSV");

} // namespace qvctl
