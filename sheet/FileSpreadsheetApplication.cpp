#include "sheet/FileSpreadsheetApplication.h"

#include "sheet/CellAddress.h"
#include "sheet/SheetLimits.h"
#include "sheet/SheetModel.h"
#include "sheet/WorkbookFile.h"
#include "sheet/XlsxWriter.h"

#include <algorithm>
#include <vector>

namespace qv::sheet {
namespace {

SheetResult<CellArea> areaOf(std::string_view first, std::string_view last) {
    const auto area = parseArea(first, last);
    if (!area)
        return sheetError(SheetErrorKind::BadArgument,
                          "no range named \"" + std::string(first) +
                              (last.empty() ? "" : ":" + std::string(last)) + "\"");
    return *area;
}

SheetError readOnly() {
    return sheetError(SheetErrorKind::Unsupported, "an opened file is read, not changed");
}

class MemoryRange : public Range {
public:
    MemoryRange(SheetModel& sheet, const CellArea& area) : m_sheet(sheet), m_area(area) {}

    SheetStatus select() override {
        m_sheet.select(m_area);
        return {};
    }
    SheetStatus merge(bool across) override { return m_sheet.merge(m_area, across); }
    SheetStatus setShrinkToFit(bool shrink) override {
        return m_sheet.setShrinkToFit(m_area, shrink);
    }
    SheetStatus setColumnWidth(double characters) override {
        return m_sheet.setColumnWidth(m_area.first.column, m_area.last.column, characters);
    }
    SheetStatus setNumberFormat(std::string_view format) override {
        return m_sheet.setNumberFormat(m_area, format);
    }
    SheetStatus setValue2(const CellValue& value) override {
        return m_sheet.setValue(m_area, value);
    }
    SheetResult<CellGrid> value2() const override {
        if (m_area.cellCount() > kMaxBlockCells)
            return sheetError(SheetErrorKind::LimitExceeded,
                              "range " + areaName(m_area) +
                                  " holds more cells than a read may "
                                  "return");
        return m_sheet.values(m_area);
    }
    SheetResult<std::optional<CellAddress>> findLastValue() const override {
        return m_sheet.lastValue(m_area);
    }

private:
    SheetModel& m_sheet;
    CellArea m_area;
};

class FileRange : public Range {
public:
    FileRange(const WorkbookFile& file, size_t index, const CellArea& area)
        : m_file(file), m_index(index), m_area(area) {}

    SheetStatus select() override { return {}; }
    SheetStatus merge(bool) override { return readOnly(); }
    SheetStatus setShrinkToFit(bool) override { return readOnly(); }
    SheetStatus setColumnWidth(double) override { return readOnly(); }
    SheetStatus setNumberFormat(std::string_view) override { return readOnly(); }
    SheetStatus setValue2(const CellValue&) override { return readOnly(); }
    SheetResult<CellGrid> value2() const override { return m_file.readBlock(m_index, m_area); }
    SheetResult<std::optional<CellAddress>> findLastValue() const override {
        return m_file.findLastValue(m_index, m_area);
    }

private:
    const WorkbookFile& m_file;
    size_t m_index;
    CellArea m_area;
};

class MemoryWorksheet : public Worksheet {
public:
    explicit MemoryWorksheet(std::string name) : m_name(std::move(name)) {}

    std::string name() const override { return m_name; }
    SheetResult<std::unique_ptr<Range>> range(std::string_view first,
                                              std::string_view last) override {
        const auto area = areaOf(first, last);
        if (!area)
            return area.error();
        return std::unique_ptr<Range>(new MemoryRange(m_sheet, area.value()));
    }
    const SheetModel& model() const { return m_sheet; }

private:
    std::string m_name;
    SheetModel m_sheet;
};

class FileWorksheet : public Worksheet {
public:
    FileWorksheet(const WorkbookFile& file, size_t index) : m_file(file), m_index(index) {}

    std::string name() const override { return m_file.worksheetNames()[m_index]; }
    SheetResult<std::unique_ptr<Range>> range(std::string_view first,
                                              std::string_view last) override {
        const auto area = areaOf(first, last);
        if (!area)
            return area.error();
        return std::unique_ptr<Range>(new FileRange(m_file, m_index, area.value()));
    }

private:
    const WorkbookFile& m_file;
    size_t m_index;
};

template <typename Sheet> class SheetList : public Worksheets {
public:
    int count() const override { return static_cast<int>(m_sheets.size()); }
    SheetResult<Worksheet*> item(int index) override {
        if (index < 1 || index > count())
            return sheetError(SheetErrorKind::BadArgument, "no worksheet " + std::to_string(index));
        return static_cast<Worksheet*>(m_sheets[static_cast<size_t>(index - 1)].get());
    }
    std::vector<std::unique_ptr<Sheet>> m_sheets;
};

} // namespace

class FileWorkbooks : public Workbooks {
public:
    int count() const override { return static_cast<int>(m_books.size()); }
    SheetResult<Workbook*> add() override;
    SheetResult<Workbook*> open(const std::string& path) override;

    void remove(Workbook* book) {
        std::erase_if(m_books, [&](const auto& held) { return held.get() == book; });
    }
    void clear() { m_books.clear(); }
    // The workbooks made by add(), which exist nowhere but here.
    std::vector<Workbook*> newWorkbooks() const;

private:
    std::vector<std::unique_ptr<Workbook>> m_books;
};

namespace {

class MemoryWorkbook : public Workbook {
public:
    explicit MemoryWorkbook(FileWorkbooks& owner) : m_owner(owner) {
        m_sheets.m_sheets.push_back(std::make_unique<MemoryWorksheet>("Sheet1"));
    }

    Worksheets& worksheets() override { return m_sheets; }
    SheetStatus saveAs(const std::string& path) override {
        std::vector<NamedSheet> sheets;
        for (const auto& sheet : m_sheets.m_sheets)
            sheets.push_back({sheet->name(), &sheet->model()});
        return writeXlsx(path, sheets);
    }
    void close() override { m_owner.remove(this); }

private:
    FileWorkbooks& m_owner;
    SheetList<MemoryWorksheet> m_sheets;
};

class OpenedWorkbook : public Workbook {
public:
    OpenedWorkbook(FileWorkbooks& owner, std::unique_ptr<WorkbookFile> file)
        : m_owner(owner), m_file(std::move(file)) {
        for (size_t i = 0; i < m_file->worksheetNames().size(); ++i)
            m_sheets.m_sheets.push_back(std::make_unique<FileWorksheet>(*m_file, i));
    }

    Worksheets& worksheets() override { return m_sheets; }
    SheetStatus saveAs(const std::string&) override { return readOnly(); }
    void close() override { m_owner.remove(this); }

private:
    FileWorkbooks& m_owner;
    std::unique_ptr<WorkbookFile> m_file;
    SheetList<FileWorksheet> m_sheets;
};

} // namespace

SheetResult<Workbook*> FileWorkbooks::add() {
    m_books.push_back(std::make_unique<MemoryWorkbook>(*this));
    return m_books.back().get();
}

SheetResult<Workbook*> FileWorkbooks::open(const std::string& path) {
    auto file = WorkbookFile::open(path);
    if (!file)
        return file.error();
    m_books.push_back(std::make_unique<OpenedWorkbook>(*this, std::move(file.value())));
    return m_books.back().get();
}

std::vector<Workbook*> FileWorkbooks::newWorkbooks() const {
    std::vector<Workbook*> books;
    for (const auto& book : m_books)
        if (dynamic_cast<MemoryWorkbook*>(book.get()))
            books.push_back(book.get());
    return books;
}

FileSpreadsheetApplication::FileSpreadsheetApplication(HandOver handOver)
    : m_workbooks(std::make_unique<FileWorkbooks>()), m_handOver(std::move(handOver)) {}

FileSpreadsheetApplication::~FileSpreadsheetApplication() = default;

Workbooks& FileSpreadsheetApplication::workbooks() {
    return *m_workbooks;
}

SheetStatus FileSpreadsheetApplication::setVisible(bool visible) {
    const bool was = m_visible && m_userControl;
    m_visible = visible;
    return was ? SheetStatus{} : handOverIfShown();
}

SheetStatus FileSpreadsheetApplication::setUserControl(bool userControl) {
    const bool was = m_visible && m_userControl;
    m_userControl = userControl;
    return was ? SheetStatus{} : handOverIfShown();
}

SheetStatus FileSpreadsheetApplication::handOverIfShown() {
    if (!m_visible || !m_userControl || !m_handOver)
        return {};
    for (Workbook* book : m_workbooks->newWorkbooks()) {
        const SheetStatus status = m_handOver(*book);
        if (!status)
            return status;
    }
    return {};
}

void FileSpreadsheetApplication::quit() {
    m_workbooks->clear();
}

} // namespace qv::sheet
