#include "network/WolRules.h"

#include "CodePage.h"

#include <algorithm>

namespace qv::wol {
namespace {

bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// White space bytes never occur inside a double-byte character of 949 (trail bytes start at
// 0x41), so trimming byte by byte is safe in every code page the program uses.
std::string trimmed(std::string_view text) {
    while (!text.empty() && isWhiteSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isWhiteSpace(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

int32_t usedSlots(int32_t count) {
    return qv::usedSlots<WolTable>(count);
}

// The last checks of Add and Edit: the texts must be UTF-8 without NUL and fit their fields.
Verdict checkStorable(const std::string& name, const std::string& mac) {
    if (!isUtf8(name) || name.find('\0') != std::string::npos)
        return Verdict::refused(StringId::NameNotConvertible);
    if (!isUtf8(mac) || mac.find('\0') != std::string::npos)
        return Verdict::refused(StringId::WolMacNotConvertible);
    // The fields hold 31 and 63 bytes; longer texts are refused rather than cut, so what the
    // list shows is what the appliance keeps.
    if (name.size() > kMaxNameBytes)
        return Verdict::refused(StringId::NameTooLong);
    if (mac.size() > kMaxMacBytes)
        return Verdict::refused(StringId::WolMacTooLong);
    return Verdict::accepted();
}

void writeTexts(WolTable& table, int slot, std::string_view name, std::string_view mac) {
    WolEntry e = table.entry(static_cast<size_t>(slot));
    e.setNameUtf8(name);
    e.setMacUtf8(mac);
    table.setEntry(static_cast<size_t>(slot), e);
}

void clearTexts(WolTable& table, int32_t from, int32_t to) {
    for (int32_t slot = std::max(from, 0); slot < std::min(to, kSlots); ++slot)
        writeTexts(table, slot, {}, {});
}

std::vector<std::string_view> splitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r')
            continue;
        lines.push_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.push_back(bytes.substr(start));
    return lines;
}

} // namespace

bool macKeptByFile(std::string_view mac) {
    const std::string text = trimmed(mac);
    return text.size() >= kShortestImportedMac && text.find(',') == std::string::npos;
}

bool macFormatOk(std::string_view mac) {
    return (std::count(mac.begin(), mac.end(), ':') == 5 ||
            std::count(mac.begin(), mac.end(), '-') == 5) &&
           macKeptByFile(mac);
}

std::string withColons(std::string_view mac) {
    std::string out = trimmed(mac);
    std::replace(out.begin(), out.end(), '-', ':');
    return out;
}

std::string nameForAdd(std::string_view name) {
    std::string out;
    std::copy_if(name.begin(), name.end(), std::back_inserter(out),
                 [](char c) { return c != ' '; });
    return trimmed(out);
}

Verdict validateAdd(int32_t count, const Input& input) {
    const std::string name = nameForAdd(input.name);
    if (input.mac.empty())
        return Verdict::refused(StringId::WolInputMac);
    if (!macFormatOk(input.mac))
        return Verdict::refused(StringId::WolMacFormat);
    if (name.empty())
        return Verdict::refused(StringId::WolInputName);
    if (count >= kSlots)
        return Verdict::refused(StringId::WolTableFull);
    return checkStorable(name, withColons(input.mac));
}

Verdict validateEdit(int32_t count, int row, const Input& input) {
    const int32_t used = usedSlots(count);
    if (used == 0)
        return Verdict::ignored();
    if (row < 0 || row >= used)
        return Verdict::refused(StringId::WolSelectToModify);
    if (input.name.empty())
        return Verdict::refused(StringId::WolInputName);
    if (input.mac.empty())
        return Verdict::refused(StringId::WolInputMac);
    if (!macFormatOk(input.mac))
        return Verdict::refused(StringId::WolMacFormat);
    return checkStorable(input.name, withColons(input.mac));
}

Verdict validateDelete(int32_t count, int row) {
    const int32_t used = usedSlots(count);
    if (used == 0)
        return Verdict::ignored();
    if (row < 0 || row >= used)
        return Verdict::refused(StringId::WolSelectToDelete);
    return Verdict::accepted();
}

void addEntry(WolTable& table, int32_t& count, const Input& input) {
    const int32_t used = usedSlots(count);
    if (used >= kSlots)
        return;
    writeTexts(table, used, nameForAdd(input.name), withColons(input.mac));
    count = used + 1;
}

void editEntry(WolTable& table, int32_t count, int row, const Input& input) {
    if (row < 0 || row >= usedSlots(count))
        return;
    writeTexts(table, row, input.name, withColons(input.mac));
}

void deleteEntry(WolTable& table, int32_t& count, int row) {
    const int32_t used = usedSlots(count);
    if (row < 0 || row >= used)
        return;
    for (int32_t slot = row; slot + 1 < used; ++slot) {
        const WolEntry next = table.entry(static_cast<size_t>(slot + 1));
        writeTexts(table, slot, next.nameUtf8(), next.macUtf8());
    }
    clearTexts(table, used - 1, used);
    count = used - 1;
}

const std::array<Column, 4> kColumns = {{
    {StringId::ColumnNumber, 60},
    {StringId::ColumnName, 130},
    {StringId::WolColumnMac, 140},
    {StringId::WolColumnEtc, 0},
}};

std::array<std::string, 4> rowTexts(const WolEntry& entry, int row) {
    return {std::to_string(row + 1), entry.nameUtf8(), entry.macUtf8(), std::string()};
}

Verdict validateExport(int32_t count) {
    if (usedSlots(count) == 0)
        return Verdict::refused(StringId::WolNothingToExport);
    return Verdict::accepted();
}

ExportResult exportCsv(const WolTable& table, int32_t count, int codePage) {
    ExportResult result;
    const int32_t used = usedSlots(count);
    for (int32_t row = 0; row < used; ++row) {
        const WolEntry e = table.entry(static_cast<size_t>(row));
        bool nameOk = true;
        bool macOk = true;
        const std::string name = utf8ToAnsi(e.nameUtf8(), codePage, &nameOk);
        const std::string mac = utf8ToAnsi(e.macUtf8(), codePage, &macOk);
        if (!nameOk || !macOk) {
            // A '?' in the file would import as a different computer; the operator is told
            // which entry cannot be written instead.
            return ExportResult{{}, row};
        }
        result.text += name;
        result.text += ", ";
        result.text += mac;
        result.text += "\r\n";
    }
    return result;
}

ImportResult parseCsv(std::string_view bytes, int codePage) {
    ImportResult result;
    const std::vector<std::string_view> lines = splitLines(bytes);
    for (size_t index = 0; index < lines.size(); ++index) {
        const std::string_view line = lines[index];
        const size_t comma = line.find(',');
        std::string macPart;
        if (comma != std::string_view::npos)
            for (const char c : line.substr(comma + 1))
                if (c != ',')
                    macPart += c;
        const std::string name = trimmed(line.substr(0, comma));
        const std::string mac = trimmed(macPart);
        if (name.empty() || !macKeptByFile(mac))
            continue;
        if (static_cast<int32_t>(result.entries.size()) >= kImportLimit) {
            result.limited = true;
            break;
        }
        const int lineNumber = static_cast<int>(index + 1);
        bool nameOk = true;
        bool macOk = true;
        ImportedEntry entry{ansiToUtf8(name, codePage, &nameOk), ansiToUtf8(mac, codePage, &macOk)};
        const bool hasNul = line.find('\0') != std::string_view::npos;
        if (!nameOk || !macOk || hasNul)
            return ImportResult{{}, false, StringId::WolImportNotConvertible, lineNumber};
        if (entry.name.size() > kMaxNameBytes)
            return ImportResult{{}, false, StringId::WolImportNameTooLong, lineNumber};
        if (entry.mac.size() > kMaxMacBytes)
            return ImportResult{{}, false, StringId::WolImportMacTooLong, lineNumber};
        result.entries.push_back(std::move(entry));
    }
    return result;
}

void replaceEntries(WolTable& table, int32_t& count, const std::vector<ImportedEntry>& entries) {
    const int32_t before = usedSlots(count);
    const auto now = static_cast<int32_t>(std::min<size_t>(entries.size(), WolTable::kSlots));
    for (int32_t slot = 0; slot < now; ++slot)
        writeTexts(table, slot, entries[static_cast<size_t>(slot)].name,
                   entries[static_cast<size_t>(slot)].mac);
    clearTexts(table, now, before);
    count = now;
}

} // namespace qv::wol
