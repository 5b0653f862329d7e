#pragma once

#include "link/ByteSource.h"
#include "link/Frame.h"
#include "link/LinkEvent.h"

#include <memory>
#include <vector>

namespace qv {

struct ReplyRule;

// Reads reply frames from the appliance and turns each into its event. Every length is decided
// the moment the header arrives, from the reply catalogue, before anything is read: counts are
// limited to the slots of their table, negative counts carry no payload, and unknown codes are
// consumed as bare headers.
class ReplyReader {
public:
    enum class Step {
        Event,    // `event` holds a reply to post
        Consumed, // a frame was read that posts nothing (reply 25, unknown codes)
        End       // the stream ended or broke; nothing of a cut-off frame is delivered
    };

    explicit ReplyReader(ByteSource& source);
    Step next(LinkEvent& event);
    // The header of the last frame read, for diagnostics.
    const FrameHeader& lastHeader() const { return m_header; }

private:
    bool readPayload(const ReplyRule& rule, LinkEvent& event);
    bool drain(size_t length);

    ByteSource& m_source;
    FrameHeader m_header;
    std::vector<uint8_t> m_staging; // the largest payload, reused for every frame
};

// Reads request frames on the appliance's side. Announced upload lengths above the limit, and
// codes that are never sent, end the stream: the appliance cannot know where the next header
// begins.
class RequestReader {
public:
    explicit RequestReader(ByteSource& source);
    // False when the stream ended or the frame was unreadable; `frame` then holds nothing useful.
    bool next(Frame& frame);

private:
    bool readPayload(size_t length, std::vector<uint8_t>& payload);

    ByteSource& m_source;
    std::unique_ptr<uint8_t[]> m_staging; // one block of an upload, as it arrives
};

} // namespace qv
