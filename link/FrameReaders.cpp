#include "link/FrameReaders.h"

#include "link/Catalogue.h"
#include "link/Records.h"
#include "link/Scrambler.h"

#include <algorithm>

namespace qv {
namespace {

// A payload up to this long is read in place; a longer one (an upload) arrives this many bytes
// at a time into a staging block and is appended to the payload, whose capacity grows
// geometrically. Memory follows the bytes that arrived (at most about twice them, plus one
// block), never the length a header announced.
constexpr size_t kRequestChunk = 256 * 1024;

} // namespace

ReplyReader::ReplyReader(ByteSource& source) : m_source(source) {}

ReplyReader::Step ReplyReader::next(LinkEvent& event) {
    uint8_t wire[kHeaderSize];
    if (!m_source.readExact(wire, sizeof wire))
        return Step::End;
    m_header = decodeHeader(wire);

    const ReplyRule* rule = findReplyRule(m_header.cmd);
    if (rule == nullptr)
        return Step::Consumed;

    event.code = rule->event;
    event.value = m_header.dwCount;
    event.payload.clear();
    if (!readPayload(*rule, event))
        return Step::End;
    // The event's count never promises more slots than its table has.
    if (rule->maxCount > 0)
        event.value = std::min(event.value, rule->maxCount);
    return rule->event == ReplyEvent::None ? Step::Consumed : Step::Event;
}

bool ReplyReader::readPayload(const ReplyRule& rule, LinkEvent& event) {
    const int32_t count = m_header.dwCount;
    size_t length = 0;
    size_t surplus = 0;
    switch (rule.payload) {
    case PayloadRule::None:
    case PayloadRule::RawLength:
        return true;
    case PayloadRule::Always:
        length = rule.size;
        break;
    case PayloadRule::WhenPositive:
        length = count > 0 ? rule.size : 0;
        break;
    case PayloadRule::PerEntry:
        if (count > 0) {
            // Keep what the store can hold; read and drop the rest so the stream stays in step.
            const size_t kept = static_cast<size_t>(std::min(count, rule.maxCount));
            length = kept * rule.size;
            surplus = (static_cast<size_t>(count) - kept) * rule.size;
        }
        break;
    }
    if (length == 0)
        return true;

    m_staging.resize(length);
    if (!m_source.readExact(m_staging.data(), length))
        return false;
    if (surplus > 0 && !drain(surplus))
        return false;
    event.payload.resize(length);
    if (rule.scrambled)
        UnscrambleBlock(m_staging.data(), event.payload.data(), length);
    else
        std::copy(m_staging.begin(), m_staging.end(), event.payload.begin());
    return true;
}

bool ReplyReader::drain(size_t length) {
    uint8_t sink[4096];
    while (length > 0) {
        const size_t part = std::min(length, sizeof sink);
        if (!m_source.readExact(sink, part))
            return false;
        length -= part;
    }
    return true;
}

RequestReader::RequestReader(ByteSource& source) : m_source(source) {}

bool RequestReader::next(Frame& frame) {
    uint8_t wire[kHeaderSize];
    if (!m_source.readExact(wire, sizeof wire))
        return false;
    const FrameHeader header = decodeHeader(wire);
    const RequestRule* rule = findRequestRule(header.cmd);
    if (rule == nullptr)
        return false;

    frame.cmd = header.cmd;
    frame.dwCount = header.dwCount;
    frame.scrambled = rule->scrambled;
    size_t length = 0;
    switch (rule->payload) {
    case PayloadRule::None:
    case PayloadRule::PerEntry:
        break;
    case PayloadRule::Always:
        length = rule->size;
        break;
    case PayloadRule::WhenPositive:
        length = header.dwCount > 0 ? rule->size : 0;
        break;
    case PayloadRule::RawLength:
        if (header.dwCount > kMaxUploadBytes)
            return false;
        length = header.dwCount > 0 ? static_cast<size_t>(header.dwCount) : 0;
        break;
    }
    if (!readPayload(length, frame.payload))
        return false;
    if (rule->scrambled)
        UnscrambleBlock(frame.payload.data(), frame.payload.data(), length);
    return true;
}

bool RequestReader::readPayload(size_t length, std::vector<uint8_t>& payload) {
    payload.clear();
    if (length == 0)
        return true; // an empty vector has no buffer to read into
    if (length <= kRequestChunk) {
        payload.resize(length);
        return m_source.readExact(payload.data(), length);
    }
    // Appending from the staging block never zero-fills the payload, and growing its capacity
    // ourselves keeps each reallocation (a copy and fresh pages) to one per doubling.
    if (!m_staging)
        m_staging = std::make_unique_for_overwrite<uint8_t[]>(kRequestChunk);
    while (payload.size() < length) {
        const size_t chunk = std::min(kRequestChunk, length - payload.size());
        if (!m_source.readExact(m_staging.get(), chunk))
            return false;
        if (payload.capacity() - payload.size() < chunk)
            payload.reserve(
                std::min(length, std::max(2 * payload.capacity(), payload.size() + chunk)));
        payload.insert(payload.end(), m_staging.get(), m_staging.get() + chunk);
    }
    return true;
}

} // namespace qv
