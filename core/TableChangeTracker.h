#pragma once

// Keeps a page's edits of an appliance table apart from what the appliance last sent or
// confirmed, so a page can show that edits are not applied yet and never lose them silently.
// No Qt.

#include <algorithm>
#include <cstddef>
#include <cstdint>

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

template <class Table> class TableChangeTracker {
public:
    // The table as the page shows it now, after a load or an edit.
    void noteWorking(const Table& table, int32_t count) {
        m_working = table;
        m_workingCount = usedSlots<Table>(count);
    }
    // A table arrived from the appliance. True when it replaced edits that were never applied
    // and differ from it: the caller asks whether to keep them (restoreWorking) or not
    // (discard). Otherwise the fresh table becomes the working one.
    bool received(const Table& fresh, int32_t count) {
        const bool hadEdits = unapplied() && !sameEntries(m_working, m_workingCount, fresh, count);
        m_confirmed = fresh;
        m_confirmedCount = usedSlots<Table>(count);
        m_sentPending = false;
        if (!hadEdits)
            noteWorking(fresh, count);
        return hadEdits;
    }
    // Puts the kept edits back into the store's table and count.
    void restoreWorking(Table& table, int32_t& count) const {
        table = m_working;
        count = m_workingCount;
    }
    // Throws the edits away: the store's table and count go back to the appliance's.
    void discard(Table& table, int32_t& count) {
        table = m_confirmed;
        count = m_confirmedCount;
        noteWorking(table, count);
        // An Apply still on its way may land on the appliance all the same; its answer must not
        // make the table just restored look like edits. The next read shows what it has.
        m_sentPending = false;
    }
    // Apply sent this table; confirmed() with the appliance's answer.
    void sent(const Table& table, int32_t count) {
        m_sent = table;
        m_sentCount = usedSlots<Table>(count);
        m_sentPending = true;
    }
    void confirmed(bool accepted) {
        if (m_sentPending && accepted) {
            m_confirmed = m_sent;
            m_confirmedCount = m_sentCount;
        }
        m_sentPending = false;
    }
    // True while the edits differ from what the appliance last confirmed.
    bool unapplied() const {
        return !sameEntries(m_working, m_workingCount, m_confirmed, m_confirmedCount);
    }

private:
    Table m_confirmed;
    int32_t m_confirmedCount = 0;
    Table m_working;
    int32_t m_workingCount = 0;
    bool m_sentPending = false;
    Table m_sent;
    int32_t m_sentCount = 0;
};

} // namespace qv
