#include "core/schedule/ScheduleSheetImport.h"

#include "core/schedule/ScheduleRules.h"
#include "core/schedule/ScheduleSheetLayout.h"
#include "link/CodePage.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <numeric>

namespace qv::schedule {
namespace {

using Row = std::array<std::string, kSheetColumns>;

// Reading ends after this many rows in a row with columns A to F empty: the timetable is over,
// whatever notes follow further down.
constexpr int kBlankRowsToStop = 11;
// A function code is one or two characters; anything longer is a note.
constexpr size_t kMaxFunctionBytes = 2;
// The ID field holds 31 bytes and a terminator.
constexpr size_t kIdBytes = 31;

// Leading blanks, an optional sign, then digits up to the first other character; a text without
// digits reads as 0. Held far inside int so that no sheet can overflow it.
int64_t leadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t{1} << 40);
    return negative ? -value : value;
}

bool hasDigit(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// Rows from the top until eleven blank rows in a row, or the block ends (row 2040 at most).
std::vector<Row> rowsRead(const sheet::CellGrid& block) {
    std::vector<Row> rows;
    const uint32_t lastRow = std::min<uint32_t>(block.rows(), kSheetLastRow);
    const uint32_t columns = std::min<uint32_t>(block.columns(), kSheetColumns);
    int blankRun = 0;
    for (uint32_t r = 0; r < lastRow; ++r) {
        Row row;
        for (uint32_t c = 0; c < columns; ++c)
            row[c] = c == kSheetId ? idCellText(block.at(r, c)) : cellText(block.at(r, c));
        const bool blank = std::all_of(row.begin(), row.begin() + kSheetMinute + 1,
                                       [](const std::string& t) { return t.empty(); });
        blankRun = blank ? blankRun + 1 : 0;
        rows.push_back(std::move(row));
        if (blankRun >= kBlankRowsToStop)
            break;
    }
    return rows;
}

bool isCaptionRow(const Row& row) {
    return row[kSheetFunction] == kSheetCaptions[kSheetFunction] &&
           row[kSheetMonth] == kSheetCaptions[kSheetMonth] &&
           row[kSheetWeekday] == kSheetCaptions[kSheetWeekday];
}

// The same slot as far as the appliance is concerned: the function is not compared (an ON and an
// OFF at one time on one relay collide), and the day byte is compared whatever it holds, so a
// normal weekday 3 collides with an exception in month 3.
bool sameSlot(const ScheduleEntry& a, const ScheduleEntry& b, bool compareDate) {
    return a.id() == b.id() && a.relay() == b.relay() && a.day() == b.day() &&
           (!compareDate || a.date() == b.date()) && a.hour() == b.hour() &&
           a.minute() == b.minute();
}

void countOutOfRange(ImportSummary& summary, RangedField field, int64_t value, int64_t low,
                     int64_t high) {
    if (value < low || value > high)
        ++summary.outOfRange[static_cast<size_t>(field)];
}

class EntryReader {
public:
    EntryReader(ScheduleSheet& out, int codePage) : m_out(out), m_codePage(codePage) {}

    // `belowCaptions`: rows above the caption row hold the sheet's own notes, not the
    // administrator's, and are not counted as skipped.
    void take(const Row& row, bool belowCaptions) {
        const std::string& code = row[kSheetFunction];
        if (code.empty() || code == kSheetCaptions[kSheetFunction])
            return;
        // A note, however short: "x" or "가" in column A is no schedule. Its length counts in the
        // code page's bytes, as the appliance's texts are kept.
        if (!hasDigit(code) || utf8ToAnsi(code, m_codePage).size() > kMaxFunctionBytes) {
            m_out.summary.notes += belowCaptions ? 1 : 0;
            return;
        }
        int64_t v[kSheetId];
        for (int c = 0; c < kSheetId; ++c)
            v[c] = leadingNumber(row[c]);
        const int64_t f = v[kSheetFunction];
        const bool normal = f >= 0 && f < kFunctionCount;
        const bool exception = f >= ScheduleEntry::kExceptionOffset &&
                               f < ScheduleEntry::kExceptionOffset + kFunctionCount;
        if (!normal && !exception) {
            ++m_out.summary.unknownFunctions;
            return;
        }
        ScheduleEntry e;
        // Each value at its field's width, as the appliance stores it.
        e.setFunction(static_cast<uint8_t>(f));
        e.setRelay(static_cast<uint8_t>(v[kSheetRelay]));
        e.setDay(static_cast<uint8_t>(exception ? v[kSheetMonth] : v[kSheetWeekday]));
        e.setDate(static_cast<uint8_t>(exception ? v[kSheetDate] : 0));
        e.setHour(static_cast<uint16_t>(v[kSheetHour]));
        e.setMinute(static_cast<uint16_t>(v[kSheetMinute]));
        bool convertible = true;
        const std::string id = utf8ToAnsi(row[kSheetId], m_codePage, &convertible);
        e.setId(cutAnsi(id, kIdBytes, m_codePage));
        const bool duplicate =
            std::any_of(m_out.entries.begin(), m_out.entries.end(),
                        [&](const ScheduleEntry& taken) { return sameSlot(taken, e, exception); });
        if (duplicate) {
            ++m_out.summary.duplicates;
            return;
        }
        countRanges(v, exception);
        if (id.size() > kIdBytes)
            ++m_out.summary.idsCut;
        if (!convertible)
            ++m_out.summary.idsNotConvertible;
        m_out.entries.push_back(e);
    }

private:
    void countRanges(const int64_t* v, bool exception) {
        ImportSummary& s = m_out.summary;
        if (exception) {
            countOutOfRange(s, RangedField::Month, v[kSheetMonth], 1, 12);
            countOutOfRange(s, RangedField::Date, v[kSheetDate], 1, kMaxDate);
        } else {
            countOutOfRange(s, RangedField::Weekday, v[kSheetWeekday], 1, 7);
        }
        countOutOfRange(s, RangedField::Hour, v[kSheetHour], 0, 23);
        countOutOfRange(s, RangedField::Minute, v[kSheetMinute], 0, kMaxMinute);
        countOutOfRange(s, RangedField::Relay, v[kSheetRelay], 1, kRelayCount);
    }

    ScheduleSheet& m_out;
    int m_codePage;
};

} // namespace

int ImportSummary::outOfRangeTotal() const {
    return std::accumulate(outOfRange.begin(), outOfRange.end(), 0);
}

std::string cellText(const sheet::CellValue& value) {
    if (const auto* number = std::get_if<double>(&value)) {
        // The largest double has 309 digits.
        char text[400];
        std::snprintf(text, sizeof text, "%1.0f", *number);
        return text;
    }
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    return {};
}

std::string idCellText(const sheet::CellValue& value) {
    if (const auto* number = std::get_if<double>(&value)) {
        char text[400];
        const auto written =
            std::to_chars(text, text + sizeof text, *number, std::chars_format::fixed);
        return std::string(text, written.ptr);
    }
    return cellText(value);
}

sheet::SheetResult<ScheduleBlock> readScheduleBlock(sheet::SpreadsheetApplication& application,
                                                    const std::string& path) {
    auto book = application.workbooks().open(path);
    if (!book)
        return book.error();
    const auto read = [&]() -> sheet::SheetResult<ScheduleBlock> {
        auto first = book.value()->worksheets().item(1);
        if (!first)
            return first.error();
        auto block = first.value()->range("A1", "H" + std::to_string(kSheetLastRow));
        if (!block)
            return block.error();
        auto cells = block.value()->value2();
        if (!cells)
            return cells.error();
        auto below = first.value()->range("A" + std::to_string(kSheetLastRow + 1),
                                          "H" + std::to_string(sheet::kSheetRows));
        if (!below)
            return below.error();
        const auto last = below.value()->findLastValue();
        if (!last)
            return last.error();
        return ScheduleBlock{std::move(cells.value()), last.value() ? last.value()->row : 0};
    };
    auto grid = read();
    book.value()->close();
    application.quit();
    return grid;
}

ScheduleSheet readScheduleSheet(const sheet::CellGrid& block, int codePage) {
    ScheduleSheet out;
    const std::vector<Row> rows = rowsRead(block);
    out.captionFound = std::any_of(rows.begin(), rows.end(), isCaptionRow);
    if (!out.captionFound)
        return out;
    // Every row counts, those above the caption row too.
    EntryReader reader(out, codePage);
    bool belowCaptions = false;
    for (const Row& row : rows) {
        if (out.entries.size() >= ScheduleTable::kSlots)
            break;
        reader.take(row, belowCaptions);
        belowCaptions = belowCaptions || isCaptionRow(row);
    }
    return out;
}

ScheduleSheet readScheduleSheet(const ScheduleBlock& block, int codePage) {
    ScheduleSheet out = readScheduleSheet(block.cells, codePage);
    out.summary.lastRowNotRead = block.lastRowNotRead;
    return out;
}

void replaceSchedules(ScheduleTable& table, int32_t& count,
                      const std::vector<ScheduleEntry>& entries) {
    count = 0;
    for (const ScheduleEntry& e : entries) {
        if (count >= kScheduleSlots)
            break;
        table.setEntry(static_cast<size_t>(count++), e);
    }
}

} // namespace qv::schedule
