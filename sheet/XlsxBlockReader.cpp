#include "sheet/XlsxBlockReader.h"

#include "sheet/SerialDate.h"
#include "sheet/SheetLimits.h"
#include "sheet/Utf8.h"
#include "sheet/XmlParser.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace qv::sheet {
namespace {

using Next = XmlHandler::Next;

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The UTF-16 unit of an _xHHHH_ escape at `at`, or -1.
int escapeAt(std::string_view text, size_t at) {
    if (at + 7 > text.size() || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_')
        return -1;
    int unit = 0;
    for (size_t i = at + 2; i < at + 6; ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0)
            return -1;
        unit = unit * 16 + digit;
    }
    return unit;
}

template <typename Number> bool parseWhole(std::string_view text, Number& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// A cell's number. Most are whole numbers of a few digits, which need no floating-point parse.
bool parseNumber(std::string_view text, double& number) {
    if (!text.empty() && text.size() <= 15 &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        uint64_t whole = 0;
        for (const char c : text)
            whole = whole * 10 + static_cast<uint64_t>(c - '0');
        number = static_cast<double>(whole); // exact: below 2^53
        return true;
    }
    return parseWhole(text, number) && std::isfinite(number);
}

SheetError corrupt(std::string_view part, const std::string& detail) {
    return sheetError(SheetErrorKind::Corrupt, "part " + std::string(part) + ": " + detail);
}

// A cell's t attribute, read once at its start tag instead of compared at its end.
enum class CellType {
    Number,
    SharedString,
    InlineString,
    Boolean,
    Error,
    FormulaText,
    Date,
    Other
};

CellType cellType(std::string_view type) {
    static constexpr std::pair<std::string_view, CellType> kTypes[] = {
        {"n", CellType::Number},
        {"s", CellType::SharedString},
        {"inlineStr", CellType::InlineString},
        {"b", CellType::Boolean},
        {"e", CellType::Error},
        {"str", CellType::FormulaText},
        {"d", CellType::Date}};
    for (const auto& [text, kind] : kTypes)
        if (text == type)
            return kind;
    return CellType::Other;
}

// One <c> element as the sheet pass collects it.
struct CellInProgress {
    CellAddress address;
    CellType type = CellType::Number;
    std::string otherType;  // the t attribute of a type no writer uses, for the message
    std::string value;      // text of <v>
    std::string inlineText; // text of <is>, runs joined
    bool inBlock = false;
};

class SheetPass final : public XmlHandler {
public:
    SheetPass(std::string_view part, BlockRead& block) : m_part(part), m_block(block) {}

    const SheetStatus& status() const { return m_status; }

    Next start(std::string_view name, const XmlAttributes& attributes) override {
        m_attributes = &attributes;
        return follow(startElement(name));
    }
    Next end(std::string_view name) override { return follow(endElement(name)); }
    Next text(std::string_view text) override {
        if (!m_into)
            return Next::Go;
        if (m_into->size() + text.size() > kMaxXmlTokenBytes)
            return follow(sheetError(SheetErrorKind::LimitExceeded,
                                     "part " + std::string(m_part) +
                                         ": a cell text longer than a cell holds"));
        m_into->append(text);
        return Next::Go;
    }

private:
    Next follow(SheetStatus status) {
        if (!status) {
            m_status = std::move(status);
            return Next::Stop;
        }
        return m_done ? Next::Stop : Next::Go;
    }

    std::optional<std::string_view> attribute(std::string_view name) const {
        return m_attributes->get(name);
    }

    SheetStatus startElement(std::string_view name) {
        if (name == "sheetData") {
            m_inSheetData = true;
        } else if (m_inSheetData && name == "row") {
            uint32_t row = m_row + 1;
            if (const auto r = attribute("r"); r && !parseWhole(*r, row))
                return corrupt(m_part, "row number \"" + std::string(*r) + "\"");
            if (row <= m_row || row > kSheetRows)
                return corrupt(m_part, "row " + std::to_string(row) + " out of order");
            m_row = row;
            m_column = 0;
        } else if (m_row > 0 && name == "c") {
            // Cleared, not rebuilt: the strings keep their room from cell to cell.
            m_cell.value.clear();
            m_cell.inlineText.clear();
            CellAddress address{m_row, m_column + 1};
            if (const auto r = attribute("r")) {
                const auto parsed = parseCell(*r);
                if (!parsed || parsed->row != m_row)
                    return corrupt(m_part, "cell \"" + std::string(*r) + "\" in row " +
                                               std::to_string(m_row));
                address = *parsed;
            }
            if (address.column > kSheetColumns)
                return corrupt(m_part, "a cell beyond column XFD");
            m_column = address.column;
            m_cell.address = address;
            const auto type = attribute("t");
            m_cell.type = type ? cellType(*type) : CellType::Number;
            if (m_cell.type == CellType::Other)
                m_cell.otherType = *type;
            m_cell.inBlock = m_block.area.contains(address);
            m_inCell = true;
        } else if (m_inCell && m_cell.inBlock) {
            if (name == "v")
                m_into = &m_cell.value;
            else if (name == "rPh")
                ++m_phonetic;
            else if (name == "t" && m_phonetic == 0)
                m_into = &m_cell.inlineText;
        }
        return {};
    }

    SheetStatus endElement(std::string_view name) {
        if (name == "v" || name == "t") {
            m_into = nullptr;
        } else if (name == "rPh" && m_phonetic > 0) {
            --m_phonetic;
        } else if (name == "c" && m_inCell) {
            m_inCell = false;
            if (m_cell.inBlock && !m_block.values)
                return noteValue();
            if (m_cell.inBlock)
                return store();
        } else if (name == "sheetData") {
            m_done = true;
        }
        return {};
    }

    SheetStatus noteValue() {
        const CellAddress at = m_cell.address;
        const auto& last = m_block.lastValue;
        const bool later =
            !last || at.row > last->row || (at.row == last->row && at.column > last->column);
        if (later && !(m_cell.value.empty() && m_cell.inlineText.empty()))
            m_block.lastValue = at;
        return {};
    }

    SheetStatus store() {
        const CellAddress at{m_cell.address.row - m_block.area.first.row,
                             m_cell.address.column - m_block.area.first.column};
        CellValue& target = m_block.grid.at(at.row, at.column);
        const std::string& value = m_cell.value;
        // Named only when something is wrong: building the name for every cell costs more than
        // reading it.
        const auto where = [&] { return "cell " + cellName(m_cell.address); };
        if (m_cell.type == CellType::InlineString)
            return storeText(target, decodeEscapes(m_cell.inlineText));
        if (value.empty()) // a formula without a cached value, or a cell with a format only
            return {};
        switch (m_cell.type) {
        case CellType::SharedString: {
            uint32_t index = 0;
            if (!parseWhole(value, index))
                return corrupt(m_part, where() + ": string index \"" + value + "\"");
            if (index >= kMaxSharedStrings)
                return sheetError(SheetErrorKind::LimitExceeded,
                                  where() + " refers to string " + value +
                                      ", beyond the strings a workbook may have");
            m_block.sharedRefs.emplace_back(index, at);
            return {};
        }
        case CellType::Number: {
            double number = 0;
            if (!parseNumber(value, number))
                return corrupt(m_part, where() + ": number \"" + value + "\"");
            target = number;
            return {};
        }
        case CellType::Boolean:
            if (value != "0" && value != "1")
                return corrupt(m_part, where() + ": truth value \"" + value + "\"");
            target = value == "1";
            return {};
        case CellType::Error: {
            const auto error = errorFromText(value);
            if (!error)
                return corrupt(m_part, where() + ": error value \"" + value + "\"");
            target = *error;
            return {};
        }
        case CellType::FormulaText:
            return storeText(target, decodeEscapes(value));
        case CellType::Date: {
            const auto serial = serialFromIsoText(value, m_block.date1904);
            if (!serial)
                return corrupt(m_part, where() + ": date \"" + value + "\"");
            target = *serial;
            return {};
        }
        case CellType::InlineString:
        case CellType::Other:
            break;
        }
        return corrupt(m_part, where() + ": cell type \"" + m_cell.otherType + "\"");
    }

    SheetStatus storeText(CellValue& target, std::string text) {
        m_block.textBytes += text.size();
        if (m_block.textBytes > kMaxBlockTextBytes)
            return sheetError(SheetErrorKind::LimitExceeded, "the block holds more text than a "
                                                             "read may return");
        target = std::move(text);
        return {};
    }

    std::string_view m_part;
    BlockRead& m_block;
    SheetStatus m_status;
    const XmlAttributes* m_attributes = nullptr; // of the start tag being handled
    bool m_inSheetData = false;
    bool m_inCell = false;
    bool m_done = false;
    uint32_t m_row = 0;
    uint32_t m_column = 0;
    int m_phonetic = 0;
    CellInProgress m_cell;
    std::string* m_into = nullptr; // where the text of the current element goes
};

// The shared-string table up to the last string the block refers to; the block's references
// are sorted by string index.
class StringsPass final : public XmlHandler {
public:
    explicit StringsPass(BlockRead& block) : m_block(block) {}

    const SheetStatus& status() const { return m_status; }
    size_t nextRef() const { return m_nextRef; }
    uint32_t count() const { return m_index; }

    Next start(std::string_view name, const XmlAttributes&) override {
        if (name == "si") {
            m_inItem = true;
            m_wanted = m_block.sharedRefs[m_nextRef].first == m_index;
            m_text.clear();
        } else if (m_inItem && name == "rPh") {
            ++m_phonetic;
        } else if (m_inItem && m_wanted && name == "t" && m_phonetic == 0) {
            m_inText = true;
        }
        return Next::Go;
    }

    Next end(std::string_view name) override {
        if (name == "t") {
            m_inText = false;
        } else if (name == "rPh" && m_phonetic > 0) {
            --m_phonetic;
        } else if (name == "si" && m_inItem) {
            m_inItem = false;
            if (m_wanted && !store())
                return Next::Stop;
            ++m_index;
        }
        return m_nextRef < m_block.sharedRefs.size() ? Next::Go : Next::Stop;
    }

    Next text(std::string_view text) override {
        if (!m_inText)
            return Next::Go;
        if (m_text.size() + text.size() > kMaxXmlTokenBytes) {
            m_status = sheetError(SheetErrorKind::LimitExceeded,
                                  "a shared string longer than a cell holds");
            return Next::Stop;
        }
        m_text += text;
        return Next::Go;
    }

private:
    bool store() {
        const auto& refs = m_block.sharedRefs;
        const std::string decoded = decodeEscapes(m_text);
        for (; m_nextRef < refs.size() && refs[m_nextRef].first == m_index; ++m_nextRef) {
            m_block.textBytes += decoded.size();
            if (m_block.textBytes > kMaxBlockTextBytes) {
                m_status = sheetError(SheetErrorKind::LimitExceeded,
                                      "the block holds more text than a read may return");
                return false;
            }
            const CellAddress at = refs[m_nextRef].second;
            m_block.grid.at(at.row, at.column) = decoded;
        }
        return true;
    }

    BlockRead& m_block;
    SheetStatus m_status;
    uint32_t m_index = 0; // of the <si> being read
    size_t m_nextRef = 0;
    bool m_inItem = false;
    bool m_wanted = false;
    bool m_inText = false;
    int m_phonetic = 0;
    std::string m_text;
};

} // namespace

std::string decodeEscapes(std::string_view stored) {
    if (stored.find("_x") == std::string_view::npos)
        return std::string(stored);
    std::string text;
    for (size_t i = 0; i < stored.size();) {
        const int unit = escapeAt(stored, i);
        if (unit < 0) {
            text += stored[i++];
            continue;
        }
        i += 7;
        uint32_t code = static_cast<uint32_t>(unit);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            const int low = escapeAt(stored, i);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + static_cast<uint32_t>(low - 0xDC00);
                i += 7;
            } else {
                code = 0xFFFD;
            }
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            code = 0xFFFD;
        }
        appendUtf8(text, code);
    }
    return text;
}

SheetStatus readSheetBlock(const ZipArchive& archive, std::string_view part, InflateBudget& budget,
                           BlockRead& block) {
    auto stream = archive.openPart(part, budget);
    if (!stream)
        return stream.error();
    SheetPass pass(part, block);
    const SheetStatus parsed = parseXmlStream(*stream.value(), part, pass);
    return parsed ? pass.status() : parsed;
}

SheetStatus resolveSharedStrings(const ZipArchive& archive, std::string_view part,
                                 InflateBudget& budget, BlockRead& block) {
    auto& refs = block.sharedRefs;
    if (refs.empty())
        return {};
    if (part.empty())
        return sheetError(SheetErrorKind::Corrupt, "cells refer to a shared-string table the "
                                                   "workbook does not have");
    std::sort(refs.begin(), refs.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    auto stream = archive.openPart(part, budget);
    if (!stream)
        return stream.error();
    StringsPass strings(block);
    const SheetStatus parsed = parseXmlStream(*stream.value(), part, strings);
    if (!parsed)
        return parsed;
    if (!strings.status())
        return strings.status();
    if (strings.nextRef() < refs.size())
        return sheetError(SheetErrorKind::Corrupt,
                          "shared string " + std::to_string(refs[strings.nextRef()].first) +
                              " beyond the table's " + std::to_string(strings.count()) +
                              " strings");
    return {};
}

} // namespace qv::sheet
