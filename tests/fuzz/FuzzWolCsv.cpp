// Fuzzes the Wake-on-LAN list import: the input is a CSV file, its first byte choosing the code
// page it is read in. Whatever the file, an import that succeeds holds at most the import limit
// of entries, each with a name and a MAC text that fit their fields and were not passed over, and
// replacing a table with them keeps the count within the table; and the list written as UTF-8
// and read again is the same list, whatever commas, quotes and blanks its names hold.

#include "core/network/WolRules.h"
#include "tests/fuzz/FuzzCheck.h"

#include <string_view>

namespace {

using qvfuzz::check;

// Korean (the appliance's home), Japanese and Chinese double-byte pages and Western European.
constexpr int kCodePages[] = {949, 932, 936, 1252};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const int codePage = kCodePages[data[0] % std::size(kCodePages)];
    const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);
    const qv::wol::ImportResult result = qv::wol::parseCsv(file, codePage);
    if (!result.ok()) {
        check(result.entries.empty(), "a failed import kept entries");
        check(result.errorLine >= 1, "an error without its line");
        return 0;
    }
    check(result.entries.size() <= static_cast<size_t>(qv::wol::kImportLimit),
          "more entries than the import limit");
    for (const qv::wol::ImportedEntry& entry : result.entries) {
        check(!entry.name.empty(), "an entry without a name");
        check(entry.mac.size() >= qv::wol::kShortestImportedMac, "a MAC text that is too short");
    }
    static qv::WolTable table;
    int32_t count = 0;
    qv::wol::replaceEntries(table, count, result.entries);
    check(count >= 0 && count <= qv::wol::kSlots, "count outside the table");
    const qv::wol::ExportResult written =
        qv::wol::exportCsv(table, count, codePage, qv::wol::CsvEncoding::Utf8);
    check(written.ok(), "an imported list that cannot be written");
    check(qv::wol::parseCsv(written.text, codePage).entries == result.entries,
          "a written list that reads back differently");
    return 0;
}
