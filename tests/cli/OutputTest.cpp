// qvctl's output pieces: JSON escaping, table layout with wide characters, and the text forms.

#include "cli/Report.h"
#include "cli/TextForms.h"
#include "link/CodePage.h"

#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qvctl {
namespace {

// A report's JSON, whatever bytes its texts hold: escaped, and valid UTF-8 throughout.
TEST(Json, EscapesAndKeepsOutputValidUtf8) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"plain", "\"plain\""},
        {"quote \" backslash \\", "\"quote \\\" backslash \\\\\""},
        {"tab\tline\nreturn\r", "\"tab\\tline\\nreturn\\r\""},
        {std::string("nul\0x", 5), "\"nul\\u0000x\""},
        {"\x01\x1f", "\"\\u0001\\u001f\""},
        {"한국어", "\"한국어\""},
        {"\xB0\xFC", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""}, // CP949 bytes are no UTF-8
        {"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""}, // overlong '/'
        {"a\xFF"
         "b",
         "\"a\xEF\xBF\xBD"
         "b\""},
    };
    for (const auto& [input, expected] : cases) {
        Report report;
        report.fields = {{"k", "K", Value::of(input)}};
        EXPECT_EQ(renderJson(report), "{\n  \"k\": " + expected + "\n}\n") << input;
    }
    // A cut sequence or a surrogate is no valid UTF-8 either: only whole characters come out.
    for (const std::string input : {"cut \xEC\x95", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
        Report report;
        report.fields = {{"k", "K", Value::of(input)}};
        const std::string json = renderJson(report);
        EXPECT_TRUE(qv::isUtf8(json)) << input;
        EXPECT_NE(json.find("\xEF\xBF\xBD"), std::string::npos) << input;
    }
}

TEST(Json, ReportKeepsItsOrderAndTypes) {
    Report report;
    report.fields = {{"z", "Z", Value::of(int64_t{-1})},
                     {"a", "A", Value::flagOf(true, "on")},
                     {"none", "None", Value::none("-")}};
    report.listKey = "list";
    report.columnKeys = {"name", "n"};
    report.columnLabels = {"Name", "N"};
    report.rows = {{Value::of("\xB0"), Value::of(int64_t{2})}};
    EXPECT_EQ(renderJson(report), "{\n  \"z\": -1,\n  \"a\": true,\n  \"none\": null,\n"
                                  "  \"list\": [\n    {\n      \"name\": \"\xEF\xBF\xBD\",\n"
                                  "      \"n\": 2\n    }\n  ]\n}\n");
}

TEST(Report, AlignsColumnsByDisplayWidth) {
    EXPECT_EQ(displayWidth("abc"), 3u);
    EXPECT_EQ(displayWidth("관제센터"), 8u);
    Report report;
    report.listKey = "rows";
    report.columnKeys = {"name", "n"};
    report.columnLabels = {"Name", "N"};
    report.rows = {{Value::of("관제"), Value::of(int64_t{1})},
                   {Value::of("abcdef"), Value::of(int64_t{22})}};
    EXPECT_EQ(renderHuman(report), "Name    N\n------  --\n관제    1\nabcdef  22\n");
    report.rows.clear();
    report.emptyText = "Nothing.";
    EXPECT_EQ(renderHuman(report), "Nothing.\n");
    EXPECT_EQ(renderJson(report), "{\n  \"rows\": []\n}\n");
}

// Text from the appliance or a file never reaches the terminal as a control sequence: C0 but
// the line end, DEL and C1 are shown as \xHH, in a stream and in a table's cells alike.
TEST(Report, ShowsControlCharactersEscaped) {
    const struct {
        std::string in, shown;
    } cases[] = {
        {"a\x1b[31mb", "a\\x1b[31mb"}, {"bell\a", "bell\\x07"},
        {"cr\rlf\n", "cr\\x0dlf\n"},   {"del\x7f", "del\\x7f"},
        {"csi\xc2\x9b", "csi\\x9b"},   {"nbsp\xc2\xa0", "nbsp\xc2\xa0"},
        {"관제 ü", "관제 ü"},          {"lone\x9b", "lone\\x9b"},
        {"\xc2\x1b", "\\xc2\\x1b"},
    };
    for (const auto& c : cases) {
        std::stringbuf target;
        EscapingBuffer escaping(&target);
        std::ostream out(&escaping);
        // Byte by byte too: a character split over two writes is still seen whole.
        out << c.in.substr(0, 1) << c.in.substr(1) << std::flush;
        EXPECT_EQ(target.str(), c.shown) << c.in;
    }
    Report report;
    report.fields = {{"name", "Name", Value::of("\x1b]0;owned\x07")}};
    report.listKey = "rows";
    report.columnKeys = {"id", "n"};
    report.columnLabels = {"ID", "N"};
    report.rows = {{Value::of("x\x1b"), Value::of(int64_t{1})}};
    EXPECT_EQ(renderHuman(report), "Name: \\x1b]0;owned\\x07\n\nID     N\n-----  -\nx\\x1b  1\n");
}

TEST(TextForms, ShowValuesAsThePagesDo) {
    EXPECT_EQ(ipText({255, 0, 10, 1}), "255.0.10.1");

    qvtest::setEnvironment("TZ", "UTC");
    tzset();
    EXPECT_EQ(localTimeText(0), "1970-01-01 00:00:00");
    EXPECT_EQ(localTimeText(-86400), "1969-12-31 00:00:00");
    EXPECT_EQ(localTimeText(INT32_MAX), "2038-01-19 03:14:07");
}

} // namespace
} // namespace qvctl
