#include "core/appliances/ApplianceBook.h"

#include "core/JsonNesting.h"
#include "core/appliances/ConfigFolder.h"
#include "link/CodePage.h"
#include "link/PrivateFile.h"
#include "link/RegularFile.h"
#include "link/SocketIo.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

namespace qv::appliances {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kFormatName = "QVSetting appliances";
constexpr int kFormatVersion = 1;
// A book nests three levels deep (the file, the list, an appliance, what was last seen).
constexpr int kMaxNesting = 5;
// The code pages the link reads texts in.
constexpr int kCodePages[] = {949, 1252, 65001};
// An appliance has seven keys; a few more leave room for a later version's.
constexpr size_t kMaxKeysPerObject = 16;
// A host name is at most this long (a DNS name's bound).
constexpr size_t kMaxHostBytes = 253;

Message message(StringId id, std::vector<std::string> args = {}) {
    return Message{id, std::move(args)};
}

char lowered(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowered(x) == lowered(y);
           });
}

// UTF-8 without control characters; a note may also hold line ends and tabs.
bool cleanText(std::string_view text, bool multiLine = false) {
    if (!isUtf8(text))
        return false;
    return std::none_of(text.begin(), text.end(), [multiLine](char c) {
        const auto byte = static_cast<unsigned char>(c);
        if (multiLine && (c == '\n' || c == '\r' || c == '\t'))
            return false;
        return byte < 0x20 || byte == 0x7F;
    });
}

// "host:port" with a port from 1 to 65535 and a host of letters, digits, dots and hyphens:
// what the link connects to, and nothing a terminal or a file name could misread.
bool validAddress(const std::string& address) {
    ServerAddress parsed;
    if (address.find(':') == std::string::npos || !parseServerAddress(address, 0, parsed))
        return false;
    const std::string host = address.substr(0, address.rfind(':'));
    if (host.empty() || host.size() > kMaxHostBytes || host.front() == '-' || host.front() == '.')
        return false;
    return std::all_of(host.begin(), host.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '.' || c == '-';
    });
}

std::optional<Message> checkLastSeen(const LastSeen& seen) {
    for (const std::string* text : {&seen.when, &seen.softwareVersion, &seen.serial}) {
        if (text->size() > kMaxLastSeenBytes || !cleanText(*text))
            return message(StringId::ApplianceTextNotAllowed, {"lastSeen"});
    }
    return std::nullopt;
}

LoadResult refused(StringId id, std::vector<std::string> args) {
    return LoadResult{std::nullopt, message(id, std::move(args))};
}

// Reads one appliance's object; the path names the faulty part for the message.
class EntryReader {
public:
    EntryReader(const Json& entry, std::string path) : m_entry(entry), m_path(std::move(path)) {}

    std::optional<std::string> fault(Appliance& out) const {
        if (!m_entry.is_object())
            return m_path;
        static const std::set<std::string> known{"name",     "address", "adminId", "group",
                                                 "codePage", "note",    "lastSeen"};
        for (const auto& [key, value] : m_entry.items())
            if (known.count(key) == 0)
                return m_path + "." + key;
        if (!text("name", out.name, true) || !text("address", out.address, true) ||
            !text("adminId", out.adminId) || !text("group", out.group) || !text("note", out.note))
            return m_failed;
        if (const auto codePage = m_entry.find("codePage"); codePage != m_entry.end()) {
            if (!codePage->is_number_integer() ||
                std::find(std::begin(kCodePages), std::end(kCodePages), *codePage) ==
                    std::end(kCodePages))
                return m_path + ".codePage";
            out.codePage = codePage->get<int>();
        }
        if (const auto seen = m_entry.find("lastSeen"); seen != m_entry.end()) {
            static const std::set<std::string> parts{"when", "softwareVersion", "serial"};
            if (!seen->is_object())
                return m_path + ".lastSeen";
            for (const auto& [key, value] : seen->items())
                if (parts.count(key) == 0 || !value.is_string())
                    return m_path + ".lastSeen." + key;
            out.lastSeen.when = seen->value("when", "");
            out.lastSeen.softwareVersion = seen->value("softwareVersion", "");
            out.lastSeen.serial = seen->value("serial", "");
        }
        return std::nullopt;
    }

private:
    bool text(const char* key, std::string& out, bool required = false) const {
        const auto value = m_entry.find(key);
        if (value == m_entry.end() && !required)
            return true;
        if (value == m_entry.end() || !value->is_string()) {
            m_failed = m_path + "." + key;
            return false;
        }
        out = value->get<std::string>();
        return true;
    }

    const Json& m_entry;
    std::string m_path;
    mutable std::string m_failed;
};

} // namespace

int effectiveCodePage(const Appliance& appliance) {
    return appliance.codePage != 0 ? appliance.codePage : systemCodePage();
}

std::optional<Message> checkAppliance(const Appliance& a) {
    if (a.name.find_first_not_of(' ') == std::string::npos)
        return message(StringId::ApplianceNameEmpty);
    if (a.name.size() > kMaxNameBytes)
        return message(StringId::ApplianceNameTooLong, {std::to_string(kMaxNameBytes)});
    if (!cleanText(a.name))
        return message(StringId::ApplianceTextNotAllowed, {"name"});
    if (a.name.front() == ' ' || a.name.back() == ' ')
        return message(StringId::ApplianceNameSpaces);
    if (!validAddress(a.address))
        return message(StringId::ApplianceAddressInvalid, {cleanText(a.address) ? a.address : "?"});
    if (a.adminId.size() > kMaxAdminIdBytes)
        return message(StringId::ApplianceAdminIdTooLong, {std::to_string(kMaxAdminIdBytes)});
    if (!cleanText(a.adminId))
        return message(StringId::ApplianceTextNotAllowed, {"adminId"});
    if (a.group.size() > kMaxGroupBytes)
        return message(StringId::ApplianceGroupTooLong, {std::to_string(kMaxGroupBytes)});
    if (!cleanText(a.group))
        return message(StringId::ApplianceTextNotAllowed, {"group"});
    if (a.codePage != 0 &&
        std::find(std::begin(kCodePages), std::end(kCodePages), a.codePage) == std::end(kCodePages))
        return message(StringId::ApplianceCodePageUnsupported, {std::to_string(a.codePage)});
    if (a.note.size() > kMaxNoteBytes)
        return message(StringId::ApplianceNoteTooLong, {std::to_string(kMaxNoteBytes)});
    if (!cleanText(a.note, true))
        return message(StringId::ApplianceTextNotAllowed, {"note"});
    return checkLastSeen(a.lastSeen);
}

const Appliance* ApplianceBook::find(std::string_view name) const {
    const auto found = std::find_if(m_appliances.begin(), m_appliances.end(),
                                    [&](const Appliance& a) { return sameName(a.name, name); });
    return found == m_appliances.end() ? nullptr : &*found;
}

std::vector<Appliance>::iterator ApplianceBook::locate(std::string_view name) {
    return std::find_if(m_appliances.begin(), m_appliances.end(),
                        [&](const Appliance& a) { return sameName(a.name, name); });
}

std::optional<Message> ApplianceBook::add(Appliance appliance) {
    if (auto fault = checkAppliance(appliance))
        return fault;
    if (const Appliance* other = find(appliance.name))
        return message(StringId::ApplianceNameTaken, {other->name});
    if (m_appliances.size() >= kMaxAppliances)
        return message(StringId::ApplianceBookFull, {std::to_string(kMaxAppliances)});
    m_appliances.push_back(std::move(appliance));
    return std::nullopt;
}

std::optional<Message> ApplianceBook::edit(std::string_view name, Appliance changed) {
    const auto target = locate(name);
    if (target == m_appliances.end())
        return message(StringId::ApplianceNotFound, {std::string(name)});
    changed.lastSeen = target->lastSeen;
    if (auto fault = checkAppliance(changed))
        return fault;
    const auto other = locate(changed.name);
    if (other != m_appliances.end() && other != target)
        return message(StringId::ApplianceNameTaken, {other->name});
    *target = std::move(changed);
    return std::nullopt;
}

std::optional<Message> ApplianceBook::remove(std::string_view name) {
    const auto target = locate(name);
    if (target == m_appliances.end())
        return message(StringId::ApplianceNotFound, {std::string(name)});
    m_appliances.erase(target);
    return std::nullopt;
}

std::optional<Message> ApplianceBook::recordSeen(std::string_view name, const LastSeen& seen) {
    const auto target = locate(name);
    if (target == m_appliances.end())
        return message(StringId::ApplianceNotFound, {std::string(name)});
    if (auto fault = checkLastSeen(seen))
        return fault;
    target->lastSeen = seen;
    return std::nullopt;
}

std::vector<const Appliance*> ApplianceBook::inGroup(std::string_view group) const {
    std::vector<const Appliance*> found;
    for (const Appliance& a : m_appliances)
        if (a.group == group)
            found.push_back(&a);
    return found;
}

std::vector<std::string> ApplianceBook::groups() const {
    std::set<std::string> named;
    for (const Appliance& a : m_appliances)
        if (!a.group.empty())
            named.insert(a.group);
    return {named.begin(), named.end()};
}

std::string bookText(const ApplianceBook& book) {
    Json list = Json::array();
    for (const Appliance& a : book.appliances()) {
        Json entry{{"name", a.name}, {"address", a.address}};
        if (!a.adminId.empty())
            entry["adminId"] = a.adminId;
        if (!a.group.empty())
            entry["group"] = a.group;
        if (a.codePage != 0)
            entry["codePage"] = a.codePage;
        if (!a.note.empty())
            entry["note"] = a.note;
        if (a.lastSeen != LastSeen{})
            entry["lastSeen"] = Json{{"when", a.lastSeen.when},
                                     {"softwareVersion", a.lastSeen.softwareVersion},
                                     {"serial", a.lastSeen.serial}};
        list.push_back(std::move(entry));
    }
    const Json root{{"format", kFormatName}, {"version", kFormatVersion}, {"appliances", list}};
    // Every text was checked as UTF-8 on its way in; replacing is only a last guard.
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

LoadResult parseBook(std::string_view text, const std::string& name) {
    if (qv::jsonNesting(text) > kMaxNesting)
        return refused(StringId::ApplianceBookNotABook, {name});
    // nlohmann keeps the last of two equal keys without a word; a book is refused instead. And
    // an object finds a key by walking its keys, so one of a hundred thousand keys would take
    // minutes to build: the book's objects have a few, more are refused as they are read.
    std::vector<std::set<std::string>> keysOfOpenObjects;
    bool badKeys = false;
    const Json::parser_callback_t checkKeys = [&](int, Json::parse_event_t event, Json& parsed) {
        switch (event) {
        case Json::parse_event_t::object_start:
            keysOfOpenObjects.emplace_back();
            return true;
        case Json::parse_event_t::object_end:
            if (!keysOfOpenObjects.empty())
                keysOfOpenObjects.pop_back();
            return true;
        case Json::parse_event_t::key:
            if (keysOfOpenObjects.empty() ||
                (keysOfOpenObjects.back().size() < kMaxKeysPerObject &&
                 keysOfOpenObjects.back().insert(parsed.get<std::string>()).second))
                return true;
            badKeys = true;
            return false;
        default:
            return true;
        }
    };
    const Json root = Json::parse(text, checkKeys, false);
    if (root.is_discarded() || badKeys || !root.is_object())
        return refused(StringId::ApplianceBookNotABook, {name});
    const auto formatName = root.find("format");
    const auto version = root.find("version");
    if (formatName == root.end() || *formatName != kFormatName || version == root.end() ||
        !version->is_number_integer() || *version < 1)
        return refused(StringId::ApplianceBookNotABook, {name});
    if (*version > kFormatVersion)
        return refused(StringId::ApplianceBookNewer,
                       {name, version->dump(), std::to_string(kFormatVersion)});
    for (const auto& [key, value] : root.items())
        if (key != "format" && key != "version" && key != "appliances")
            return refused(StringId::ApplianceBookDamaged, {name, key});
    const auto list = root.find("appliances");
    if (list == root.end() || !list->is_array())
        return refused(StringId::ApplianceBookDamaged, {name, "appliances"});
    if (list->size() > kMaxAppliances)
        return refused(StringId::ApplianceBookFull, {std::to_string(kMaxAppliances)});

    ApplianceBook book;
    for (size_t i = 0; i < list->size(); ++i) {
        const std::string path = "appliances[" + std::to_string(i) + "]";
        Appliance appliance;
        if (const auto fault = EntryReader((*list)[i], path).fault(appliance))
            return refused(StringId::ApplianceBookDamaged, {name, *fault});
        if (auto why = book.add(std::move(appliance))) {
            // The reason names the appliance; the place in the file is what the editor needs.
            return refused(StringId::ApplianceBookBadEntry, {name, path, format(*why)});
        }
    }
    return LoadResult{std::move(book), std::nullopt};
}

LoadResult loadBook(const std::string& path) {
    std::error_code code;
    if (std::filesystem::symlink_status(path, code).type() == std::filesystem::file_type::not_found)
        return LoadResult{ApplianceBook{}, std::nullopt};
    const FileBytes file = readRegularFile(path, kMaxBookBytes);
    switch (file.status) {
    case FileReadStatus::Ok:
        return parseBook(file.bytes, path);
    case FileReadStatus::NotRegular:
        return refused(StringId::NotRegularFile, {path});
    case FileReadStatus::TooLarge:
        return refused(StringId::ApplianceBookTooLarge, {path, std::to_string(kMaxBookBytes)});
    case FileReadStatus::Unreadable:
        break;
    }
    return refused(StringId::ApplianceBookUnreadable, {path});
}

std::optional<Message> saveBook(const ApplianceBook& book, const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(path).parent_path();
    std::error_code code;
    if (!folder.empty() && !fs::exists(fs::symlink_status(folder, code))) {
        // Only the last folder is made private; the ones above it are the user's own affair.
        fs::create_directories(folder, code);
        if (!code)
            fs::permissions(folder, fs::perms::owner_all, code);
        if (code)
            return message(StringId::ApplianceBookWriteFailed, {path, code.message()});
    }
    if (const std::string fault = writePrivateFile(path, bookText(book)); !fault.empty())
        return message(StringId::ApplianceBookWriteFailed, {path, fault});
    return std::nullopt;
}

std::optional<std::string> defaultBookPath(std::optional<Message>* why) {
    namespace fs = std::filesystem;
    const ConfigFolder folder = userConfigFolder();
    const std::string& base = folder.path;
    const char* needed = folder.variable;
    if (base.empty()) {
        if (why)
            *why = message(StringId::ApplianceBookNoFolder, {needed});
        return std::nullopt;
    }
    return (fs::path(base) / "QVSetting" / "appliances.json").string();
}

} // namespace qv::appliances
