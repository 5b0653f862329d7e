#pragma once

// Keeps a page's edits of an appliance table apart from what the appliance last sent or
// confirmed, so a page can show that edits are not applied yet and never lose them silently.
// No Qt.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace qv {

// The number of leading slots of `Table` that a count names: negative counts name none.
template <class Table> int32_t usedSlots(int32_t count) {
    return std::clamp<int32_t>(count, 0, static_cast<int32_t>(Table::kSlots));
}

// True when the first `countA` slots of `a` and `countB` slots of `b` are the same entries,
// byte for byte. Slots past the count, and bytes around the slots, take no part.
template <class Table>
bool sameEntries(const Table& a, int32_t countA, const Table& b, int32_t countB) {
    const int32_t used = usedSlots<Table>(countA);
    if (used != usedSlots<Table>(countB))
        return false;
    const auto begin = static_cast<std::ptrdiff_t>(Table::kLeadBytes);
    const auto end =
        begin + static_cast<std::ptrdiff_t>(static_cast<size_t>(used) * Table::EntryType::kSize);
    return std::equal(a.bytes.begin() + begin, a.bytes.begin() + end, b.bytes.begin() + begin);
}

// Only the appliance's table is kept whole at all times: the edits and a table on its way with
// Apply get a copy of their own while they exist. A full timetable is 90 KB, and a page rarely
// has edits that are not applied.
template <class Table> class TableChangeTracker {
public:
    // The table as the page shows it now, after a load or an edit.
    void noteWorking(const Table& table, int32_t count) {
        if (sameEntries(table, count, m_confirmed.table, m_confirmed.count)) {
            m_edits.reset();
            return;
        }
        if (!m_edits)
            m_edits = std::make_unique<Snapshot>();
        m_edits->table = table;
        m_edits->count = usedSlots<Table>(count);
    }
    // A table arrived from the appliance. True when it replaced edits that were never applied
    // and differ from it: the caller asks whether to keep them (restoreWorking) or not
    // (discard). Otherwise the fresh table becomes the working one.
    bool received(const Table& fresh, int32_t count) {
        const bool hadEdits = m_edits && !sameEntries(m_edits->table, m_edits->count, fresh, count);
        m_confirmed.table = fresh;
        m_confirmed.count = usedSlots<Table>(count);
        m_sent.reset();
        if (!hadEdits)
            m_edits.reset();
        return hadEdits;
    }
    // Puts the kept edits back into the store's table and count.
    void restoreWorking(Table& table, int32_t& count) const {
        const Snapshot& working = m_edits ? *m_edits : m_confirmed;
        table = working.table;
        count = working.count;
    }
    // Throws the edits away: the store's table and count go back to the appliance's.
    void discard(Table& table, int32_t& count) {
        table = m_confirmed.table;
        count = m_confirmed.count;
        m_edits.reset();
        // An Apply still on its way may land on the appliance all the same; its answer must not
        // make the table just restored look like edits. The next read shows what it has.
        m_sent.reset();
    }
    // Apply sent this table; confirmed() with the appliance's answer.
    void sent(const Table& table, int32_t count) { m_sent = snapshot(table, count); }
    void confirmed(bool accepted) {
        std::unique_ptr<Snapshot> sent = std::move(m_sent);
        if (!sent || !accepted)
            return;
        // The working table was the old confirmed one: it stays what the page shows.
        if (!m_edits &&
            !sameEntries(sent->table, sent->count, m_confirmed.table, m_confirmed.count))
            m_edits = std::make_unique<Snapshot>(m_confirmed);
        m_confirmed = *sent;
        if (m_edits &&
            sameEntries(m_edits->table, m_edits->count, m_confirmed.table, m_confirmed.count))
            m_edits.reset();
    }
    // True while the edits differ from what the appliance last confirmed.
    bool unapplied() const { return m_edits != nullptr; }

private:
    struct Snapshot {
        Table table;
        int32_t count = 0;
    };
    static std::unique_ptr<Snapshot> snapshot(const Table& table, int32_t count) {
        return std::make_unique<Snapshot>(Snapshot{table, usedSlots<Table>(count)});
    }

    Snapshot m_confirmed;
    // Set while the working table's entries differ from the confirmed ones.
    std::unique_ptr<Snapshot> m_edits;
    // Set while an Apply waits for its answer.
    std::unique_ptr<Snapshot> m_sent;
};

} // namespace qv
