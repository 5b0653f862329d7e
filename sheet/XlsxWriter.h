#pragma once

// Writes workbooks built in memory as .xlsx files through libxlsxwriter.

#include "sheet/SheetError.h"
#include "sheet/SheetModel.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv::sheet {

struct NamedSheet {
    std::string name;
    const SheetModel* sheet;
};

SheetStatus writeXlsx(const std::string& path, const std::vector<NamedSheet>& sheets);

// True for a text that is a plain decimal number ("42", "-3", "12.5"), which is written as a
// number so spreadsheet programs show and sort it as one. Texts a number would not give back
// unchanged stay texts: leading zeros ("007"), trailing fraction zeros ("1.50"), "-0", and more
// than 15 significant digits.
bool isPlainDecimal(std::string_view text);

// `text` as the file holds it: each literal _xHHHH_ written as _x005F_xHHHH_, so that readers give
// back the seven characters and not the character HHHH.
std::string escapeLiterals(std::string_view text);

} // namespace qv::sheet
