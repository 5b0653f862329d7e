#pragma once

// Deleting several rows of a store table at once with the table's own one-row deletion, which
// moves the later entries up. Rows are taken from the last one up, so every row still names the
// entry the operator chose when its turn comes.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace qv {

// Deletes the rows (store rows, in any order; repeats count once) with `deleteOne(table, count,
// row)`, which ignores rows outside the entries.
template <class Table, class DeleteOne>
void deleteEachRow(Table& table, int32_t& count, std::vector<int> rows, DeleteOne deleteOne) {
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (const int row : rows)
        deleteOne(table, count, row);
}

// Whether every row names one of the `used` entries, and there is at least one.
inline bool allRowsListed(const std::vector<int>& rows, int32_t used) {
    return !rows.empty() && std::all_of(rows.begin(), rows.end(),
                                        [used](int row) { return row >= 0 && row < used; });
}

} // namespace qv
