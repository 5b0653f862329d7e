#pragma once

// One worksheet held in memory: values, shrink-to-fit, merged ranges, column widths and the
// selection, as the export builds them and the .xlsx writer writes them.

#include "sheet/CellAddress.h"
#include "sheet/CellValue.h"
#include "sheet/SheetError.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

namespace qv::sheet {

struct SheetCell {
    CellValue value;
    bool shrinkToFit = false;
    bool textFormat = false; // number format "@": a text stays a text in the file
};

class SheetModel {
public:
    // Cells by key(); in row order, then column order.
    using Cells = std::map<uint64_t, SheetCell>;
    static uint64_t key(CellAddress cell) { return (uint64_t{cell.row} << 16) | cell.column; }
    static CellAddress address(uint64_t key) {
        return {static_cast<uint32_t>(key >> 16), static_cast<uint32_t>(key & 0xFFFF)};
    }

    SheetStatus setValue(const CellArea& area, const CellValue& value);
    SheetStatus setShrinkToFit(const CellArea& area, bool shrink);
    // "@" or "General"; other formats are refused, the export needs none.
    SheetStatus setNumberFormat(const CellArea& area, std::string_view format);
    // Merging keeps the value of the range's first cell and empties the others; a merged range
    // that overlaps the new one becomes part of it.
    SheetStatus merge(const CellArea& area, bool across);
    SheetStatus setColumnWidth(uint32_t firstColumn, uint32_t lastColumn, double characters);
    void select(const CellArea& area) { m_selection = area; }

    CellGrid values(const CellArea& area) const;
    // The last cell of `area` in row order that holds a value.
    std::optional<CellAddress> lastValue(const CellArea& area) const;
    const Cells& cells() const { return m_cells; }
    const std::vector<CellArea>& merged() const { return m_merged; }
    const std::map<uint32_t, double>& columnWidths() const { return m_columnWidths; }
    const CellArea& selection() const { return m_selection; }

private:
    SheetStatus reserve(const CellArea& area);
    SheetCell& cellAt(uint64_t key); // made empty when missing
    // Makes every cell of `area` (within the model's limit) and calls `set` on each.
    template <typename Set> SheetStatus fillArea(const CellArea& area, Set set);

    Cells m_cells;
    std::vector<CellArea> m_merged;
    std::map<uint32_t, double> m_columnWidths;
    CellArea m_selection;
};

} // namespace qv::sheet
