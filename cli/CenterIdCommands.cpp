// Center ID changes: centerid add | edit | del. Each fetches the appliance's table, applies the
// same rule as the center ID page (same checks, same order, same messages), sends the whole
// table back and reports the appliance's answer.

#include "cli/CommandOptions.h"
#include "cli/ExitCodes.h"
#include "cli/Registry.h"
#include "core/access/CenterIdRules.h"
#include "link/CodePage.h"
#include "link/Commands.h"
#include "link/Requests.h"
#include "res/StringTable.h"

#include <charconv>
#include <cstdlib>
#include <iostream>
#include <optional>

namespace qvctl {
namespace {

namespace cid = qv::centerid;
using qv::StringId;

constexpr const char* kUsage =
    "add ID --group N [--name NAME] [--super-user] [--prohibit-file-transfer] "
    "[--prohibit-log-deletion] | edit ID [--id NEW-ID] [--name NAME] [--group N] "
    "[--change-password] [--super-user|--no-super-user] "
    "[--prohibit-file-transfer|--allow-file-transfer] "
    "[--prohibit-log-deletion|--allow-log-deletion] | del ID";

// What the command line asked for. Texts are UTF-8 as typed; flags are set only when given.
struct Request {
    std::string action;
    std::string id;
    std::optional<std::string> newId;
    std::optional<std::string> name;
    std::optional<int> group;
    std::optional<bool> superUser;
    std::optional<bool> prohibitFileTransfer;
    std::optional<bool> prohibitLogDeletion;
    // Edit changes the password only when asked to; add always sets one.
    bool changePassword = false;
    std::string passwordFile;
};

// The action and the center ID as operands; the options, given anywhere, are already in
// `request`. Options that do not belong to the action are refused.
bool checkRequest(const std::vector<std::string>& args, Request& request, std::string& error) {
    if (args.size() < 2) {
        error = "needs an action (add, edit or del) and the center ID";
        return false;
    }
    request.action = args[0];
    request.id = args[1];
    if (request.action != "add" && request.action != "edit" && request.action != "del") {
        error = "unknown action '" + request.action + "' (add, edit or del)";
        return false;
    }
    if (args.size() > 2) {
        error = request.action == "del" ? "del takes only the center ID"
                                        : "unexpected argument '" + args[2] + "'";
        return false;
    }
    if (request.action != "edit" && (request.newId || request.changePassword)) {
        error = std::string(request.newId ? "--id" : "--change-password") + " belongs to edit";
        return false;
    }
    if (request.action == "del" &&
        (request.name || request.group || request.superUser || request.prohibitFileTransfer ||
         request.prohibitLogDeletion || !request.passwordFile.empty())) {
        error = "del takes only the center ID";
        return false;
    }
    if (request.action == "add")
        request.changePassword = true;
    else if (!request.passwordFile.empty() && !request.changePassword) {
        error = "--center-password-file on edit needs --change-password";
        return false;
    }
    return true;
}

// The center ID's password, never from the command line: from --center-password-file, else
// QVCTL_CENTER_PASSWORD, else typed at the terminal without echo. An edit without --change-password
// reads none, so a variable left in the environment never changes a password unasked.
std::optional<std::string> centerPassword(const Request& request, std::string& error) {
    if (!request.changePassword)
        return std::nullopt;
    return qvctl::readSecret(request.passwordFile, "QVCTL_CENTER_PASSWORD",
                             "Password for center ID " + request.id + ": ", true, error);
}

// A UTF-8 text in the code page; `refusal` is set when it does not convert.
std::string toAnsi(const std::string& utf8, StringId refusalId, std::optional<StringId>& refusal) {
    bool ok = true;
    std::string ansi = qv::utf8ToAnsi(utf8, qv::systemCodePage(), &ok);
    if (!ok && !refusal)
        refusal = refusalId;
    return ansi;
}

// A refusal, worded as on the page, in the terminal's language.
int refuse(CommandContext& context, const cid::Verdict& verdict) {
    context.err() << "qvctl " << context.options().command << ": " << qv::uiString(verdict.stringId)
                  << "\n";
    return kExitUsage;
}

// Sends the store's table and reports the appliance's answer.
int applyTable(CommandContext& context) {
    qv::CGlobalData& store = context.session().store();
    if (const int status =
            context.session().writeTable(ApplianceSession::Table::CenterIds, "the center IDs",
                                         std::string(qv::uiString(StringId::CenterIdApplyRefused)));
        status != kExitOk)
        return status;
    Report report;
    report.fields = {
        {"message", "Result", Value::of(std::string(qv::uiString(StringId::CenterIdSet)))},
        {"count", "Center IDs", Value::of(int64_t{store.centerIdCount})},
    };
    if (context.options().json)
        context.print(report);
    else
        context.out() << qv::uiString(StringId::CenterIdSet) << "\n";
    return kExitOk;
}

int runCenterId(CommandContext& context, const std::vector<std::string>& args, Request request) {
    std::string error;
    if (!checkRequest(args, request, error))
        return context.usageError(error);
    const bool adding = request.action == "add";
    std::optional<std::string> password;
    if (request.action != "del") {
        password = centerPassword(request, error);
        if (!error.empty())
            return context.usageError(error);
        // An edit asked to change the password needs one; the page's rule then judges it.
        if (request.action == "edit" && request.changePassword && !password)
            password = std::string();
        // The page empties its password box when '$' is typed last; such a password never
        // comes from it, so none comes from here either.
        if (password && cid::endsWithDollar(*password))
            return refuse(context, cid::Verdict::refused(StringId::CenterIdPasswordDollar));
    }
    if (const int status = context.logOn(); status != kExitOk)
        return status;
    if (const int status = context.session().request(qv::request::readCenterIds(),
                                                     qv::ReplyEvent::CenterIdsArrived);
        status != kExitOk)
        return status;

    qv::CGlobalData& store = context.session().store();
    const int codePage = qv::systemCodePage();
    std::optional<StringId> refusal;
    const std::string id = toAnsi(request.id, StringId::IdNotConvertible, refusal);

    if (adding) {
        cid::Input input;
        input.id = id;
        input.password = toAnsi(password.value_or(""), StringId::PasswordNotConvertible, refusal);
        input.name = toAnsi(request.name.value_or(""), StringId::NameNotConvertible, refusal);
        if (request.group)
            input.groupIndex = *request.group - 1;
        input.superUser = request.superUser.value_or(false);
        input.prohibitFileTransfer = request.prohibitFileTransfer.value_or(false);
        input.prohibitLogDeletion = request.prohibitLogDeletion.value_or(false);
        input.unconvertible = refusal;
        if (const cid::Verdict v =
                cid::validateAdd(store.centerIdTable, store.centerIdCount, input, codePage);
            !v.ok())
            return refuse(context, v);
        cid::addEntry(store.centerIdTable, store.centerIdCount, input);
        return applyTable(context);
    }

    // Edit and del name the entry by its ID, byte for byte as the appliance keeps it.
    const int row = refusal ? -1 : cid::findDuplicate(store.centerIdTable, store.centerIdCount, id);
    if (row < 0)
        return refuse(context, cid::Verdict::refused(StringId::CenterIdNotFound));

    if (request.action == "del") {
        cid::deleteEntry(store.centerIdTable, store.centerIdCount, row);
        return applyTable(context);
    }

    // Edit starts from the entry as it is and changes what was asked for.
    cid::Input input = cid::inputFromEntry(store.centerIdTable.entry(static_cast<size_t>(row)));
    if (request.newId)
        input.id = toAnsi(*request.newId, StringId::IdNotConvertible, refusal);
    if (password)
        input.password = toAnsi(*password, StringId::PasswordNotConvertible, refusal);
    if (request.name)
        input.name = toAnsi(*request.name, StringId::NameNotConvertible, refusal);
    if (request.group)
        input.groupIndex = *request.group - 1;
    if (request.superUser)
        input.superUser = *request.superUser;
    if (request.prohibitFileTransfer)
        input.prohibitFileTransfer = *request.prohibitFileTransfer;
    if (request.prohibitLogDeletion)
        input.prohibitLogDeletion = *request.prohibitLogDeletion;
    input.unconvertible = refusal;
    if (const cid::Verdict v =
            cid::validateEdit(store.centerIdTable, store.centerIdCount, row, input, codePage);
        !v.ok())
        return refuse(context, v);
    cid::editEntry(store.centerIdTable, store.centerIdCount, row, input);
    return applyTable(context);
}

CommandRun defineCenterId(CLI::App& command) {
    auto request = std::make_shared<Request>();
    auto operands = std::make_shared<std::vector<std::string>>();
    addOperands(command, *operands, "ARGUMENTS");
    command
        .add_option_function<std::string>(
            "--name", [request](const std::string& value) { request->name = value; },
            "add, edit: the center's name")
        ->type_name("NAME");
    command
        .add_option_function<std::string>(
            "--id", [request](const std::string& value) { request->newId = value; },
            "edit: the new center ID")
        ->type_name("NEW-ID");
    command
        .add_option_function<int>(
            "--group", [request](const int& value) { request->group = value; },
            "add, edit: the group, 1 to 50")
        ->type_name("N")
        ->check(wholeNumberOption(1, cid::kGroupCount, "takes a number from 1 to 50"));
    command.add_flag("--change-password", request->changePassword,
                     "edit: set a new password (add always sets one)");
    command
        .add_option("--center-password-file", request->passwordFile,
                    "read the center ID's password from the first line of FILE")
        ->type_name("FILE");
    command.add_flag_function(
        "--super-user,!--no-super-user", [request](int64_t n) { request->superUser = n > 0; },
        "add, edit: a super user, or not");
    command.add_flag_function(
        "--prohibit-file-transfer,!--allow-file-transfer",
        [request](int64_t n) { request->prohibitFileTransfer = n > 0; },
        "add, edit: file transfer prohibited, or allowed");
    command.add_flag_function(
        "--prohibit-log-deletion,!--allow-log-deletion",
        [request](int64_t n) { request->prohibitLogDeletion = n > 0; },
        "add, edit: log deletion prohibited, or allowed");
    // Each run starts from the request as the line gave it.
    return [request, operands](CommandContext& context) {
        return runCenterId(context, *operands, *request);
    };
}

} // namespace

QVCTL_COMMAND(defineCenterId, "centerid", kUsage,
              "add, change or delete a center ID (password from --center-password-file, "
              "QVCTL_CENTER_PASSWORD or a prompt; edit changes it only with --change-password)");

} // namespace qvctl
