#pragma once

// Guards a page's edits of an appliance table that were not applied yet: a fresh table from the
// appliance, a lost link or leaving the page never throws them away without the operator's word.
// Every page that edits a whole table in the store and sends it with Apply uses one of these;
// the page keeps only its own lines (its list, its marker, its inputs).

#include "core/TableChangeTracker.h"
#include "pages/Prompt.h"
#include "pages/QtText.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace qv {

// The string ids of the three questions a page asks about its unapplied edits.
struct UnappliedEditsQuestions {
    StringId keepAfterLogon;  // a table arrived after the link ended and came back
    StringId keepAfterReread; // a table arrived while the link stayed up
    StringId discardOnLeave;  // the operator leaves the page
};

// What UnappliedEdits::confirmLeave() found.
enum class EditsOnLeave {
    Clean,     // nothing unapplied: the page may go
    Stay,      // the operator kept the edits: the page stays
    Discarded, // the edits were thrown away: the page shows the appliance's table and goes
};

// What a page asks of its guard, whatever table it edits.
class UnappliedEditsGuard {
public:
    virtual ~UnappliedEditsGuard() = default;
    virtual bool takeFresh() = 0;
    virtual void noteEdit() = 0;
    virtual void sent() = 0;
    virtual void confirmed(bool accepted) = 0;
    virtual EditsOnLeave confirmLeave() = 0;
    virtual void linkEnded() = 0;
    virtual bool unapplied() const = 0;
    // The operator gave the edits up: the table is again the one the appliance last confirmed.
    virtual void discard() = 0;
    // A test that the table still holds the entries it holds now, for a question that runs the
    // event loop while a fresh table may arrive.
    virtual std::function<bool()> unchangedSinceNow() const = 0;
};

template <class Table> class UnappliedEdits final : public UnappliedEditsGuard {
public:
    // `table` and `count` are the store's; they outlive this object.
    UnappliedEdits(Prompt& prompt, Table& table, int32_t& count,
                   const UnappliedEditsQuestions& questions)
        : m_prompt(prompt), m_table(table), m_count(count), m_questions(questions) {}

    UnappliedEdits(const UnappliedEdits&) = delete;
    UnappliedEdits& operator=(const UnappliedEdits&) = delete;

    // A table from the appliance is in the store. When it replaced edits that were never
    // applied, asks whether to keep them; the store then holds what the page shows. False when
    // a question about an earlier table is open (its box runs the event loop): this table is
    // taken once the operator has answered, and the page rebuilds then, not now.
    bool takeFresh() override {
        if (m_asking) {
            m_pendingFresh = Snapshot{m_table, m_count};
            return false;
        }
        takeOne();
        while (m_pendingFresh) {
            m_table = m_pendingFresh->table;
            m_count = m_pendingFresh->count;
            m_pendingFresh.reset();
            takeOne();
        }
        m_linkEndedWithEdits = false;
        return true;
    }

    // The page edited the store's table.
    void noteEdit() override { m_tracker.noteWorking(m_table, m_count); }
    // Apply sent the store's table.
    void sent() override { m_tracker.sent(m_table, m_count); }
    // The appliance answered Apply; `accepted` when it took the table.
    void confirmed(bool accepted) override { m_tracker.confirmed(accepted); }

    // Asks before unapplied edits are thrown away. On Discarded the store holds the appliance's
    // table again.
    EditsOnLeave confirmLeave() override {
        if (!m_tracker.unapplied())
            return EditsOnLeave::Clean;
        if (!m_prompt.question(uiText(m_questions.discardOnLeave), DefaultAnswer::No))
            return EditsOnLeave::Stay;
        m_tracker.discard(m_table, m_count);
        m_keptOver.reset();
        m_linkEndedWithEdits = false;
        return EditsOnLeave::Discarded;
    }

    // Throws the edits away without asking (the operator already chose so); the store holds the
    // appliance's table again.
    void discard() override {
        if (!m_tracker.unapplied())
            return;
        m_tracker.discard(m_table, m_count);
        m_keptOver.reset();
        m_linkEndedWithEdits = false;
    }

    // The link ended: the edits stay until the operator decides, and the next table asks about
    // them in the words for a lost link, even if it is one they were kept over before.
    void linkEnded() override {
        m_linkEndedWithEdits = m_tracker.unapplied();
        m_keptOver.reset();
    }

    // True while the edits differ from what the appliance last sent or confirmed.
    bool unapplied() const override { return m_tracker.unapplied(); }

    std::function<bool()> unchangedSinceNow() const override {
        return [this, table = m_table, count = m_count] {
            return qv::sameEntries(table, count, m_table, m_count);
        };
    }

private:
    struct Snapshot {
        Table table;
        int32_t count = 0;
    };

    void takeOne() {
        const Snapshot fresh{m_table, m_count};
        if (!m_tracker.received(fresh.table, fresh.count)) {
            m_keptOver.reset();
            return;
        }
        // The same table arriving again (a sequence of reads) does not ask again.
        bool keep = m_keptOver &&
                    sameEntries(m_keptOver->table, m_keptOver->count, fresh.table, fresh.count);
        if (!keep) {
            const StringId question =
                m_linkEndedWithEdits ? m_questions.keepAfterLogon : m_questions.keepAfterReread;
            m_asking = true;
            keep = m_prompt.question(uiText(question));
            m_asking = false;
        }
        if (keep) {
            m_keptOver = fresh;
            m_tracker.restoreWorking(m_table, m_count);
            keepOuterBytes(fresh.table);
        } else {
            m_keptOver.reset();
            m_tracker.discard(m_table, m_count);
        }
    }

    // The bytes before and after the slots belong to the appliance: kept edits go back inside
    // the ones it sent last.
    void keepOuterBytes(const Table& fresh) {
        constexpr size_t kLead = Table::kLeadBytes;
        constexpr size_t kTrail = Table::kSize - kLead - Table::kSlots * Table::EntryType::kSize;
        if constexpr (kLead > 0)
            std::copy(fresh.bytes.begin(), fresh.bytes.begin() + kLead, m_table.bytes.begin());
        if constexpr (kTrail > 0)
            std::copy(fresh.bytes.end() - kTrail, fresh.bytes.end(), m_table.bytes.end() - kTrail);
    }

    Prompt& m_prompt;
    Table& m_table;
    int32_t& m_count;
    const UnappliedEditsQuestions m_questions;

    TableChangeTracker<Table> m_tracker;
    // The link ended while edits were unapplied; the next table asks about them in those words.
    bool m_linkEndedWithEdits = false;
    // The appliance's table over which the operator chose to keep the edits.
    std::optional<Snapshot> m_keptOver;
    // A question about a fresh table is open; another table arriving meanwhile waits here.
    bool m_asking = false;
    std::optional<Snapshot> m_pendingFresh;
};

} // namespace qv
