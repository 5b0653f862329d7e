#include "cli/Inventory.h"

#include "core/appliances/ApplianceBook.h"
#include "core/appliances/Keyring.h"
#include "link/RegularFile.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

namespace qvctl {
namespace {

using qv::Message;
using qv::StringId;

bool isNameByte(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-' || c >= 0x80;
}

// Case folded as far as ASCII goes: NAS and nas would be one backup file on Windows and macOS.
std::string foldedName(std::string_view name) {
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return folded;
}

bool isValidUtf8(std::string_view text) {
    try {
        (void)nlohmann::json(std::string(text)).dump();
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

std::optional<StringId> nameFault(std::string_view name) {
    if (name.size() > kMaxApplianceNameBytes)
        return StringId::InventoryNameTooLong;
    // Non-ASCII bytes pass one by one above; here they must also form valid UTF-8.
    if (!std::all_of(name.begin(), name.end(),
                     [](char c) { return isNameByte(static_cast<unsigned char>(c)); }) ||
        !isValidUtf8(name) || name.front() == '.')
        return StringId::InventoryBadName;
    return std::nullopt;
}

bool isHostName(std::string_view host) {
    if (host.empty() || host.size() > 253 || host.front() == '-' || host.front() == '.' ||
        host.back() == '.' || host.find("..") != std::string_view::npos)
        return false;
    return std::all_of(host.begin(), host.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '.' || c == '-';
    });
}

Message lineMessage(StringId id, int line, std::string detail = {}) {
    return {id, {std::to_string(line), std::move(detail)}};
}

} // namespace

bool isApplianceAddress(std::string_view address) {
    const size_t colon = address.rfind(':');
    if (colon == std::string_view::npos || colon + 1 == address.size())
        return false;
    const std::string_view port = address.substr(colon + 1);
    int value = 0;
    const auto [end, fault] = std::from_chars(port.data(), port.data() + port.size(), value);
    if (fault != std::errc() || end != port.data() + port.size() || port.front() == '+' ||
        value < 1 || value > 65535)
        return false;
    return isHostName(address.substr(0, colon));
}

std::optional<std::vector<InventoryEntry>> parseInventory(std::string_view text, Message& error) {
    if (text.size() > kMaxInventoryBytes) {
        error = {StringId::InventoryTooLarge, {std::to_string(kMaxInventoryBytes / 1024)}};
        return std::nullopt;
    }
    // An editor's byte order mark is not part of the first name.
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<InventoryEntry> entries;
    std::map<std::string, int> lineOfName;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        line = line.substr(0, line.find('#'));
        std::vector<std::string_view> words;
        for (size_t at = 0;;) {
            at = line.find_first_not_of(" \t\r", at);
            if (at == std::string_view::npos)
                break;
            const size_t stop = std::min(line.find_first_of(" \t\r", at), line.size());
            words.push_back(line.substr(at, stop - at));
            at = stop;
        }
        if (words.empty())
            continue;
        if (words.size() != 2) {
            error = lineMessage(StringId::InventoryBadLine, lineNumber);
            return std::nullopt;
        }
        if (const auto fault = nameFault(words[0])) {
            error = lineMessage(*fault, lineNumber, std::string(words[0]));
            return std::nullopt;
        }
        if (!isApplianceAddress(words[1])) {
            error = lineMessage(StringId::InventoryBadAddress, lineNumber, std::string(words[1]));
            return std::nullopt;
        }
        const auto [seen, added] = lineOfName.emplace(foldedName(words[0]), lineNumber);
        if (!added) {
            error = {
                StringId::InventoryDuplicateName,
                {std::to_string(lineNumber), std::string(words[0]), std::to_string(seen->second)}};
            return std::nullopt;
        }
        if (entries.size() == kMaxInventoryEntries) {
            error = {StringId::InventoryTooManyEntries, {std::to_string(kMaxInventoryEntries)}};
            return std::nullopt;
        }
        entries.push_back({std::string(words[0]), std::string(words[1]), lineNumber});
    }
    if (entries.empty()) {
        error = {StringId::InventoryEmpty, {}};
        return std::nullopt;
    }
    return entries;
}

std::optional<std::vector<InventoryEntry>> readInventoryFile(const std::string& path,
                                                             Message& error) {
    const qv::FileBytes file = qv::readRegularFile(path, kMaxInventoryBytes);
    switch (file.status) {
    case qv::FileReadStatus::Ok:
        break;
    case qv::FileReadStatus::TooLarge:
        error = {StringId::InventoryTooLarge, {std::to_string(kMaxInventoryBytes / 1024)}};
        return std::nullopt;
    case qv::FileReadStatus::NotRegular:
        error = {StringId::NotRegularFile, {path}};
        return std::nullopt;
    case qv::FileReadStatus::Unreadable:
        error = {StringId::InventoryUnreadable, {path}};
        return std::nullopt;
    }
    return parseInventory(file.bytes, error);
}

namespace {

bool has(const std::vector<std::string>& args, std::string_view option) {
    return std::find(args.begin(), args.end(), option) != args.end();
}

bool isFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

} // namespace

std::optional<Message> checkInventoryCommand(const std::string& command,
                                             const std::vector<std::string>& args) {
    static const std::set<std::string> anyArguments{"summary",   "time",      "iolist",
                                                    "centerids", "blacklist", "blockips",
                                                    "wol",       "centerid",  "blockip"};
    const std::string first = args.empty() ? std::string() : args.front();
    if (anyArguments.count(command) != 0)
        return std::nullopt;
    if ((command == "network" || command == "autoupdate") && args.empty())
        return std::nullopt;
    if (command == "schedule" || command == "wolentry") {
        if (first == "export")
            return Message{StringId::InventoryOneFileForAll, {command + " export"}};
        if (command == "schedule" && first == "import" && !has(args, "--yes"))
            return Message{StringId::InventoryNeedsYes, {command + " import"}};
        return std::nullopt;
    }
    if (command == "backup") {
        if (args.size() == 1 && !isFolder(first))
            return Message{StringId::InventoryNeedsFolder, {first}};
        return std::nullopt;
    }
    if (command == "restore") {
        if (!has(args, "--dry-run") && !has(args, "--yes"))
            return Message{StringId::InventoryNeedsYes, {command}};
        return std::nullopt;
    }
    return Message{StringId::InventoryCommandRefused, {command}};
}

std::vector<std::string> argumentsFor(const std::string& command,
                                      const std::vector<std::string>& args,
                                      const InventoryEntry& appliance) {
    std::vector<std::string> out = args;
    if ((command == "backup" || command == "restore") && !out.empty() && isFolder(out.front()))
        out.front() =
            (std::filesystem::path(out.front()) / (fileNameOf(appliance) + ".json")).string();
    return out;
}

std::optional<std::vector<InventoryEntry>>
loadInventory(const std::string& file, const std::optional<std::string>& group, Message& error) {
    std::string path = file;
    if (path.empty()) {
        std::optional<Message> why;
        const auto place = qv::appliances::defaultBookPath(&why);
        if (!place) {
            error = why.value_or(Message{StringId::InventoryEmpty, {}});
            return std::nullopt;
        }
        path = *place;
    } else {
        const qv::FileBytes start = qv::readRegularFile(path, kMaxInventoryBytes);
        const size_t first = start.bytes.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
        const bool book = first != std::string::npos && start.bytes[first] == '{';
        if (start.status != qv::FileReadStatus::TooLarge && !book) {
            if (group) {
                error = {StringId::InventoryGroupNeedsBook, {path}};
                return std::nullopt;
            }
            return readInventoryFile(path, error);
        }
    }
    const qv::appliances::LoadResult loaded = qv::appliances::loadBook(path);
    if (!loaded.ok()) {
        error = loaded.error.value_or(Message{StringId::InventoryUnreadable, {path}});
        return std::nullopt;
    }
    std::vector<InventoryEntry> entries;
    int index = 0;
    for (const auto& a : loaded.book->appliances()) {
        ++index;
        if (!group || a.group == *group)
            entries.push_back({a.name, a.address, index, a.adminId, a.codePage});
    }
    if (entries.empty()) {
        error = group ? Message{StringId::InventoryEmptyGroup, {*group}}
                      : Message{StringId::InventoryEmpty, {}};
        return std::nullopt;
    }
    return entries;
}

std::optional<std::string> passwordFor(const InventoryEntry& appliance, Message& error) {
    if (const char* shared = std::getenv("QVCTL_PASSWORD"))
        return std::string(shared);
    std::string password;
    const auto found = qv::appliances::lookupPassword(appliance.name, appliance.address, password);
    if (found.ok())
        return password;
    error = found.message().value_or(Message{StringId::InventoryNoPassword, {appliance.name}});
    return std::nullopt;
}

std::string fileNameOf(const InventoryEntry& appliance) {
    std::string name = appliance.name;
    for (char& c : name)
        if (!isNameByte(static_cast<unsigned char>(c)))
            c = '_';
    if (!name.empty() && name.front() == '.')
        name.front() = '_';
    return name;
}

std::optional<Message> checkFileNames(const std::vector<InventoryEntry>& appliances) {
    std::map<std::string, const InventoryEntry*> byFile;
    for (const auto& appliance : appliances) {
        const auto [seen, added] = byFile.emplace(foldedName(fileNameOf(appliance)), &appliance);
        if (!added)
            return Message{StringId::InventorySameFile,
                           {seen->second->name, appliance.name, fileNameOf(appliance) + ".json"}};
    }
    return std::nullopt;
}

} // namespace qvctl
