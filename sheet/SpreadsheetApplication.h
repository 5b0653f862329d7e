#pragma once

// A spreadsheet application as the schedule exchange drives it, one call per automation call:
// Application.Workbooks, Workbooks.Add and Open, Workbook.Worksheets and Close,
// Worksheets.Item, Worksheet.Range, Range.Select, Merge, ShrinkToFit, ColumnWidth, NumberFormat,
// Value2 and Find, Application.Visible, UserControl and Quit. The portable backend
// (FileSpreadsheetApplication) keeps workbooks in memory and reads and writes files; a Windows
// build may put the automation server itself behind the same calls.
//
// Every call answers with a result instead of throwing. Objects handed out by pointer belong to
// the application: a workbook, its worksheets and their ranges live until the workbook is
// closed or the application quits.

#include "sheet/CellAddress.h"
#include "sheet/CellValue.h"
#include "sheet/SheetError.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qv::sheet {

class Range {
public:
    virtual ~Range() = default;

    virtual SheetStatus select() = 0;
    // Merges the range into one cell; with `across`, each of its rows into one cell.
    virtual SheetStatus merge(bool across) = 0;
    virtual SheetStatus setShrinkToFit(bool shrink) = 0;
    // Width of the range's columns, in characters of the standard font.
    virtual SheetStatus setColumnWidth(double characters) = 0;
    // NumberFormat: "@" keeps what is put into the cells afterwards as text, however much it
    // reads like a number ("1.5", "007"); "General" lets the application decide again.
    virtual SheetStatus setNumberFormat(std::string_view format) = 0;
    // Puts one value into every cell of the range.
    virtual SheetStatus setValue2(const CellValue& value) = 0;
    // The range's values, rows first.
    virtual SheetResult<CellGrid> value2() const = 0;
    // Find("*") searched by rows from the range's end: the last cell of the range that holds a
    // value, nothing when every cell is empty.
    virtual SheetResult<std::optional<CellAddress>> findLastValue() const = 0;
};

class Worksheet {
public:
    virtual ~Worksheet() = default;

    virtual std::string name() const = 0;
    // Range("A2:H2"), Range("A7"), or Range("A1", "H2040").
    virtual SheetResult<std::unique_ptr<Range>> range(std::string_view first,
                                                      std::string_view last = {}) = 0;
};

class Worksheets {
public:
    virtual ~Worksheets() = default;

    virtual int count() const = 0;
    // Item(1) is the first worksheet.
    virtual SheetResult<Worksheet*> item(int index) = 0;
};

class Workbook {
public:
    virtual ~Workbook() = default;

    virtual Worksheets& worksheets() = 0;
    // Writes the workbook as an .xlsx file.
    virtual SheetStatus saveAs(const std::string& path) = 0;
    // Closes without saving; the workbook and everything taken from it are gone afterwards.
    virtual void close() = 0;
};

class Workbooks {
public:
    virtual ~Workbooks() = default;

    virtual int count() const = 0;
    // A new workbook with one empty worksheet.
    virtual SheetResult<Workbook*> add() = 0;
    // An existing .xlsx or .xls file.
    virtual SheetResult<Workbook*> open(const std::string& path) = 0;
};

class SpreadsheetApplication {
public:
    virtual ~SpreadsheetApplication() = default;

    virtual Workbooks& workbooks() = 0;
    virtual SheetStatus setVisible(bool visible) = 0;
    // Hands the open workbooks to the user, who decides what becomes of them.
    virtual SheetStatus setUserControl(bool userControl) = 0;
    // Closes every workbook without saving.
    virtual void quit() = 0;
};

} // namespace qv::sheet
