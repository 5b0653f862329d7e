// appliances: the address book the window shares, listed and changed under the same checks.

#include "cli/CommandLine.h"
#include "cli/CommandOptions.h"
#include "cli/ExitCodes.h"
#include "cli/Registry.h"
#include "core/appliances/ApplianceBook.h"
#include "core/appliances/Keyring.h"
#include "link/Wipe.h"
#include "res/Message.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qvctl {
namespace {

using qv::appliances::Appliance;
using qv::appliances::ApplianceBook;

const char* const kUsage = "[add NAME HOST:PORT | edit NAME | remove NAME]";

struct Line {
    std::vector<std::string> args;
    std::optional<std::string> name;
    std::optional<std::string> address;
    std::optional<std::string> adminId;
    std::optional<std::string> group;
    std::optional<int> codePage;
    std::optional<std::string> note;
};

// The book and the keyring are this computer's own: what they refuse is a usage error.
int refuse(CommandContext& context, const qv::Message& message) {
    context.err() << "qvctl appliances: " << qv::format(message) << "\n";
    return kExitUsage;
}

std::optional<std::string> bookPath(CommandContext& context) {
    std::optional<qv::Message> why;
    std::optional<std::string> path = qv::appliances::defaultBookPath(&why);
    if (!path && why)
        refuse(context, *why);
    return path;
}

int list(CommandContext& context, const ApplianceBook& book) {
    std::vector<const Appliance*> sorted;
    for (const Appliance& entry : book.appliances())
        sorted.push_back(&entry);
    // As the window lists them: by group, the appliances without one last, then by name.
    std::stable_sort(sorted.begin(), sorted.end(), [](const Appliance* a, const Appliance* b) {
        if (a->group.empty() != b->group.empty())
            return b->group.empty();
        return a->group != b->group ? a->group < b->group : a->name < b->name;
    });
    Report report;
    report.listKey = "appliances";
    report.columnKeys = {"name",     "address",  "adminId", "group",
                         "codePage", "lastSeen", "version", "note"};
    report.columnLabels = {"NAME",      "ADDRESS",   "ADMIN ID", "GROUP",
                           "CODE PAGE", "LAST SEEN", "VERSION",  "NOTE"};
    report.emptyText = "The address book is empty.";
    for (const Appliance* entry : sorted)
        report.rows.push_back({Value::of(entry->name), Value::of(entry->address),
                               Value::of(entry->adminId), Value::of(entry->group),
                               Value::of(int64_t{qv::appliances::effectiveCodePage(*entry)}),
                               Value::of(entry->lastSeen.when),
                               Value::of(entry->lastSeen.softwareVersion), Value::of(entry->note)});
    context.print(report);
    return kExitOk;
}

// With --save-password: the password from the usual places, kept in the desktop keyring under
// the entry's name and address. Without a keyring the entry stays and the message says so.
int savePassword(CommandContext& context, const Appliance& entry) {
    Options asked = context.options();
    asked.server = entry.address;
    asked.user = entry.adminId;
    asked.applianceName.clear(); // the password is the one typed, not one already saved
    std::string password, error;
    if (!obtainPassword(asked, password, error)) {
        context.err() << "qvctl appliances: " << error << "\n";
        return kExitUsage;
    }
    const qv::appliances::KeyringResult saved =
        qv::appliances::storePassword(entry.name, entry.address, password);
    qv::wipe(password);
    if (const std::optional<qv::Message> why = saved.message())
        return refuse(context, *why);
    return kExitOk;
}

void applyOptions(const Line& line, Appliance& entry) {
    if (line.name)
        entry.name = *line.name;
    if (line.address)
        entry.address = *line.address;
    if (line.adminId)
        entry.adminId = *line.adminId;
    if (line.group)
        entry.group = *line.group;
    if (line.codePage)
        entry.codePage = *line.codePage;
    if (line.note)
        entry.note = *line.note;
}

int runAppliances(CommandContext& context, const Line& line) {
    const std::string action = line.args.empty() ? "" : line.args.front();
    const size_t operands = action == "add" ? 3 : action.empty() ? 0 : 2;
    if (line.args.size() != operands ||
        (!action.empty() && action != "add" && action != "edit" && action != "remove"))
        return context.usageError(std::string("usage: qvctl appliances ") + kUsage);
    if (action != "edit" && (line.name || line.address))
        return context.usageError("--name and --address belong to appliances edit");

    const std::optional<std::string> path = bookPath(context);
    if (!path)
        return kExitUsage;
    qv::appliances::LoadResult loaded = qv::appliances::loadBook(*path);
    if (!loaded.ok())
        return refuse(context, *loaded.error);
    ApplianceBook& book = *loaded.book;
    if (action.empty())
        return list(context, book);

    const std::string& name = line.args[1];
    Appliance entry;
    std::optional<qv::Message> refused;
    if (action == "add") {
        entry.name = name;
        entry.address = line.args[2];
        entry.adminId = "admin";
        applyOptions(line, entry);
        refused = book.add(entry);
    } else if (action == "edit") {
        const Appliance* found = book.find(name);
        if (!found)
            return refuse(context, {qv::StringId::ApplianceNotFound, {name}});
        entry = *found;
        applyOptions(line, entry);
        refused = book.edit(name, entry);
        // A renamed or moved appliance keeps its saved password.
        if (!refused && (found->name != entry.name || found->address != entry.address))
            qv::appliances::movePassword(found->name, found->address, entry.name, entry.address);
    } else {
        const Appliance* found = book.find(name);
        if (!found)
            return refuse(context, {qv::StringId::ApplianceNotFound, {name}});
        entry = *found;
        refused = book.remove(name);
    }
    if (refused)
        return refuse(context, *refused);
    if (const std::optional<qv::Message> failed = qv::appliances::saveBook(book, *path))
        return refuse(context, *failed);
    if (action == "remove") {
        qv::appliances::clearPassword(entry.name, entry.address);
        return kExitOk;
    }
    return context.options().savePassword ? savePassword(context, entry) : kExitOk;
}

CommandRun defineAppliances(CLI::App& command) {
    auto line = std::make_shared<Line>();
    addOperands(command, line->args, "ARGUMENTS");
    const auto text = [&command](const char* name, std::optional<std::string>& into,
                                 const char* what, const char* value) {
        command
            .add_option_function<std::string>(
                name, [&into](const std::string& given) { into = given; }, what)
            ->type_name(value);
    };
    text("--name", line->name, "edit: the new name", "NAME");
    text("--address", line->address, "edit: the new address", "HOST:PORT");
    text("--admin-id", line->adminId, "add, edit: the administrator ID (default admin)", "ID");
    text("--group", line->group, "add, edit: the group the appliance is listed under", "GROUP");
    text("--note", line->note, "add, edit: a note", "TEXT");
    command
        .add_option_function<int>(
            "--codepage", [line](int value) { line->codePage = value; },
            "add, edit: the code page of its texts, 949, 1252 or 65001 (0: the system's)")
        ->type_name("CP")
        ->check(wholeNumberOption(0, 65535, "needs a code page number"));
    return [line](CommandContext& context) { return runAppliances(context, *line); };
}

} // namespace

QVCTL_COMMAND(defineAppliances, "appliances", kUsage,
              "list the address book the window shares, or add, change or remove an appliance");

} // namespace qvctl
