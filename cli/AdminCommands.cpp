// The administrator's own credentials: admin NEW-ID. The new password never comes from the
// command line; the same checks and messages as the administrator page apply before anything is
// sent, and the appliance's answer is reported.

#include "cli/CommandOptions.h"
#include "cli/ExitCodes.h"
#include "cli/Registry.h"
#include "core/access/AdminRules.h"
#include "link/CodePage.h"
#include "link/Requests.h"
#include "res/StringTable.h"

#include <cstdlib>
#include <iostream>
#include <optional>

namespace qvctl {
namespace {

namespace admin = qv::admin;

constexpr const char* kNewPasswordVariable = "QVCTL_NEW_PASSWORD";

// The new password, and the same typed again. From --new-password-file or QVCTL_NEW_PASSWORD
// it is taken once (a file or a variable cannot mistype it); at a terminal it is typed twice
// without echo, as on the page.
bool newPassword(const std::string& file, std::string& password, std::string& retype,
                 std::string& error) {
    const std::optional<std::string> first =
        readSecret(file, kNewPasswordVariable, "New administrator password: ", true, error);
    if (!error.empty())
        return false;
    if (!first) {
        error = "no new password: standard input is not a terminal, QVCTL_NEW_PASSWORD is not "
                "set and --new-password-file was not given";
        return false;
    }
    password = *first;
    retype = password;
    if (file.empty() && std::getenv(kNewPasswordVariable) == nullptr) {
        const std::optional<std::string> second =
            readSecret({}, kNewPasswordVariable, "Retype the new password: ", true, error);
        if (!error.empty())
            return false;
        retype = second.value_or("");
    }
    return true;
}

int runAdmin(CommandContext& context, const std::vector<std::string>& ids,
             const std::string& file) {
    if (ids.size() > 1)
        return context.usageError("takes one new administrator ID");
    const std::string id = ids.empty() ? std::string() : ids.front();
    std::string password;
    std::string retype;
    std::string error;
    if (!newPassword(file, password, retype, error))
        return context.usageError(error);

    const admin::Verdict verdict = admin::checkChange(id, password, retype, qv::systemCodePage());
    if (!verdict.ok()) {
        context.err() << "qvctl admin: " << qv::uiString(*verdict.refusal) << "\n";
        return kExitUsage;
    }
    if (const int status = context.logOn(); status != kExitOk)
        return status;
    if (const int status = context.session().change(
            qv::request::changeAdmin(verdict.id, verdict.password),
            qv::ReplyEvent::AdminChangeAnswered, "the new administrator ID and password");
        status != kExitOk)
        return status;
    const std::string done(qv::uiString(qv::StringId::AdminChanged));
    if (context.options().json) {
        Report report;
        report.fields = {{"message", "Result", Value::of(done)}};
        context.print(report);
    } else {
        context.out() << done << "\n";
    }
    return kExitOk;
}

CommandRun defineAdmin(CLI::App& command) {
    auto ids = std::make_shared<std::vector<std::string>>();
    auto file = std::make_shared<std::string>();
    addOperands(command, *ids, "NEW-ID");
    command
        .add_option("--new-password-file", *file,
                    "read the new password from the first line of FILE")
        ->type_name("FILE");
    return [ids, file](CommandContext& context) { return runAdmin(context, *ids, *file); };
}

} // namespace

QVCTL_COMMAND(defineAdmin, "admin", "NEW-ID [--new-password-file FILE]",
              "change the administrator ID and password (new password from the file, "
              "QVCTL_NEW_PASSWORD, or typed twice)");

} // namespace qvctl
