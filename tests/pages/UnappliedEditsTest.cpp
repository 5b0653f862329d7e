// The guard of unapplied table edits, driven the way a page drives it: tables arrive in the
// store, the operator edits, answers questions (scripted), loses the link and leaves the page.

#include "pages/UnappliedEdits.h"

#include "link/CenterIdTable.h"
#include "link/WireRecord.h"
#include "pages/QtText.h"
#include "tests/support/ScriptedPrompt.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// A small table with lead and trailing bytes of the appliance's own around three slots.
struct Slot : qv::WireRecord<4> {};
class SmallTable : public qv::WireTable<Slot, 3, 2, 3> {};
static_assert(SmallTable::kSize == 2 + 3 * 4 + 3);

constexpr qv::UnappliedEditsQuestions kQuestions{qv::StringId::CenterIdKeepAfterLogon,
                                                 qv::StringId::CenterIdKeepAfterReread,
                                                 qv::StringId::CenterIdDiscardOnLeave};

QString afterLogon() {
    return qv::uiText(kQuestions.keepAfterLogon);
}
QString afterReread() {
    return qv::uiText(kQuestions.keepAfterReread);
}
QString onLeave() {
    return qv::uiText(kQuestions.discardOnLeave);
}

// A table whose used slots start with `first` (slot i holds first + i in every byte), with
// `outer` in every lead and trailing byte.
SmallTable table(uint8_t first, int32_t count, uint8_t outer) {
    SmallTable t;
    std::fill(t.bytes.begin(), t.bytes.end(), outer);
    std::fill(t.bytes.begin() + 2, t.bytes.end() - 3, uint8_t{0});
    for (int32_t i = 0; i < count; ++i) {
        Slot slot;
        slot.bytes.fill(static_cast<uint8_t>(first + i));
        t.setEntry(static_cast<size_t>(i), slot);
    }
    return t;
}

struct Store {
    SmallTable table;
    int32_t count = 0;
    // The appliance sends a table: it lands in the store before the page is told.
    void arrive(const SmallTable& t, int32_t c) {
        table = t;
        count = c;
    }
};

class UnappliedEditsTest : public ::testing::Test {
protected:
    qvtest::ScriptedPrompt prompt;
    Store store;
    qv::UnappliedEdits<SmallTable> edits{prompt, store.table, store.count, kQuestions};

    // Loads `t` as the appliance's table with no edits over it, then edits slot 0.
    void loadAndEdit(const SmallTable& t, int32_t count) {
        store.arrive(t, count);
        ASSERT_TRUE(edits.takeFresh());
        ASSERT_TRUE(prompt.questions().isEmpty());
        ASSERT_FALSE(edits.unapplied());
        Slot edited;
        edited.bytes.fill(0xE0);
        store.table.setEntry(0, edited);
        edits.noteEdit();
        ASSERT_TRUE(edits.unapplied());
    }
};

TEST_F(UnappliedEditsTest, FreshTableOverEditsAsksAndKeepsOrDiscards) {
    loadAndEdit(table(1, 2, 0x11), 2);
    const SmallTable edited = store.table;

    // A table equal to the edits asks nothing: there is nothing to lose.
    store.arrive(edited, 2);
    EXPECT_TRUE(edits.takeFresh());
    EXPECT_TRUE(prompt.questions().isEmpty());
    EXPECT_FALSE(edits.unapplied());

    // No throws the edits away: the store holds the appliance's table.
    store.table.setEntry(1, Slot{});
    edits.noteEdit();
    prompt.answers = {false};
    const SmallTable second = table(5, 3, 0x22);
    store.arrive(second, 3);
    EXPECT_TRUE(edits.takeFresh());
    EXPECT_EQ(prompt.questions(), QStringList{afterReread()});
    EXPECT_EQ(store.table, second);
    EXPECT_EQ(store.count, 3);
    EXPECT_FALSE(edits.unapplied());
}

TEST_F(UnappliedEditsTest, KeptEditsSitInsideTheFreshTablesLeadAndTrailingBytes) {
    loadAndEdit(table(1, 2, 0x11), 2);
    const SmallTable working = store.table;

    prompt.answers = {true};
    const SmallTable fresh = table(7, 1, 0x5A);
    store.arrive(fresh, 1);
    EXPECT_TRUE(edits.takeFresh());
    EXPECT_EQ(prompt.questions(), QStringList{afterReread()});
    EXPECT_EQ(store.count, 2);
    EXPECT_TRUE(edits.unapplied());
    // Slots are the edits; the two lead and three trailing bytes are the fresh table's.
    SmallTable expected = working;
    std::copy(fresh.bytes.begin(), fresh.bytes.begin() + 2, expected.bytes.begin());
    std::copy(fresh.bytes.end() - 3, fresh.bytes.end(), expected.bytes.end() - 3);
    EXPECT_EQ(store.table, expected);
    EXPECT_NE(store.table, working);

    // The same table again (a sequence of reads) keeps the edits without asking again.
    store.arrive(fresh, 1);
    EXPECT_TRUE(edits.takeFresh());
    EXPECT_EQ(prompt.questions().size(), 1);
    EXPECT_EQ(store.table, expected);
    EXPECT_EQ(store.count, 2);

    // A different table asks again.
    prompt.answers = {true};
    store.arrive(table(8, 1, 0x5A), 1);
    EXPECT_TRUE(edits.takeFresh());
    EXPECT_EQ(prompt.questions().size(), 2);
    EXPECT_EQ(store.count, 2);
}

TEST_F(UnappliedEditsTest, TableArrivingWhileTheQuestionIsOpenIsTakenAfterTheAnswer) {
    struct Case {
        const char* name;
        bool answer;
        int questions; // questions asked in all
    };
    // No: the edits are gone, so the later table is simply shown. Yes: the edits are kept over
    // the first table, and the later, different one asks again once the first box has closed.
    const std::vector<Case> cases = {{"discard", false, 1}, {"keep", true, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qvtest::ScriptedPrompt scripted;
        Store s;
        qv::UnappliedEdits<SmallTable> guard{scripted, s.table, s.count, kQuestions};
        s.arrive(table(1, 2, 0x11), 2);
        ASSERT_TRUE(guard.takeFresh());
        s.table.setEntry(0, Slot{});
        guard.noteEdit();
        const SmallTable edited = s.table;

        const SmallTable later = table(9, 3, 0x33);
        int open = 0;
        int deepest = 0;
        bool deferred = false;
        scripted.whileShown = [&](const qvtest::ScriptedPrompt::Shown&) {
            ++open;
            deepest = std::max(deepest, open);
            if (scripted.questions().size() == 1) {
                // The box runs the event loop: the next table lands now.
                s.arrive(later, 3);
                deferred = !guard.takeFresh();
            }
            --open;
        };
        scripted.answers = {c.answer, true};
        s.arrive(table(4, 1, 0x22), 1);
        EXPECT_TRUE(guard.takeFresh());
        EXPECT_TRUE(deferred);
        EXPECT_EQ(deepest, 1);
        EXPECT_EQ(scripted.questions().size(), c.questions);
        if (c.answer) {
            SmallTable expected = edited;
            std::copy(later.bytes.begin(), later.bytes.begin() + 2, expected.bytes.begin());
            std::copy(later.bytes.end() - 3, later.bytes.end(), expected.bytes.end() - 3);
            EXPECT_EQ(s.table, expected);
            EXPECT_EQ(s.count, 2);
            EXPECT_TRUE(guard.unapplied());
        } else {
            EXPECT_EQ(s.table, later);
            EXPECT_EQ(s.count, 3);
            EXPECT_FALSE(guard.unapplied());
        }
    }
}

TEST_F(UnappliedEditsTest, AfterALostLinkTheQuestionSpeaksOfTheLogonOnce) {
    loadAndEdit(table(1, 2, 0x11), 2);
    prompt.answers = {true, true, true};
    const SmallTable fresh = table(3, 2, 0x44);
    store.arrive(fresh, 2);
    ASSERT_TRUE(edits.takeFresh());

    // The link ends with the edits kept: even the table they were kept over asks again, in the
    // words for a new logon.
    edits.linkEnded();
    store.arrive(fresh, 2);
    EXPECT_TRUE(edits.takeFresh());
    EXPECT_EQ(prompt.questions(), (QStringList{afterReread(), afterLogon()}));

    // Once a table has been taken, later questions speak of a re-read again.
    store.arrive(table(6, 1, 0x44), 1);
    EXPECT_TRUE(edits.takeFresh());
    EXPECT_EQ(prompt.questions().last(), afterReread());

    // A link that ends with nothing unapplied asks nothing later.
    prompt.clear();
    edits.confirmed(true); // no Apply was sent: nothing changes
    EXPECT_TRUE(edits.unapplied());
    edits.sent();
    edits.confirmed(true);
    EXPECT_FALSE(edits.unapplied());
    edits.linkEnded();
    store.arrive(table(2, 2, 0x55), 2);
    EXPECT_TRUE(edits.takeFresh());
    EXPECT_TRUE(prompt.questions().isEmpty());
}

TEST_F(UnappliedEditsTest, LeavingAsksBeforeDroppingEdits) {
    // Nothing unapplied: the page goes without a question.
    const SmallTable appliance = table(1, 2, 0x11);
    store.arrive(appliance, 2);
    ASSERT_TRUE(edits.takeFresh());
    EXPECT_EQ(edits.confirmLeave(), qv::EditsOnLeave::Clean);
    EXPECT_TRUE(prompt.questions().isEmpty());

    store.table.setEntry(2, Slot{});
    store.count = 3;
    edits.noteEdit();
    const SmallTable edited = store.table;

    // No keeps the page and the edits.
    prompt.answers = {false};
    EXPECT_EQ(edits.confirmLeave(), qv::EditsOnLeave::Stay);
    EXPECT_EQ(prompt.questions(), QStringList{onLeave()});
    EXPECT_EQ(store.table, edited);
    EXPECT_EQ(store.count, 3);
    EXPECT_TRUE(edits.unapplied());

    // A refused Apply leaves them unapplied; Yes then drops them for the appliance's table.
    edits.sent();
    edits.confirmed(false);
    EXPECT_TRUE(edits.unapplied());
    prompt.answers = {true};
    EXPECT_EQ(edits.confirmLeave(), qv::EditsOnLeave::Discarded);
    EXPECT_EQ(store.table, appliance);
    EXPECT_EQ(store.count, 2);
    EXPECT_FALSE(edits.unapplied());
    EXPECT_EQ(edits.confirmLeave(), qv::EditsOnLeave::Clean);
    EXPECT_EQ(prompt.questions().size(), 2);
}

TEST(UnappliedEditsPlainTable, KeptEditsAreTheWholeTableWithoutOuterBytes) {
    qvtest::ScriptedPrompt prompt;
    qv::CenterIdTable table;
    int32_t count = 0;
    qv::UnappliedEdits<qv::CenterIdTable> edits{prompt, table, count, kQuestions};

    qv::CenterIdEntry e;
    e.setId("first");
    table.setEntry(0, e);
    count = 1;
    ASSERT_TRUE(edits.takeFresh());
    e.setId("edited");
    table.setEntry(1, e);
    count = 2;
    edits.noteEdit();
    const qv::CenterIdTable working = table;

    qv::CenterIdTable fresh;
    e.setId("other");
    fresh.setEntry(0, e);
    // Bytes past the used slots take no part in the question and are not kept from the fresh
    // table: a table without lead or trailing bytes is put back whole.
    fresh.bytes.back() = 0x7F;
    table = fresh;
    count = 1;
    prompt.answers = {true};
    EXPECT_TRUE(edits.takeFresh());
    EXPECT_EQ(prompt.questions().size(), 1);
    EXPECT_EQ(table, working);
    EXPECT_EQ(count, 2);
}

} // namespace
