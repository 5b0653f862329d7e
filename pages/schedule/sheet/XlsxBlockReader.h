#pragma once

// The two streaming passes of a block read: the sheet part up to the block's last row, then the
// shared-string table up to the last string the block refers to.

#include "CellAddress.h"
#include "CellValue.h"
#include "SheetError.h"
#include "ZipArchive.h"

#include <string_view>
#include <utility>
#include <vector>

namespace qv::sheet {

struct BlockRead {
    BlockRead(const CellArea& block, bool date1904InUse)
        : area(block), date1904(date1904InUse), grid(block.rows(), block.columns()) {}

    CellArea area;
    bool date1904;
    CellGrid grid;
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
