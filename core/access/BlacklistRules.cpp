#include "core/access/BlacklistRules.h"

#include "link/CodePage.h"

#include <algorithm>

namespace qv::blacklist {
namespace {

int32_t used(int32_t count) {
    return usedSlots<BlockIpTable>(count);
}

bool isSelected(const std::vector<int>& rows, int row) {
    return std::find(rows.begin(), rows.end(), row) != rows.end();
}

} // namespace

Address addressFromUtf8(std::string_view utf8, int codePage) {
    Address address;
    address.ansi = utf8ToAnsi(utf8, codePage, &address.convertible);
    return address;
}

int findAddress(const BlockIpTable& table, int32_t count, std::string_view address, int exceptRow) {
    const int32_t n = used(count);
    for (int32_t i = 0; i < n; ++i)
        if (i != exceptRow && table.address(static_cast<size_t>(i)) == address)
            return i;
    return -1;
}

Verdict validateAdd(const BlockIpTable& table, int32_t count, const Address& address) {
    if (count >= kMaxEntries)
        return Verdict::refused(StringId::BlockIpTooMany);
    if (!address.convertible)
        return Verdict::refused(StringId::BlockIpAddressNotConvertible);
    if (address.ansi.size() <= kShortestRefused)
        return Verdict::refused(StringId::BlockIpEnterExactly);
    if (address.ansi.size() > kMaxAddressBytes)
        return Verdict::refused(StringId::BlockIpAddressTooLong);
    if (findAddress(table, count, address.ansi) >= 0)
        return Verdict::refused(StringId::BlockIpExists);
    return Verdict::accepted();
}

Verdict validateEdit(const BlockIpTable& table, int32_t count, bool anySelected, int row,
                     const Address& address) {
    if (!anySelected || row < 0 || row >= used(count))
        return Verdict::refused(StringId::BlockIpSelectToEdit);
    if (!address.convertible)
        return Verdict::refused(StringId::BlockIpAddressNotConvertible);
    // The firewall would keep an empty slot among its addresses; Edit is not a way to delete.
    if (address.ansi.empty())
        return Verdict::refused(StringId::BlockIpEnterAddress);
    if (address.ansi.size() > kMaxAddressBytes)
        return Verdict::refused(StringId::BlockIpAddressTooLong);
    if (findAddress(table, count, address.ansi, row) >= 0)
        return Verdict::refused(StringId::BlockIpExists);
    return Verdict::accepted();
}

Verdict validateDelete(int32_t count, const std::vector<int>& selectedRows) {
    if (used(count) == 0)
        return Verdict::ignored();
    if (selectedRows.empty())
        return Verdict::refused(StringId::BlockIpSelectToDelete);
    return Verdict::accepted();
}

void addAddress(BlockIpTable& table, int32_t& count, std::string_view address) {
    const int32_t n = used(count);
    if (n >= kSlots)
        return;
    table.setAddress(static_cast<size_t>(n), address);
    count = n + 1;
}

void editAddress(BlockIpTable& table, int32_t count, int row, std::string_view address) {
    if (row < 0 || row >= used(count))
        return;
    table.setAddress(static_cast<size_t>(row), address);
}

void deleteRows(BlockIpTable& table, int32_t& count, const std::vector<int>& selectedRows) {
    const int32_t n = used(count);
    int32_t kept = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (isSelected(selectedRows, i))
            continue;
        if (kept != i)
            table.setEntry(static_cast<size_t>(kept), table.entry(static_cast<size_t>(i)));
        ++kept;
    }
    for (int32_t i = kept; i < n; ++i)
        table.setEntry(static_cast<size_t>(i), BlockIpSlot{});
    count = kept;
}

int addSelected(BlockIpTable& table, int32_t& count, const std::vector<std::string>& addresses) {
    if (count >= kMaxEntries)
        return 0;
    int added = 0;
    for (const std::string& address : addresses) {
        // An entry without an address would become an empty firewall slot.
        if (address.empty() || findAddress(table, count, address) >= 0)
            continue;
        addAddress(table, count, address);
        ++added;
        if (count > kAddSelectedStop)
            break;
    }
    return added;
}

bool locksOut(std::string_view address, std::string_view ownAddress) {
    const auto trim = [](std::string_view text) {
        const size_t first = text.find_first_not_of(" \t");
        if (first == std::string_view::npos)
            return std::string_view();
        return text.substr(first, text.find_last_not_of(" \t") - first + 1);
    };
    return !ownAddress.empty() && trim(address) == trim(ownAddress);
}

int firstLockingOut(const std::vector<std::string>& addresses, std::string_view ownAddress) {
    for (size_t i = 0; i < addresses.size(); ++i)
        if (locksOut(addresses[i], ownAddress))
            return static_cast<int>(i);
    return -1;
}

const std::array<Column, 11> kBlacklistColumns = {{
    {StringId::ColumnNumber, 50},
    {StringId::ColumnIp, 110},
    {StringId::BlacklistColumnDay1, 60},
    {StringId::BlacklistColumnDay2, 60},
    {StringId::BlacklistColumnMinusDay1, 60},
    {StringId::BlacklistColumnMinusDay2, 60},
    {StringId::BlacklistColumnWeek1, 62},
    {StringId::BlacklistColumnWeek2, 62},
    {StringId::BlacklistColumnMinusWeek1, 63},
    {StringId::BlacklistColumnMinusWeek2, 63},
    {StringId::BlacklistColumnQuorvelIp, 65},
}};

const std::array<Column, 2> kBlockListColumns = {{
    {StringId::ColumnNumber, 80},
    {StringId::ColumnIp, 180},
}};

std::array<std::string, 11> blacklistRowTexts(const BlacklistEntry& entry, int row, int codePage) {
    std::array<std::string, 11> texts;
    texts[0] = std::to_string(row + 1);
    texts[1] = ansiToUtf8(entry.ip(), codePage);
    for (int c = 0; c < BlacklistEntry::kCounters; ++c)
        texts[static_cast<size_t>(2 + c)] = std::to_string(entry.counter(c));
    texts[10] = std::to_string(static_cast<int>(entry.quorvelIp()));
    return texts;
}

std::array<std::string, 2> blockRowTexts(const BlockIpTable& table, int row, int codePage) {
    return {std::to_string(row + 1), ansiToUtf8(table.address(static_cast<size_t>(row)), codePage)};
}

} // namespace qv::blacklist
