#pragma once

// Dates as spreadsheet programs count them: a serial number of days, the time of day as its
// fraction. Value2 hands dates over as these numbers, so dates written as text in a file (ISO
// 8601 in .xlsx "d" cells, libfreexl's texts for .xls) are turned back into them.

#include <optional>
#include <string_view>

namespace qv::sheet {

// "2024-03-01", "2024-03-01T12:30:00", "2024-03-01 12:30:00.5", "12:30:00". In the 1900 date
// system day 1 is 1900-01-01 and the system keeps the 29 February 1900 that never was; in the
// 1904 system day 0 is 1904-01-01. Nothing for any other text.
std::optional<double> serialFromIsoText(std::string_view text, bool date1904);

} // namespace qv::sheet
