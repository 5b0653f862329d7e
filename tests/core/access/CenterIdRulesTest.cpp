#include "core/access/CenterIdRules.h"

#include "link/CodePage.h"

#include "res/StringTable.h"

#include <gtest/gtest.h>

#include <string>

namespace qv::centerid {
namespace {

std::string_view english(StringId id) {
    return qv::uiString(id, qv::Language::English);
}

Input makeInput(std::string id, std::string password = "pw", int groupIndex = 0) {
    Input in;
    in.id = std::move(id);
    in.password = std::move(password);
    in.name = "name";
    in.groupIndex = groupIndex;
    return in;
}

// A table holding `ids` with group 1 and password "pw".
CenterIdTable tableOf(std::initializer_list<const char*> ids, int32_t& count) {
    CenterIdTable table;
    count = 0;
    for (const char* id : ids)
        addEntry(table, count, makeInput(id));
    return table;
}

Verdict refused(StringId id) {
    return Verdict::refused(id);
}

struct AddCase {
    const char* what;
    Input input;
    Verdict expected;
};

TEST(CenterIdRules, AddChecksRunInOrderWithTheirMessages) {
    int32_t count = 0;
    const CenterIdTable table = tableOf({"alpha", "Beta"}, count);
    Input noGroup = makeInput("", "");
    noGroup.groupIndex.reset();
    Input groupTooHigh = makeInput("x", "pw", 50);
    Input unconvertibleName = makeInput("x");
    unconvertibleName.unconvertible = StringId::NameNotConvertible;
    Input emptyIdBadText = makeInput("", "");
    emptyIdBadText.unconvertible = StringId::IdNotConvertible;
    Input longName = makeInput("x");
    longName.name = std::string(32, 'n');
    Input name31 = makeInput("x");
    name31.name = std::string(31, 'n');

    const AddCase cases[] = {
        {"nothing typed, no group", noGroup, refused(StringId::CenterIdSelectGroup)},
        {"group index past 50", groupTooHigh, refused(StringId::CenterIdSelectGroup)},
        {"text outside the code page comes before emptiness", emptyIdBadText,
         refused(StringId::IdNotConvertible)},
        {"unconvertible name", unconvertibleName, refused(StringId::NameNotConvertible)},
        {"empty ID", makeInput("", ""), refused(StringId::CenterIdInputId)},
        {"'_' before the empty password", makeInput("a_b", ""),
         Verdict::refused(StringId::CenterIdUnderscore)},
        {"empty password", makeInput("abc", ""), refused(StringId::CenterIdInputPassword)},
        {"ID of 31 bytes", makeInput(std::string(31, 'i')), refused(StringId::CenterIdTooLong)},
        {"ID of 30 bytes", makeInput(std::string(30, 'i')), Verdict::accepted()},
        {"ID length before password length", makeInput(std::string(31, 'i'), std::string(16, 'p')),
         refused(StringId::CenterIdTooLong)},
        {"password of 16 bytes", makeInput("abc", std::string(16, 'p')),
         refused(StringId::CenterIdPasswordTooLong)},
        {"password of 15 bytes", makeInput("abc", std::string(15, 'p')), Verdict::accepted()},
        {"name of 32 bytes", longName, refused(StringId::NameTooLong)},
        {"name of 31 bytes", name31, Verdict::accepted()},
        {"same ID, same case", makeInput("alpha"), refused(StringId::CenterIdDuplicated)},
        {"same ID, other case", makeInput("ALPHA"), Verdict::accepted()},
        {"same ID as the second entry", makeInput("Beta"), refused(StringId::CenterIdDuplicated)},
        {"group 50", makeInput("new", "pw", 49), Verdict::accepted()},
    };
    for (const AddCase& c : cases)
        EXPECT_EQ(validateAdd(table, count, c.input, 1252), c.expected) << c.what;
}

TEST(CenterIdRules, FullTableRefusesAddBeforeTheDuplicateCheck) {
    CenterIdTable table;
    int32_t count = 0;
    for (int i = 0; i < kSlots; ++i) {
        const Input in = makeInput("id" + std::to_string(i));
        ASSERT_TRUE(validateAdd(table, count, in, 1252).ok()) << i;
        addEntry(table, count, in);
    }
    EXPECT_EQ(count, 101);
    EXPECT_EQ(validateAdd(table, count, makeInput("another"), 1252),
              refused(StringId::CenterIdTableFull));
    EXPECT_EQ(validateAdd(table, count, makeInput("id0"), 1252),
              refused(StringId::CenterIdTableFull));
    // Input faults still come first.
    EXPECT_EQ(validateAdd(table, count, makeInput(""), 1252), refused(StringId::CenterIdInputId));
    // addEntry never writes past the table, even if called without the check.
    const CenterIdTable before = table;
    addEntry(table, count, makeInput("overflow"));
    EXPECT_EQ(count, 101);
    EXPECT_EQ(table, before);
    // Edit needs no free slot.
    EXPECT_TRUE(validateEdit(table, count, 100, makeInput("id100", "new"), 1252).ok());
}

TEST(CenterIdRules, EditChecks) {
    int32_t count = 0;
    const CenterIdTable table = tableOf({"alpha", "beta"}, count);
    EXPECT_EQ(validateEdit(CenterIdTable{}, 0, 0, makeInput("x"), 1252), Verdict::ignored());
    EXPECT_EQ(validateEdit(table, count, -1, makeInput("x"), 1252),
              refused(StringId::CenterIdSelectToModify));
    EXPECT_EQ(validateEdit(table, count, 2, makeInput("x"), 1252),
              refused(StringId::CenterIdSelectToModify));
    // The row check comes before the input checks.
    Input noGroup = makeInput("");
    noGroup.groupIndex.reset();
    EXPECT_EQ(validateEdit(table, count, -1, noGroup, 1252),
              refused(StringId::CenterIdSelectToModify));
    EXPECT_EQ(validateEdit(table, count, 0, noGroup, 1252), refused(StringId::CenterIdSelectGroup));
    EXPECT_EQ(validateEdit(table, count, 0, makeInput(std::string(31, 'i')), 1252),
              refused(StringId::CenterIdTooLong));
    EXPECT_TRUE(validateEdit(table, count, 0, makeInput(std::string(30, 'i')), 1252).ok());
    EXPECT_EQ(validateEdit(table, count, 0, makeInput("a", std::string(16, 'p')), 1252),
              refused(StringId::CenterIdPasswordTooLong));
    EXPECT_EQ(validateEdit(table, count, 0, makeInput("a_", ""), 1252),
              Verdict::refused(StringId::CenterIdUnderscore));
    // Keeping the row's own ID is fine; taking the other row's ID is not.
    EXPECT_TRUE(validateEdit(table, count, 0, makeInput("alpha", "newpw"), 1252).ok());
    EXPECT_EQ(validateEdit(table, count, 0, makeInput("beta"), 1252),
              refused(StringId::CenterIdDuplicated));
    EXPECT_TRUE(validateEdit(table, count, 0, makeInput("BETA"), 1252).ok());
}

TEST(CenterIdRules, DeleteChecks) {
    EXPECT_EQ(validateDelete(0, 0), Verdict::ignored());
    EXPECT_EQ(validateDelete(0, -1), Verdict::ignored());
    EXPECT_EQ(validateDelete(2, -1), refused(StringId::CenterIdSelectToDelete));
    EXPECT_EQ(validateDelete(2, 2), refused(StringId::CenterIdSelectToDelete));
    EXPECT_TRUE(validateDelete(2, 1).ok());
}

TEST(CenterIdRules, AddWritesEveryFieldAndKeepsTheReservedByte) {
    CenterIdTable table;
    // A reserved byte the appliance sent in slot 0 travels back untouched.
    table.bytes[129] = 0x5A;
    // Leftover text in the slot must not survive behind the new, shorter texts.
    CenterIdEntry old;
    old.setName("a very long old name");
    old.setSuperUser("something long");
    old.bytes[129] = 0x5A;
    table.setEntry(0, old);
    int32_t count = 0;
    Input in = makeInput("op", "secret", 6);
    in.name = "Kim";
    in.superUser = true;
    in.prohibitLogDeletion = true;
    addEntry(table, count, in);
    ASSERT_EQ(count, 1);
    CenterIdEntry expected;
    expected.setId("op");
    expected.setPassword("secret");
    expected.setName("Kim");
    expected.setGroup(7);
    expected.setSuperUser("1");
    expected.setLogDeletionProhibited(true);
    expected.setFileTransferProhibited(false);
    expected.bytes[129] = 0x5A;
    EXPECT_EQ(table.entry(0), expected);
    EXPECT_EQ(table.bytes[98], '1');
    EXPECT_EQ(table.bytes[99], 0);
    EXPECT_EQ(table.bytes[96], 7);
    EXPECT_EQ(table.bytes[97], 0);
    EXPECT_EQ(table.bytes[127], 1);
    EXPECT_EQ(table.bytes[128], 0);

    in.superUser = false;
    in.prohibitLogDeletion = false;
    in.prohibitFileTransfer = true;
    in.id = "op2";
    editEntry(table, count, 0, in);
    EXPECT_EQ(table.entry(0).id(), "op2");
    EXPECT_EQ(table.entry(0).superUser(), "0");
    EXPECT_EQ(table.bytes[127], 0);
    EXPECT_EQ(table.bytes[128], 1);
    EXPECT_EQ(table.bytes[129], 0x5A);
}

TEST(CenterIdRules, DeleteMovesLaterEntriesUpAndClearsTheFreedSlot) {
    int32_t count = 0;
    CenterIdTable table = tableOf({"a", "b", "c"}, count);
    table.bytes[2 * 130 + 129] = 0x33; // the reserved byte moves with its entry
    deleteEntry(table, count, 0);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(table.entry(0).id(), "b");
    EXPECT_EQ(table.entry(1).id(), "c");
    EXPECT_EQ(table.bytes[130 + 129], 0x33);
    EXPECT_EQ(table.entry(2), CenterIdEntry{});

    deleteEntry(table, count, 1);
    deleteEntry(table, count, 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(table, CenterIdTable{});

    // Out of range does nothing.
    deleteEntry(table, count, 0);
    EXPECT_EQ(count, 0);
}

TEST(CenterIdRules, LoadingAnEntryBackIntoTheInputs) {
    CenterIdEntry e;
    e.setId("op");
    e.setPassword("pw");
    e.setName("n");
    e.setSuperUser("1");
    e.setFileTransferProhibited(true);
    struct GroupCase {
        uint16_t stored;
        std::optional<int> index;
    };
    for (const GroupCase& g : {GroupCase{1, 0}, GroupCase{50, 49}, GroupCase{0, std::nullopt},
                               GroupCase{51, std::nullopt}, GroupCase{65535, std::nullopt}}) {
        e.setGroup(g.stored);
        EXPECT_EQ(inputFromEntry(e).groupIndex, g.index) << g.stored;
    }
    const Input in = inputFromEntry(e);
    EXPECT_EQ(in.id, "op");
    EXPECT_EQ(in.password, "pw");
    EXPECT_TRUE(in.superUser);
    EXPECT_TRUE(in.prohibitFileTransfer);
    EXPECT_FALSE(in.prohibitLogDeletion);
    // Only the text "1" means super user.
    e.setSuperUser("11");
    EXPECT_FALSE(inputFromEntry(e).superUser);
}

TEST(CenterIdRules, RowTexts) {
    CenterIdEntry e;
    e.setId("op1");
    e.setPassword("12345");
    e.setName("\xB1\xE8\xC3\xB6\xBC\xF6"); // "김철수" in code page 949
    e.setGroup(12);
    e.setSuperUser("1");
    e.setLogDeletionProhibited(true);
    const auto texts = rowTexts(e, 4, 949);
    EXPECT_EQ(texts[0], "5");
    EXPECT_EQ(texts[1], "op1");
    EXPECT_EQ(texts[2], "*****");
    EXPECT_EQ(texts[3], "김철수");
    EXPECT_EQ(texts[4], "12");
    EXPECT_EQ(texts[5], "1");
    EXPECT_EQ(texts[6], "금지");
    EXPECT_EQ(texts[7], "허용");
    // One '*' per byte: a two-byte Korean password shows two stars per character.
    e.setPassword("\xB0\xA1\xB0\xA1");
    EXPECT_EQ(rowTexts(e, 0, 949)[2], "****");

    EXPECT_EQ(english(kColumns[0].caption), "No.");
    EXPECT_EQ(english(kColumns[6].caption), "로그삭제");
    const int widths[] = {40, 90, 70, 90, 55, 60, 60, 60};
    for (size_t i = 0; i < kColumns.size(); ++i)
        EXPECT_EQ(kColumns[i].width, widths[i]) << i;
}

TEST(CenterIdRules, KoreanTextIsMeasuredInCodePageBytes) {
    // 15 Hangul syllables are 45 bytes of UTF-8 but 30 bytes of code page 949.
    std::string id15;
    for (int i = 0; i < 15; ++i)
        id15 += "가";
    Input in = inputFromUtf8(id15, "pw", "", 949);
    in.groupIndex = 0;
    EXPECT_EQ(in.id.size(), 30u);
    EXPECT_TRUE(validateAdd(CenterIdTable{}, 0, in, 949).ok());
    in = inputFromUtf8(id15 + "a", "pw", "", 949);
    in.groupIndex = 0;
    EXPECT_EQ(validateAdd(CenterIdTable{}, 0, in, 949), refused(StringId::CenterIdTooLong));

    // A name of 16 Hangul syllables is 32 bytes: refused, never cut mid-character.
    in = inputFromUtf8("op", "pw", id15 + "가", 949);
    in.groupIndex = 0;
    EXPECT_EQ(validateAdd(CenterIdTable{}, 0, in, 949), refused(StringId::NameTooLong));

    // Hangul has no place in code page 1252: refused, not stored as '?'.
    in = inputFromUtf8("op", "pw", "김", 1252);
    in.groupIndex = 0;
    EXPECT_EQ(validateAdd(CenterIdTable{}, 0, in, 1252), refused(StringId::NameNotConvertible));
    in = inputFromUtf8("김", "pw", "", 1252);
    in.groupIndex = 0;
    EXPECT_EQ(validateAdd(CenterIdTable{}, 0, in, 1252), refused(StringId::IdNotConvertible));
    in = inputFromUtf8("op", "비번", "", 1252);
    in.groupIndex = 0;
    EXPECT_EQ(validateAdd(CenterIdTable{}, 0, in, 1252), refused(StringId::PasswordNotConvertible));
}

TEST(CenterIdRules, UnderscoreIsLookedForCharacterByCharacter) {
    EXPECT_TRUE(containsUnderscore("_", 949));
    EXPECT_TRUE(containsUnderscore("\xB0\xA1_", 949));
    EXPECT_FALSE(containsUnderscore("\xB0\xA1", 949));
    // A trail byte equal to '_' (not possible in code page 949, but possible in a malformed
    // string) is not an underscore when it follows a lead byte.
    EXPECT_FALSE(containsUnderscore("\x81_", 949));
    EXPECT_TRUE(containsUnderscore("\x81_", 1252));
}

TEST(CenterIdRules, PasswordGuardLooksAtTheLastCharacterOnly) {
    EXPECT_TRUE(endsWithDollar("$"));
    EXPECT_TRUE(endsWithDollar("ab$"));
    EXPECT_FALSE(endsWithDollar("a$b"));
    EXPECT_FALSE(endsWithDollar(""));
}

TEST(CenterIdRules, SameEntriesLooksAtUsedSlotsOnly) {
    int32_t countA = 0;
    int32_t countB = 0;
    CenterIdTable a = tableOf({"a", "b"}, countA);
    CenterIdTable b = tableOf({"a", "b"}, countB);
    EXPECT_TRUE(sameEntries(a, countA, b, countB));
    b.bytes[130 * 5] = 'z'; // beyond the count
    EXPECT_TRUE(sameEntries(a, countA, b, countB));
    b.bytes[130 + 64] = 'z'; // the name of the second entry
    EXPECT_FALSE(sameEntries(a, countA, b, countB));
    EXPECT_FALSE(sameEntries(a, 2, a, 1));
    // Adding and deleting an entry gives the same entries back.
    CenterIdTable c = a;
    int32_t countC = countA;
    addEntry(c, countC, makeInput("x"));
    EXPECT_FALSE(sameEntries(a, countA, c, countC));
    deleteEntry(c, countC, 2);
    EXPECT_TRUE(sameEntries(a, countA, c, countC));
}

} // namespace
} // namespace qv::centerid

namespace qv::centerid {
namespace {

TEST(CenterIdChangeTracker, EditsStayVisibleUntilTheApplianceConfirmsThem) {
    int32_t count = 0;
    CenterIdTable appliance = tableOf({"a", "b"}, count);
    ChangeTracker tracker;
    EXPECT_FALSE(tracker.unapplied());
    EXPECT_FALSE(tracker.received(appliance, count));
    EXPECT_FALSE(tracker.unapplied());

    // An edit makes the page's table differ; undoing it by hand clears the state again.
    CenterIdTable store = appliance;
    int32_t storeCount = count;
    addEntry(store, storeCount, makeInput("c"));
    tracker.noteWorking(store, storeCount);
    EXPECT_TRUE(tracker.unapplied());
    deleteEntry(store, storeCount, 2);
    tracker.noteWorking(store, storeCount);
    EXPECT_FALSE(tracker.unapplied());

    // Apply refused: still unapplied. Apply accepted: applied.
    addEntry(store, storeCount, makeInput("c"));
    tracker.noteWorking(store, storeCount);
    tracker.sent(store, storeCount);
    tracker.confirmed(false);
    EXPECT_TRUE(tracker.unapplied());
    tracker.sent(store, storeCount);
    tracker.confirmed(true);
    EXPECT_FALSE(tracker.unapplied());
    // A confirmation nobody asked for changes nothing.
    deleteEntry(store, storeCount, 0);
    tracker.noteWorking(store, storeCount);
    tracker.confirmed(true);
    EXPECT_TRUE(tracker.unapplied());
}

TEST(CenterIdChangeTracker, AFreshTableOverEditsIsOfferedBack) {
    int32_t count = 0;
    const CenterIdTable appliance = tableOf({"a"}, count);
    ChangeTracker tracker;
    tracker.received(appliance, count);

    CenterIdTable store = appliance;
    int32_t storeCount = count;
    addEntry(store, storeCount, makeInput("mine"));
    tracker.noteWorking(store, storeCount);
    const CenterIdTable edited = store;

    // The link ended; after logging on again the appliance's table overwrote the store.
    store = appliance;
    storeCount = count;
    EXPECT_TRUE(tracker.received(store, storeCount));
    // Keep: the edits come back and still count as unapplied.
    tracker.restoreWorking(store, storeCount);
    EXPECT_EQ(storeCount, 2);
    EXPECT_EQ(store, edited);
    EXPECT_TRUE(tracker.unapplied());

    // Discard: the appliance's table comes back and nothing is unapplied.
    EXPECT_TRUE(tracker.received(appliance, count));
    tracker.discard(store, storeCount);
    EXPECT_EQ(store, appliance);
    EXPECT_EQ(storeCount, 1);
    EXPECT_FALSE(tracker.unapplied());

    // Discarding while an Apply is on its way: its late answer changes nothing, and the table
    // read next (which holds the applied edits) asks nothing.
    addEntry(store, storeCount, makeInput("sent"));
    tracker.noteWorking(store, storeCount);
    const CenterIdTable sentTable = store;
    const int32_t sentCount = storeCount;
    tracker.sent(sentTable, sentCount);
    tracker.discard(store, storeCount);
    tracker.confirmed(true);
    EXPECT_FALSE(tracker.unapplied());
    EXPECT_FALSE(tracker.received(sentTable, sentCount));
    EXPECT_FALSE(tracker.unapplied());
    store = sentTable;
    storeCount = sentCount;

    // A fresh table that already holds the edits (Apply went through, its answer was lost)
    // asks nothing.
    addEntry(store, storeCount, makeInput("mine"));
    tracker.noteWorking(store, storeCount);
    EXPECT_FALSE(tracker.received(store, storeCount));
    EXPECT_FALSE(tracker.unapplied());
}

} // namespace
} // namespace qv::centerid
