// The Block IP list's checks and edits, and the rows of both lists, without widgets.

#include "core/access/BlacklistRules.h"

#include "res/StringTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace bl = qv::blacklist;
using qv::StringId;

namespace {

std::string_view english(StringId id) {
    return qv::uiString(id, qv::Language::English);
}

struct Table {
    qv::BlockIpTable table;
    int32_t count = 0;
};

Table tableOf(const std::vector<std::string>& addresses) {
    Table t;
    // Lead and trailing bytes as a firewall might send them; no edit may touch them.
    for (size_t i = 0; i < 4; ++i)
        t.table.bytes[i] = static_cast<uint8_t>(0xA0 + i);
    for (size_t i = 0; i < 96; ++i)
        t.table.bytes[qv::BlockIpTable::kSize - 96 + i] = static_cast<uint8_t>(0x30 ^ i);
    for (size_t i = 0; i < addresses.size(); ++i)
        t.table.setAddress(i, addresses[i]);
    t.count = static_cast<int32_t>(addresses.size());
    return t;
}

Table numbered(int n) {
    std::vector<std::string> addresses;
    for (int i = 0; i < n; ++i)
        addresses.push_back("10.0.0." + std::to_string(i));
    return tableOf(addresses);
}

std::vector<std::string> addressesOf(const Table& t) {
    std::vector<std::string> out;
    for (int32_t i = 0; i < t.count; ++i)
        out.push_back(t.table.address(static_cast<size_t>(i)));
    return out;
}

bool aroundSlotsUnchanged(const qv::BlockIpTable& a, const qv::BlockIpTable& b) {
    return std::equal(a.bytes.begin(), a.bytes.begin() + 4, b.bytes.begin()) &&
           std::equal(a.bytes.end() - 96, a.bytes.end(), b.bytes.end() - 96);
}

bl::Address ansi(std::string text) {
    return {std::move(text), true};
}

TEST(BlacklistRules, AddChecksInOrder) {
    const Table three = tableOf({"192.0.2.1", "10.1.1.1", "abcd"});
    struct Case {
        const char* what;
        Table table;
        bl::Address address;
        bl::Verdict expected;
    };
    const bl::Address unconvertible{"?", false};
    const std::vector<Case> cases{
        {"96 entries take one more", numbered(96), ansi("192.0.2.99"), bl::Verdict::accepted()},
        {"97 entries refuse before anything else", numbered(97), ansi("x"),
         bl::Verdict::refused(StringId::BlockIpTooMany)},
        {"a full table from the wire", numbered(100), ansi("192.0.2.99"),
         bl::Verdict::refused(StringId::BlockIpTooMany)},
        {"unconvertible text", three, unconvertible,
         bl::Verdict::refused(StringId::BlockIpAddressNotConvertible)},
        {"empty", three, ansi(""), bl::Verdict::refused(StringId::BlockIpEnterExactly)},
        {"3 bytes", three, ansi("1.2"), bl::Verdict::refused(StringId::BlockIpEnterExactly)},
        {"4 bytes, whatever they are", three, ansi("zz z"), bl::Verdict::accepted()},
        {"99 bytes fill a slot", three, ansi(std::string(99, 'a')), bl::Verdict::accepted()},
        {"100 bytes do not fit", three, ansi(std::string(100, 'a')),
         bl::Verdict::refused(StringId::BlockIpAddressTooLong)},
        {"an equal entry", three, ansi("10.1.1.1"), bl::Verdict::refused(StringId::BlockIpExists)},
        {"other letter case is another address", three, ansi("ABCD"), bl::Verdict::accepted()},
        {"a prefix is another address", three, ansi("192.0.2.10"), bl::Verdict::accepted()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(bl::validateAdd(c.table.table, c.table.count, c.address), c.expected);
    }
}

TEST(BlacklistRules, AddWritesSlotCountAndGrowsTheCount) {
    Table t = numbered(96);
    const qv::BlockIpTable before = t.table;
    ASSERT_TRUE(bl::validateAdd(t.table, t.count, ansi("192.0.2.99")).ok());
    bl::addAddress(t.table, t.count, "192.0.2.99");
    EXPECT_EQ(t.count, 97);
    EXPECT_EQ(t.table.address(96), "192.0.2.99");
    EXPECT_TRUE(aroundSlotsUnchanged(before, t.table));
    // The 98th is refused with the firewall-count message.
    EXPECT_EQ(bl::validateAdd(t.table, t.count, ansi("192.0.2.100")),
              bl::Verdict::refused(StringId::BlockIpTooMany));

    // A 99-byte address fills the slot and keeps its terminator.
    Table u = tableOf({});
    bl::addAddress(u.table, u.count, std::string(99, 'z'));
    EXPECT_EQ(u.table.address(0), std::string(99, 'z'));
    EXPECT_EQ(u.table.bytes[4 + 99], 0);
    EXPECT_EQ(u.table.bytes[4 + 100], 0);
}

TEST(BlacklistRules, EditChecksInOrder) {
    const Table t = tableOf({"192.0.2.1", "10.1.1.1", "abcd"});
    struct Case {
        const char* what;
        bool anySelected;
        int row;
        bl::Address address;
        bl::Verdict expected;
    };
    const std::vector<Case> cases{
        {"nothing selected", false, 1, ansi("1.1.1.1"),
         bl::Verdict::refused(StringId::BlockIpSelectToEdit)},
        {"negative current row", true, -1, ansi("1.1.1.1"),
         bl::Verdict::refused(StringId::BlockIpSelectToEdit)},
        {"row past the entries", true, 3, ansi("1.1.1.1"),
         bl::Verdict::refused(StringId::BlockIpSelectToEdit)},
        {"unconvertible",
         true,
         1,
         {"?", false},
         bl::Verdict::refused(StringId::BlockIpAddressNotConvertible)},
        {"empty text", true, 1, ansi(""), bl::Verdict::refused(StringId::BlockIpEnterAddress)},
        {"short text is taken", true, 1, ansi("x"), bl::Verdict::accepted()},
        {"100 bytes", true, 1, ansi(std::string(100, 'a')),
         bl::Verdict::refused(StringId::BlockIpAddressTooLong)},
        {"99 bytes", true, 1, ansi(std::string(99, 'a')), bl::Verdict::accepted()},
        {"another row's address", true, 1, ansi("abcd"),
         bl::Verdict::refused(StringId::BlockIpExists)},
        {"its own address again", true, 1, ansi("10.1.1.1"), bl::Verdict::accepted()},
        {"other letter case", true, 1, ansi("ABCD"), bl::Verdict::accepted()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(bl::validateEdit(t.table, t.count, c.anySelected, c.row, c.address), c.expected);
    }

    Table edited = t;
    bl::editAddress(edited.table, edited.count, 1, "10.9.9.9");
    EXPECT_EQ(addressesOf(edited), (std::vector<std::string>{"192.0.2.1", "10.9.9.9", "abcd"}));
    EXPECT_TRUE(aroundSlotsUnchanged(t.table, edited.table));
    bl::editAddress(edited.table, edited.count, 3, "past");
    EXPECT_EQ(edited.table.address(3), "");
}

TEST(BlacklistRules, DeleteRemovesEverySelectedRowAtOnce) {
    EXPECT_EQ(bl::validateDelete(0, {0}), bl::Verdict::ignored());
    EXPECT_EQ(bl::validateDelete(-5, {}), bl::Verdict::ignored());
    EXPECT_EQ(bl::validateDelete(2, {}), bl::Verdict::refused(StringId::BlockIpSelectToDelete));
    EXPECT_TRUE(bl::validateDelete(2, {1}).ok());

    struct Case {
        const char* what;
        std::vector<int> rows;
        std::vector<std::string> left;
    };
    const std::vector<Case> cases{
        {"first", {0}, {"b", "c", "d", "e"}},
        {"last", {4}, {"a", "b", "c", "d"}},
        {"scattered, in any order", {3, 0, 2}, {"b", "e"}},
        {"all", {0, 1, 2, 3, 4}, {}},
        {"rows past the entries are ignored", {1, 7, -1}, {"a", "c", "d", "e"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Table t = tableOf({"a", "b", "c", "d", "e"});
        const qv::BlockIpTable before = t.table;
        bl::deleteRows(t.table, t.count, c.rows);
        EXPECT_EQ(addressesOf(t), c.left);
        EXPECT_TRUE(aroundSlotsUnchanged(before, t.table));
        // Freed slots are empty: nothing stale stays behind the count.
        for (size_t i = c.left.size(); i < 5; ++i)
            EXPECT_EQ(t.table.entry(i), qv::BlockIpSlot{}) << i;
    }
}

TEST(BlacklistRules, AddSelectedSkipsDuplicatesAndStopsAt97) {
    struct Case {
        const char* what;
        int start;
        std::vector<std::string> extra; // entries after the numbered ones
        std::vector<std::string> selected;
        int added;
        int32_t count;
    };
    const std::vector<Case> cases{
        {"three selected, one already listed",
         0,
         {"203.0.113.9"},
         {"192.0.2.1", "203.0.113.9", "198.51.100.7"},
         2,
         3},
        {"the same address twice in the selection", 0, {}, {"1.1.1.1", "1.1.1.1"}, 1, 1},
        {"an empty address is skipped", 0, {}, {"", "1.1.1.1"}, 1, 1},
        {"95 entries take two and stop", 95, {}, {"a.1", "a.2", "a.3", "a.4"}, 2, 97},
        {"96 entries take one and stop", 96, {}, {"a.1", "a.2"}, 1, 97},
        {"97 entries take nothing", 97, {}, {"a.1"}, 0, 97},
        {"a duplicate does not count toward the stop",
         95,
         {},
         {"10.0.0.3", "a.1", "a.2", "a.3"},
         2,
         97},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Table t = numbered(c.start);
        for (const std::string& a : c.extra)
            bl::addAddress(t.table, t.count, a);
        const int32_t before = t.count;
        EXPECT_EQ(bl::addSelected(t.table, t.count, c.selected), c.added);
        EXPECT_EQ(t.count, c.count);
        EXPECT_EQ(t.count - before, c.added);
    }
    Table t = tableOf({"203.0.113.9"});
    bl::addSelected(t.table, t.count, {"192.0.2.1", "203.0.113.9", "198.51.100.7"});
    EXPECT_EQ(addressesOf(t),
              (std::vector<std::string>{"203.0.113.9", "192.0.2.1", "198.51.100.7"}));
}

TEST(BlacklistRules, ColumnsAndRowTexts) {
    ASSERT_EQ(bl::kBlacklistColumns.size(), 11u);
    const char* captions[] = {"No.",    "IP",     "Day 1",   "Day 2",   "-Day 1",    "-Day 2",
                              "Week 1", "Week 2", "-Week 1", "-Week 2", "Quorvel IP"};
    const int widths[] = {50, 110, 60, 60, 60, 60, 62, 62, 63, 63, 65};
    for (size_t i = 0; i < 11; ++i) {
        EXPECT_EQ(english(bl::kBlacklistColumns[i].caption), captions[i]);
        EXPECT_EQ(bl::kBlacklistColumns[i].width, widths[i]);
    }
    EXPECT_EQ(english(bl::kBlockListColumns[0].caption), "No.");
    EXPECT_EQ(bl::kBlockListColumns[0].width, 80);
    EXPECT_EQ(english(bl::kBlockListColumns[1].caption), "IP");
    EXPECT_EQ(bl::kBlockListColumns[1].width, 180);

    qv::BlacklistEntry e;
    e.setIp("198.51.100.23");
    e.setQuorvelIp(-1);
    const uint16_t counters[] = {65535, 1024, 0, 1, 7, 4096, 2, 300};
    for (int c = 0; c < 8; ++c)
        e.setCounter(c, counters[c]);
    const std::array<std::string, 11> expected{"3", "198.51.100.23", "65535", "1024", "0", "1",
                                               "7", "4096",          "2",     "300",  "-1"};
    EXPECT_EQ(bl::blacklistRowTexts(e, 2, 1252), expected);
    e.setQuorvelIp(127);
    EXPECT_EQ(bl::blacklistRowTexts(e, 0, 1252)[10], "127");

    // Addresses are ANSI bytes; a code page 949 text reads as Korean.
    Table t = tableOf({"10.0.0.1", "\xB1\xE8"});
    EXPECT_EQ(bl::blockRowTexts(t.table, 0, 949), (std::array<std::string, 2>{"1", "10.0.0.1"}));
    EXPECT_EQ(bl::blockRowTexts(t.table, 1, 949)[1], "김");
}

TEST(BlacklistRules, TypedTextIsConvertedOrRefused) {
    const bl::Address korean = bl::addressFromUtf8("김", 949);
    EXPECT_TRUE(korean.convertible);
    EXPECT_EQ(korean.ansi, "\xB1\xE8");
    EXPECT_FALSE(bl::addressFromUtf8("김", 1252).convertible);
    const bl::Address plain = bl::addressFromUtf8("192.0.2.1", 1252);
    EXPECT_TRUE(plain.convertible);
    EXPECT_EQ(plain.ansi, "192.0.2.1");
    // A Korean address counts in bytes: 50 syllables are 100 bytes in code page 949.
    std::string fifty;
    for (int i = 0; i < 50; ++i)
        fifty += "김";
    const Table empty = tableOf({});
    EXPECT_EQ(bl::validateAdd(empty.table, 0, bl::addressFromUtf8(fifty, 949)),
              bl::Verdict::refused(StringId::BlockIpAddressTooLong));
}

} // namespace
