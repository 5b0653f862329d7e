// Workbooks written by others: a package laid out as spreadsheet programs write it, with every
// kind of cell; a workbook written by openpyxl; an .xls written by xlwt.

#include "sheet/CellAddress.h"
#include "sheet/FileSpreadsheetApplication.h"
#include "tests/sheet/SheetTestFiles.h"

#include <gtest/gtest.h>

namespace qv::sheet {
namespace {

using Text = std::string;

CellGrid readBlock(const std::string& path, const char* block, int sheet = 1,
                   std::vector<std::string>* names = nullptr) {
    FileSpreadsheetApplication app;
    auto book = app.workbooks().open(path);
    EXPECT_TRUE(book) << describe(book.error());
    if (!book)
        return {};
    Worksheets& sheets = book.value()->worksheets();
    for (int i = 1; names && i <= sheets.count(); ++i)
        names->push_back(sheets.item(i).value()->name());
    auto grid = sheets.item(sheet).value()->range(block).value()->value2();
    EXPECT_TRUE(grid) << describe(grid.error());
    return grid ? grid.value() : CellGrid{};
}

// Find("*") from the end over A2041:H1048576 of the first worksheet: the rows an import leaves.
std::optional<CellAddress> lastValueBelowBlock(const std::string& path) {
    FileSpreadsheetApplication app;
    auto sheet = app.workbooks().open(path).value()->worksheets().item(1).value();
    return sheet->range("A2041", "H1048576").value()->findLastValue().value();
}

const char* const kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

TEST(SheetRead, EveryKindOfCellInSheetOrderNotZipOrder) {
    qvtest::Parts parts = qvtest::workbookParts(
        qvtest::sheetXml(R"(<row r="1"><c r="A1"><v>99</v></c></row>)"),
        R"(<sst count="1000000000" uniqueCount="1000000000"><si><r><rPr><b/></rPr><t>동작</t></r>)"
        R"(<r><t xml:space="preserve"> 구분</t></r><rPh sb="0" eb="2"><t>どうさ</t></rPh></si>)"
        R"(<si><t>a_x000D_b &amp; _x005F_x0041_ &#xD55C;</t></si></sst>)");
    // The timetable is the first sheet of the workbook but its part comes second in the zip.
    parts[2].second = std::string(R"(<workbook xmlns:r=")") + kRel +
                      R"("><workbookPr date1904="false"/><sheets>)"
                      R"(<sheet name="Timetable" sheetId="2" r:id="rId3"/>)"
                      R"(<sheet name="Chart" sheetId="3" r:id="rId4"/>)"
                      R"(<sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>)";
    parts[3].second.insert(parts[3].second.find("</Relationships>"),
                           std::string(R"(<Relationship Id="rId3" Type=")") + kRel +
                               R"(/worksheet" Target="/xl/worksheets/../worksheets/t.xml"/>)" +
                               R"(<Relationship Id="rId4" Type=")" + kRel +
                               R"(/chartsheet" Target="chartsheets/sheet1.xml"/>)");
    parts.emplace_back(
        "xl/worksheets/t.xml",
        qvtest::sheetXml(
            R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="inlineStr"><is><r><t>in</t>)"
            R"(</r><r><t>line</t></r></is></c><c r="C1"><v>3.5</v></c><c r="D1" t="b"><v>1</v>)"
            R"(</c><c r="E1" t="e"><v>#DIV/0!</v></c><c r="F1"><f>1+2</f><v>3</v></c>)"
            R"(<c r="G1" t="str"><f>"a"&amp;"b"</f><v>ab</v></c>)"
            R"(<c r="H1" t="d"><v>2024-03-01T12:00:00</v></c></row>)"
            R"(<row r="3"><c r="A3" t="s"><v>1</v></c><c r="B3"><f>NOW()</f></c><c r="C3" s="1"/>)"
            R"(<c><v>7</v></c></row><row><c r="B4" t="b"><v>0</v></c></row>)"
            R"(<row r="5"><c r="A5" t="inlineStr"><is><t><![CDATA[<row r="6">]]></t></is></c>)"
            R"(<c r="I5"><v>1</v></c></row><row r="2041"><c r="A2041"><v>1</v></c></row>)"));
    qvtest::TempFolder folder;
    qvtest::writeZip(folder.file("kinds.xlsx"), parts);
    std::vector<std::string> names;
    const CellGrid g = readBlock(folder.file("kinds.xlsx"), "A1:H2040", 1, &names);
    ASSERT_EQ(g.rows(), 2040u);
    EXPECT_EQ(names, (std::vector<std::string>{"Timetable", "Sheet1"})) << "no chart sheets";
    const struct {
        uint32_t row, column;
        CellValue value;
    } cells[] = {
        {0, 0, Text("동작 구분")},
        {0, 1, Text("inline")},
        {0, 2, 3.5},
        {0, 3, true},
        {0, 4, CellError::Div0},
        {0, 5, 3.0},
        {0, 6, Text("ab")},
        {0, 7, 45352.5},
        {1, 0, CellValue{}},
        {2, 0, Text("a\rb & _x0041_ 한")},
        {2, 1, CellValue{}},
        {2, 2, CellValue{}},
        {2, 3, 7.0},
        {3, 1, false},
        {4, 0, Text("<row r=\"6\">")},
        {2039, 0, CellValue{}},
    };
    for (const auto& c : cells)
        EXPECT_EQ(g.at(c.row, c.column), c.value) << cellName({c.row + 1, c.column + 1});
    EXPECT_EQ(readBlock(folder.file("kinds.xlsx"), "B3:D4").at(0, 2), CellValue{7.0});
}

// The sheet is read in pieces of 64 KiB. A comment moves one row across the end of the first
// piece so that it is cut at each of its bytes in turn: tags, attribute values, texts, an
// entity, a self-closing tag and a namespace prefix, each cut anywhere, read the same.
TEST(SheetRead, RowCutByTheReadersPieceAnywhere) {
    const std::string row = R"(<row r="1" spans="1:4"><x:c r="A1" t="inlineStr"><is><t>a&amp;b)"
                            R"(</t></is></x:c><c r='B1'><v>12</v></c><c r="C1" s="1"/>)"
                            R"(<c r="D1" t="s"><v>0</v></c></row>)";
    const size_t before = qvtest::sheetXml("").find("</sheetData>") + 4; // and "<!--"
    qvtest::TempFolder folder;
    for (size_t cut = 0; cut <= row.size(); ++cut) {
        const std::string padding(64 * 1024 - before - 3 - cut, 'p');
        const std::string path = folder.file(std::to_string(cut) + ".xlsx");
        qvtest::writeZip(path,
                         qvtest::workbookParts(qvtest::sheetXml("<!--" + padding + "-->" + row),
                                               "<sst><si><t>shared</t></si></sst>"));
        const CellGrid g = readBlock(path, "A1:D1");
        ASSERT_EQ(g.columns(), 4u) << "cut at " << cut;
        const CellValue want[] = {Text("a&b"), 12.0, CellValue{}, Text("shared")};
        for (uint32_t c = 0; c < 4; ++c)
            EXPECT_EQ(g.at(0, c), want[c]) << "cut at " << cut << ", column " << c;
    }
}

TEST(SheetRead, WorkbookWrittenByOpenpyxl) {
    qvtest::TempFolder folder;
    const std::string path = folder.file("openpyxl.xlsx");
    qvtest::runPython(
        "import datetime, openpyxl, sys, zipfile\n"
        "wb = openpyxl.Workbook()\n"
        "wb.active.title = \"Other\"\n"
        "wb.active[\"A1\"] = \"not this one\"\n"
        "t = wb.create_sheet(\"Timetable\", 0)\n"
        "t.append([\"동작구분\", \"월\", \"요일\"])\n"
        "t.append([52, 2.5, True, \"=1+2\", datetime.datetime(2024, 3, 1, 12, 0), \"동작구분\"])\n"
        "t[\"H2040\"] = \"last\"\n"
        "t[\"H2041\"] = \"beyond\"\n"
        "wb.save(sys.argv[1] + \".tmp\")\n"
        "src = zipfile.ZipFile(sys.argv[1] + \".tmp\")\n"
        "names = sorted(src.namelist(), key=lambda n: n != \"xl/worksheets/sheet2.xml\")\n"
        "with zipfile.ZipFile(sys.argv[1], \"w\", zipfile.ZIP_DEFLATED) as out:\n"
        "    for n in names: out.writestr(n, src.read(n))\n"
        "print(src.namelist().index(\"xl/worksheets/sheet1.xml\") > 0)\n",
        {path});
    std::vector<std::string> names;
    const CellGrid g = readBlock(path, "A1:H2040", 1, &names);
    ASSERT_EQ(g.rows(), 2040u);
    EXPECT_EQ(names, (std::vector<std::string>{"Timetable", "Other"}));
    const CellValue want[2][6] = {
        {Text("동작구분"), Text("월"), Text("요일"), {}, {}, {}},
        {52.0, 2.5, true, {}, 45352.5, Text("동작구분")}, // openpyxl stores no formula results
    };
    for (uint32_t r = 0; r < 2; ++r)
        for (uint32_t c = 0; c < 6; ++c)
            EXPECT_EQ(g.at(r, c), want[r][c]) << cellName({r + 1, c + 1});
    EXPECT_EQ(g.at(2039, 7), CellValue{Text("last")});
    EXPECT_EQ(lastValueBelowBlock(path), (CellAddress{2041, 8}));
}

TEST(SheetRead, XlsWrittenByXlwt) {
    qvtest::TempFolder folder;
    const std::string path = folder.file("xlwt.xls");
    qvtest::runPython("import datetime, sys, xlwt\n"
                      "wb = xlwt.Workbook(encoding=\"utf-8\")\n"
                      "s = wb.add_sheet(\"Timetable\")\n"
                      "for c, v in enumerate([\"동작구분\", 52, 2.5]): s.write(0, c, v)\n"
                      "s.write(0, 3, datetime.datetime(2024, 3, 1, 12, 0),"
                      " xlwt.easyxf(num_format_str=\"YYYY-MM-DD HH:MM\"))\n"
                      "s.write(2039, 7, \"dev-1\")\n"
                      "s.write(2099, 6, \"below\")\n"
                      "s.write(3000, 9, \"beyond column H\")\n"
                      "wb.add_sheet(\"Other\").write(0, 0, \"x\")\n"
                      "wb.save(sys.argv[1])\n",
                      {path});
    std::vector<std::string> names;
    const CellGrid g = readBlock(path, "A1:H2040", 1, &names);
    ASSERT_EQ(g.rows(), 2040u);
    EXPECT_EQ(names, (std::vector<std::string>{"Timetable", "Other"}));
    EXPECT_EQ(g.at(0, 0), CellValue{Text("동작구분")});
    EXPECT_EQ(g.at(0, 1), CellValue{52.0});
    EXPECT_EQ(g.at(0, 2), CellValue{2.5});
    EXPECT_EQ(g.at(0, 3), CellValue{45352.5});
    EXPECT_EQ(g.at(1, 0), CellValue{});
    EXPECT_EQ(g.at(2039, 7), CellValue{Text("dev-1")});
    EXPECT_EQ(readBlock(path, "A1", 2).at(0, 0), CellValue{Text("x")});
    EXPECT_EQ(lastValueBelowBlock(path), (CellAddress{2100, 7}));
}

} // namespace
} // namespace qv::sheet
