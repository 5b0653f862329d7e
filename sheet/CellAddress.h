#pragma once

// Cell names as the automation takes them: "A7", "$H$2040", and blocks "A2:H4".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv::sheet {

// The last row and column an .xlsx sheet can have (column XFD).
inline constexpr uint32_t kSheetRows = 1048576;
inline constexpr uint32_t kSheetColumns = 16384;

// Row and column count from 1, as the cell names do.
struct CellAddress {
    uint32_t row = 1;
    uint32_t column = 1;

    bool operator==(const CellAddress&) const = default;
};

struct CellArea {
    CellAddress first;
    CellAddress last;

    uint32_t rows() const { return last.row - first.row + 1; }
    uint32_t columns() const { return last.column - first.column + 1; }
    uint64_t cellCount() const { return uint64_t{rows()} * columns(); }
    bool contains(CellAddress cell) const {
        return cell.row >= first.row && cell.row <= last.row && cell.column >= first.column &&
               cell.column <= last.column;
    }
    bool intersects(const CellArea& other) const {
        return first.row <= other.last.row && other.first.row <= last.row &&
               first.column <= other.last.column && other.first.column <= last.column;
    }
    bool operator==(const CellArea&) const = default;
};

// "A7", "a7", "$A$7"; nothing for anything else or an address beyond the sheet.
std::optional<CellAddress> parseCell(std::string_view name);
// "A2:H4", or a single cell; with `last` given, the block from `first` to `last` as
// Worksheet.Range(first, last) takes it. The corners may come in any order.
std::optional<CellArea> parseArea(std::string_view first, std::string_view last = {});

std::string columnName(uint32_t column); // 1 -> "A", 27 -> "AA"
std::string cellName(CellAddress cell);  // "H2040"
std::string areaName(const CellArea& area);

} // namespace qv::sheet
