#include "sheet/XmlPullReader.h"

#include "sheet/SheetLimits.h"
#include "sheet/Utf8.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace qv::sheet {
namespace {

constexpr size_t kChunkBytes = 64 * kKiB;

bool isSpace(int c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Looked up, not computed: names are most of what a sheet's tags hold. A colon is marked apart,
// so that a name's local part is found in the same pass.
constexpr uint8_t kNameChar = 1;
constexpr uint8_t kColon = 2;
constexpr std::array<uint8_t, 256> kNameChars = [] {
    std::array<uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[static_cast<size_t>(c)] =
            c == ':' ? kColon
            : (c > 0x7F || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
               (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.')
                ? kNameChar
                : 0;
    return table;
}();

bool isNameChar(int c) {
    return c >= 0 && kNameChars[static_cast<size_t>(c)] != 0;
}

// Where an attribute value that lies whole in the buffer may end: either quote, or a character
// that needs the careful reading ('<' is an error there, '&' starts an entity, NUL may be the
// buffer's end).
constexpr std::array<bool, 256> kValueStops = [] {
    std::array<bool, 256> table{};
    for (const char c : {'"', '\'', '<', '&', '\0'})
        table[static_cast<unsigned char>(c)] = true;
    return table;
}();

// The run of name characters from `p`, which the buffer's closing NUL ends, and where its part
// after the last colon starts.
struct NameRun {
    const char* end;
    const char* local;
};

NameRun scanName(const char* p) {
    const char* local = p;
    while (const uint8_t kind = kNameChars[static_cast<unsigned char>(*p)]) {
        ++p;
        local = kind == kColon ? p : local;
    }
    return {p, local};
}

const char* spaceEnd(const char* p) {
    while (isSpace(static_cast<unsigned char>(*p)))
        ++p;
    return p;
}

std::string_view withoutPrefix(std::string_view name) {
    const size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

} // namespace

XmlPullReader::XmlPullReader(ZipPartStream& stream, std::string partName)
    : m_stream(stream), m_part(std::move(partName)), m_buffer(kChunkBytes + 1),
      m_openNames(kMaxXmlDepth * kMaxNameBytes) {}

bool XmlPullReader::fill() {
    if (m_atEnd)
        return false;
    const long got = m_stream.read(m_buffer.data(), kChunkBytes);
    if (got < 0) {
        m_error = m_stream.error();
        m_atEnd = true;
        return false;
    }
    m_position = 0;
    m_length = static_cast<size_t>(got);
    m_buffer[m_length] = '\0';
    m_atEnd = got == 0;
    return got > 0;
}

int XmlPullReader::peek() {
    if (m_position == m_length && !fill())
        return -1;
    return static_cast<unsigned char>(m_buffer[m_position]);
}

int XmlPullReader::get() {
    const int c = peek();
    if (c >= 0)
        ++m_position;
    return c;
}

bool XmlPullReader::fail(SheetErrorKind kind, const std::string& detail) {
    // A failed read of the part itself already says what went wrong.
    if (m_error.detail.empty())
        m_error = sheetError(kind, "part " + m_part + ": " + detail);
    m_atEnd = true;
    m_position = m_length;
    return false;
}

bool XmlPullReader::expect(std::string_view literal) {
    for (const char c : literal)
        if (get() != static_cast<unsigned char>(c))
            return fail(SheetErrorKind::Corrupt, "malformed XML");
    return true;
}

bool XmlPullReader::skipSpace() {
    while (m_position < m_length || fill()) {
        while (m_position < m_length && isSpace(static_cast<unsigned char>(m_buffer[m_position])))
            ++m_position;
        if (m_position < m_length)
            break;
    }
    return true;
}

bool XmlPullReader::appendLimited(std::string& out, std::string_view piece) {
    if (out.size() + piece.size() > kMaxXmlTokenBytes)
        return fail(SheetErrorKind::LimitExceeded, "an XML text or tag longer than a cell holds");
    out.append(piece);
    return true;
}

bool XmlPullReader::readName(std::string& name) {
    name.clear();
    // A run of name characters at a time: a sheet has two names per cell.
    while (m_position < m_length || fill()) {
        const char* begin = m_buffer.data() + m_position;
        const char* end = m_buffer.data() + m_length;
        const char* stop = scanName(begin).end;
        const auto run = static_cast<size_t>(stop - begin);
        if (name.size() + run > kMaxNameBytes)
            return fail(SheetErrorKind::LimitExceeded, "an XML name longer than 256 bytes");
        name.append(begin, run);
        m_position += run;
        if (stop != end)
            break;
    }
    return !name.empty() || fail(SheetErrorKind::Corrupt, "malformed XML");
}

bool XmlPullReader::readAttributeValue(std::string& value, char quote) {
    value.clear();
    for (;;) {
        if (m_position == m_length && !fill())
            return false;
        const char* begin = m_buffer.data() + m_position;
        const char* end = m_buffer.data() + m_length;
        const char* stop = begin;
        while (stop != end && *stop != quote && *stop != '<' && *stop != '&')
            ++stop;
        if (!appendLimited(value, std::string_view(begin, static_cast<size_t>(stop - begin))))
            return false;
        m_position += static_cast<size_t>(stop - begin);
        if (stop == end)
            continue;
        ++m_position;
        if (*stop == quote)
            return true;
        if (*stop == '<' || !readEntity(value))
            return false;
    }
}

bool XmlPullReader::readEntity(std::string& out) {
    // Called after '&'.
    std::string entity;
    for (int c = get(); c != ';'; c = get()) {
        if (c < 0 || entity.size() > 10)
            return fail(SheetErrorKind::Corrupt, "malformed entity reference");
        entity += static_cast<char>(c);
    }
    char single = 0;
    if (entity == "lt")
        single = '<';
    else if (entity == "gt")
        single = '>';
    else if (entity == "amp")
        single = '&';
    else if (entity == "quot")
        single = '"';
    else if (entity == "apos")
        single = '\'';
    if (single)
        return appendLimited(out, std::string_view(&single, 1));
    if (entity.size() < 2 || entity[0] != '#')
        return fail(SheetErrorKind::Corrupt, "undefined entity &" + entity + ";");
    const bool hex = entity[1] == 'x';
    uint32_t code = 0;
    for (size_t i = hex ? 2 : 1; i < entity.size(); ++i) {
        const char c = entity[i];
        uint32_t digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<uint32_t>(c - '0');
        else if (hex && c >= 'a' && c <= 'f')
            digit = static_cast<uint32_t>(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F')
            digit = static_cast<uint32_t>(c - 'A' + 10);
        else
            return fail(SheetErrorKind::Corrupt, "malformed character reference");
        code = code * (hex ? 16 : 10) + digit;
        if (code > 0x10FFFF)
            return fail(SheetErrorKind::Corrupt, "character reference beyond Unicode");
    }
    if (code == 0 || (code >= 0xD800 && code <= 0xDFFF))
        return fail(SheetErrorKind::Corrupt, "character reference to no character");
    std::string encoded;
    appendUtf8(encoded, code);
    return appendLimited(out, encoded);
}

bool XmlPullReader::skipUntil(std::string_view terminator, std::string* kept) {
    size_t matched = 0;
    size_t skipped = 0;
    while (matched < terminator.size()) {
        const int c = get();
        if (c < 0)
            return fail(SheetErrorKind::Corrupt, "XML ends inside markup");
        if (++skipped > kMaxXmlTokenBytes)
            return fail(SheetErrorKind::LimitExceeded, "XML markup longer than a cell holds");
        if (kept)
            *kept += static_cast<char>(c);
        if (c == static_cast<unsigned char>(terminator[matched]))
            ++matched;
        else
            matched = c == static_cast<unsigned char>(terminator[0]) ? 1 : 0;
    }
    if (kept)
        kept->resize(kept->size() - terminator.size());
    return true;
}

bool XmlPullReader::checkDeclaration(const std::string& declaration) {
    const size_t at = declaration.find("encoding");
    if (at == std::string::npos)
        return true;
    const size_t open = declaration.find_first_of("\"'", at);
    if (open == std::string::npos)
        return fail(SheetErrorKind::Corrupt, "malformed XML declaration");
    const size_t close = declaration.find(declaration[open], open + 1);
    std::string encoding = declaration.substr(open + 1, close - open - 1);
    std::transform(encoding.begin(), encoding.end(), encoding.begin(),
                   [](char c) { return static_cast<char>(std::toupper(static_cast<int>(c))); });
    if (encoding != "UTF-8" && encoding != "UTF8")
        return fail(SheetErrorKind::Unsupported, "encoded in " + encoding + ", not UTF-8");
    return true;
}

void XmlPullReader::pushOpen(std::string_view name) {
    // Callers keep both limits: no name is longer, and a tag deeper than the limit is refused.
    // Copied by hand: a sheet's names are a letter or two, shorter than a call to copy them.
    char* const slot = m_openNames.data() + m_depth * kMaxNameBytes;
    for (size_t i = 0; i < name.size(); ++i)
        slot[i] = name[i];
    m_openLengths[m_depth++] = static_cast<uint16_t>(name.size());
}

void XmlPullReader::popOpen() {
    --m_depth;
}

std::string_view XmlPullReader::innermostOpen() const {
    return std::string_view(m_openNames.data() + (m_depth - 1) * kMaxNameBytes,
                            m_openLengths[m_depth - 1]);
}

XmlPullReader::Event XmlPullReader::nextCarefully() {
    if (m_pendingEnd) {
        // The name is the start tag's, still where it was: nothing was read since.
        m_pendingEnd = false;
        popOpen();
        return Event::EndElement;
    }
    if (!m_started) {
        m_started = true;
        const int first = peek();
        if (first == 0xFE || first == 0xFF)
            return fail(SheetErrorKind::Unsupported, "encoded in UTF-16, not UTF-8"), Event::Error;
        if (first == 0xEF && !expect("\xEF\xBB\xBF"))
            return Event::Error;
    }
    for (;;) {
        // After a comment, an instruction or a fill, the next token is most often whole again.
        Event event{};
        if (m_position < m_length && nextInBuffer(event))
            return event;
        const int c = peek();
        if (c < 0) {
            if (!m_error.detail.empty())
                return Event::Error;
            if (m_depth > 0)
                return fail(SheetErrorKind::Corrupt,
                            "XML ends inside <" + std::string(innermostOpen()) + ">"),
                       Event::Error;
            return Event::End;
        }
        if (c != '<')
            return readText();
        ++m_position;
        if (const auto event = readMarkup())
            return *event;
    }
}

std::optional<XmlPullReader::Event> XmlPullReader::readMarkup() {
    const int c = peek();
    if (c == '/')
        return readEndTag();
    if (c == '?') {
        std::string instruction;
        if (!skipUntil("?>", &instruction))
            return Event::Error;
        if (instruction.rfind("?xml", 0) == 0 && !checkDeclaration(instruction))
            return Event::Error;
        return std::nullopt;
    }
    if (c == '!') {
        ++m_position;
        if (peek() == '-') {
            if (!expect("--") || !skipUntil("-->", nullptr))
                return Event::Error;
            return std::nullopt;
        }
        if (peek() == '[') {
            if (!expect("[CDATA["))
                return Event::Error;
            m_text.clear();
            std::string data;
            if (!skipUntil("]]>", &data) || !appendLimited(m_text, data))
                return Event::Error;
            m_textView = m_text;
            return Event::Text;
        }
        return fail(SheetErrorKind::Corrupt, "a DOCTYPE or other declaration, refused"),
               Event::Error;
    }
    return readStartTag();
}

bool XmlPullReader::readStartTagInBuffer() {
    const char* const begin = m_buffer.data() + m_position + 1; // after the '<'
    const char* const end = m_buffer.data() + m_length;
    const NameRun name = scanName(begin);
    if (name.end == begin || static_cast<size_t>(name.end - begin) > kMaxNameBytes)
        return false;
    size_t count = 0;
    for (const char* p = spaceEnd(name.end); p != end; p = spaceEnd(p)) {
        if (*p == '>' || (*p == '/' && p[1] == '>')) {
            if (m_depth >= kMaxXmlDepth)
                return false;
            m_pendingEnd = *p == '/';
            m_position = static_cast<size_t>(p + (m_pendingEnd ? 2 : 1) - m_buffer.data());
            m_localName = std::string_view(name.local, static_cast<size_t>(name.end - name.local));
            m_attributeCount = count;
            pushOpen(std::string_view(begin, static_cast<size_t>(name.end - begin)));
            return true;
        }
        const NameRun attributeName = scanName(p);
        if (attributeName.end == p || static_cast<size_t>(attributeName.end - p) > kMaxNameBytes ||
            count == kMaxXmlAttributes)
            return false;
        const char* q = spaceEnd(attributeName.end);
        if (*q != '=')
            return false;
        q = spaceEnd(q + 1);
        if (*q != '"' && *q != '\'')
            return false;
        const char quote = *q;
        const char* const value = q + 1;
        q = value;
        for (;;) {
            while (!kValueStops[static_cast<unsigned char>(*q)])
                ++q;
            if (*q != '"' && *q != '\'')
                return false;
            if (*q == quote)
                break;
            ++q; // the other quote, which a value may hold
        }
        m_attributeViews[count++] = {
            std::string_view(attributeName.local,
                             static_cast<size_t>(attributeName.end - attributeName.local)),
            std::string_view(value, static_cast<size_t>(q - value))};
        p = q + 1;
    }
    return false;
}

bool XmlPullReader::readEndTagInBuffer() {
    const char* const begin = m_buffer.data() + m_position + 2; // after the "</"
    const NameRun name = scanName(begin);
    const char* const close = spaceEnd(name.end);
    if (*close != '>' || m_depth == 0)
        return false;
    if (!sameText(std::string_view(begin, static_cast<size_t>(name.end - begin)), innermostOpen()))
        return false;
    m_position = static_cast<size_t>(close + 1 - m_buffer.data());
    m_localName = std::string_view(name.local, static_cast<size_t>(name.end - name.local));
    popOpen();
    return true;
}

bool XmlPullReader::readTextInBuffer() {
    const char* const begin = m_buffer.data() + m_position;
    const char* stop = begin;
    while (*stop != '<' && *stop != '&' && *stop != '\0')
        ++stop;
    const auto size = static_cast<size_t>(stop - begin);
    // The text must end here: cut by the buffer's end, it may go on in the next piece.
    if (*stop != '<' || size > kMaxXmlTokenBytes)
        return false;
    const std::string_view text(begin, size);
    if (m_depth == 0 && std::any_of(text.begin(), text.end(), [](char c) { return !isSpace(c); }))
        return false;
    m_position += size;
    m_textView = text;
    return true;
}

XmlPullReader::Event XmlPullReader::readStartTag() {
    if (!readName(m_name))
        return Event::Error;
    m_attributeCount = 0;
    size_t tagBytes = m_name.size();
    for (;;) {
        skipSpace();
        const int c = get();
        if (c == '>' || c == '/') {
            if (c == '/' && get() != '>')
                return fail(SheetErrorKind::Corrupt, "malformed XML"), Event::Error;
            if (m_depth >= kMaxXmlDepth)
                return fail(SheetErrorKind::LimitExceeded, "XML nested deeper than a sheet is"),
                       Event::Error;
            pushOpen(m_name);
            m_localName = withoutPrefix(m_name);
            m_pendingEnd = c == '/';
            for (size_t i = 0; i < m_attributeCount; ++i)
                m_attributeViews[i] = {withoutPrefix(m_attributes[i].first),
                                       m_attributes[i].second};
            return Event::StartElement;
        }
        if (c < 0 || !isNameChar(c))
            return fail(SheetErrorKind::Corrupt, "malformed tag <" + m_name + ">"), Event::Error;
        if (m_attributeCount == kMaxXmlAttributes)
            return fail(SheetErrorKind::LimitExceeded, "more attributes than an element has"),
                   Event::Error;
        if (m_attributes.size() == m_attributeCount)
            m_attributes.emplace_back();
        auto& [name, value] = m_attributes[m_attributeCount++];
        --m_position;
        if (!readName(name))
            return Event::Error;
        skipSpace();
        if (get() != '=')
            return fail(SheetErrorKind::Corrupt, "malformed attribute " + name), Event::Error;
        skipSpace();
        const int quote = get();
        if (quote != '"' && quote != '\'')
            return fail(SheetErrorKind::Corrupt, "malformed attribute " + name), Event::Error;
        if (!readAttributeValue(value, static_cast<char>(quote)))
            return fail(SheetErrorKind::Corrupt, "malformed attribute " + name), Event::Error;
        tagBytes += name.size() + value.size();
        if (tagBytes > kMaxXmlTokenBytes)
            return fail(SheetErrorKind::LimitExceeded, "an XML tag longer than a cell holds"),
                   Event::Error;
    }
}

XmlPullReader::Event XmlPullReader::readEndTag() {
    ++m_position;
    if (!readName(m_name))
        return Event::Error;
    skipSpace();
    if (get() != '>')
        return fail(SheetErrorKind::Corrupt, "malformed end tag </" + m_name + ">"), Event::Error;
    if (m_depth == 0 || innermostOpen() != m_name)
        return fail(SheetErrorKind::Corrupt, "</" + m_name + "> closes no open element"),
               Event::Error;
    popOpen();
    m_localName = withoutPrefix(m_name);
    return Event::EndElement;
}

XmlPullReader::Event XmlPullReader::readText() {
    m_text.clear();
    for (;;) {
        if (m_position == m_length && !fill())
            break;
        const char* begin = m_buffer.data() + m_position;
        const char* end = m_buffer.data() + m_length;
        const char* stop = begin;
        while (stop != end && *stop != '<' && *stop != '&')
            ++stop;
        if (!appendLimited(m_text, std::string_view(begin, static_cast<size_t>(stop - begin))))
            return Event::Error;
        m_position += static_cast<size_t>(stop - begin);
        if (stop == end)
            continue;
        if (*stop == '<')
            break;
        ++m_position;
        if (!readEntity(m_text))
            return Event::Error;
    }
    if (!m_error.detail.empty())
        return Event::Error;
    if (m_depth == 0 &&
        std::any_of(m_text.begin(), m_text.end(), [](char c) { return !isSpace(c); }))
        return fail(SheetErrorKind::Corrupt, "text outside the document element"), Event::Error;
    m_textView = m_text;
    return Event::Text;
}

} // namespace qv::sheet
