#include "CellAddress.h"

#include <algorithm>

namespace qv::sheet {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::optional<CellAddress> parseCell(std::string_view name) {
    size_t i = 0;
    if (i < name.size() && name[i] == '$')
        ++i;
    uint32_t column = 0;
    const size_t letters = i;
    while (i < name.size() && upper(name[i]) >= 'A' && upper(name[i]) <= 'Z') {
        column = column * 26 + static_cast<uint32_t>(upper(name[i]) - 'A' + 1);
        if (column > kSheetColumns)
            return std::nullopt;
        ++i;
    }
    if (i == letters)
        return std::nullopt;
    if (i < name.size() && name[i] == '$')
        ++i;
    const size_t digits = i;
    uint32_t row = 0;
    while (i < name.size() && isDigit(name[i])) {
        row = row * 10 + static_cast<uint32_t>(name[i] - '0');
        if (row > kSheetRows)
            return std::nullopt;
        ++i;
    }
    if (i == digits || i != name.size() || row == 0 || name[digits] == '0')
        return std::nullopt;
    return CellAddress{row, column};
}

std::optional<CellArea> parseArea(std::string_view first, std::string_view last) {
    if (last.empty()) {
        const size_t colon = first.find(':');
        if (colon != std::string_view::npos) {
            last = first.substr(colon + 1);
            first = first.substr(0, colon);
        } else {
            last = first;
        }
    }
    const auto a = parseCell(first);
    const auto b = parseCell(last);
    if (!a || !b)
        return std::nullopt;
    return CellArea{{std::min(a->row, b->row), std::min(a->column, b->column)},
                    {std::max(a->row, b->row), std::max(a->column, b->column)}};
}

std::string columnName(uint32_t column) {
    std::string name;
    while (column > 0) {
        const uint32_t digit = (column - 1) % 26;
        name.insert(name.begin(), static_cast<char>('A' + digit));
        column = (column - 1) / 26;
    }
    return name;
}

std::string cellName(CellAddress cell) {
    return columnName(cell.column) + std::to_string(cell.row);
}

std::string areaName(const CellArea& area) {
    return area.first == area.last ? cellName(area.first)
                                   : cellName(area.first) + ":" + cellName(area.last);
}

} // namespace qv::sheet
