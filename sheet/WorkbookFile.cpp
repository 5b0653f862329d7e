#include "sheet/WorkbookFile.h"

#include "sheet/SheetLimits.h"
#include "sheet/XlsReader.h"
#include "sheet/XlsxReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>

namespace qv::sheet {
namespace {

// The first bytes of a compound file: .xls workbooks, and also .xlsx packages that a password
// encrypted, which hold the package in a stream named "EncryptedPackage".
constexpr std::array<unsigned char, 8> kCompoundFileMagic = {0xD0, 0xCF, 0x11, 0xE0,
                                                             0xA1, 0xB1, 0x1A, 0xE1};

class XlsxFile : public WorkbookFile {
public:
    explicit XlsxFile(XlsxWorkbook workbook) : m_workbook(std::move(workbook)) {
        for (const auto& sheet : m_workbook.worksheets())
            m_names.push_back(sheet.name);
    }
    const std::vector<std::string>& worksheetNames() const override { return m_names; }
    SheetResult<CellGrid> readBlock(size_t index, const CellArea& area) const override {
        return m_workbook.readBlock(index, area);
    }
    SheetResult<std::optional<CellAddress>> findLastValue(size_t index,
                                                          const CellArea& area) const override {
        return m_workbook.findLastValue(index, area);
    }

private:
    XlsxWorkbook m_workbook;
    std::vector<std::string> m_names;
};

class XlsFile : public WorkbookFile {
public:
    XlsFile(std::string path, std::vector<std::string> names)
        : m_path(std::move(path)), m_names(std::move(names)) {}
    const std::vector<std::string>& worksheetNames() const override { return m_names; }
    SheetResult<CellGrid> readBlock(size_t index, const CellArea& area) const override {
        return readXlsBlock(m_path, index, area);
    }
    SheetResult<std::optional<CellAddress>> findLastValue(size_t index,
                                                          const CellArea& area) const override {
        return findXlsLastValue(m_path, index, area);
    }

private:
    std::string m_path;
    std::vector<std::string> m_names;
};

// True when the compound file names an "EncryptedPackage" stream (names are UTF-16LE).
bool holdsEncryptedPackage(std::ifstream& file) {
    static const std::string name = [] {
        std::string utf16;
        for (const char c : std::string_view("EncryptedPackage"))
            utf16 += {c, '\0'};
        return utf16;
    }();
    file.clear();
    file.seekg(0);
    std::string window;
    char buffer[64 * 1024];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        window.append(buffer, static_cast<size_t>(file.gcount()));
        if (window.find(name) != std::string::npos)
            return true;
        window.erase(0, window.size() - std::min(window.size(), name.size()));
    }
    return false;
}

SheetResult<std::unique_ptr<WorkbookFile>> openChecked(const std::string& path) {
    // A pipe or a device would be waited on: only a regular file is opened.
    if (std::error_code code;
        std::filesystem::exists(path, code) && !std::filesystem::is_regular_file(path, code))
        return sheetError(SheetErrorKind::FileNotFound, path + " is not a regular file");
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return sheetError(SheetErrorKind::FileNotFound, path + " cannot be opened");
    std::array<unsigned char, 8> head{};
    file.read(reinterpret_cast<char*>(head.data()), head.size());
    const auto got = static_cast<size_t>(file.gcount());
    if (got >= 4 && std::memcmp(head.data(), "PK", 2) == 0) {
        auto archive = ZipArchive::openFile(path);
        if (!archive)
            return archive.error();
        auto workbook = XlsxWorkbook::open(std::move(archive.value()));
        if (!workbook)
            return workbook.error();
        return std::unique_ptr<WorkbookFile>(new XlsxFile(std::move(workbook.value())));
    }
    if (got == head.size() && head == kCompoundFileMagic) {
        file.seekg(0, std::ios::end);
        if (static_cast<uint64_t>(file.tellg()) > kMaxXlsFileBytes)
            return sheetError(SheetErrorKind::LimitExceeded, "an .xls file larger than a "
                                                             "workbook of a timetable can be");
        if (holdsEncryptedPackage(file))
            return sheetError(SheetErrorKind::Encrypted, "the workbook is protected by a password");
        auto names = readXlsWorksheetNames(path);
        if (!names)
            return names.error();
        return std::unique_ptr<WorkbookFile>(new XlsFile(path, std::move(names.value())));
    }
    return sheetError(SheetErrorKind::NotSpreadsheet, path + " is neither .xlsx nor .xls");
}

} // namespace

SheetResult<std::unique_ptr<WorkbookFile>> WorkbookFile::open(const std::string& path) {
    try {
        return openChecked(path);
    } catch (const std::bad_alloc&) {
        return sheetError(SheetErrorKind::LimitExceeded, "not enough memory to open " + path);
    }
}

} // namespace qv::sheet
