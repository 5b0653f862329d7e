// The tracker of a page's unapplied edits, step by step: what counts as an edit after loads,
// edits, Apply and its answer, and which table comes back on Discard and on keeping the edits.

#include "core/TableChangeTracker.h"
#include "link/WolTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A table of `count` entries whose first byte is `mark`.
qv::WolTable table(uint8_t mark) {
    qv::WolTable t;
    t.bytes[qv::WolTable::kLeadBytes] = mark;
    return t;
}

struct Step {
    std::string what; // load, edit, send, accept, refuse, discard
    uint8_t mark;     // the table of load, edit and send
    bool unapplied;   // afterwards
    uint8_t shown;    // what discard or restoreWorking puts back, for discard and load
};

TEST(TableChangeTracker, EditsApplyAndAnswersInEveryOrder) {
    // Every case starts from the appliance's table 1, loaded.
    const std::vector<std::vector<Step>> cases = {
        // An edit and its undo by hand.
        {{"edit", 2, true, 0}, {"edit", 1, false, 0}},
        // Apply accepted: the applied table is the appliance's; refused: the edits stay.
        {{"edit", 2, true, 0}, {"send", 2, true, 0}, {"accept", 0, false, 0}},
        {{"edit", 2, true, 0}, {"send", 2, true, 0}, {"refuse", 0, true, 0}},
        // Edited back to the old table while Apply was on its way: after the answer, that is an
        // edit of the applied table.
        {{"edit", 2, true, 0},
         {"send", 2, true, 0},
         {"edit", 1, false, 0},
         {"accept", 0, true, 0},
         {"discard", 0, false, 2}},
        // A fresh table over edits: they are kept (restore) until discarded; over no edits it
        // simply becomes the table shown.
        {{"edit", 2, true, 0}, {"load", 3, true, 2}, {"discard", 0, false, 3}},
        {{"load", 3, false, 3}, {"edit", 3, false, 0}},
        // A discard forgets an Apply on its way.
        {{"edit", 2, true, 0},
         {"send", 2, true, 0},
         {"discard", 0, false, 1},
         {"accept", 0, false, 0}},
    };
    for (size_t c = 0; c < cases.size(); ++c) {
        qv::TableChangeTracker<qv::WolTable> tracker;
        tracker.received(table(1), 1);
        for (size_t s = 0; s < cases[c].size(); ++s) {
            const Step& step = cases[c][s];
            SCOPED_TRACE("case " + std::to_string(c) + " step " + std::to_string(s) + " " +
                         step.what);
            qv::WolTable back;
            int32_t count = -1;
            if (step.what == "load" && tracker.received(table(step.mark), 1)) {
                tracker.restoreWorking(back, count);
                EXPECT_EQ(back.bytes[qv::WolTable::kLeadBytes], step.shown);
            } else if (step.what == "edit") {
                tracker.noteWorking(table(step.mark), 1);
            } else if (step.what == "send") {
                tracker.sent(table(step.mark), 1);
            } else if (step.what == "accept" || step.what == "refuse") {
                tracker.confirmed(step.what == "accept");
            } else if (step.what == "discard") {
                tracker.discard(back, count);
                EXPECT_EQ(back.bytes[qv::WolTable::kLeadBytes], step.shown);
                EXPECT_EQ(count, 1);
            }
            EXPECT_EQ(tracker.unapplied(), step.unapplied);
        }
    }
}

} // namespace
