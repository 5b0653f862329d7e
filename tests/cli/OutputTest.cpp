// qvctl's output pieces: JSON escaping, table layout with wide characters, and the text forms.

#include "Json.h"
#include "Report.h"
#include "TextForms.h"

#include "TestPlatform.h"

#include <gtest/gtest.h>

namespace qvctl {
namespace {

TEST(Json, EscapesAndKeepsOutputValidUtf8) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"plain", "\"plain\""},
        {"quote \" backslash \\", "\"quote \\\" backslash \\\\\""},
        {"tab\tline\nreturn\r", "\"tab\\tline\\nreturn\\r\""},
        {std::string("nul\0x", 5), "\"nul\\u0000x\""},
        {"\x01\x1f\x7f", "\"\\u0001\\u001f\\u007f\""},
        {"한국어", "\"한국어\""},
        {"\xB0\xFC", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},                 // CP949 bytes are no UTF-8
        {"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},                 // overlong '/'
        {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""}, // a surrogate
        {"cut \xEC\x95", "\"cut \xEF\xBF\xBD\xEF\xBF\xBD\""},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(jsonQuote(input), expected) << input;
}

TEST(Json, WriterNestsObjectsAndArrays) {
    JsonWriter json;
    json.beginObject();
    json.key("a");
    json.number(-1);
    json.key("list");
    json.beginArray();
    json.beginObject();
    json.key("on");
    json.boolean(true);
    json.endObject();
    json.null();
    json.endArray();
    json.key("empty");
    json.beginArray();
    json.endArray();
    json.endObject();
    EXPECT_EQ(json.text(), "{\n  \"a\": -1,\n  \"list\": [\n    {\n      \"on\": true\n    },\n"
                           "    null\n  ],\n  \"empty\": []\n}");
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
