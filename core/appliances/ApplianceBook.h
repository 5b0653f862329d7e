#pragma once

#include "res/Message.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::appliances {

// What was last learnt from an appliance when it was reached. Empty texts: not known.
struct LastSeen {
    std::string when; // UTC, "2026-12-10T03:15:00Z"
    std::string softwareVersion;
    std::string serial;

    bool operator==(const LastSeen&) const = default;
};

// One appliance of the address book. Texts are UTF-8. Never a password: those live in the
// desktop keyring.
struct Appliance {
    std::string name;
    std::string address; // "host:port"
    std::string adminId;
    std::string group;
    // The code page the appliance's texts are in (949, 1252, 65001); 0: the system's.
    int codePage = 0;
    std::string note;
    LastSeen lastSeen;

    bool operator==(const Appliance&) const = default;
};

// The bounds of the book; the administrator ID's is the appliance's own field.
inline constexpr size_t kMaxNameBytes = 64;
inline constexpr size_t kMaxAdminIdBytes = 31;
inline constexpr size_t kMaxGroupBytes = 64;
inline constexpr size_t kMaxNoteBytes = 1024;
inline constexpr size_t kMaxLastSeenBytes = 64;
inline constexpr size_t kMaxAppliances = 5000;
inline constexpr size_t kMaxBookBytes = 4 * 1024 * 1024;

// The code page its texts are read in: its own, or the system's when it names none.
int effectiveCodePage(const Appliance& appliance);
// Why `appliance` cannot be in a book, whatever else the book holds; nothing when it can.
std::optional<Message> checkAppliance(const Appliance& appliance);

// The appliances an administrator looks after, in the order they were added. Names are unique
// without regard to the case of ASCII letters ("Seoul" and "seoul" are one), and every change
// is checked whole before anything changes: a refusal leaves the book as it was.
class ApplianceBook {
public:
    const std::vector<Appliance>& appliances() const { return m_appliances; }
    const Appliance* find(std::string_view name) const;

    std::optional<Message> add(Appliance appliance);
    // Replaces the appliance called `name` with `changed` (which may carry a new name); what
    // was last seen of it is kept.
    std::optional<Message> edit(std::string_view name, Appliance changed);
    std::optional<Message> remove(std::string_view name);
    std::optional<Message> recordSeen(std::string_view name, const LastSeen& seen);

    // The appliances of `group` ("" for those without one), in the book's order.
    std::vector<const Appliance*> inGroup(std::string_view group) const;
    // Every group named, sorted, each once.
    std::vector<std::string> groups() const;

private:
    std::vector<Appliance>::iterator locate(std::string_view name);
    std::vector<Appliance> m_appliances;
};

struct LoadResult {
    std::optional<ApplianceBook> book; // nothing when refused
    std::optional<Message> error;
    bool ok() const { return book.has_value(); }
};

// The book as the file holds it: JSON, one object per appliance.
std::string bookText(const ApplianceBook& book);
// Reads a book's text strictly: an unknown key, a key twice, a value of the wrong kind or one
// the checks refuse, or two appliances of one name refuse the whole file, which is left as it
// is (`name` is the file's, for the messages).
LoadResult parseBook(std::string_view text, const std::string& name);
// Reads the book at `path`: a missing file is an empty book; a file that is too large, no
// regular file, unreadable or not a book is refused.
LoadResult loadBook(const std::string& path);
// Writes the book whole or not at all, private to its owner (mode 0600), making its folder
// (private too) when missing.
std::optional<Message> saveBook(const ApplianceBook& book, const std::string& path);

// The book's place: appliances.json in the folder "QVSetting" of the user's configuration
// folder ($XDG_CONFIG_HOME, else ~/.config; %APPDATA% on Windows). The window reaches the same
// folder through Qt. Nothing, with the reason, when the environment names no such folder.
std::optional<std::string> defaultBookPath(std::optional<Message>* why = nullptr);

} // namespace qv::appliances
