#include "sheet/CellAddress.h"

#include <algorithm>

namespace qv::sheet {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<CellAddress> parseCell(std::string_view name) {
    // Called for every cell a sheet names, so with plain pointers and the range checked once:
    // four letters already pass column XFD and eight digits row 1048576, and any character left
    // over refuses the name.
    const char* p = name.data();
    const char* const end = p + name.size();
    if (p != end && *p == '$')
        ++p;
    const char* const letters = p;
    uint32_t column = 0;
    for (; p != end && p - letters < 4; ++p) {
        // Either case: setting the 0x20 bit makes 'A'..'Z' 'a'..'z' and moves nothing else there.
        const auto letter = static_cast<uint32_t>(static_cast<unsigned char>(*p | 0x20)) - 'a';
        if (letter >= 26)
            break;
        column = column * 26 + letter + 1;
    }
    if (p == letters || column > kSheetColumns)
        return std::nullopt;
    if (p != end && *p == '$')
        ++p;
    const char* const digits = p;
    uint32_t row = 0;
    for (; p != end && p - digits < 8 && isDigit(*p); ++p)
        row = row * 10 + static_cast<uint32_t>(*p - '0');
    if (p == digits || p != end || row == 0 || row > kSheetRows || *digits == '0')
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
