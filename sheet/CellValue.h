#pragma once

// What a cell holds, as the automation's Value2 hands it over: nothing, a number (dates are
// their serial number), a text in UTF-8, a truth value or an error value.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qv::sheet {

enum class CellError : uint8_t { Null, Div0, Value, Ref, Name, Num, NA, GettingData };

using CellValue = std::variant<std::monostate, double, std::string, bool, CellError>;

// "#DIV/0!" and the others, as spreadsheet programs show and store them.
std::string_view errorText(CellError error);
std::optional<CellError> errorFromText(std::string_view text);

// A block of values, rows first, as one Value2 read returns it. Rows and columns count from 0
// here; the block's first cell is (0, 0) whatever its address on the sheet.
class CellGrid {
public:
    CellGrid() = default;
    CellGrid(uint32_t rows, uint32_t columns)
        : m_rows(rows), m_columns(columns), m_cells(size_t{rows} * columns) {}

    uint32_t rows() const { return m_rows; }
    uint32_t columns() const { return m_columns; }
    CellValue& at(uint32_t row, uint32_t column) {
        return m_cells[size_t{row} * m_columns + column];
    }
    const CellValue& at(uint32_t row, uint32_t column) const {
        return m_cells[size_t{row} * m_columns + column];
    }

private:
    uint32_t m_rows = 0;
    uint32_t m_columns = 0;
    std::vector<CellValue> m_cells;
};

} // namespace qv::sheet
