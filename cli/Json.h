#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qvctl {

// A small JSON writer: objects, arrays, strings, numbers, booleans and null, written in order.
// Strings are escaped and always come out as valid UTF-8 (a byte that is not part of a valid
// sequence becomes U+FFFD), so the output parses whatever bytes the appliance sent.
class JsonWriter {
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // The key of the next value inside an object.
    void key(std::string_view name);
    void string(std::string_view text);
    void number(int64_t value);
    void boolean(bool value);
    void null();

    const std::string& text() const { return m_out; }

private:
    void beforeValue();
    void newline();

    std::string m_out;
    int m_depth = 0;
    bool m_first = true;     // no value yet at this level
    bool m_afterKey = false; // the next value follows a key on the same line
};

// `text` as a JSON string literal, quotes included.
std::string jsonQuote(std::string_view text);
// `text` with every invalid UTF-8 byte replaced by U+FFFD.
std::string validUtf8(std::string_view text);

} // namespace qvctl
