// Files made to hurt the reader: zip bombs, huge and broken string tables, far-away cells,
// entity declarations, broken zip directories, crafted .xls files. Each is answered with a
// clear error (or, where the file is valid, with the block) within a second, and the reader's
// memory stays bounded.

#include "sheet/FileSpreadsheetApplication.h"
#include "sheet/SheetLimits.h"
#include "tests/sheet/SheetTestFiles.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <zip.h>
#include <zlib.h>

#include <chrono>
#include <functional>
#include <optional>

namespace qv::sheet {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr std::chrono::milliseconds kAnswerTime{5000}; // the sanitizers slow every byte down
#else
constexpr std::chrono::milliseconds kAnswerTime{1000};
#endif

// Raw deflate of `content`; `last` ends the stream, otherwise it stays open and byte-aligned,
// so pieces can be strung together.
std::string deflatePiece(const std::string& content, bool last) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, content.size()) + 16, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
    z.avail_in = static_cast<uInt>(content.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, last ? Z_FINISH : Z_FULL_FLUSH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// A deflate stream of `head`, then `mebibytes` MiB of harmless XML, then `tail`: a few KB that
// inflate to as much as the test likes.
std::string inflatingTo(const std::string& head, size_t mebibytes, const std::string& tail) {
    std::string unit = "<a>" + std::string(4089, ' ') + "</a>"; // 4 KiB
    while (unit.size() < kMiB)
        unit += unit;
    const std::string piece = deflatePiece(unit, false);
    std::string stream = deflatePiece(head, false);
    for (size_t i = 0; i < mebibytes; ++i)
        stream += piece;
    return stream + deflatePiece(tail, true);
}

struct RawEntry {
    std::string name;
    std::string data; // raw deflate
    uint32_t declaredSize;
    uint32_t crc = 0;
};

void put16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A zip archive written byte by byte, so that its headers declare what the test wants.
std::string rawZip(const std::vector<RawEntry>& entries) {
    std::string zip;
    std::string directory;
    for (const RawEntry& e : entries) {
        const auto offset = static_cast<uint32_t>(zip.size());
        for (std::string* out : {&zip, &directory}) {
            put32(*out, out == &zip ? 0x04034b50 : 0x02014b50);
            if (out == &directory)
                put16(*out, 20);
            for (const uint32_t v : {20u, 0u, 8u, 0u, 0x21u})
                put16(*out, v);
            for (const uint32_t v : {e.crc, static_cast<uint32_t>(e.data.size()), e.declaredSize})
                put32(*out, v);
            put16(*out, static_cast<uint32_t>(e.name.size()));
            put16(*out, 0);
            if (out == &directory) {
                for (int i = 0; i < 3; ++i) // comment length, disk, internal attributes
                    put16(*out, 0);
                put32(*out, 0);
                put32(*out, offset);
            }
            *out += e.name;
        }
        zip += e.data;
    }
    const auto directoryOffset = static_cast<uint32_t>(zip.size());
    zip += directory;
    put32(zip, 0x06054b50);
    put32(zip, 0);
    put16(zip, static_cast<uint32_t>(entries.size()));
    put16(zip, static_cast<uint32_t>(entries.size()));
    put32(zip, static_cast<uint32_t>(directory.size()));
    put32(zip, directoryOffset);
    put16(zip, 0);
    return zip;
}

// The minimal workbook with its sheet (and string table) replaced by raw streams. Their CRCs
// stay 0: a capped read never reaches the check.
std::string rawWorkbook(RawEntry sheet, std::optional<RawEntry> strings = std::nullopt) {
    std::vector<RawEntry> entries;
    for (const auto& [name, content] : qvtest::workbookParts(""))
        if (name != "xl/worksheets/sheet1.xml")
            entries.push_back(
                {name, deflatePiece(content, true), static_cast<uint32_t>(content.size()),
                 static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(content.data()),
                                             static_cast<uInt>(content.size())))});
    sheet.name = "xl/worksheets/sheet1.xml";
    entries.push_back(std::move(sheet));
    if (strings) {
        strings->name = "xl/sharedStrings.xml";
        entries.push_back(std::move(*strings));
    }
    return rawZip(entries);
}

std::string package(const std::string& sheet, const std::string& strings = {}) {
    qvtest::TempFolder folder;
    qvtest::writeZip(folder.file("p.xlsx"), qvtest::workbookParts(sheet, strings));
    return qvtest::readFile(folder.file("p.xlsx"));
}

std::string stringTable(size_t count) {
    // Declares the largest count there can be; the reader must not believe it.
    std::string table = R"(<sst count="4294967295" uniqueCount="4294967295">)";
    for (size_t i = 0; i < count; ++i)
        table += "<si><t>s</t></si>";
    return table + "</sst>";
}

const std::string kHead = "<worksheet><sheetData>";
const std::string kTail = "</sheetData></worksheet>";
const std::string kA1String = R"(<row r="1"><c r="A1" t="s"><v>0</v></c></row>)";
const std::string kFarString = kHead + R"(<row r="1"><c r="A1" t="s"><v>1048576</v></c></row>)";

std::string modified(std::string bytes, const std::function<void(std::string&)>& change) {
    change(bytes);
    return bytes;
}

long maxResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Opens the file and reads A1:H2040 of its first worksheet, as the import does.
SheetResult<CellGrid> importBlock(const std::string& path) {
    FileSpreadsheetApplication app;
    auto book = app.workbooks().open(path);
    if (!book)
        return book.error();
    auto sheet = book.value()->worksheets().item(1);
    if (!sheet)
        return sheet.error();
    return sheet.value()->range("A1", "H2040").value()->value2();
}

void expectAnswered(const std::string& what, const std::string& path,
                    std::optional<SheetErrorKind> kind) {
    const long before = maxResidentKiB();
    const auto start = std::chrono::steady_clock::now();
    const auto result = importBlock(path);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, kAnswerTime) << what;
    EXPECT_LT(maxResidentKiB() - before, 64 * 1024) << what << ": memory grew";
    if (!kind) {
        EXPECT_TRUE(result) << what << ": " << describe(result.error());
        return;
    }
    ASSERT_FALSE(result) << what << " was read";
    EXPECT_EQ(kindName(result.error().kind), std::string(kindName(*kind)))
        << what << ": " << result.error().detail;
}

TEST(HostileFiles, XlsxPackagesAreAnsweredQuicklyAndBounded) {
    using K = SheetErrorKind;
    const std::string bomb = inflatingTo(kHead, 1024, kTail); // 1 GiB
    const std::string big = inflatingTo(kHead + kA1String, 30, kTail);
    const std::string bigStrings = inflatingTo("<sst>", 30, "<si><t>x</t></si></sst>");
    const std::string valid = package(qvtest::sheetXml(kA1String), stringTable(2));
    const auto cell = [](const std::string& c) {
        return qvtest::sheetXml("<row r=\"1\">" + c + "</row>");
    };
    const auto sheetPart = [](std::string xml) { return package(xml); };
    const struct {
        const char* what;
        std::string bytes;
        std::optional<SheetErrorKind> kind;
    } cases[] = {
        {"zip bomb declaring its size", rawWorkbook({"", bomb, 1u << 30}), K::LimitExceeded},
        {"zip bomb declaring 1 KiB", rawWorkbook({"", bomb, 1024}), K::LimitExceeded},
        {"sheet and strings past the total",
         rawWorkbook({"", big, 31 << 20}, RawEntry{"", bigStrings, 31 << 20}), K::LimitExceeded},
        {"huge shared-string table",
         rawWorkbook({"", inflatingTo(kFarString, 0, kTail),
                      static_cast<uint32_t>((kFarString + kTail).size())},
                     RawEntry{"", bigStrings, 31 << 20}),
         K::LimitExceeded},
        {"huge declared string count, used index in range", valid, std::nullopt},
        {"string index beyond the table",
         package(cell(R"(<c r="A1" t="s"><v>2</v></c>)"), stringTable(2)), K::Corrupt},
        {"string index not a number",
         package(cell(R"(<c r="A1" t="s"><v>-1</v></c>)"), stringTable(2)), K::Corrupt},
        {"strings without a table", package(cell(R"(<c r="A1" t="s"><v>0</v></c>)")), K::Corrupt},
        {"dimension of the whole sheet, cells far away",
         sheetPart(
             R"(<worksheet><dimension ref="A1:XFD1048576"/><sheetData><row r="1"><c r="A1">)"
             R"(<v>1</v></c><c r="XFD1"><v>2</v></c></row><row r="1048576"><c r="XFD1048576">)"
             R"(<v>3</v></c></row></sheetData></worksheet>)"),
         std::nullopt},
        {"cell beyond column XFD", sheetPart(cell(R"(<c r="XFE1"><v>1</v></c>)")), K::Corrupt},
        {"row beyond the last", sheetPart(qvtest::sheetXml(R"(<row r="1048577"/>)")), K::Corrupt},
        {"rows out of order", sheetPart(qvtest::sheetXml(R"(<row r="5"/><row r="3"/>)")),
         K::Corrupt},
        {"row past the block before lower rows",
         sheetPart(qvtest::sheetXml(R"(<row r="2041"/><row r="7"><c><v>1</v></c></row>)")),
         K::Corrupt},
        {"cell in the wrong row", sheetPart(cell(R"(<c r="A2"><v>1</v></c>)")), K::Corrupt},
        {"DOCTYPE with entities in the sheet",
         sheetPart(R"(<!DOCTYPE worksheet [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;">]>)" +
                   cell(R"(<c r="A1" t="str"><v>&b;</v></c>)")),
         K::Corrupt},
        {"DOCTYPE in the workbook",
         modified(valid,
                  [](std::string& b) {
                      qvtest::TempFolder f;
                      auto parts = qvtest::workbookParts(qvtest::sheetXml(""));
                      parts[2].second =
                          R"(<!DOCTYPE workbook [<!ENTITY x "y">]>)" + parts[2].second;
                      qvtest::writeZip(f.file("d.xlsx"), parts);
                      b = qvtest::readFile(f.file("d.xlsx"));
                  }),
         K::Corrupt},
        {"undeclared entity", sheetPart(cell(R"(<c r="A1" t="str"><v>&x;</v></c>)")), K::Corrupt},
        {"nesting deeper than a sheet",
         sheetPart(qvtest::sheetXml(std::string(100 * 3, 'x')
                                        .replace(0, 300,
                                                 [] {
                                                     std::string s;
                                                     for (int i = 0; i < 100; ++i)
                                                         s += "<b>";
                                                     return s;
                                                 }()))),
         K::LimitExceeded},
        {"cell text longer than a cell holds",
         sheetPart(cell(R"(<c r="A1" t="inlineStr"><is><t>)" + std::string(300 * kKiB, 'x') +
                        "</t></is></c>")),
         K::LimitExceeded},
        {"part in UTF-16", sheetPart("\xFF\xFE<\0w\0"), K::Unsupported},
        {"broken zip directory", modified(valid, [](std::string& b) { b[b.size() - 6] ^= 0x5A; }),
         K::Corrupt},
        {"cut short", valid.substr(0, valid.size() / 2), K::Corrupt},
        {"not a spreadsheet", "just a text file\n", K::NotSpreadsheet},
        {"empty file", "", K::NotSpreadsheet},
    };
    qvtest::TempFolder folder;
    for (const auto& c : cases) {
        const std::string path = folder.file("hostile.xlsx");
        qvtest::writeFile(path, c.bytes);
        expectAnswered(c.what, path, c.kind);
    }
    expectAnswered("missing file", folder.file("none.xlsx"), K::FileNotFound);
}

TEST(HostileFiles, PartsSpreadsheetProgramsNeverWrite) {
    qvtest::TempFolder folder;
    const std::string path = folder.file("p.xlsx");
    const struct {
        const char* what;
        std::function<void(zip_t*, zip_int64_t)> change;
        SheetErrorKind kind;
    } cases[] = {
        {"encrypted sheet",
         [](zip_t* z, zip_int64_t i) {
             zip_file_set_encryption(z, static_cast<zip_uint64_t>(i), ZIP_EM_AES_256, "pw");
         },
         SheetErrorKind::Encrypted},
        {"bzip2 sheet",
         [](zip_t* z, zip_int64_t i) {
             zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_BZIP2, 9);
         },
         SheetErrorKind::Unsupported},
    };
    for (const auto& c : cases) {
        qvtest::writeZip(path, qvtest::workbookParts(qvtest::sheetXml(kA1String)));
        zip_t* z = zip_open(path.c_str(), 0, nullptr);
        ASSERT_NE(z, nullptr);
        c.change(z, zip_name_locate(z, "xl/worksheets/sheet1.xml", 0));
        ASSERT_EQ(zip_close(z), 0) << c.what;
        expectAnswered(c.what, path, c.kind);
    }
}

TEST(HostileFiles, CraftedXlsFilesEndInTheirChildProcess) {
    qvtest::TempFolder folder;
    const std::string good = folder.file("good.xls");
    qvtest::runPython("import sys, xlwt\n"
                      "wb = xlwt.Workbook()\n"
                      "s = wb.add_sheet(\"T\")\n"
                      "for r in range(200): s.write(r, 0, \"row %d\" % r)\n"
                      "wb.save(sys.argv[1])\n",
                      {good});
    const std::string bytes = qvtest::readFile(good);
    // DIMENSION record of BIFF8: type 0x0200, 14 bytes; its last row and column follow the
    // first row.
    const size_t dimension = bytes.find(std::string("\x00\x02\x0E\x00", 4));
    ASSERT_NE(dimension, std::string::npos);
    std::string utf16Name;
    for (const char c : std::string("EncryptedPackage"))
        utf16Name += {c, '\0'};
    const struct {
        const char* what;
        std::string bytes;
        SheetErrorKind kind;
    } cases[] = {
        {"cut short", bytes.substr(0, bytes.size() / 2), SheetErrorKind::Corrupt},
        {"dimension of 4 billion rows",
         modified(bytes, [&](std::string& b) { b.replace(dimension + 8, 4, "\xFF\xFF\xFF\xFF"); }),
         SheetErrorKind::Corrupt},
        {"compound file of noise", bytes.substr(0, 8) + std::string(4096, '\x5A'),
         SheetErrorKind::Corrupt},
        {"password-encrypted package", bytes.substr(0, 512) + utf16Name + std::string(512, '\0'),
         SheetErrorKind::Encrypted},
    };
    for (const auto& c : cases) {
        const std::string path = folder.file("hostile.xls");
        qvtest::writeFile(path, c.bytes);
        expectAnswered(c.what, path, c.kind);
    }
}

} // namespace
} // namespace qv::sheet
