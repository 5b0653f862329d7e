#pragma once

// The schedule sheet as administrators know it: three note rows, the caption row and one row per
// schedule, columns A to H. The export writes it and the import looks for its captions, so both
// read these texts from here. They are the file's own texts, Korean whatever the window's
// language, because sheets are passed between sites.

#include <array>
#include <string_view>

namespace qv::schedule {

inline constexpr int kSheetColumns = 8; // A to H
inline constexpr int kSheetCaptionRow = 6;
inline constexpr int kSheetFirstEntryRow = 7;
// The import reads A1:H2040 and nothing beyond.
inline constexpr int kSheetLastRow = 2040;
// So of the entries written from row 7 on, the first 2034 come back; a timetable of up to 2048
// entries is written whole all the same, to be seen in the spreadsheet program.
inline constexpr int kSheetEntriesReadBack = kSheetLastRow - kSheetFirstEntryRow + 1;
inline constexpr double kSheetColumnWidth = 10;

// Rows 2, 3 and 4, each merged across A to H; the texts begin with a blank as they always have.
inline constexpr std::array<std::string_view, 3> kSheetNotes{
    " 동작구분(정규스케줄) : ON(0), OFF(1), PUSH ON(2), PUSH OFF(3)",
    " 동작구분(예외스케줄) : ON(50), OFF(51), PUSH ON(52), PUSH OFF(53)",
    "요일 : 일(1), 월(2), 화(3), 수(4), 목(5), 금(6), 토(7),"
    "    시간 : 0 ~ 23,    분 : 0 ~ 59,    접점 : 1 ~ 4"};

// Function, month, weekday, date, hour, minute, relay, ID.
enum SheetColumn : int {
    kSheetFunction,
    kSheetMonth,
    kSheetWeekday,
    kSheetDate,
    kSheetHour,
    kSheetMinute,
    kSheetRelay,
    kSheetId
};
inline constexpr std::array<std::string_view, kSheetColumns> kSheetCaptions{
    "동작구분", "월", "요일", "일", "시간", "분", "접점", "ID"};

} // namespace qv::schedule
