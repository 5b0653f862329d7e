#include "sheet/XlsxBlockReader.h"

#include "sheet/SerialDate.h"
#include "sheet/SheetLimits.h"
#include "sheet/Utf8.h"
#include "sheet/XmlPullReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace qv::sheet {
namespace {

using Event = XmlPullReader::Event;

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

class SheetPass {
public:
    SheetPass(XmlPullReader& xml, std::string_view part, BlockRead& block)
        : m_xml(xml), m_part(part), m_block(block) {}

    SheetStatus run() {
        for (;;) {
            const Event event = m_xml.next();
            if (event == Event::Error)
                return m_xml.error();
            if (event == Event::End)
                return {};
            const std::string_view name = m_xml.localName();
            if (event == Event::StartElement) {
                const SheetStatus status = start(name);
                if (!status || m_done)
                    return status;
            } else if (event == Event::EndElement) {
                const SheetStatus status = end(name);
                if (!status || m_done)
                    return status;
            } else if (m_into) {
                if (m_into->size() + m_xml.text().size() > kMaxXmlTokenBytes)
                    return sheetError(SheetErrorKind::LimitExceeded,
                                      "part " + std::string(m_part) +
                                          ": a cell text longer than a cell holds");
                m_into->append(m_xml.text());
            }
        }
    }

private:
    SheetStatus start(std::string_view name) {
        if (name == "sheetData") {
            m_inSheetData = true;
        } else if (m_inSheetData && name == "row") {
            uint32_t row = m_row + 1;
            if (const auto r = m_xml.attribute("r"); r && !parseWhole(*r, row))
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
            if (const auto r = m_xml.attribute("r")) {
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
            const auto type = m_xml.attribute("t");
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

    SheetStatus end(std::string_view name) {
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

    XmlPullReader& m_xml;
    std::string_view m_part;
    BlockRead& m_block;
    bool m_inSheetData = false;
    bool m_inCell = false;
    bool m_done = false;
    uint32_t m_row = 0;
    uint32_t m_column = 0;
    int m_phonetic = 0;
    CellInProgress m_cell;
    std::string* m_into = nullptr; // where the text of the current element goes
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
    XmlPullReader xml(*stream.value(), std::string(part));
    return SheetPass(xml, part, block).run();
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
    XmlPullReader xml(*stream.value(), std::string(part));
    uint32_t index = 0; // of the <si> being read
    size_t nextRef = 0;
    bool inItem = false;
    bool wanted = false;
    bool inText = false;
    int phonetic = 0;
    std::string text;
    while (nextRef < refs.size()) {
        const Event event = xml.next();
        if (event == Event::Error)
            return xml.error();
        if (event == Event::End)
            return sheetError(SheetErrorKind::Corrupt,
                              "shared string " + std::to_string(refs[nextRef].first) +
                                  " beyond the table's " + std::to_string(index) + " strings");
        const std::string_view name = event == Event::Text ? "" : xml.localName();
        if (event == Event::StartElement) {
            if (name == "si") {
                inItem = true;
                wanted = refs[nextRef].first == index;
                text.clear();
            } else if (inItem && name == "rPh") {
                ++phonetic;
            } else if (inItem && wanted && name == "t" && phonetic == 0) {
                inText = true;
            }
        } else if (event == Event::EndElement) {
            if (name == "t") {
                inText = false;
            } else if (name == "rPh" && phonetic > 0) {
                --phonetic;
            } else if (name == "si" && inItem) {
                inItem = false;
                if (wanted) {
                    const std::string decoded = decodeEscapes(text);
                    for (; nextRef < refs.size() && refs[nextRef].first == index; ++nextRef) {
                        block.textBytes += decoded.size();
                        if (block.textBytes > kMaxBlockTextBytes)
                            return sheetError(SheetErrorKind::LimitExceeded,
                                              "the block holds more text than a read may return");
                        const CellAddress at = refs[nextRef].second;
                        block.grid.at(at.row, at.column) = decoded;
                    }
                }
                ++index;
            }
        } else if (inText) {
            if (text.size() + xml.text().size() > kMaxXmlTokenBytes)
                return sheetError(SheetErrorKind::LimitExceeded,
                                  "a shared string longer than a cell holds");
            text += xml.text();
        }
    }
    return {};
}

} // namespace qv::sheet
