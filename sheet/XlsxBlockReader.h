#pragma once

// The two streaming passes of a block read: the whole sheet part, then the shared-string table up
// to the last string the block refers to. The sheet is read to its end, not only to the block's
// last row: rows come in ascending order, and only a sheet whose every row keeps that order is
// known to hold no more cells of the block further down.

#include "sheet/CellAddress.h"
#include "sheet/CellValue.h"
#include "sheet/SheetError.h"
#include "sheet/ZipArchive.h"

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace qv::sheet {

struct BlockRead {
    // Without `storeValues` the pass only notes the block's last cell that holds a value, and
    // the block may be as large as the sheet.
    BlockRead(const CellArea& block, bool date1904InUse, bool storeValues = true)
        : area(block), date1904(date1904InUse), values(storeValues),
          grid(storeValues ? CellGrid(block.rows(), block.columns()) : CellGrid()) {}

    CellArea area;
    bool date1904;
    bool values;
    CellGrid grid;
    std::optional<CellAddress> lastValue;
    size_t textBytes = 0;
    // Cells of the block that hold a shared string: (string index, row and column in the grid).
    std::vector<std::pair<uint32_t, CellAddress>> sharedRefs;
};

SheetStatus readSheetBlock(const ZipArchive& archive, std::string_view part, InflateBudget& budget,
                           BlockRead& block);
SheetStatus resolveSharedStrings(const ZipArchive& archive, std::string_view part,
                                 InflateBudget& budget, BlockRead& block);

// A text as stored in the file with its _xHHHH_ escapes (UTF-16 code units spreadsheet programs
// write for control characters) turned back into characters.
std::string decodeEscapes(std::string_view stored);

} // namespace qv::sheet
