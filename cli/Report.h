#pragma once

#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace qvctl {

// One value as a command reports it: the text a person reads and the value a script reads.
struct Value {
    enum class Kind { Text, Number, Boolean, Null };
    Kind kind = Kind::Text;
    std::string text; // UTF-8, shown in the table and written for Kind::Text
    int64_t number = 0;
    bool flag = false;

    static Value of(std::string text) { return {Kind::Text, std::move(text), 0, false}; }
    static Value of(int64_t number) {
        return {Kind::Number, std::to_string(number), number, false};
    }
    // A yes/no value shown with its own words ("on", "off", "yes", ...).
    static Value flagOf(bool flag, std::string shown) {
        return {Kind::Boolean, std::move(shown), 0, flag};
    }
    // A value that is absent (JSON null), shown as `shown`.
    static Value none(std::string shown = {}) { return {Kind::Null, std::move(shown), 0, false}; }
};

// A named value: `key` for JSON, `label` for people.
struct Field {
    std::string key;
    std::string label;
    Value value;
};

// What a read command prints: a few fields, and optionally one list of rows. Human output shows
// the fields as "Label: value" lines and the rows as a table with the columns' labels; JSON
// output is one object with the fields by key and the rows as an array of objects under
// `listKey`.
struct Report {
    std::vector<Field> fields;
    std::string listKey; // empty: no list
    std::vector<std::string> columnKeys;
    std::vector<std::string> columnLabels;
    std::vector<std::vector<Value>> rows; // one value per column
    std::string emptyText;                // printed instead of an empty table
};

std::string renderHuman(const Report& report);
std::string renderJson(const Report& report);

// Width of a UTF-8 text on a terminal: East Asian wide characters (Hangul among them) take
// two columns, everything else one.
size_t displayWidth(const std::string& utf8);

// Text from the appliance or from a file must not drive the terminal: passes everything
// written through to `target`, except control characters, which it shows as "\x1b": those of
// C0 (ESC, BEL, CR, ...) but the line end, DEL, and those of C1 (U+0080 to U+009F, two bytes in
// UTF-8), and bytes that cannot stand where they are in UTF-8. Tables and messages keep their
// form; JSON, which escapes for itself, does not go through it.
class EscapingBuffer : public std::streambuf {
public:
    explicit EscapingBuffer(std::streambuf* target) : m_target(target) {}

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    bool put(unsigned char byte);
    bool escape(unsigned char byte);

    std::streambuf* m_target;
    bool m_c2Waiting = false; // 0xC2 starts a C1 character or a harmless one: the next byte says
    int m_continuations = 0;  // bytes still to come of the UTF-8 character being passed
};

// Puts standard error, and standard output unless it carries JSON, behind an EscapingBuffer.
void escapeControlCharacters(bool standardOutput);
// Standard error without the escaping, for qvctl's own lines that rewrite themselves with "\r".
std::ostream& progressStream();

} // namespace qvctl
