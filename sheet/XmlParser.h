#pragma once

// Every XML part of an .xlsx package goes through libexpat, the parser most hardened against
// hostile XML, and through the same limits: the large parts (the sheet and the shared strings)
// are fed to it piece by piece straight from the inflate stream, so a read can stop at the end of
// the requested block and never holds more than one piece; the small parts are fed from memory.
//
// A DOCTYPE is refused: no spreadsheet program writes one, and entity declarations are how XML
// bombs are built. No entity beyond the five predefined ones and character references is
// expanded, and nothing outside the package is ever loaded.

#include "sheet/SheetError.h"
#include "sheet/ZipArchive.h"

#include <optional>
#include <string_view>

namespace qv::sheet {

// The part of a name after its namespace prefix: "c" for "x:c", "id" for "r:id".
inline std::string_view withoutPrefix(std::string_view name) {
    const size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// The attributes of one start tag, as the parser hands them over: name, value, name, value, ...,
// a null pointer at the end. Valid during the call that receives them.
class XmlAttributes {
public:
    explicit XmlAttributes(const char** pairs) : m_pairs(pairs) {}

    // A value by the attribute's name without prefix ("id" finds "r:id"). A sheet asks two or
    // three times per cell for names of a letter or two, so no index is built and the names are
    // compared in place.
    std::optional<std::string_view> get(std::string_view localName) const {
        for (const char** p = m_pairs; *p; p += 2)
            if (hasLocalName(*p, localName, false))
                return std::string_view(p[1]);
        return std::nullopt;
    }
    // Only an attribute whose name has a prefix: "r:id" but not a plain "id".
    std::optional<std::string_view> getPrefixed(std::string_view localName) const {
        for (const char** p = m_pairs; *p; p += 2)
            if (hasLocalName(*p, localName, true))
                return std::string_view(p[1]);
        return std::nullopt;
    }

private:
    static bool hasLocalName(const char* name, std::string_view localName, bool prefixed) {
        const char* local = name;
        for (const char* p = name; *p; ++p)
            if (*p == ':')
                local = p + 1;
        if (prefixed && local == name)
            return false;
        for (const char c : localName)
            if (*local++ != c)
                return false;
        return *local == '\0';
    }

    const char** m_pairs;
};

// What a part's reader does with the parser's events. Names come without their prefix. A text
// may come in several pieces. A handler that has what it needs, or finds the part wrong, answers
// Stop and keeps its own outcome.
class XmlHandler {
public:
    enum class Next { Go, Stop };

    virtual Next start(std::string_view name, const XmlAttributes& attributes) = 0;
    virtual Next end(std::string_view name) = 0;
    virtual Next text(std::string_view text) = 0;

protected:
    ~XmlHandler() = default;
};

// Parses the part from the stream until its end or until the handler stops. An error says what
// was wrong with the XML or with the stream; a handler's stop is no error here.
SheetStatus parseXmlStream(ZipPartStream& stream, std::string_view part, XmlHandler& handler);
// The same for a part already in memory.
SheetStatus parseXmlBytes(std::string_view bytes, std::string_view part, XmlHandler& handler);

} // namespace qv::sheet
