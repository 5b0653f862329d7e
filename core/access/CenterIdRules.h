#pragma once

// The center ID rules: what the operator may type, how an entry goes into the table and how a
// row reads. Shared by the center ID page and qvctl, so both refuse the same input with the same
// message. No Qt here.

#include "core/TableChangeTracker.h"
#include "core/Verdict.h"
#include "link/CenterIdTable.h"
#include "res/StringIds.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::centerid {

// The appliance's relay server reads at most 30 bytes of ID and 15 of password; the name field
// holds 31 bytes and its terminator. All counted in the system's ANSI code page.
inline constexpr size_t kMaxIdBytes = 30;
inline constexpr size_t kMaxPasswordBytes = 15;
inline constexpr size_t kMaxNameBytes = 31;
inline constexpr int kGroupCount = 50;
inline constexpr int32_t kSlots = static_cast<int32_t>(CenterIdTable::kSlots);

using qv::Verdict;

// What the operator typed and ticked, with texts already in the ANSI code page.
struct Input {
    std::string id;
    std::string password;
    std::string name;
    std::optional<int> groupIndex; // combo item 0..49, which is group 1..50
    bool superUser = false;
    bool prohibitFileTransfer = false;
    bool prohibitLogDeletion = false;
    // A text that does not exist in the code page: the message that refuses it.
    std::optional<StringId> unconvertible;
};

// Builds an Input from UTF-8 texts (the window's and the terminal's), converting them to
// `codePage`. A text that does not convert marks the input so that validation refuses it
// instead of storing a '?'.
Input inputFromUtf8(std::string_view id, std::string_view password, std::string_view name,
                    int codePage);

// The password guard: a password whose last character is '$' is refused
// (StringId::CenterIdPasswordDollar). Only the last character counts; the page looks at it each
// time the password box changes.
bool endsWithDollar(std::string_view text);

// True when `ansi` holds the character '_', looked for character by character so that a trail
// byte of a double-byte character is never taken for it.
bool containsUnderscore(std::string_view ansi, int codePage);

// Index of the first of the first `count` entries whose ID equals `id` byte for byte (letter
// case counts), skipping `exceptRow`; -1 when there is none.
int findDuplicate(const CenterIdTable& table, int32_t count, std::string_view id,
                  int exceptRow = -1);

// The checks of Add in their order: group, unconvertible text, ID empty, '_', password empty,
// ID length, password length, name length, a full table, a duplicate ID. The relay server cannot
// take '_' in an ID (StringId::CenterIdUnderscore).
Verdict validateAdd(const CenterIdTable& table, int32_t count, const Input& input, int codePage);
// The checks of Edit: an empty list does nothing; no row selected (row outside the entries);
// then Add's checks except the full table; a duplicate of another row.
Verdict validateEdit(const CenterIdTable& table, int32_t count, int row, const Input& input,
                     int codePage);
// Del: an empty list does nothing; no row selected (row outside the entries) is refused.
Verdict validateDelete(int32_t count, int row);

// The entry as Add and Edit write it over `base` (reserved byte 129 is kept).
CenterIdEntry entryFromInput(const Input& input, CenterIdEntry base = {});
// Writes the input into slot `count` and grows the count. Call after validateAdd.
void addEntry(CenterIdTable& table, int32_t& count, const Input& input);
// Overwrites the entry at `row` field by field. Call after validateEdit.
void editEntry(CenterIdTable& table, int32_t count, int row, const Input& input);
// Removes the entry at `row`: later entries move up one slot and the freed last slot is zeroed,
// so a deleted password does not travel with the next Apply. Call after validateDelete.
void deleteEntry(CenterIdTable& table, int32_t& count, int row);
// Several rows chosen at once: an empty list does nothing; a row that is no entry is refused as
// if none were selected.
Verdict validateDeleteRows(int32_t count, const std::vector<int>& rows);
// Removes every row in `rows` as deleteEntry removes one. Call after validateDeleteRows.
void deleteRows(CenterIdTable& table, int32_t& count, const std::vector<int>& rows);

// The entry loaded back into inputs (texts stay ANSI). A stored group outside 1..50 gives no
// group index, which leaves the page's group choice as it was.
Input inputFromEntry(const CenterIdEntry& entry);

using qv::sameEntries;

// Keeps the operator's edits apart from the table the appliance last confirmed, so that edits
// not yet applied are shown as such and never silently lost: not when the operator leaves the
// page, not when the link ends, not when a fresh table from the appliance overwrites the store.
using ChangeTracker = TableChangeTracker<CenterIdTable>;

// The list's columns: caption and width in pixels.
struct Column {
    StringId caption;
    int width;
};
// "No.", "ID", "Password", "Name", "Group", "SuperUser", "로그삭제", "파일전송".
extern const std::array<Column, 8> kColumns;

// Row `row` of the list in UTF-8: number, ID, one '*' per password byte, name, group,
// super-user text as stored, "금지"/"허용" for log deletion and for file transfer.
std::array<std::string, 8> rowTexts(const CenterIdEntry& entry, int row, int codePage);

// "금지" (forbidden) or "허용" (allowed), fixed Korean texts.
std::string_view prohibitionText(bool prohibited);

} // namespace qv::centerid
