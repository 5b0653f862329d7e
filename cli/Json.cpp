#include "cli/Json.h"

#include <cstdio>

namespace qvctl {
namespace {

// Length of the valid UTF-8 sequence at `text[i]`, or 0 when the byte there starts none.
size_t sequenceLength(std::string_view text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    if (c < 0x80)
        return 1;
    size_t length;
    uint32_t min;
    uint32_t value;
    if ((c & 0xE0) == 0xC0) {
        length = 2, min = 0x80, value = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        length = 3, min = 0x800, value = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        length = 4, min = 0x10000, value = c & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        value = value << 6 | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not valid UTF-8.
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

std::string validUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t length = sequenceLength(text, i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

std::string jsonQuote(std::string_view text) {
    const std::string valid = validUtf8(text);
    std::string out = "\"";
    for (const char ch : valid) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += ch;
            }
        }
    }
    out += '"';
    return out;
}

void JsonWriter::newline() {
    m_out += '\n';
    m_out.append(static_cast<size_t>(m_depth) * 2, ' ');
}

void JsonWriter::beforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_depth > 0) {
        if (!m_first)
            m_out += ',';
        newline();
    }
    m_first = false;
}

void JsonWriter::beginObject() {
    beforeValue();
    m_out += '{';
    ++m_depth;
    m_first = true;
}

void JsonWriter::endObject() {
    --m_depth;
    if (!m_first)
        newline();
    m_out += '}';
    m_first = false;
}

void JsonWriter::beginArray() {
    beforeValue();
    m_out += '[';
    ++m_depth;
    m_first = true;
}

void JsonWriter::endArray() {
    endObject();
    m_out.back() = ']';
}

void JsonWriter::key(std::string_view name) {
    beforeValue();
    m_out += jsonQuote(name);
    m_out += ": ";
    m_afterKey = true;
}

void JsonWriter::string(std::string_view text) {
    beforeValue();
    m_out += jsonQuote(text);
}

void JsonWriter::number(int64_t value) {
    beforeValue();
    m_out += std::to_string(value);
}

void JsonWriter::boolean(bool value) {
    beforeValue();
    m_out += value ? "true" : "false";
}

void JsonWriter::null() {
    beforeValue();
    m_out += "null";
}

} // namespace qvctl
