#pragma once

// Reads .xlsx workbooks: the sheet list in the workbook's own order (workbook.xml and its
// relationships, never the zip's file order) and blocks of cell values from one worksheet.
// A block read streams the sheet once, keeping only the block's cells, and takes from the
// shared-string table only the strings the block refers to.

#include "sheet/CellAddress.h"
#include "sheet/CellValue.h"
#include "sheet/SheetError.h"
#include "sheet/ZipArchive.h"

#include <optional>
#include <string>
#include <vector>

namespace qv::sheet {

struct WorksheetEntry {
    std::string name;
    std::string part; // "xl/worksheets/sheet1.xml"
};

class XlsxWorkbook {
public:
    static SheetResult<XlsxWorkbook> open(ZipArchive archive);

    // Worksheets only, as the Worksheets collection counts them; chart sheets are left out.
    const std::vector<WorksheetEntry>& worksheets() const { return m_sheets; }
    // The values of `area` on worksheet `index` (from 0). Cells the file does not hold are
    // empty; formulas give their cached value; dates their serial number.
    SheetResult<CellGrid> readBlock(size_t index, const CellArea& area) const;
    // The last cell of `area` in row order that holds a value; `area` may be the whole sheet.
    SheetResult<std::optional<CellAddress>> findLastValue(size_t index, const CellArea& area) const;

private:
    explicit XlsxWorkbook(ZipArchive archive) : m_archive(std::move(archive)) {}
    SheetStatus readStructure();

    ZipArchive m_archive;
    std::vector<WorksheetEntry> m_sheets;
    std::string m_sharedStrings; // part name, empty when the workbook has no table
    bool m_date1904 = false;
};

} // namespace qv::sheet
