#include "core/access/CenterIdRules.h"

#include "core/RowDeletion.h"
#include "link/CodePage.h"
#include "res/StringTable.h"

#include <algorithm>

namespace qv::centerid {
namespace {

bool isLeadByte(unsigned char byte, int codePage) {
    // In code page 949 a byte from 0x81 starts a two-byte character; 1252 has none.
    return codePage == 949 && byte >= 0x81;
}

// Checks 1 to 6 of Add and Edit, and the name's length, in the order the page has always run
// them; the first failure wins.
Verdict checkInput(const Input& input, int codePage) {
    if (!input.groupIndex || *input.groupIndex < 0 || *input.groupIndex >= kGroupCount)
        return Verdict::refused(StringId::CenterIdSelectGroup);
    if (input.unconvertible)
        return Verdict::refused(*input.unconvertible);
    if (input.id.empty())
        return Verdict::refused(StringId::CenterIdInputId);
    if (containsUnderscore(input.id, codePage))
        return Verdict::refused(StringId::CenterIdUnderscore);
    if (input.password.empty())
        return Verdict::refused(StringId::CenterIdInputPassword);
    if (input.id.size() > kMaxIdBytes)
        return Verdict::refused(StringId::CenterIdTooLong);
    if (input.password.size() > kMaxPasswordBytes)
        return Verdict::refused(StringId::CenterIdPasswordTooLong);
    // The name field holds 31 bytes; a longer name is refused rather than cut, so what the
    // operator sees in the list is what the appliance stores.
    if (input.name.size() > kMaxNameBytes)
        return Verdict::refused(StringId::NameTooLong);
    return Verdict::accepted();
}

int32_t usedSlots(int32_t count) {
    return std::clamp<int32_t>(count, 0, kSlots);
}

} // namespace

Input inputFromUtf8(std::string_view id, std::string_view password, std::string_view name,
                    int codePage) {
    Input input;
    bool idOk = true;
    bool passwordOk = true;
    bool nameOk = true;
    input.id = utf8ToAnsi(id, codePage, &idOk);
    input.password = utf8ToAnsi(password, codePage, &passwordOk);
    input.name = utf8ToAnsi(name, codePage, &nameOk);
    if (!idOk)
        input.unconvertible = StringId::IdNotConvertible;
    else if (!passwordOk)
        input.unconvertible = StringId::PasswordNotConvertible;
    else if (!nameOk)
        input.unconvertible = StringId::NameNotConvertible;
    return input;
}

bool endsWithDollar(std::string_view text) {
    return !text.empty() && text.back() == '$';
}

bool containsUnderscore(std::string_view ansi, int codePage) {
    for (size_t i = 0; i < ansi.size(); ++i) {
        const auto byte = static_cast<unsigned char>(ansi[i]);
        if (isLeadByte(byte, codePage)) {
            ++i; // skip the trail byte
            continue;
        }
        if (byte == '_')
            return true;
    }
    return false;
}

int findDuplicate(const CenterIdTable& table, int32_t count, std::string_view id, int exceptRow) {
    const int32_t used = usedSlots(count);
    for (int32_t i = 0; i < used; ++i) {
        if (i != exceptRow && table.entry(static_cast<size_t>(i)).id() == id)
            return i;
    }
    return -1;
}

Verdict validateAdd(const CenterIdTable& table, int32_t count, const Input& input, int codePage) {
    if (Verdict v = checkInput(input, codePage); !v.ok())
        return v;
    if (count >= kSlots)
        return Verdict::refused(StringId::CenterIdTableFull);
    if (findDuplicate(table, count, input.id) >= 0)
        return Verdict::refused(StringId::CenterIdDuplicated);
    return Verdict::accepted();
}

Verdict validateEdit(const CenterIdTable& table, int32_t count, int row, const Input& input,
                     int codePage) {
    const int32_t used = usedSlots(count);
    if (used == 0)
        return Verdict::ignored();
    if (row < 0 || row >= used)
        return Verdict::refused(StringId::CenterIdSelectToModify);
    if (Verdict v = checkInput(input, codePage); !v.ok())
        return v;
    if (findDuplicate(table, count, input.id, row) >= 0)
        return Verdict::refused(StringId::CenterIdDuplicated);
    return Verdict::accepted();
}

Verdict validateDelete(int32_t count, int row) {
    const int32_t used = usedSlots(count);
    if (used == 0)
        return Verdict::ignored();
    if (row < 0 || row >= used)
        return Verdict::refused(StringId::CenterIdSelectToDelete);
    return Verdict::accepted();
}

CenterIdEntry entryFromInput(const Input& input, CenterIdEntry base) {
    base.setId(input.id);
    base.setPassword(input.password);
    base.setName(input.name);
    base.setSuperUser(input.superUser ? "1" : "0");
    base.setGroup(static_cast<uint16_t>(input.groupIndex.value_or(0) + 1));
    base.setLogDeletionProhibited(input.prohibitLogDeletion);
    base.setFileTransferProhibited(input.prohibitFileTransfer);
    return base;
}

void addEntry(CenterIdTable& table, int32_t& count, const Input& input) {
    const int32_t used = usedSlots(count);
    if (used >= kSlots)
        return;
    const auto slot = static_cast<size_t>(used);
    table.setEntry(slot, entryFromInput(input, table.entry(slot)));
    count = used + 1;
}

void editEntry(CenterIdTable& table, int32_t count, int row, const Input& input) {
    if (row < 0 || row >= usedSlots(count))
        return;
    const auto slot = static_cast<size_t>(row);
    table.setEntry(slot, entryFromInput(input, table.entry(slot)));
}

void deleteEntry(CenterIdTable& table, int32_t& count, int row) {
    const int32_t used = usedSlots(count);
    if (row < 0 || row >= used)
        return;
    for (int32_t i = row; i + 1 < used; ++i)
        table.setEntry(static_cast<size_t>(i), table.entry(static_cast<size_t>(i + 1)));
    table.setEntry(static_cast<size_t>(used - 1), CenterIdEntry{});
    count = used - 1;
}

Verdict validateDeleteRows(int32_t count, const std::vector<int>& rows) {
    const int32_t used = usedSlots(count);
    if (used == 0)
        return Verdict::ignored();
    if (!allRowsListed(rows, used))
        return Verdict::refused(StringId::CenterIdSelectToDelete);
    return Verdict::accepted();
}

void deleteRows(CenterIdTable& table, int32_t& count, const std::vector<int>& rows) {
    deleteEachRow(table, count, rows,
                  [](CenterIdTable& t, int32_t& n, int row) { deleteEntry(t, n, row); });
}

Input inputFromEntry(const CenterIdEntry& entry) {
    Input input;
    input.id = entry.id();
    input.password = entry.password();
    input.name = entry.name();
    if (entry.group() >= 1 && entry.group() <= kGroupCount)
        input.groupIndex = entry.group() - 1;
    input.superUser = entry.superUser() == "1";
    input.prohibitLogDeletion = entry.logDeletionProhibited();
    input.prohibitFileTransfer = entry.fileTransferProhibited();
    return input;
}

const std::array<Column, 8> kColumns = {{
    {StringId::ColumnNumber, 40},
    {StringId::ColumnId, 90},
    {StringId::CenterIdColumnPassword, 70},
    {StringId::CenterIdColumnName, 90},
    {StringId::CenterIdColumnGroup, 55},
    {StringId::CenterIdColumnAdmin, 60},
    {StringId::CenterIdColumnLogDeletion, 60},
    {StringId::CenterIdColumnFileTransfer, 60},
}};

std::string_view prohibitionText(bool prohibited) {
    return uiString(prohibited ? StringId::CenterIdProhibited : StringId::CenterIdAllowed);
}

std::array<std::string, 8> rowTexts(const CenterIdEntry& entry, int row, int codePage) {
    return {
        std::to_string(row + 1),
        ansiToUtf8(entry.id(), codePage),
        std::string(entry.password().size(), '*'),
        ansiToUtf8(entry.name(), codePage),
        std::to_string(entry.group()),
        ansiToUtf8(entry.superUser(), codePage),
        std::string(prohibitionText(entry.logDeletionProhibited())),
        std::string(prohibitionText(entry.fileTransferProhibited())),
    };
}

} // namespace qv::centerid
