#include "sheet/SheetModel.h"

#include "sheet/SheetLimits.h"

#include <algorithm>
#include <cmath>

namespace qv::sheet {
namespace {

// Spreadsheet programs count a cell's characters in UTF-16 units.
size_t utf16Length(const std::string& text) {
    size_t units = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80)
            units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

// Calls `visit` for every held cell of `area`.
template <typename Cells, typename Visit>
void forEachIn(Cells& cells, const CellArea& area, Visit visit) {
    const auto end = cells.upper_bound(SheetModel::key({area.last.row, 0xFFFF}));
    for (auto it = cells.lower_bound(SheetModel::key({area.first.row, 0})); it != end; ++it)
        if (area.contains(SheetModel::address(it->first)))
            visit(SheetModel::address(it->first), it->second);
}

CellArea boundingBox(const CellArea& a, const CellArea& b) {
    return {{std::min(a.first.row, b.first.row), std::min(a.first.column, b.first.column)},
            {std::max(a.last.row, b.last.row), std::max(a.last.column, b.last.column)}};
}

} // namespace

SheetStatus SheetModel::reserve(const CellArea& area) {
    if (m_cells.size() + area.cellCount() > kMaxModelCells)
        return sheetError(SheetErrorKind::LimitExceeded,
                          "range " + areaName(area) +
                              " would hold more cells than a workbook "
                              "built in memory may");
    return {};
}

SheetCell& SheetModel::cellAt(uint64_t key) {
    // The export fills a sheet cell by cell in row order: the cell asked for is most often the
    // last one or the next, found without searching the tree.
    if (!m_cells.empty()) {
        const auto last = std::prev(m_cells.end());
        if (last->first == key)
            return last->second;
        if (last->first < key)
            return m_cells.emplace_hint(m_cells.end(), key, SheetCell{})->second;
    }
    return m_cells[key];
}

template <typename Set> SheetStatus SheetModel::fillArea(const CellArea& area, Set set) {
    const SheetStatus room = reserve(area);
    if (!room)
        return room;
    for (uint32_t row = area.first.row; row <= area.last.row; ++row)
        for (uint32_t column = area.first.column; column <= area.last.column; ++column)
            set(cellAt(key({row, column})));
    return {};
}

SheetStatus SheetModel::setValue(const CellArea& area, const CellValue& value) {
    if (const auto* number = std::get_if<double>(&value); number && !std::isfinite(*number))
        return sheetError(SheetErrorKind::BadArgument, "a cell cannot hold an infinite number");
    if (const auto* text = std::get_if<std::string>(&value);
        text && utf16Length(*text) > kMaxCellTextChars)
        return sheetError(SheetErrorKind::LimitExceeded, "a text longer than a cell holds");
    if (std::holds_alternative<std::monostate>(value)) {
        forEachIn(m_cells, area, [](CellAddress, SheetCell& cell) { cell.value = {}; });
        return {};
    }
    return fillArea(area, [&](SheetCell& cell) { cell.value = value; });
}

SheetStatus SheetModel::setShrinkToFit(const CellArea& area, bool shrink) {
    if (!shrink) {
        forEachIn(m_cells, area, [](CellAddress, SheetCell& cell) { cell.shrinkToFit = false; });
        return {};
    }
    return fillArea(area, [](SheetCell& cell) { cell.shrinkToFit = true; });
}

SheetStatus SheetModel::setNumberFormat(const CellArea& area, std::string_view format) {
    if (format != "@" && format != "General")
        return sheetError(SheetErrorKind::Unsupported,
                          "number format \"" + std::string(format) + "\"");
    if (format == "General") {
        forEachIn(m_cells, area, [](CellAddress, SheetCell& cell) { cell.textFormat = false; });
        return {};
    }
    return fillArea(area, [](SheetCell& cell) { cell.textFormat = true; });
}

SheetStatus SheetModel::merge(const CellArea& area, bool across) {
    if (across && area.rows() > 1) {
        for (uint32_t row = area.first.row; row <= area.last.row; ++row) {
            const SheetStatus merged =
                merge({{row, area.first.column}, {row, area.last.column}}, false);
            if (!merged)
                return merged;
        }
        return {};
    }
    if (area.cellCount() == 1)
        return {};
    CellArea grown = area;
    for (bool changed = true; changed;) {
        changed = false;
        for (auto it = m_merged.begin(); it != m_merged.end(); ++it) {
            if (it->intersects(grown)) {
                grown = boundingBox(grown, *it);
                m_merged.erase(it);
                changed = true;
                break;
            }
        }
    }
    forEachIn(m_cells, grown, [&](CellAddress at, SheetCell& cell) {
        if (!(at == grown.first))
            cell.value = {};
    });
    m_merged.push_back(grown);
    return {};
}

SheetStatus SheetModel::setColumnWidth(uint32_t firstColumn, uint32_t lastColumn,
                                       double characters) {
    // Spreadsheet programs take widths from 0 to 255 characters.
    if (!(characters >= 0 && characters <= 255))
        return sheetError(SheetErrorKind::BadArgument, "a column width outside 0 to 255");
    for (uint32_t column = firstColumn; column <= lastColumn; ++column)
        m_columnWidths[column] = characters;
    return {};
}

CellGrid SheetModel::values(const CellArea& area) const {
    CellGrid grid(area.rows(), area.columns());
    forEachIn(m_cells, area, [&](CellAddress at, const SheetCell& cell) {
        grid.at(at.row - area.first.row, at.column - area.first.column) = cell.value;
    });
    return grid;
}

std::optional<CellAddress> SheetModel::lastValue(const CellArea& area) const {
    std::optional<CellAddress> last;
    forEachIn(m_cells, area, [&](CellAddress at, const SheetCell& cell) {
        if (!std::holds_alternative<std::monostate>(cell.value))
            last = at;
    });
    return last;
}

} // namespace qv::sheet
