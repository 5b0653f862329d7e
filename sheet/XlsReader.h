#pragma once

// Reads .xls workbooks (BIFF5 and BIFF8) through libfreexl. libfreexl takes a file in whole and
// sizes its cell tables from what the file declares, so it runs in a child process with a time
// and memory allowance (SheetLimits.h): a crafted file that would exhaust memory, loop or crash
// ends that child only, and the caller gets an error.

#include "sheet/CellAddress.h"
#include "sheet/CellValue.h"
#include "sheet/SheetError.h"

#include <optional>
#include <string>
#include <vector>

namespace qv::sheet {

SheetResult<std::vector<std::string>> readXlsWorksheetNames(const std::string& path);
// The values of `area` on worksheet `index` (from 0). Numbers and texts as stored; dates as
// their serial number. libfreexl gives truth values as the numbers 0 and 1.
SheetResult<CellGrid> readXlsBlock(const std::string& path, size_t index, const CellArea& area);
// The last cell of `area` in row order that holds a value on worksheet `index`.
SheetResult<std::optional<CellAddress>> findXlsLastValue(const std::string& path, size_t index,
                                                         const CellArea& area);

} // namespace qv::sheet
