#include "cli/Report.h"

#include "link/CodePage.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <iostream>
#include <sstream>

namespace qvctl {
namespace {

uint32_t decodeAt(const std::string& s, size_t& i) {
    const auto c = static_cast<unsigned char>(s[i]);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    uint32_t value = extra == 3 ? c & 0x07 : extra == 2 ? c & 0x0F : extra == 1 ? c & 0x1F : c;
    ++i;
    while (extra-- > 0 && i < s.size()) {
        value = value << 6 | (static_cast<unsigned char>(s[i]) & 0x3F);
        ++i;
    }
    return value;
}

bool isWide(uint32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6);
}

void pad(std::string& out, const std::string& text, size_t width) {
    out += text;
    out.append(width - std::min(width, displayWidth(text)), ' ');
}

// Objects keep their keys in the order the report gives them, as a person reads them.
using Json = nlohmann::ordered_json;

Json jsonValue(const Value& value) {
    switch (value.kind) {
    case Value::Kind::Text:
        return value.text;
    case Value::Kind::Number:
        return value.number;
    case Value::Kind::Boolean:
        return value.flag;
    case Value::Kind::Null:
        break;
    }
    return nullptr;
}

// Bytes that are no UTF-8 (a code page text the appliance sent as it keeps it) read as U+FFFD.
std::string validUtf8(const std::string& text) {
    return qv::isUtf8(text) ? text : qv::ansiToUtf8(text, qv::kUtf8CodePage);
}

// A value as a table shows it: valid UTF-8, its control characters escaped before the columns
// are measured.
std::string shownText(const std::string& text) {
    const std::string valid = validUtf8(text);
    std::stringbuf shown;
    EscapingBuffer escaping(&shown);
    escaping.sputn(valid.data(), static_cast<std::streamsize>(valid.size()));
    return shown.str();
}

} // namespace

size_t displayWidth(const std::string& utf8) {
    size_t width = 0;
    for (size_t i = 0; i < utf8.size();)
        width += isWide(decodeAt(utf8, i)) ? 2 : 1;
    return width;
}

std::string renderHuman(const Report& report) {
    std::string out;
    size_t labelWidth = 0;
    for (const Field& field : report.fields)
        labelWidth = std::max(labelWidth, displayWidth(field.label) + 1);
    for (const Field& field : report.fields) {
        pad(out, field.label + ":", labelWidth + 1);
        out += shownText(field.value.text);
        out += '\n';
    }
    if (report.listKey.empty())
        return out;
    if (!report.fields.empty())
        out += '\n';
    if (report.rows.empty()) {
        out += report.emptyText.empty() ? std::string("(none)") : report.emptyText;
        out += '\n';
        return out;
    }
    std::vector<size_t> widths;
    for (const std::string& label : report.columnLabels)
        widths.push_back(displayWidth(label));
    std::vector<std::vector<std::string>> cells;
    for (const auto& row : report.rows) {
        std::vector<std::string> texts;
        for (size_t c = 0; c < widths.size(); ++c) {
            texts.push_back(c < row.size() ? shownText(row[c].text) : std::string());
            widths[c] = std::max(widths[c], displayWidth(texts.back()));
        }
        cells.push_back(std::move(texts));
    }
    const auto line = [&](const std::vector<std::string>& texts) {
        std::string text;
        for (size_t c = 0; c < widths.size(); ++c) {
            if (c + 1 == widths.size())
                text += texts[c];
            else
                pad(text, texts[c], widths[c] + 2);
        }
        text.erase(text.find_last_not_of(' ') + 1);
        out += text + '\n';
    };
    line(report.columnLabels);
    std::vector<std::string> rule;
    for (size_t w : widths)
        rule.push_back(std::string(w, '-'));
    line(rule);
    for (const auto& texts : cells)
        line(texts);
    return out;
}

std::string renderJson(const Report& report) {
    Json json = Json::object();
    for (const Field& field : report.fields)
        json[field.key] = jsonValue(field.value);
    if (!report.listKey.empty()) {
        Json rows = Json::array();
        for (const auto& row : report.rows) {
            Json object = Json::object();
            for (size_t c = 0; c < report.columnKeys.size() && c < row.size(); ++c)
                object[report.columnKeys[c]] = jsonValue(row[c]);
            rows.push_back(std::move(object));
        }
        json[report.listKey] = std::move(rows);
    }
    // Whatever bytes the appliance sent, the output stays valid UTF-8: an invalid byte is
    // written as U+FFFD.
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

EscapingBuffer::int_type EscapingBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    return put(static_cast<unsigned char>(traits_type::to_char_type(c))) ? c : traits_type::eof();
}

std::streamsize EscapingBuffer::xsputn(const char* text, std::streamsize count) {
    for (std::streamsize i = 0; i < count; ++i)
        if (!put(static_cast<unsigned char>(text[i])))
            return i;
    return count;
}

int EscapingBuffer::sync() {
    return m_target->pubsync();
}

bool EscapingBuffer::escape(unsigned char byte) {
    static const char kDigits[] = "0123456789abcdef";
    const char text[] = {'\\', 'x', kDigits[byte >> 4], kDigits[byte & 0x0F]};
    return m_target->sputn(text, sizeof text) == sizeof text;
}

bool EscapingBuffer::put(unsigned char byte) {
    const auto pass = [this](unsigned char b) {
        return !traits_type::eq_int_type(m_target->sputc(static_cast<char>(b)), traits_type::eof());
    };
    const bool continuation = byte >= 0x80 && byte <= 0xBF;
    if (m_c2Waiting) {
        m_c2Waiting = false;
        // U+0080 to U+009F: the C1 controls, shown by their number.
        if (byte >= 0x80 && byte <= 0x9F)
            return escape(byte);
        if (continuation)
            return pass(0xC2) && pass(byte);
        if (!escape(0xC2))
            return false;
    }
    if (m_continuations > 0 && continuation) {
        --m_continuations;
        return pass(byte);
    }
    m_continuations = 0;
    if (byte == 0xC2) {
        m_c2Waiting = true;
        return true;
    }
    if ((byte < 0x20 && byte != '\n') || byte == 0x7F || continuation || byte >= 0xF8)
        return escape(byte);
    if (byte >= 0xC0)
        m_continuations = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : 1;
    return pass(byte);
}

namespace {
std::ostream* g_progress = nullptr;
}

void escapeControlCharacters(bool standardOutput) {
    // Kept for the whole run, past main(): the streams flush into them at exit.
    g_progress = new std::ostream(std::cerr.rdbuf());
    std::cerr.rdbuf(new EscapingBuffer(std::cerr.rdbuf()));
    if (standardOutput)
        std::cout.rdbuf(new EscapingBuffer(std::cout.rdbuf()));
}

std::ostream& progressStream() {
    return g_progress != nullptr ? *g_progress : std::cerr;
}

} // namespace qvctl
