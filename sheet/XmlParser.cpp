#include "sheet/XmlParser.h"

#include "sheet/SheetLimits.h"

#include <expat.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <new>
#include <string>

namespace qv::sheet {
namespace {

constexpr size_t kChunkBytes = 64 * kKiB;
constexpr size_t kMaxNameBytes = 256;

bool isUtf8Name(std::string encoding) {
    std::transform(encoding.begin(), encoding.end(), encoding.begin(),
                   [](char c) { return static_cast<char>(std::toupper(static_cast<int>(c))); });
    return encoding == "UTF-8" || encoding == "UTF8";
}

// One parse of one part: the expat parser, its limits and the handler it feeds.
class ExpatRun {
public:
    ExpatRun(std::string_view part, XmlHandler& handler)
        : m_part(part), m_handler(handler), m_parser(XML_ParserCreate("UTF-8")) {
        if (!m_parser)
            return;
        XML_SetUserData(m_parser, this);
        XML_SetElementHandler(m_parser, onStart, onEnd);
        XML_SetCharacterDataHandler(m_parser, onText);
        XML_SetXmlDeclHandler(m_parser, onDeclaration);
        XML_SetCommentHandler(m_parser, onQuietEvent);
        XML_SetProcessingInstructionHandler(m_parser, onInstruction);
        // Refused at its first bytes, before any declaration in it is read.
        XML_SetStartDoctypeDeclHandler(m_parser, onDoctype);
        XML_SetEntityDeclHandler(m_parser, onEntity);
        XML_SetParamEntityParsing(m_parser, XML_PARAM_ENTITY_PARSING_NEVER);
#ifdef XML_DTD
        // Nothing gets this far with the DOCTYPE refused; kept in case a later change lets one
        // through.
        XML_SetBillionLaughsAttackProtectionMaximumAmplification(m_parser, 10.0f);
        XML_SetBillionLaughsAttackProtectionActivationThreshold(m_parser, kMiB);
#endif
    }
    ~ExpatRun() {
        if (m_parser)
            XML_ParserFree(m_parser);
    }
    ExpatRun(const ExpatRun&) = delete;
    ExpatRun& operator=(const ExpatRun&) = delete;

    // Feeds the part piece by piece straight into the parser's own buffer. `read(buffer, size)`
    // gives up to `size` bytes, 0 at the end, or a negative count with `readError()` saying why.
    template <typename Read, typename ReadError>
    SheetStatus feed(const Read& read, const ReadError& readError) {
        if (!m_parser)
            return sheetError(SheetErrorKind::LimitExceeded, "not enough memory for the XML");
        bool first = true;
        // Bytes fed in pieces that gave not a single event: the parser is holding one token (a
        // tag, a comment, an instruction) and would go on growing its buffer for it.
        size_t quietBytes = 0;
        for (;;) {
            auto* const buffer = static_cast<char*>(XML_GetBuffer(m_parser, kChunkBytes));
            if (!buffer)
                return outcome();
            const long got = read(buffer, kChunkBytes);
            if (got < 0)
                return readError();
            // A byte-order mark of UTF-16: the parser would only call it malformed.
            if (first && got > 0 && (buffer[0] == '\xFE' || buffer[0] == '\xFF'))
                return sheetError(SheetErrorKind::Unsupported,
                                  "part " + m_part + ": encoded in UTF-16, not UTF-8");
            first = false;
            m_events = 0;
            const bool last = got == 0;
            if (XML_ParseBuffer(m_parser, static_cast<int>(got), last) != XML_STATUS_OK)
                return outcome();
            if (last)
                return {};
            quietBytes = m_events == 0 ? quietBytes + static_cast<size_t>(got) : 0;
            if (quietBytes > kMaxXmlTokenBytes)
                return sheetError(SheetErrorKind::LimitExceeded,
                                  "part " + m_part + ": XML markup longer than a cell holds");
        }
    }

private:
    static ExpatRun& of(void* data) {
        return *static_cast<ExpatRun*>(data);
    }

    bool halted() const {
        return m_stopped || m_error.has_value();
    }

    void follow(XmlHandler::Next next) {
        if (next == XmlHandler::Next::Stop) {
            m_stopped = true;
            XML_StopParser(m_parser, XML_FALSE);
        }
    }

    void fail(SheetErrorKind kind, const std::string& detail) {
        if (!m_error)
            m_error = sheetError(kind, "part " + m_part + ": " + detail);
        XML_StopParser(m_parser, XML_FALSE);
    }

    // The handlers run inside the C parser: nothing may be thrown through it.
    template <typename Body> void guarded(const Body& body) {
        if (halted())
            return; // the parser may still report what it had in hand when it was stopped
        ++m_events;
        try {
            body();
        } catch (const std::bad_alloc&) {
            fail(SheetErrorKind::LimitExceeded, "not enough memory for the XML");
        }
    }

    SheetStatus outcome() const {
        if (m_error)
            return *m_error;
        if (m_stopped)
            return {};
        const XML_Error code = XML_GetErrorCode(m_parser);
        if (code == XML_ERROR_NO_MEMORY)
            return sheetError(SheetErrorKind::LimitExceeded,
                              "part " + m_part + ": not enough memory for the XML");
        return sheetError(SheetErrorKind::Corrupt,
                          "part " + m_part + ": " + XML_ErrorString(code) + " at line " +
                              std::to_string(XML_GetCurrentLineNumber(m_parser)));
    }

    static void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attributes) {
        ExpatRun& run = of(data);
        run.guarded([&] {
            if (run.m_depth == kMaxXmlDepth)
                return run.fail(SheetErrorKind::LimitExceeded, "XML nested deeper than a sheet is");
            const size_t nameBytes = std::strlen(name);
            if (nameBytes > kMaxNameBytes)
                return run.fail(SheetErrorKind::LimitExceeded, "an XML name longer than 256 bytes");
            // The whole tag as it stands in the part, its names and values with it.
            if (static_cast<size_t>(XML_GetCurrentByteCount(run.m_parser)) > kMaxXmlTokenBytes)
                return run.fail(SheetErrorKind::LimitExceeded,
                                "an XML tag longer than a cell holds");
            size_t count = 0;
            for (const XML_Char** p = attributes; *p; p += 2)
                if (++count > kMaxXmlAttributes)
                    return run.fail(SheetErrorKind::LimitExceeded,
                                    "more attributes than an element has");
            ++run.m_depth;
            run.follow(run.m_handler.start(withoutPrefix(std::string_view(name, nameBytes)),
                                           XmlAttributes(attributes)));
        });
    }

    static void XMLCALL onEnd(void* data, const XML_Char* name) {
        ExpatRun& run = of(data);
        run.guarded([&] {
            --run.m_depth;
            run.follow(run.m_handler.end(withoutPrefix(name)));
        });
    }

    static void XMLCALL onText(void* data, const XML_Char* text, int length) {
        ExpatRun& run = of(data);
        run.guarded([&] {
            run.follow(run.m_handler.text(std::string_view(text, static_cast<size_t>(length))));
        });
    }

    static void XMLCALL onDeclaration(void* data, const XML_Char*, const XML_Char* encoding, int) {
        ExpatRun& run = of(data);
        run.guarded([&] {
            // The parser reads every part as UTF-8 whatever it declares; one that says it is
            // something else would be read wrong, not merely slower.
            if (encoding && !isUtf8Name(encoding))
                run.fail(SheetErrorKind::Unsupported,
                         "encoded in " + std::string(encoding) + ", not UTF-8");
        });
    }

    static void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*,
                                  int) {
        of(data).fail(SheetErrorKind::Corrupt, "a DOCTYPE, refused");
    }

    static void XMLCALL onEntity(void* data, const XML_Char*, int, const XML_Char*, int,
                                 const XML_Char*, const XML_Char*, const XML_Char*,
                                 const XML_Char*) {
        of(data).fail(SheetErrorKind::Corrupt, "an entity declaration, refused");
    }

    static void XMLCALL onQuietEvent(void* data, const XML_Char*) {
        of(data).guarded([] {});
    }

    static void XMLCALL onInstruction(void* data, const XML_Char*, const XML_Char*) {
        of(data).guarded([] {});
    }

    std::string m_part;
    XmlHandler& m_handler;
    XML_Parser m_parser;
    size_t m_depth = 0;
    size_t m_events = 0; // in the piece being parsed
    bool m_stopped = false;
    std::optional<SheetError> m_error;
};

} // namespace

SheetStatus parseXmlStream(ZipPartStream& stream, std::string_view part, XmlHandler& handler) {
    ExpatRun run(part, handler);
    return run.feed([&](char* buffer, size_t size) { return stream.read(buffer, size); },
                    [&]() -> SheetStatus { return stream.error(); });
}

SheetStatus parseXmlBytes(std::string_view bytes, std::string_view part, XmlHandler& handler) {
    ExpatRun run(part, handler);
    size_t at = 0;
    return run.feed(
        [&](char* buffer, size_t size) {
            const size_t piece = std::min(size, bytes.size() - at);
            std::copy_n(bytes.data() + at, piece, buffer);
            at += piece;
            return static_cast<long>(piece);
        },
        []() -> SheetStatus { return {}; });
}

} // namespace qv::sheet
