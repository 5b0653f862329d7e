#pragma once

// The Wake-on-LAN rules: what the operator may type, how an entry goes into the table, how a row
// reads, and the list as a CSV file and back. The appliance keeps names and MAC texts as UTF-8,
// and so do the window and qvctl. The CSV file is in the system's ANSI code page, which the
// administrators' spreadsheets read and write, unless it holds a name the code page cannot: then
// it is UTF-8 with a byte-order mark. No Qt here, and no file access: the page reads and writes
// the files and hands the bytes over.

#include "core/TableChangeTracker.h"
#include "core/Verdict.h"
#include "link/WolTable.h"
#include "res/StringIds.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::wol {

// The entry's fields hold 32 and 64 bytes with their terminator, counted in UTF-8.
inline constexpr size_t kMaxNameBytes = 31;
inline constexpr size_t kMaxMacBytes = 63;
inline constexpr int32_t kSlots = static_cast<int32_t>(WolTable::kSlots);
// An import stops after this many entries, two short of the table's slots.
inline constexpr int32_t kImportLimit = 99;
// A line of the file counts only when its MAC part has at least this many bytes, which passes
// over blank lines and a header line such as "Name, MAC".
inline constexpr size_t kShortestImportedMac = 7;

// An import file larger than this is not a Wake-on-LAN list (99 entries take a few kilobytes).
inline constexpr size_t kMaxImportFileBytes = 1024 * 1024;

using qv::Verdict;

// What the operator typed, in UTF-8: any character goes that fits the field in UTF-8.
struct Input {
    std::string name;
    std::string mac;
};

// Whether the list's file gives this MAC text back: a line's MAC part is read trimmed, without
// commas, and passed over when shorter than kShortestImportedMac. The import skips a line by
// this rule and Add and Edit refuse by it, so what the list takes survives export and import.
bool macKeptByFile(std::string_view mac);
// The MAC text passes with exactly five ':' or exactly five '-' and when the file keeps it.
// Digits and letter case are the operator's business.
bool macFormatOk(std::string_view mac);
// The MAC text as the list keeps it: every '-' becomes ':', white space at either end goes.
std::string withColons(std::string_view mac);
// Add takes names without blanks: every ' ' goes, then white space at either end.
std::string nameForAdd(std::string_view name);

// Add's checks in order: MAC empty, MAC format, name (blanks removed) empty, a full table, then
// a text that is no UTF-8 (or holds NUL) and the fields' byte limits in UTF-8.
Verdict validateAdd(int32_t count, const Input& input);
// Edit: an empty list does nothing; no row selected (row outside the entries); name empty, MAC
// empty, MAC format; then the conversion and the byte limits. The name is taken as typed.
Verdict validateEdit(int32_t count, int row, const Input& input);
// Delete: an empty list does nothing; no row selected is refused.
Verdict validateDelete(int32_t count, int row);

// Writes the input into slot `count` (bytes 0 to 3 stay as the slot held them) and grows the
// count. Call after validateAdd.
void addEntry(WolTable& table, int32_t& count, const Input& input);
// Overwrites name and MAC text of `row`. Call after validateEdit.
void editEntry(WolTable& table, int32_t count, int row, const Input& input);
// Removes `row`: names and MAC texts of later entries move up one slot while bytes 0 to 3 stay
// with their slots; the freed last slot keeps its bytes 0 to 3 and loses its texts, so the
// deleted entry does not travel with the next Apply. Call after validateDelete.
void deleteEntry(WolTable& table, int32_t& count, int row);
// Several rows chosen at once: an empty list does nothing; a row that is no entry is refused as
// if none were selected.
Verdict validateDeleteRows(int32_t count, const std::vector<int>& rows);
// Removes every row in `rows` as deleteEntry removes one. Call after validateDeleteRows.
void deleteRows(WolTable& table, int32_t& count, const std::vector<int>& rows);

using qv::sameEntries;
// Keeps the operator's edits apart from the table the appliance last confirmed.
using ChangeTracker = TableChangeTracker<WolTable>;

// The list's columns: caption and width in pixels. The last one is kept empty and hidden.
struct Column {
    StringId caption;
    int width;
};
extern const std::array<Column, 4> kColumns;

// Row `row` of the list: number (from 1), name, MAC text (UTF-8 as stored) and the empty "etc".
std::array<std::string, 4> rowTexts(const WolEntry& entry, int row);

// How the CSV file's bytes stand for characters.
enum class CsvEncoding {
    CodePage, // the system's ANSI code page
    Utf8,     // UTF-8; written with a byte-order mark so that spreadsheets know it
};
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The encoding a file was written in: UTF-8 when it starts with the byte-order mark, or when its
// bytes are well-formed UTF-8 that would not read as text of `codePage` (a spreadsheet's "CSV
// UTF-8" without the mark); otherwise `codePage`. A file of plain ASCII reads the same either way.
CsvEncoding detectEncoding(std::string_view bytes, int codePage);

// The first entry (from 0) whose name or MAC text has no form in `codePage`, or -1 when the
// whole list can be written in it.
int firstRowOutsideCodePage(const WolTable& table, int32_t count, int codePage);

// The list as the CSV file holds it: "name, MAC" and CR LF per entry, no header. A field is
// quoted as CSV quotes it ("a, b" -> "\"a, b\"", a quote doubled) when it holds a comma, a
// quote or a line end, or starts or ends with white space, so that the import gives it back;
// other fields are written as they are. A name a spreadsheet program would take as a formula
// (starting with =, +, -, @, tab or CR) is written behind an apostrophe, which the import takes
// off again. In CsvEncoding::CodePage an entry that has no form in
// `codePage` makes the export fail: `badRow` is its row (from 0) and `text` is empty.
struct ExportResult {
    std::string text;
    int badRow = -1;
    bool ok() const { return badRow < 0; }
};
Verdict validateExport(int32_t count);
ExportResult exportCsv(const WolTable& table, int32_t count, int codePage,
                       CsvEncoding encoding = CsvEncoding::CodePage);

// One entry read from the file, in UTF-8.
struct ImportedEntry {
    std::string name;
    std::string mac;
    bool operator==(const ImportedEntry&) const = default;
};
// What a file yields. On an error nothing is to be imported: `error` is the message (its %1 is
// the line) and `errorLine` the line (from 1) it is about.
struct ImportResult {
    std::vector<ImportedEntry> entries;
    // The file holds entries after the first kImportLimit; they are not imported.
    bool limited = false;
    std::optional<StringId> error;
    int errorLine = 0;
    CsvEncoding encoding = CsvEncoding::CodePage;
    bool ok() const { return !error; }
};
// Reads the file's bytes (in the encoding detectEncoding finds for `codePage`; lines ended by
// CR LF, LF or CR). For each line: the name is what stands before the first comma, the MAC text
// everything after it with further commas dropped; both are trimmed of white space. A field that
// starts with a quote (after blanks) and has its closing quote is read as CSV quotes it: taken
// as it stands between the quotes, commas, line ends and blanks included, "" as one quote.
// Lines with an empty name or a MAC text of six bytes or fewer are passed over. A line whose
// text does not convert (NUL bytes included) or whose name or MAC text does not fit its field
// fails the whole file. Lines are never cut.
ImportResult parseCsv(std::string_view bytes, int codePage);
// Replaces the list with `entries` (at most the table's slots): slots keep their bytes 0 to 3;
// slots that leave the list lose their texts.
void replaceEntries(WolTable& table, int32_t& count, const std::vector<ImportedEntry>& entries);

} // namespace qv::wol
