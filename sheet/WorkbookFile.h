#pragma once

// A spreadsheet file opened for reading, whatever its format: the file's first bytes decide
// between an .xlsx package and an .xls workbook, not its name.

#include "sheet/CellAddress.h"
#include "sheet/CellValue.h"
#include "sheet/SheetError.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qv::sheet {

class WorkbookFile {
public:
    virtual ~WorkbookFile() = default;

    static SheetResult<std::unique_ptr<WorkbookFile>> open(const std::string& path);

    // The worksheets' names in the workbook's order.
    virtual const std::vector<std::string>& worksheetNames() const = 0;
    // The values of `area` on worksheet `index` (from 0).
    virtual SheetResult<CellGrid> readBlock(size_t index, const CellArea& area) const = 0;
    // The last cell of `area` in row order that holds a value on worksheet `index`.
    virtual SheetResult<std::optional<CellAddress>> findLastValue(size_t index,
                                                                  const CellArea& area) const = 0;
};

} // namespace qv::sheet
