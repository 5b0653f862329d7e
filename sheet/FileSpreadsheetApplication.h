#pragma once

// The portable spreadsheet application: new workbooks are kept in memory and written as .xlsx
// with saveAs; opened .xlsx and .xls files are read, a block at a time, and not changed. Being
// made visible and handed to the user calls the hand-over for each new workbook, which is where
// the window asks where to save it and opens it in the desktop's spreadsheet program.

#include "sheet/SpreadsheetApplication.h"

#include <functional>
#include <memory>

namespace qv::sheet {

class FileWorkbooks;

class FileSpreadsheetApplication : public SpreadsheetApplication {
public:
    using HandOver = std::function<SheetStatus(Workbook&)>;

    explicit FileSpreadsheetApplication(HandOver handOver = {});
    ~FileSpreadsheetApplication() override;

    Workbooks& workbooks() override;
    SheetStatus setVisible(bool visible) override;
    SheetStatus setUserControl(bool userControl) override;
    void quit() override;

private:
    SheetStatus handOverIfShown();

    std::unique_ptr<FileWorkbooks> m_workbooks;
    HandOver m_handOver;
    bool m_visible = false;
    bool m_userControl = false;
};

} // namespace qv::sheet
