#include "tests/sheet/SheetTestFiles.h"

#include <zip.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace qvtest {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qvsheet-XXXXXX").string();
    m_path = mkdtemp(pattern.data());
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void writeZip(const std::string& path, const Parts& parts) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr) << path;
    for (const auto& [name, content] : parts) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8), 0) << name;
    }
    ASSERT_EQ(zip_close(archive), 0) << path;
}

std::string sheetXml(const std::string& rows) {
    return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
           R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
           "<sheetData>" +
           rows + "</sheetData></worksheet>";
}

Parts workbookParts(const std::string& sheet, const std::string& sharedStrings) {
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    Parts parts = {
        {"[Content_Types].xml", R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/)"
                                R"(content-types"/>)"},
        {"_rels/.rels", R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/)"
                        R"(relationships"><Relationship Id="rId1" Type=")" +
                            rel + R"(/officeDocument" Target="xl/workbook.xml"/></Relationships>)"},
        {"xl/workbook.xml", R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/)"
                            R"(2006/main" xmlns:r=")" +
                                rel +
                                R"("><sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/>)"
                                "</sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
         R"(<Relationship Id="rId1" Type=")" +
             rel + R"(/worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type=")" +
             rel + R"(/sharedStrings" Target="sharedStrings.xml"/></Relationships>)"},
        {"xl/worksheets/sheet1.xml", sheet},
    };
    if (!sharedStrings.empty())
        parts.emplace_back("xl/sharedStrings.xml", sharedStrings);
    return parts;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

namespace {

// The standard output of a shell command; a failure when it does not exit with status 0.
std::string runCommand(const std::string& command, const std::string& what) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return output;
    }
    char buffer[4096];
    while (const size_t got = fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, got);
    EXPECT_EQ(pclose(pipe), 0) << what << " failed:\n" << output;
    return output;
}

} // namespace

std::string runPython(const std::string& script, const std::vector<std::string>& args) {
    std::string command = std::string(QV_PYTHON3) + " -c '" + script + "'";
    for (const auto& arg : args)
        command += " '" + arg + "'";
    return runCommand(command, "python:\n" + script);
}

std::string saveWithCalc(const TempFolder& folder, const std::string& source,
                         const std::string& format) {
    // CI installs LibreOffice with the other packages, so a missing one is a failure, not a skip.
    if (!std::filesystem::exists(QV_SOFFICE)) {
        ADD_FAILURE() << "soffice not found: install libreoffice-calc-nogui "
                         "(scripts/debian-packages.txt)";
        return {};
    }
    const std::string out = folder.file("calc-" + format);
    // A profile of its own, so that test runs in parallel do not wait on each other's lock.
    runCommand(std::string(QV_SOFFICE) + " --headless --norestore --nolockcheck " +
                   "'-env:UserInstallation=file://" + folder.file("calc-profile") + "'" +
                   " --convert-to " + format + " --outdir '" + out + "' '" + source + "' 2>&1",
               "soffice --convert-to " + format);
    const std::string saved =
        out + "/" + std::filesystem::path(source).stem().string() + "." + format;
    EXPECT_TRUE(std::filesystem::exists(saved)) << saved;
    return saved;
}

} // namespace qvtest
