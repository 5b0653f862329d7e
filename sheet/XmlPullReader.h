#pragma once

// A pull reader for the large parts of an .xlsx package (the sheet and the shared strings):
// it inflates the part piece by piece and hands out one element or text at a time, so a read
// can stop at the end of the requested block and never holds more than one token. The small
// parts go to pugixml whole.
//
// It reads the XML spreadsheet programs write: UTF-8, the five predefined entities and
// character references, CDATA, comments and processing instructions. A DOCTYPE is refused:
// no spreadsheet program writes one, and entity declarations are how XML bombs are built.

#include "sheet/SheetError.h"
#include "sheet/SheetLimits.h"
#include "sheet/ZipArchive.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv::sheet {

class XmlPullReader {
public:
    enum class Event { StartElement, EndElement, Text, End, Error };

    XmlPullReader(ZipPartStream& stream, std::string partName);

    // Inline for the common case, a token that lies whole in the buffer: a sheet has five per
    // cell, and the call costs as much as reading most of them.
    Event next() {
        Event event{};
        if (!m_pendingEnd && m_position < m_length && nextInBuffer(event))
            return event;
        return nextCarefully();
    }

    // The element's name without its namespace prefix ("c" for "x:c"), for StartElement and
    // EndElement. Like the attributes and the text, valid until the next call of next().
    std::string_view localName() const { return m_localName; }
    // An attribute of the StartElement by its name without prefix ("id" for "r:id"). Inline and
    // compared by hand: a sheet asks two or three times per cell for names of a letter or two.
    std::optional<std::string_view> attribute(std::string_view localName) const {
        for (size_t i = 0; i < m_attributeCount; ++i)
            if (sameText(m_attributeViews[i].first, localName))
                return m_attributeViews[i].second;
        return std::nullopt;
    }
    // The decoded characters of a Text event. An element's text may come in several events.
    std::string_view text() const { return m_textView; }
    const SheetError& error() const { return m_error; }

private:
    static constexpr size_t kMaxNameBytes = 256;

    static bool sameText(std::string_view a, std::string_view b) {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i])
                return false;
        return true;
    }
    bool nextInBuffer(Event& event) {
        // The NUL after the bytes read makes the look at the second byte safe.
        const char* const at = m_buffer.data() + m_position;
        if (*at != '<') {
            event = Event::Text;
            return readTextInBuffer();
        }
        if (at[1] == '/') {
            event = Event::EndElement;
            return readEndTagInBuffer();
        }
        event = Event::StartElement;
        return at[1] != '?' && at[1] != '!' && readStartTagInBuffer();
    }
    Event nextCarefully();

    int peek();
    int get();
    bool fill();
    bool fail(SheetErrorKind kind, const std::string& detail);
    bool expect(std::string_view literal);
    bool readName(std::string& name);
    // From after the opening quote to after the closing one; false on a '<', a bad entity or the
    // end of the part.
    bool readAttributeValue(std::string& value, char quote);
    bool readEntity(std::string& out);
    bool appendLimited(std::string& out, std::string_view piece);
    bool skipUntil(std::string_view terminator, std::string* kept);
    bool skipSpace();
    std::optional<Event> readMarkup(); // nothing for a comment or instruction
    // A tag that lies whole in the buffer, read with plain pointers from its '<'; false when
    // anything in it needs more care (an entity, the buffer's end, an error), and the careful
    // reading below takes it from the same place and gives the same result. A plain truth value,
    // not an optional event: that comes back through memory and stalls the loop that reads it.
    bool readStartTagInBuffer();
    bool readEndTagInBuffer();
    // A text that ends in the buffer without an entity, handed out as a view into it.
    bool readTextInBuffer();
    Event readStartTag();
    Event readEndTag();
    Event readText();
    bool checkDeclaration(const std::string& declaration);
    void pushOpen(std::string_view name);
    void popOpen();
    std::string_view innermostOpen() const;

    ZipPartStream& m_stream;
    std::string m_part;
    // The bytes read and a NUL after them, where every scan for a name, a space or a value's
    // end stops by itself: the loops over a tag need no test for the buffer's end.
    std::vector<char> m_buffer;
    size_t m_position = 0;
    size_t m_length = 0;
    bool m_atEnd = false;
    bool m_started = false;
    bool m_pendingEnd = false;

    // The names of the open elements, a slot of kMaxNameBytes for each level, innermost last:
    // room taken once, since a sheet opens and closes three elements per cell.
    std::vector<char> m_openNames;
    std::array<uint16_t, kMaxXmlDepth> m_openLengths{};
    size_t m_depth = 0;
    std::string m_name; // of the current tag when the careful reading took it
    std::string_view m_localName;
    // The current tag's attributes, names without their prefix: in the buffer when the tag lay
    // whole in it, else in m_attributes, where the careful reading keeps them across refills.
    std::array<std::pair<std::string_view, std::string_view>, kMaxXmlAttributes> m_attributeViews;
    std::vector<std::pair<std::string, std::string>> m_attributes;
    size_t m_attributeCount = 0;
    std::string m_text; // a text the careful reading decoded
    std::string_view m_textView;
    SheetError m_error{SheetErrorKind::Corrupt, {}};
};

} // namespace qv::sheet
