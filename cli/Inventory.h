#pragma once

#include "res/Message.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qvctl {

// One appliance of an inventory: the name the administrator gave it and where it listens.
struct InventoryEntry {
    std::string name;
    std::string address;      // HOST:PORT, as written
    int line = 0;             // where it stands in its file, for messages
    std::string adminId = {}; // the address book's administrator ID; empty: --user
    int codePage = 0;         // the code page of its texts; 0: the system's
};

// An inventory file is read whole before anything is sent, so it has to fit in memory with room
// to spare; a fleet this size is already far more than one run should reach.
inline constexpr size_t kMaxInventoryBytes = 1024 * 1024;
inline constexpr size_t kMaxInventoryEntries = 10000;
// A name becomes a file name (DIR/NAME.json) and a table cell.
inline constexpr size_t kMaxApplianceNameBytes = 64;

// Reads a plain list: one "NAME HOST:PORT" a line; blank lines and everything from "#" to the end
// of a line are ignored. Every line is checked and nothing is returned unless all are sound: the
// first fault comes back as a message naming its line. A name is letters, digits, ".", "_", "-"
// or any non-ASCII UTF-8 letter, does not start with "." and is used only once (case does not
// make two names differ, since the backup files of both would be one file on some systems).
std::optional<std::vector<InventoryEntry>> parseInventory(std::string_view text,
                                                          qv::Message& error);

// The same for a file: a regular file of at most kMaxInventoryBytes.
std::optional<std::vector<InventoryEntry>> readInventoryFile(const std::string& path,
                                                             qv::Message& error);

// Whether `address` is HOST:PORT with a host name or dotted IPv4 address and a port 1..65535.
bool isApplianceAddress(std::string_view address);

// --inventory FILE and --group G as qvctl takes them: FILE is an address book when it holds a
// JSON object, else a plain list; --group G takes the book's appliances of that group, from FILE
// or, without it, from the book in its usual place. A plain list has no groups.
std::optional<std::vector<InventoryEntry>>
loadInventory(const std::string& file, const std::optional<std::string>& group, qv::Message& error);

// The administrator password of one appliance: QVCTL_PASSWORD for all when it is set, else the
// one the desktop keyring keeps for the appliance's name and address.
std::optional<std::string> passwordFor(const InventoryEntry& appliance, qv::Message& error);

// The name of an appliance's own file (FOLDER/NAME.json): a book's name may hold what a file
// name must not ("/", ":", a leading "."), and each such byte becomes "_". Two appliances whose
// files would be one refuse the run, since one would overwrite the other's backup.
std::string fileNameOf(const InventoryEntry& appliance);
std::optional<qv::Message> checkFileNames(const std::vector<InventoryEntry>& appliances);

// Whether `command` with `args` may run on every appliance of an inventory, checked once before
// any appliance is reached; the refusal otherwise. Reads, backup, restore and the table edits
// run; a change of an appliance's own settings (network, administrator, update, reboot, ...) is
// made one appliance at a time. Nothing may ask a question, since many appliances would ask at
// once: a restore needs --dry-run or --yes, a schedule import --yes. An export would write one
// file for every appliance, and backup needs an existing folder for its files.
std::optional<qv::Message> checkInventoryCommand(const std::string& command,
                                                 const std::vector<std::string>& args);

// The command's arguments for one appliance: backup's folder becomes FOLDER/NAME.json, and so
// does restore's when it names a folder (a file is restored to every appliance).
std::vector<std::string> argumentsFor(const std::string& command,
                                      const std::vector<std::string>& args,
                                      const InventoryEntry& appliance);

} // namespace qvctl
