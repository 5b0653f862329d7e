#pragma once

// A pull reader for the large parts of an .xlsx package (the sheet and the shared strings):
// it inflates the part piece by piece and hands out one element or text at a time, so a read
// can stop at the end of the requested block and never holds more than one token. The small
// parts go to pugixml whole.
//
// It reads the XML spreadsheet programs write: UTF-8, the five predefined entities and
// character references, CDATA, comments and processing instructions. A DOCTYPE is refused:
// no spreadsheet program writes one, and entity declarations are how XML bombs are built.

#include "SheetError.h"
#include "ZipArchive.h"

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

    Event next();

    // The element's name without its namespace prefix ("c" for "x:c"), for StartElement and
    // EndElement.
    std::string_view localName() const;
    // An attribute of the StartElement by its name without prefix ("id" for "r:id").
    std::optional<std::string_view> attribute(std::string_view localName) const;
    // The decoded characters of a Text event. An element's text may come in several events.
    const std::string& text() const { return m_text; }
    const SheetError& error() const { return m_error; }

private:
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
    // A tag that lies whole in the buffer, read with plain pointers; nothing when anything in
    // it needs more care (an entity, the buffer's end, an error), and the careful reading below
    // takes it from the same place and gives the same result.
    std::optional<Event> readStartTagInBuffer();
    std::optional<Event> readEndTagInBuffer();
    Event readStartTag();
    Event readEndTag();
    Event readText();
    bool checkDeclaration(const std::string& declaration);

    ZipPartStream& m_stream;
    std::string m_part;
    std::vector<char> m_buffer;
    size_t m_position = 0;
    size_t m_length = 0;
    bool m_atEnd = false;
    bool m_started = false;
    bool m_pendingEnd = false;

    std::vector<std::string> m_open; // names of the open elements, innermost last
    std::string m_name;              // of the current start or end tag
    // The current tag's attributes, names without their prefix: in the buffer when the tag lay
    // whole in it, else in m_attributes, where the careful reading keeps them across refills.
    std::vector<std::pair<std::string_view, std::string_view>> m_attributeViews;
    std::vector<std::pair<std::string, std::string>> m_attributes;
    size_t m_attributeCount = 0;
    std::string m_text;
    SheetError m_error{SheetErrorKind::Corrupt, {}};
};

} // namespace qv::sheet
