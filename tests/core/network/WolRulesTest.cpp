// The Wake-on-LAN rules without a window: the checks of Add and Edit in their order, the table
// edits with the appliance's bytes 0 to 3, and the CSV file both ways, hostile files included.

#include "core/network/WolRules.h"

#include "res/StringTable.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace wol = qv::wol;
using qv::StringId;

namespace {

std::string_view english(StringId id) {
    return qv::uiString(id, qv::Language::English);
}

constexpr int kCp1252 = 1252;
constexpr int kCp949 = 949;
const std::string kKimCp949 = "\xB1\xE8\xC3\xB6\xBC\xF6"; // "김철수"

wol::Input input(std::string name, std::string mac) {
    return wol::Input{std::move(name), std::move(mac)};
}

// A table whose slots carry the appliance's bytes 0 to 3 (0xB0 + slot, 0x11, slot, 0xEE).
qv::WolTable tableWith(const std::vector<std::pair<std::string, std::string>>& entries) {
    qv::WolTable table;
    for (size_t slot = 0; slot < qv::WolTable::kSlots; ++slot) {
        qv::WolEntry e;
        e.bytes[0] = static_cast<uint8_t>(0xB0 + slot);
        e.bytes[1] = 0x11;
        e.bytes[2] = static_cast<uint8_t>(slot);
        e.bytes[3] = 0xEE;
        if (slot < entries.size()) {
            e.setNameUtf8(entries[slot].first);
            e.setMacUtf8(entries[slot].second);
        }
        table.setEntry(slot, e);
    }
    return table;
}

void expectLeadBytes(const qv::WolTable& table) {
    for (size_t slot = 0; slot < qv::WolTable::kSlots; ++slot) {
        const qv::WolEntry e = table.entry(slot);
        EXPECT_EQ(e.bytes[0], static_cast<uint8_t>(0xB0 + slot)) << slot;
        EXPECT_EQ(e.bytes[1], 0x11) << slot;
        EXPECT_EQ(e.bytes[2], slot) << slot;
        EXPECT_EQ(e.bytes[3], 0xEE) << slot;
    }
}

TEST(WolRules, MacFormatNeedsFiveColonsOrFiveDashes) {
    struct Case {
        const char* mac;
        bool ok;
    };
    const Case cases[] = {
        {"ab:39:22:44:12:aa", true},
        {"ab-39-22-44-12-aa", true},
        {"AB:39:22:44:12:AA", true},
        {":::::", false}, // too short for the file to give it back
        {"-----", false},
        {"ab:39:22:44:12:a,a", false},
        {"zz:zz:zz:zz:zz:zz", true},
        {" ab:39:22:44:12:aa ", true},
        {"ab:39:22:44:12", false},
        {"ab:39:22:44:12:aa:bb", false},
        {"ab:39:22-44-12-aa", false},
        {"ab39224412aa", false},
        {"", false},
        {"ab:39:22:44:12:aa-", true}, // five colons, one dash
    };
    for (const Case& c : cases)
        EXPECT_EQ(wol::macFormatOk(c.mac), c.ok) << c.mac;
    EXPECT_EQ(wol::withColons("ab-39-22-44-12-aa"), "ab:39:22:44:12:aa");
    EXPECT_EQ(wol::withColons("AB:39:22:44:12:AA"), "AB:39:22:44:12:AA");
}

TEST(WolRules, AddChecksInTheirOrder) {
    const std::string name31(31, 'n');
    const std::string mac63 = "aa:bb:cc:dd:ee:" + std::string(48, 'f');
    struct Case {
        const char* what;
        int32_t count;
        wol::Input in;
        wol::Verdict expected;
    };
    const Case cases[] = {
        {"all empty", 0, input("", ""), wol::Verdict::refused(StringId::WolInputMac)},
        {"MAC before its format", 0, input("", "x"), wol::Verdict::refused(StringId::WolMacFormat)},
        {"four colons", 0, input("pc", "ab:39:22:44:12"),
         wol::Verdict::refused(StringId::WolMacFormat)},
        {"mixed separators", 0, input("pc", "ab:39:22-44-12-aa"),
         wol::Verdict::refused(StringId::WolMacFormat)},
        {"name of blanks", 0, input("   ", "ab:39:22:44:12:aa"),
         wol::Verdict::refused(StringId::WolInputName)},
        {"name of white space", 0, input(" \t ", "ab:39:22:44:12:aa"),
         wol::Verdict::refused(StringId::WolInputName)},
        {"full table, checked after the name", 101, input("pc", "ab:39:22:44:12:aa"),
         wol::Verdict::refused(StringId::WolTableFull)},
        {"an empty name is told before a full table", 101, input("", "ab:39:22:44:12:aa"),
         wol::Verdict::refused(StringId::WolInputName)},
        {"100 entries take one more", 100, input("pc", "ab:39:22:44:12:aa"),
         wol::Verdict::accepted()},
        {"name in no code page is taken", 0, input("กข", "ab:39:22:44:12:aa"),
         wol::Verdict::accepted()},
        {"MAC that is no UTF-8", 0, input("pc", "ab:39:22:44:12:\xFF\xFF"),
         wol::Verdict::refused(StringId::WolMacNotConvertible)},
        {"31 bytes of name fit", 0, input(name31, "ab:39:22:44:12:aa"), wol::Verdict::accepted()},
        {"32 bytes of name do not", 0, input(name31 + "x", "ab:39:22:44:12:aa"),
         wol::Verdict::refused(StringId::NameTooLong)},
        {"blanks removed before the length", 0, input(name31 + "   ", "ab:39:22:44:12:aa"),
         wol::Verdict::accepted()},
        {"63 bytes of MAC fit", 0, input("pc", mac63), wol::Verdict::accepted()},
        {"64 bytes of MAC do not", 0, input("pc", mac63 + "f"),
         wol::Verdict::refused(StringId::WolMacTooLong)},
        {"five colons and nothing else", 0, input("pc", ":::::"),
         wol::Verdict::refused(StringId::WolMacFormat)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wol::validateAdd(c.count, c.in), c.expected) << c.what;

    // Korean counts in UTF-8: 10 characters are 30 bytes, 11 are 33 (22 in 949).
    std::string ten;
    for (int i = 0; i < 10; ++i)
        ten += "가";
    EXPECT_TRUE(wol::validateAdd(0, input(ten, "ab:39:22:44:12:aa")).ok());
    EXPECT_EQ(wol::validateAdd(0, input(ten + "가", "ab:39:22:44:12:aa")),
              wol::Verdict::refused(StringId::NameTooLong));
    // Bytes that are no UTF-8 are not stored.
    EXPECT_EQ(wol::validateAdd(0, input("\xFF\xFF", "ab:39:22:44:12:aa")),
              wol::Verdict::refused(StringId::NameNotConvertible));
}

TEST(WolRules, EditChecksInTheirOrder) {
    struct Case {
        const char* what;
        int32_t count;
        int row;
        wol::Input in;
        wol::Verdict expected;
    };
    const Case cases[] = {
        {"empty list does nothing", 0, -1, input("", ""), wol::Verdict::ignored()},
        {"empty list, even with a row", 0, 0, input("pc", "ab:39:22:44:12:aa"),
         wol::Verdict::ignored()},
        {"no row", 3, -1, input("pc", "ab:39:22:44:12:aa"),
         wol::Verdict::refused(StringId::WolSelectToModify)},
        {"row past the entries", 3, 3, input("pc", "ab:39:22:44:12:aa"),
         wol::Verdict::refused(StringId::WolSelectToModify)},
        {"name before MAC", 3, 1, input("", ""), wol::Verdict::refused(StringId::WolInputName)},
        {"MAC empty", 3, 1, input("pc", ""), wol::Verdict::refused(StringId::WolInputMac)},
        {"MAC format", 3, 1, input("pc", "ab:39"), wol::Verdict::refused(StringId::WolMacFormat)},
        {"a name of blanks is a name here", 3, 1, input("  ", "ab:39:22:44:12:aa"),
         wol::Verdict::accepted()},
        {"name with a blank too long", 3, 1, input(std::string(31, 'n') + " ", "ab-39-22-44-12-aa"),
         wol::Verdict::refused(StringId::NameTooLong)},
        {"full table is no reason", 101, 100, input("pc", "ab-39-22-44-12-aa"),
         wol::Verdict::accepted()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wol::validateEdit(c.count, c.row, c.in), c.expected) << c.what;

    EXPECT_EQ(wol::validateDelete(0, 0), wol::Verdict::ignored());
    EXPECT_EQ(wol::validateDelete(2, -1), wol::Verdict::refused(StringId::WolSelectToDelete));
    EXPECT_EQ(wol::validateDelete(2, 2), wol::Verdict::refused(StringId::WolSelectToDelete));
    EXPECT_TRUE(wol::validateDelete(2, 1).ok());
}

TEST(WolRules, AddEditDeleteKeepBytesZeroToThreeWithTheirSlots) {
    qv::WolTable table = tableWith({{"a", "aa:aa:aa:aa:aa:aa"}, {"b", "bb:bb:bb:bb:bb:bb"}});
    int32_t count = 2;

    // Add: blanks out of the name, dashes to colons, letter case kept.
    wol::addEntry(table, count, input(" my pc ", "AB-39-22-44-12-AA"));
    ASSERT_EQ(count, 3);
    EXPECT_EQ(table.entry(2).nameUtf8(), "mypc");
    EXPECT_EQ(table.entry(2).macUtf8(), "AB:39:22:44:12:AA");
    wol::addEntry(table, count, input("김철수", "ab:39:22:44:12:aa"));
    EXPECT_EQ(table.entry(3).nameUtf8(), "김철수");

    // Edit keeps the blank.
    wol::editEntry(table, count, 0, input("my pc", "cc-cc-cc-cc-cc-cc"));
    EXPECT_EQ(table.entry(0).nameUtf8(), "my pc");
    EXPECT_EQ(table.entry(0).macUtf8(), "cc:cc:cc:cc:cc:cc");

    // Delete the second: the later texts move up, bytes 0 to 3 stay where they were, and the
    // freed slot keeps nothing of the list.
    wol::deleteEntry(table, count, 1);
    ASSERT_EQ(count, 3);
    EXPECT_EQ(table.entry(0).nameUtf8(), "my pc");
    EXPECT_EQ(table.entry(1).nameUtf8(), "mypc");
    EXPECT_EQ(table.entry(2).nameUtf8(), "김철수");
    EXPECT_EQ(table.entry(3).nameUtf8(), "");
    EXPECT_EQ(table.entry(3).macUtf8(), "");
    expectLeadBytes(table);

    // Delete the last and the first.
    wol::deleteEntry(table, count, 2);
    wol::deleteEntry(table, count, 0);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(table.entry(0).nameUtf8(), "mypc");
    expectLeadBytes(table);

    // A full table takes no more, and a count from the wire beyond the slots is limited.
    qv::WolTable full = tableWith({});
    int32_t fullCount = 101;
    wol::addEntry(full, fullCount, input("x", ":::::"));
    EXPECT_EQ(fullCount, 101);
    int32_t wild = 5000;
    wol::deleteEntry(full, wild, 100);
    EXPECT_EQ(wild, 100);
    expectLeadBytes(full);
}

TEST(WolRules, RowsAndColumns) {
    ASSERT_EQ(wol::kColumns.size(), 4u);
    EXPECT_EQ(english(wol::kColumns[0].caption), "No.");
    EXPECT_EQ(wol::kColumns[0].width, 60);
    EXPECT_EQ(english(wol::kColumns[1].caption), "Name");
    EXPECT_EQ(wol::kColumns[1].width, 130);
    EXPECT_EQ(english(wol::kColumns[2].caption), "Mac Addr");
    EXPECT_EQ(wol::kColumns[2].width, 140);
    EXPECT_EQ(english(wol::kColumns[3].caption), "etc");
    EXPECT_EQ(wol::kColumns[3].width, 0);
    const qv::WolTable table = tableWith({{"a", "b"}, {"사무실PC", "00:1b:21:3a:4f:02"}});
    const auto texts = wol::rowTexts(table.entry(1), 1);
    EXPECT_EQ(texts[0], "2");
    EXPECT_EQ(texts[1], "사무실PC");
    EXPECT_EQ(texts[2], "00:1b:21:3a:4f:02");
    EXPECT_EQ(texts[3], "");
}

TEST(WolRules, ExportWritesOneLinePerEntryInTheCodePage) {
    EXPECT_EQ(wol::validateExport(0), wol::Verdict::refused(StringId::WolNothingToExport));
    EXPECT_EQ(wol::validateExport(-4), wol::Verdict::refused(StringId::WolNothingToExport));
    EXPECT_TRUE(wol::validateExport(1).ok());

    const qv::WolTable table = tableWith({{"pc1", "ab:39:22:44:12:aa"},
                                          {"김철수", "AB:39:22:44:12:AA"},
                                          {"my pc", ":::::"},
                                          {"not listed", "past the count"}});
    const wol::ExportResult csv = wol::exportCsv(table, 3, kCp949);
    ASSERT_TRUE(csv.ok());
    EXPECT_EQ(csv.text,
              "pc1, ab:39:22:44:12:aa\r\n" + kKimCp949 + ", AB:39:22:44:12:AA\r\nmy pc, :::::\r\n");

    // Korean has no form in 1252: the export names the entry rather than writing '?'.
    const wol::ExportResult latin = wol::exportCsv(table, 3, kCp1252);
    EXPECT_FALSE(latin.ok());
    EXPECT_EQ(latin.badRow, 1);
    EXPECT_TRUE(latin.text.empty());

    // What is exported imports as the same entries.
    const wol::ImportResult back = wol::parseCsv(csv.text, kCp949);
    ASSERT_TRUE(back.ok());
    const std::vector<wol::ImportedEntry> expected = {{"pc1", "ab:39:22:44:12:aa"},
                                                      {"김철수", "AB:39:22:44:12:AA"}};
    // ":::::" came from the appliance; the list's own Add refuses it as the import does.
    EXPECT_EQ(back.entries, expected);
}

TEST(WolRules, WhatAddTakesExportAndImportKeep) {
    for (const char* mac : {":::::", "::::::", "  ab-39-22-44-12-aa  ", "ab:39:22:44:12:a,a",
                            " :::::\t", "ab:39:22:44:12:aa"}) {
        qv::WolTable table;
        int32_t count = 0;
        if (!wol::validateAdd(count, input("pc", mac)).ok())
            continue;
        wol::addEntry(table, count, input("pc", mac));
        const wol::ImportResult back =
            wol::parseCsv(wol::exportCsv(table, count, kCp1252).text, kCp1252);
        const std::vector<wol::ImportedEntry> same = {{"pc", table.entry(0).macUtf8()}};
        EXPECT_EQ(back.entries, same) << mac;
    }
}

TEST(WolRules, ImportParsesLinesAsTheFileHasThem) {
    using Entries = std::vector<wol::ImportedEntry>;
    struct Case {
        const char* what;
        std::string file;
        Entries entries;
    };
    const std::string mac = "ab:39:22:44:12:aa";
    const Case cases[] = {
        {"empty file", "", {}},
        {"only line ends", "\r\n\n\r\n", {}},
        {"tight comma", "pc1," + mac + "\r\n", {{"pc1", mac}}},
        {"blanks around the comma", "pc1 , " + mac + "\r\n", {{"pc1", mac}}},
        {"LF and no final line end", "a, " + mac + "\nb, " + mac, {{"a", mac}, {"b", mac}}},
        {"CR alone ends a line too", "a, " + mac + "\rb, " + mac + "\r", {{"a", mac}, {"b", mac}}},
        {"tabs trimmed", "\tpc\t,\t" + mac + "\t\r\n", {{"pc", mac}}},
        {"two commas", "pc,1,ab:39:22:44:12:aa\n", {{"pc", "1" + mac}}},
        {"MAC of four characters", "pc1, ab:3\n", {}},
        {"MAC of six characters", "pc1, ab:3:4\n", {}},
        {"MAC of seven characters", "pc1, ab:3:45\n", {{"pc1", "ab:3:45"}}},
        {"no comma at all", "just some words here\n", {}},
        {"empty name", ", " + mac + "\n", {}},
        {"header line passed over", "Name, MAC\npc, " + mac + "\n", {{"pc", mac}}},
        {"no format check, no dash change", "pc, ab-39-22-44\n", {{"pc", "ab-39-22-44"}}},
        {"blank inside the name kept", "my pc, " + mac + "\n", {{"my pc", mac}}},
        {"Korean name in 949", kKimCp949 + ", " + mac + "\r\n", {{"김철수", mac}}},
    };
    for (const Case& c : cases) {
        const wol::ImportResult result = wol::parseCsv(c.file, kCp949);
        EXPECT_TRUE(result.ok()) << c.what;
        EXPECT_FALSE(result.limited) << c.what;
        EXPECT_EQ(result.entries, c.entries) << c.what;
    }
}

TEST(WolRules, ImportOfHostileFilesRefusesOrStopsCleanly) {
    const std::string mac = "ab:39:22:44:12:aa";
    struct Case {
        const char* what;
        std::string file;
        StringId error;
        int line;
    };
    const Case cases[] = {
        {"name over 31 bytes", "ok, " + mac + "\n" + std::string(32, 'n') + ", " + mac + "\n",
         StringId::WolImportNameTooLong, 2},
        {"MAC over 63 bytes", "pc, " + mac + std::string(47, 'f') + "\n",
         StringId::WolImportMacTooLong, 1},
        // A long line stays one line: it is neither cut nor read as a second entry.
        {"line of 300 bytes", "pc, " + mac + std::string(300, 'f') + "\r\n",
         StringId::WolImportMacTooLong, 1},
        {"bytes that are no character of 949", "\n\n\xFF\xFE, " + mac + "\n",
         StringId::WolImportNotConvertible, 3},
        {"NUL inside a line", std::string("pc\0x, ", 6) + mac + "\n",
         StringId::WolImportNotConvertible, 1},
    };
    for (const Case& c : cases) {
        const wol::ImportResult result = wol::parseCsv(c.file, kCp949);
        EXPECT_EQ(result.error, c.error) << c.what;
        EXPECT_EQ(result.errorLine, c.line) << c.what;
        EXPECT_TRUE(result.entries.empty()) << c.what;
    }
    // In 1252, 0x81 is no character either.
    EXPECT_EQ(wol::parseCsv("pc\x81, " + mac + "\n", kCp1252).error,
              StringId::WolImportNotConvertible);
    // 63 bytes of MAC and 31 of name fit exactly.
    const wol::ImportResult fits =
        wol::parseCsv(std::string(31, 'n') + "," + mac + std::string(46, 'f') + "\n", kCp1252);
    ASSERT_TRUE(fits.ok());
    ASSERT_EQ(fits.entries.size(), 1u);
    EXPECT_EQ(fits.entries[0].mac.size(), 63u);

    // 150 valid lines give 99 entries and say that the rest was left; a bad line after the
    // 99th is never looked at.
    std::string many;
    for (int i = 0; i < 150; ++i)
        many += "pc" + std::to_string(i) + ", " + mac + "\r\n";
    const wol::ImportResult limited = wol::parseCsv(many + "\xFF\xFF, " + mac + "\n", kCp949);
    ASSERT_TRUE(limited.ok());
    EXPECT_TRUE(limited.limited);
    ASSERT_EQ(limited.entries.size(), 99u);
    EXPECT_EQ(limited.entries[98].name, "pc98");
    // Exactly 99 entries and short lines after them: nothing was left.
    std::string ninetyNine;
    for (int i = 0; i < 99; ++i)
        ninetyNine += "pc" + std::to_string(i) + ", " + mac + "\n";
    const wol::ImportResult exact = wol::parseCsv(ninetyNine + "\n\nx, y\n", kCp949);
    EXPECT_FALSE(exact.limited);
    EXPECT_EQ(exact.entries.size(), 99u);
}

// Files as spreadsheets save them: LibreOffice's "CSV UTF-8" with and without the byte-order
// mark, and a spreadsheet in the code page; each read under either system code page.
TEST(WolRules, ImportRecognisesTheFilesEncoding) {
    using Entries = std::vector<wol::ImportedEntry>;
    const std::string mac = "ab:39:22:44:12:aa";
    const std::string bom = std::string(wol::kUtf8ByteOrderMark);
    struct Case {
        const char* what;
        std::string file;
        int codePage;
        wol::CsvEncoding encoding;
        Entries entries;
    };
    const Case cases[] = {
        {"UTF-8 with mark, English system",
         bom + "김철수," + mac + "\n",
         kCp1252,
         wol::CsvEncoding::Utf8,
         {{"김철수", mac}}},
        {"UTF-8 without mark, English system",
         "김철수," + mac + "\n",
         kCp1252,
         wol::CsvEncoding::Utf8,
         {{"김철수", mac}}},
        {"UTF-8 without mark, Korean system",
         "pc1," + mac + "\n김철수," + mac + "\n",
         kCp949,
         wol::CsvEncoding::Utf8,
         {{"pc1", mac}, {"김철수", mac}}},
        {"accented name in UTF-8, English system",
         "Zoë," + mac + "\n",
         kCp1252,
         wol::CsvEncoding::Utf8,
         {{"Zoë", mac}}},
        {"949 spreadsheet, Korean system",
         kKimCp949 + "," + mac + "\r\n",
         kCp949,
         wol::CsvEncoding::CodePage,
         {{"김철수", mac}}},
        {"1252 spreadsheet, English system",
         "Zo\xEB," + mac + "\r\n",
         kCp1252,
         wol::CsvEncoding::CodePage,
         {{"Zoë", mac}}},
        // Two syllables of 949 that also happen to be well-formed two-byte UTF-8 stay 949.
        {"949 text that is also UTF-8",
         "\xC7\xA1\xC3\xA2," + mac + "\r\n",
         kCp949,
         wol::CsvEncoding::CodePage,
         {{"퐈창", mac}}},
        {"plain ASCII", "pc, " + mac + "\r\n", kCp949, wol::CsvEncoding::CodePage, {{"pc", mac}}},
        {"mark before a header line",
         bom + "Name,MAC\npc," + mac + "\n",
         kCp949,
         wol::CsvEncoding::Utf8,
         {{"pc", mac}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(wol::detectEncoding(c.file, c.codePage), c.encoding) << c.what;
        const wol::ImportResult result = wol::parseCsv(c.file, c.codePage);
        EXPECT_TRUE(result.ok()) << c.what;
        EXPECT_EQ(result.encoding, c.encoding) << c.what;
        EXPECT_EQ(result.entries, c.entries) << c.what;
    }
    // A byte-order mark before bytes that are no UTF-8 is refused, not read as '?'.
    EXPECT_EQ(wol::parseCsv(bom + "pc\xFF, " + mac + "\n", kCp949).error,
              StringId::WolImportNotConvertible);
}

// Export stays in the code page while every entry fits it; otherwise the caller chooses UTF-8,
// and quoted fields bring back names with commas, quotes and blanks at either end.
TEST(WolRules, ExportChoosesTheEncodingAndNamesSurviveTheRoundTrip) {
    const std::string mac = "ab:39:22:44:12:aa";
    const std::vector<std::pair<std::string, std::string>> entries = {
        {"Smith, John", mac}, {"the \"big\" one", mac}, {" padded ", mac},
        {"\"quoted\"", mac},  {"plain", mac},           {"김철수", "AB:39:22:44:12:AA"},
    };
    const qv::WolTable table = tableWith(entries);
    EXPECT_EQ(wol::firstRowOutsideCodePage(table, 5, kCp1252), -1);
    EXPECT_EQ(wol::firstRowOutsideCodePage(table, 6, kCp1252), 5);
    EXPECT_EQ(wol::firstRowOutsideCodePage(table, 6, kCp949), -1);

    const wol::ExportResult latin = wol::exportCsv(table, 5, kCp1252);
    ASSERT_TRUE(latin.ok());
    EXPECT_EQ(latin.text, "\"Smith, John\", " + mac + "\r\n\"the \"\"big\"\" one\", " + mac +
                              "\r\n\" padded \", " + mac + "\r\n\"\"\"quoted\"\"\", " + mac +
                              "\r\nplain, " + mac + "\r\n");
    const wol::ExportResult utf8 = wol::exportCsv(table, 6, kCp1252, wol::CsvEncoding::Utf8);
    ASSERT_TRUE(utf8.ok());
    EXPECT_EQ(utf8.text.substr(0, 3), wol::kUtf8ByteOrderMark);

    std::vector<wol::ImportedEntry> all;
    for (const auto& [name, entryMac] : entries)
        all.push_back({name, entryMac});
    const std::vector<wol::ImportedEntry> firstFive(all.begin(), all.begin() + 5);
    struct Trip {
        const char* what;
        std::string file;
        int codePage;
        std::vector<wol::ImportedEntry> expected;
    };
    const Trip trips[] = {
        {"code page", latin.text, kCp1252, firstFive},
        {"UTF-8 read on an English system", utf8.text, kCp1252, all},
        {"UTF-8 read on a Korean system", utf8.text, kCp949, all},
        {"949", wol::exportCsv(table, 6, kCp949).text, kCp949, all},
    };
    for (const Trip& t : trips) {
        const wol::ImportResult back = wol::parseCsv(t.file, t.codePage);
        EXPECT_TRUE(back.ok()) << t.what;
        EXPECT_EQ(back.entries, t.expected) << t.what;
    }
}

// A name a spreadsheet program would run as a formula is written as text, and every name comes
// back as it was, apostrophes of its own included.
TEST(WolRules, FormulaLikeNamesExportAsTextAndImportUnchanged) {
    const std::string mac = "ab:39:22:44:12:aa";
    const std::pair<std::string, std::string> cases[] = {
        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
        {"+1", "'+1"},
        {"-2", "'-2"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\t=1", "'\t=1"},
        {"\r=1", "\"'\r=1\""},
        {"'=1", "''=1"},
        {"''x", "'''x"},
        {"'plain", "'plain"},
        {"a=b", "a=b"},
    };
    for (const auto& [name, field] : cases) {
        const qv::WolTable table = tableWith({{name, mac}});
        const wol::ExportResult csv = wol::exportCsv(table, 1, kCp1252);
        EXPECT_EQ(csv.text, field + ", " + mac + "\r\n") << name;
        const wol::ImportResult back = wol::parseCsv(csv.text, kCp1252);
        EXPECT_EQ(back.entries, (std::vector<wol::ImportedEntry>{{name, mac}})) << name;
    }
}

// Quotes as spreadsheets and hand-made files hold them; a stray quote reads as it always did.
TEST(WolRules, ImportReadsQuotedFields) {
    using Entries = std::vector<wol::ImportedEntry>;
    const std::string mac = "ab:39:22:44:12:aa";
    struct Case {
        const char* what;
        std::string file;
        Entries entries;
        int errorLine;
    };
    const Case cases[] = {
        {"both fields quoted", "\"pc, one\",\"" + mac + "\"\r\n", {{"pc, one", mac}}, 0},
        {"blanks outside the quotes", "  \"pc\"  ,  " + mac + "\n", {{"pc", mac}}, 0},
        {"line end inside a quoted name",
         "\"a\nb\", " + mac + "\nc, " + mac + "\n",
         {{"a\nb", mac}, {"c", mac}},
         0},
        {"quote never closed", "\"pc, " + mac + "\n", {{"\"pc", mac}}, 0},
        {"quote inside a plain name", "my \"pc\", " + mac + "\n", {{"my \"pc\"", mac}}, 0},
        // Line numbers count the lines a quoted field covers.
        {"error after a field of two lines",
         "\"a\r\nb\", " + mac + "\r\n" + std::string(32, 'n') + ", " + mac + "\r\n",
         {},
         3},
    };
    for (const Case& c : cases) {
        const wol::ImportResult result = wol::parseCsv(c.file, kCp1252);
        EXPECT_EQ(result.entries, c.entries) << c.what;
        EXPECT_EQ(result.errorLine, c.errorLine) << c.what;
    }
}

// Whatever bytes a file holds, an import either refuses it or yields entries that fit their
// fields, and never more than the import takes.
TEST(WolRules, ImportOfArbitraryBytesYieldsOnlyEntriesThatFit) {
    std::mt19937 random(20261207);
    const std::string alphabet = std::string("ab:-, \t\r\n\0\x81\xB0\xA1\xFF", 14) + "0123456789";
    for (int round = 0; round < 2000; ++round) {
        std::string file(random() % 600, ' ');
        for (char& c : file)
            c = random() % 4 == 0 ? static_cast<char>(random() % 256)
                                  : alphabet[random() % alphabet.size()];
        for (const int codePage : {kCp949, kCp1252}) {
            const wol::ImportResult result = wol::parseCsv(file, codePage);
            ASSERT_LE(result.entries.size(), static_cast<size_t>(wol::kImportLimit));
            if (!result.ok()) {
                EXPECT_TRUE(result.entries.empty());
                EXPECT_GE(result.errorLine, 1);
                continue;
            }
            for (const wol::ImportedEntry& e : result.entries) {
                EXPECT_FALSE(e.name.empty());
                EXPECT_LE(e.name.size(), wol::kMaxNameBytes);
                EXPECT_GE(e.mac.size(), wol::kShortestImportedMac);
                EXPECT_LE(e.mac.size(), wol::kMaxMacBytes);
                EXPECT_EQ(e.name.find('\0'), std::string::npos);
            }
            qv::WolTable table = tableWith({});
            int32_t count = 101;
            wol::replaceEntries(table, count, result.entries);
            EXPECT_EQ(count, static_cast<int32_t>(result.entries.size()));
            expectLeadBytes(table);
        }
    }
}

TEST(WolRules, ReplacingTheListKeepsBytesZeroToThree) {
    std::vector<std::pair<std::string, std::string>> five;
    for (int i = 0; i < 5; ++i)
        five.push_back({"old" + std::to_string(i), "00:00:00:00:00:0" + std::to_string(i)});
    qv::WolTable table = tableWith(five);
    int32_t count = 5;
    wol::replaceEntries(table, count, {{"new0", "11:11:11:11:11:11"}, {"new1", ":::::::"}});
    ASSERT_EQ(count, 2);
    EXPECT_EQ(table.entry(0).nameUtf8(), "new0");
    EXPECT_EQ(table.entry(1).macUtf8(), ":::::::");
    for (size_t slot = 2; slot < 5; ++slot) {
        EXPECT_EQ(table.entry(slot).nameUtf8(), "") << slot;
        EXPECT_EQ(table.entry(slot).macUtf8(), "") << slot;
    }
    expectLeadBytes(table);
}

} // namespace
