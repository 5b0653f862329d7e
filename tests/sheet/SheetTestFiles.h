#pragma once

// Spreadsheet files made by the tests themselves: packages from named parts, raw zip archives
// whose headers say whatever the test wants, and files written by openpyxl, xlwt and
// LibreOffice Calc.

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace qvtest {

using Parts = std::vector<std::pair<std::string, std::string>>; // name, content, in zip order

// A fresh folder for one test, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Writes `parts` as a deflated zip archive.
void writeZip(const std::string& path, const Parts& parts);
// The parts of a minimal workbook whose only worksheet is `sheetXml`, with `sharedStringsXml`
// when not empty.
Parts workbookParts(const std::string& sheetXml, const std::string& sharedStringsXml = {});
// `<worksheet ...><sheetData>rows</sheetData></worksheet>`.
std::string sheetXml(const std::string& rows);

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

// Runs `script` with the Debian Python that has openpyxl and xlwt, arguments appended; its
// standard output.
std::string runPython(const std::string& script, const std::vector<std::string>& args = {});

// `source` opened and saved by LibreOffice Calc as `format` ("xlsx", "xls") in a folder of its
// own inside `folder`; the saved file's path.
std::string saveWithCalc(const TempFolder& folder, const std::string& source,
                         const std::string& format);

} // namespace qvtest
