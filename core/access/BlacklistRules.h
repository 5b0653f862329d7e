#pragma once

// The blacklist rules: the checks of the Block IP list's Add, Edit and Delete, the table edits
// they make (including Add Selected, which copies addresses from the blacklist), and how rows of
// both lists read. Shared by the blacklist page and qvctl. No Qt here.

#include "core/TableChangeTracker.h"
#include "core/Verdict.h"
#include "link/AccessTables.h"
#include "res/StringIds.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv::blacklist {

// The firewall takes at most 97 addresses, although its table has 100 slots.
inline constexpr int32_t kMaxEntries = 97;
// Add Selected stops appending once the count passes this.
inline constexpr int32_t kAddSelectedStop = 96;
// An address of this many bytes or fewer cannot be an address (Add only).
inline constexpr size_t kShortestRefused = 3;
// A slot holds 99 bytes of address and its terminator; a longer address is refused rather than
// cut, so the firewall never blocks an address other than the one the operator typed.
inline constexpr size_t kMaxAddressBytes = 99;
inline constexpr int32_t kSlots = static_cast<int32_t>(BlockIpTable::kSlots);

using qv::Verdict;

// An address as typed, already in the ANSI code page; `convertible` is false when a character
// has no form there (the text would otherwise reach the firewall with a '?').
struct Address {
    std::string ansi;
    bool convertible = true;
};
Address addressFromUtf8(std::string_view utf8, int codePage);

// Index of the first of the first `count` entries equal to `address` byte for byte (letter
// case counts), skipping `exceptRow`; -1 when there is none.
int findAddress(const BlockIpTable& table, int32_t count, std::string_view address,
                int exceptRow = -1);

// Add, in order: 97 or more entries; text that does not convert; 3 bytes or fewer; more than
// 99 bytes; an equal entry. The firewall's own refusals are fixed Korean texts in both languages.
Verdict validateAdd(const BlockIpTable& table, int32_t count, const Address& address);
// Edit, in order: no row selected (or the row is not an entry); text that does not convert; an
// empty text (a firewall slot without an address); more than 99 bytes; another equal entry.
Verdict validateEdit(const BlockIpTable& table, int32_t count, bool anySelected, int row,
                     const Address& address);
// Delete: an empty list does nothing; no selected row is refused. The question follows.
Verdict validateDelete(int32_t count, const std::vector<int>& selectedRows);

// Writes the address into slot `count` and grows the count. Call after validateAdd.
void addAddress(BlockIpTable& table, int32_t& count, std::string_view address);
// Overwrites the slot at `row`. Call after validateEdit.
void editAddress(BlockIpTable& table, int32_t count, int row, std::string_view address);
// Removes every row in `selectedRows` at once: the others move to the front in their order,
// the count becomes their number and the freed slots are zeroed. Rows outside the entries are
// ignored. Lead and trailing bytes are not touched.
void deleteRows(BlockIpTable& table, int32_t& count, const std::vector<int>& selectedRows);
// Appends the addresses in order, skipping those already listed (and empty ones), and stops
// once the count passes 96. With 97 or more entries it does nothing. Returns how many it added.
int addSelected(BlockIpTable& table, int32_t& count, const std::vector<std::string>& addresses);

// Whether blocking `address` (as the list keeps it) shuts out the client that is on the link from
// `ownAddress`: the firewall compares the text with the address a connection comes from.
// Blanks at either end do not count; an empty own address (no link) never matches.
bool locksOut(std::string_view address, std::string_view ownAddress);
// The first of `addresses` that locksOut, or -1.
int firstLockingOut(const std::vector<std::string>& addresses, std::string_view ownAddress);

using ChangeTracker = TableChangeTracker<BlockIpTable>;

// The lists' columns: caption and width in pixels.
struct Column {
    StringId caption;
    int width;
};
// "No.", "IP", "Day 1", "Day 2", "-Day 1", "-Day 2", "Week 1", "Week 2", "-Week 1", "-Week 2",
// "Quorvel IP".
extern const std::array<Column, 11> kBlacklistColumns;
// "No.", "IP".
extern const std::array<Column, 2> kBlockListColumns;

// Row `row` of the blacklist in UTF-8: number, address, the eight counters, Quorvel IP.
std::array<std::string, 11> blacklistRowTexts(const BlacklistEntry& entry, int row, int codePage);
// Row `row` of the Block IP list in UTF-8: number and address.
std::array<std::string, 2> blockRowTexts(const BlockIpTable& table, int row, int codePage);

} // namespace qv::blacklist
