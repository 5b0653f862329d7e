#include "core/network/WolRules.h"

#include "core/RowDeletion.h"
#include "link/CodePage.h"

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

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}

int lineEndsIn(std::string_view text) {
    int ends = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++ends;
    return ends;
}

constexpr size_t kLongestQuotedField = 256;

// One line of the file as the import reads it, its fields still in the file's encoding.
struct RawLine {
    std::string name;
    std::string mac;
    bool hasNul = false;
    int lineNumber = 0;
};

// Reads the file line by line. A quoted field may run over line ends; the line that holds it
// counts as one, and the lines it covers still count for the numbers of the lines after it.
// Quote and comma bytes never occur inside a double-byte character of 949 (trail bytes start at
// 0x41), so the bytes are scanned one by one in every code page the program uses.
class CsvLineReader {
public:
    explicit CsvLineReader(std::string_view bytes) : m_bytes(bytes) {}

    bool next(RawLine& line) {
        if (m_pos >= m_bytes.size())
            return false;
        const size_t start = m_pos;
        line = RawLine{};
        line.lineNumber = m_line;
        size_t at = readField(m_pos, false, line.name);
        if (at < m_bytes.size() && m_bytes[at] == ',')
            at = readField(at + 1, true, line.mac);
        const std::string_view raw = m_bytes.substr(start, at - start);
        line.hasNul = raw.find('\0') != std::string_view::npos;
        m_line += lineEndsIn(raw);
        if (at < m_bytes.size()) {
            if (m_bytes[at] == '\r' && at + 1 < m_bytes.size() && m_bytes[at + 1] == '\n')
                ++at;
            ++at;
            ++m_line;
        }
        m_pos = at;
        return true;
    }

private:
    // The text between the quote at `at` and its closing quote, "" read as one quote; the
    // position after the closing quote, or npos when the quote is not closed. A field holds 63
    // bytes at most, so a quote still open after kLongestQuotedField bytes is taken as an
    // ordinary character; that also keeps a file full of stray quotes from being scanned over
    // and over.
    size_t readQuoted(size_t at, std::string& text) const {
        const size_t end = std::min(m_bytes.size(), at + kLongestQuotedField);
        for (size_t i = at + 1; i < end; ++i) {
            if (m_bytes[i] != '"') {
                text += m_bytes[i];
                continue;
            }
            if (i + 1 < end && m_bytes[i + 1] == '"') {
                text += '"';
                ++i;
                continue;
            }
            return i + 1;
        }
        return std::string_view::npos;
    }

    // Reads a field from `from` to the line end or, for the name, to the first comma. The MAC
    // field drops the commas it meets, as the file's plain form always has. Returns where the
    // field ended.
    size_t readField(size_t from, bool macField, std::string& field) const {
        size_t at = from;
        while (at < m_bytes.size() && isBlank(m_bytes[at]))
            ++at;
        std::string quoted;
        bool isQuoted = false;
        if (at < m_bytes.size() && m_bytes[at] == '"') {
            // An unclosed quote is an ordinary character, as it always was.
            if (const size_t after = readQuoted(at, quoted); after != std::string_view::npos) {
                isQuoted = true;
                from = after;
            }
        }
        std::string rest;
        size_t end = from;
        for (; end < m_bytes.size() && !isLineEnd(m_bytes[end]); ++end) {
            if (m_bytes[end] == ',' && !macField)
                break;
            if (m_bytes[end] != ',')
                rest += m_bytes[end];
        }
        field = isQuoted ? quoted + trimmed(rest) : trimmed(rest);
        return end;
    }

    std::string_view m_bytes;
    size_t m_pos = 0;
    int m_line = 1;
};

bool needsQuotes(std::string_view field) {
    return !field.empty() && (isWhiteSpace(field.front()) || isWhiteSpace(field.back()) ||
                              field.find_first_of(",\"\r\n") != std::string_view::npos);
}

// A field as CSV writes it: quoted, with its quotes doubled, when it needs that.
std::string csvField(std::string_view field) {
    if (!needsQuotes(field))
        return std::string(field);
    std::string out = "\"";
    for (const char c : field) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + '"';
}

// A spreadsheet program takes a cell that begins with one of these as a formula (tab and CR
// are how a formula hides behind white space). Such a name is written behind an apostrophe,
// which spreadsheets show as text; a name that itself begins with an apostrophe before one of
// them, or before another apostrophe, gets one too, so that the import's rule of taking one
// leading apostrophe off gives back every name as it was.
bool startsFormula(std::string_view name) {
    return !name.empty() &&
           std::string_view("=+-@\t\r").find(name.front()) != std::string_view::npos;
}

bool shielded(std::string_view name) {
    return startsFormula(name) || (name.size() > 1 && name.front() == '\'' &&
                                   (name[1] == '\'' || startsFormula(name.substr(1))));
}

std::string shieldedName(const std::string& name) {
    return shielded(name) ? "'" + name : name;
}

std::string unshieldedName(const std::string& field) {
    return !field.empty() && field.front() == '\'' && shielded(std::string_view(field).substr(1))
               ? field.substr(1)
               : field;
}

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Whether well-formed UTF-8 bytes may still be text of `codePage`. In a single-byte code page
// a UTF-8 sequence reads as a capital with an accent followed by one to three symbols ("Ã©"),
// which no computer's name holds. In 949 a short run of Hangul can also be well-formed two-byte
// UTF-8; but every Hangul syllable takes three bytes in UTF-8 (leads from 0xE0), and such
// sequences are no text of 949.
bool plausibleInCodePage(std::string_view bytes, int codePage) {
    if (codePage != 949)
        return false;
    const bool longSequence = std::any_of(
        bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xE0; });
    bool converts = true;
    ansiToUtf8(bytes, codePage, &converts);
    return converts && !longSequence;
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

Verdict validateDeleteRows(int32_t count, const std::vector<int>& rows) {
    const int32_t used = usedSlots(count);
    if (used == 0)
        return Verdict::ignored();
    if (!allRowsListed(rows, used))
        return Verdict::refused(StringId::WolSelectToDelete);
    return Verdict::accepted();
}

void deleteRows(WolTable& table, int32_t& count, const std::vector<int>& rows) {
    deleteEachRow(table, count, rows,
                  [](WolTable& t, int32_t& n, int row) { deleteEntry(t, n, row); });
}

const std::array<Column, 4> kColumns = {{
    {StringId::WolColumnNumber, 60},
    {StringId::WolColumnName, 130},
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

CsvEncoding detectEncoding(std::string_view bytes, int codePage) {
    if (bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark)
        return CsvEncoding::Utf8;
    if (isAscii(bytes) || !isUtf8(bytes) || plausibleInCodePage(bytes, codePage))
        return CsvEncoding::CodePage;
    return CsvEncoding::Utf8;
}

int firstRowOutsideCodePage(const WolTable& table, int32_t count, int codePage) {
    const int32_t used = usedSlots(count);
    for (int32_t row = 0; row < used; ++row) {
        const WolEntry e = table.entry(static_cast<size_t>(row));
        bool nameOk = true;
        bool macOk = true;
        utf8ToAnsi(e.nameUtf8(), codePage, &nameOk);
        utf8ToAnsi(e.macUtf8(), codePage, &macOk);
        if (!nameOk || !macOk)
            return row;
    }
    return -1;
}

ExportResult exportCsv(const WolTable& table, int32_t count, int codePage, CsvEncoding encoding) {
    const bool utf8 = encoding == CsvEncoding::Utf8;
    ExportResult result;
    if (utf8)
        result.text = kUtf8ByteOrderMark;
    const int32_t used = usedSlots(count);
    for (int32_t row = 0; row < used; ++row) {
        const WolEntry e = table.entry(static_cast<size_t>(row));
        bool nameOk = true;
        bool macOk = true;
        const std::string name = utf8 ? e.nameUtf8() : utf8ToAnsi(e.nameUtf8(), codePage, &nameOk);
        const std::string mac = utf8 ? e.macUtf8() : utf8ToAnsi(e.macUtf8(), codePage, &macOk);
        // A '?' in the file would import as a different computer, and bytes that are no UTF-8
        // would make the whole file unreadable; the operator is told which entry it is instead.
        if (!nameOk || !macOk || (utf8 && (!isUtf8(name) || !isUtf8(mac))))
            return ExportResult{{}, row};
        result.text += csvField(shieldedName(name));
        result.text += ", ";
        result.text += csvField(mac);
        result.text += "\r\n";
    }
    return result;
}

ImportResult parseCsv(std::string_view bytes, int codePage) {
    ImportResult result;
    result.encoding = detectEncoding(bytes, codePage);
    const bool utf8 = result.encoding == CsvEncoding::Utf8;
    if (utf8 && bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark)
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    const auto toUtf8 = [&](const std::string& text, bool& ok) {
        if (!utf8)
            return ansiToUtf8(text, codePage, &ok);
        ok = isUtf8(text);
        return text;
    };
    CsvLineReader reader(bytes);
    RawLine line;
    while (reader.next(line)) {
        if (line.name.empty() || !macKeptByFile(line.mac))
            continue;
        if (static_cast<int32_t>(result.entries.size()) >= kImportLimit) {
            result.limited = true;
            break;
        }
        bool nameOk = true;
        bool macOk = true;
        ImportedEntry entry{toUtf8(unshieldedName(line.name), nameOk), toUtf8(line.mac, macOk)};
        const auto failed = [&](StringId error) {
            ImportResult failure;
            failure.error = error;
            failure.errorLine = line.lineNumber;
            failure.encoding = result.encoding;
            return failure;
        };
        if (!nameOk || !macOk || line.hasNul)
            return failed(StringId::WolImportNotConvertible);
        if (entry.name.size() > kMaxNameBytes)
            return failed(StringId::WolImportNameTooLong);
        if (entry.mac.size() > kMaxMacBytes)
            return failed(StringId::WolImportMacTooLong);
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
