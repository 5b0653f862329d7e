// The XML of the package parts as the reader takes it: what a well-made writer may put in (a
// byte-order mark, CDATA, comments, references, prefixed names) reads back; bytes no XML may
// hold are refused instead of landing in a cell. And a write that cannot be done says why
// without anything of its own on the standard error.

#include "sheet/FileSpreadsheetApplication.h"
#include "sheet/XlsxWriter.h"
#include "tests/sheet/SheetTestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace qv::sheet {
namespace {

SheetResult<CellGrid> readA1B1(const qvtest::Parts& parts) {
    qvtest::TempFolder folder;
    const std::string path = folder.file("x.xlsx");
    qvtest::writeZip(path, parts);
    FileSpreadsheetApplication app;
    auto book = app.workbooks().open(path);
    if (!book)
        return book.error();
    return book.value()->worksheets().item(1).value()->range("A1:B1").value()->value2();
}

TEST(SheetXml, WellFormedPartsReadAndBrokenBytesAreRefused) {
    const auto row = [](const std::string& cells) {
        return qvtest::sheetXml("<row r=\"1\">" + cells + "</row>");
    };
    const std::string strings = "<sst><si><t>s0</t></si></sst>";
    const std::string shared = R"(<c r="B1" t="s"><v>0</v></c>)";
    const struct {
        const char* what;
        std::string sheet;
        std::string strings;
        std::optional<SheetErrorKind> kind; // nothing: A1 reads "a<b" and B1 "s0"
    } cases[] = {
        {"byte-order mark, CDATA, comment, instruction, references, prefixes",
         "\xEF\xBB\xBF" +
             row(R"(<x:c r="A1" t="inlineStr"><!-- c --><?pi x?><x:is><x:t>&#x61;<![CDATA[<]]>)"
                 R"(&#98;</x:t></x:is></x:c>)" +
                 shared),
         strings, std::nullopt},
        {"text split across a comment",
         row(R"(<c r="A1" t="str"><v>a<!-- -->&lt;b</v></c>)" + shared), strings, std::nullopt},
        {"a byte that is no UTF-8",
         row(R"(<c r="A1" t="str"><v>a)"
             "\xC3\x28"
             "</v></c>"),
         strings, SheetErrorKind::Corrupt},
        {"a control character", row("<c r=\"A1\" t=\"str\"><v>a\x01</v></c>"), strings,
         SheetErrorKind::Corrupt},
        {"a reference to a control character", row(R"(<c r="A1" t="str"><v>&#1;</v></c>)"), strings,
         SheetErrorKind::Corrupt},
        {"an attribute given twice", row(R"(<c r="A1" r="B1"><v>1</v></c>)"), strings,
         SheetErrorKind::Corrupt},
        {"a string table that is no UTF-8", row(shared), "<sst><si><t>\xFF</t></si></sst>",
         SheetErrorKind::Corrupt},
        {"a DOCTYPE in the string table", row(shared),
         R"(<!DOCTYPE sst [<!ENTITY e "s0">]><sst><si><t>&e;</t></si></sst>)",
         SheetErrorKind::Corrupt},
        {"a sheet declared in another encoding",
         row(shared).replace(row(shared).find("UTF-8"), 5, "ISO-8859-1"), strings,
         SheetErrorKind::Unsupported},
        {"a comment longer than a cell holds",
         row("<!--" + std::string(400 * 1024, 'c') + "-->" + shared), strings,
         SheetErrorKind::LimitExceeded},
        {"an attribute longer than a cell holds",
         row(R"(<c r="A1" s=")" + std::string(300 * 1024, '1') + R"("><v>1</v></c>)"), strings,
         SheetErrorKind::LimitExceeded},
    };
    for (const auto& c : cases) {
        const auto grid = readA1B1(qvtest::workbookParts(c.sheet, c.strings));
        if (!c.kind) {
            ASSERT_TRUE(grid) << c.what << ": " << describe(grid.error());
            EXPECT_EQ(grid->at(0, 0), CellValue(std::string("a<b"))) << c.what;
            EXPECT_EQ(grid->at(0, 1), CellValue(std::string("s0"))) << c.what;
            continue;
        }
        ASSERT_FALSE(grid) << c.what << " was read";
        EXPECT_EQ(kindName(grid.error().kind), std::string(kindName(*c.kind)))
            << c.what << ": " << grid.error().detail;
    }
}

TEST(SheetXml, WorkbookListReadWhateverItsPrefixes) {
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const auto withWorkbook = [&](const std::string& sheets) {
        qvtest::Parts parts = qvtest::workbookParts(qvtest::sheetXml(""));
        parts[2].second = R"(<x:workbook xmlns:x="m" xmlns:rel=")" + rel +
                          R"("><x:workbookPr date1904="0"/><x:sheets>)" + sheets +
                          "</x:sheets></x:workbook>";
        return parts;
    };
    const struct {
        const char* what;
        qvtest::Parts parts;
        std::string name; // empty: refused as corrupt
    } cases[] = {
        {"prefixed elements and id", withWorkbook(R"(<x:sheet name="A&amp;B" rel:id="rId1"/>)"),
         "A&B"},
        {"id without its prefix", withWorkbook(R"(<x:sheet name="T" id="rId1"/>)"), ""},
        {"a name that is no UTF-8", withWorkbook("<x:sheet name=\"\xC0\" rel:id=\"rId1\"/>"), ""},
    };
    qvtest::TempFolder folder;
    for (const auto& c : cases) {
        const std::string path = folder.file("w.xlsx");
        qvtest::writeZip(path, c.parts);
        FileSpreadsheetApplication app;
        auto book = app.workbooks().open(path);
        if (c.name.empty()) {
            ASSERT_FALSE(book) << c.what << " was opened";
            EXPECT_EQ(book.error().kind, SheetErrorKind::Corrupt) << c.what;
            continue;
        }
        ASSERT_TRUE(book) << c.what << ": " << describe(book.error());
        EXPECT_EQ(book.value()->worksheets().item(1).value()->name(), c.name) << c.what;
    }
}

TEST(SheetXml, FailedWriteSaysWhyAndLeavesStderrAndTheOldFileAlone) {
    qvtest::TempFolder folder;
    const std::string old = folder.file("old.xlsx");
    qvtest::writeFile(old, "the workbook saved yesterday");
    std::filesystem::create_directory(folder.file("folder.xlsx"));
    SheetModel model;
    ASSERT_TRUE(model.setValue({{1, 1}, {1, 1}}, std::string("x")));
    const struct {
        const char* what;
        std::string path;
        std::string sheetName;
        std::string because;
    } cases[] = {
        {"folder missing", folder.file("no/such.xlsx"), "T", "No such file or directory"},
        {"a folder in the way", folder.file("folder.xlsx"), "T", "Is a directory"},
        {"sheet name refused", old, "a/b", "invalid character"},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        const SheetStatus written = writeXlsx(c.path, {{c.sheetName, &model}});
        const std::string stderrText = testing::internal::GetCapturedStderr();
        ASSERT_FALSE(written) << c.what;
        EXPECT_EQ(written.error().kind, SheetErrorKind::WriteFailed) << c.what;
        EXPECT_NE(written.error().detail.find(c.because), std::string::npos)
            << c.what << ": " << written.error().detail;
        EXPECT_EQ(stderrText, "") << c.what;
    }
    EXPECT_EQ(qvtest::readFile(old), "the workbook saved yesterday");
}

} // namespace
} // namespace qv::sheet
