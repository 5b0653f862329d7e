#include "tests/link/TestSupport.h"

#include "link/FrameReaders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace qvtest {

using qv::LinkEvent;

namespace {

// Key 41233, multiplier 52711, addend 39117, all modulo 65536; the key advances with the
// scrambled byte in both directions.
Bytes refRun(const Bytes& in, bool scramble) {
    Bytes out(in.size());
    uint32_t key = 41233;
    for (size_t i = 0; i < in.size(); ++i) {
        out[i] = static_cast<uint8_t>(in[i] ^ ((key >> 8) & 0xFF));
        const uint8_t wire = scramble ? out[i] : in[i];
        key = ((key + wire) * 52711u + 39117u) & 0xFFFF;
    }
    return out;
}

} // namespace

Bytes refScramble(const Bytes& plain) {
    return refRun(plain, true);
}

Bytes refUnscramble(const Bytes& wire) {
    return refRun(wire, false);
}

Bytes refHeader(uint8_t cmd, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    return refScramble({cmd, 0, 0, 0, static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                        static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)});
}

Bytes refFrame(uint8_t cmd, int32_t value, const Bytes& plainPayload, bool scrambled) {
    Bytes out = refHeader(cmd, value);
    const Bytes payload = scrambled ? refScramble(plainPayload) : plainPayload;
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

Bytes pattern(size_t length, uint32_t seed) {
    Bytes out(length);
    uint32_t x = seed * 2654435761u + 12345u;
    for (auto& b : out) {
        x = x * 1103515245u + 12345u;
        b = static_cast<uint8_t>(x >> 16);
    }
    return out;
}

void putText(Bytes& bytes, size_t offset, const std::string& text) {
    std::copy(text.begin(), text.end(), bytes.begin() + static_cast<ptrdiff_t>(offset));
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

void EventQueue::post(qv::LinkEvent event) {
    {
        std::lock_guard lock(m_mutex);
        m_events.push_back(std::move(event));
    }
    m_arrived.notify_all();
}

std::optional<qv::LinkEvent> EventQueue::waitNext(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    if (!m_arrived.wait_for(lock, timeout, [this] { return !m_events.empty(); }))
        return std::nullopt;
    qv::LinkEvent event = std::move(m_events.front());
    m_events.pop_front();
    return event;
}

std::vector<qv::LinkEvent> EventQueue::takeAll() {
    std::lock_guard lock(m_mutex);
    std::vector<qv::LinkEvent> out(std::make_move_iterator(m_events.begin()),
                                   std::make_move_iterator(m_events.end()));
    m_events.clear();
    return out;
}

size_t EventQueue::size() const {
    std::lock_guard lock(m_mutex);
    return m_events.size();
}

MemorySource::MemorySource(Bytes data, std::vector<size_t> chunks)
    : m_owned(std::move(data)), m_data(m_owned.data()), m_size(m_owned.size()),
      m_chunks(std::move(chunks)) {}

MemorySource::MemorySource(const uint8_t* data, size_t size, std::vector<size_t> chunks)
    : m_data(data), m_size(size), m_chunks(std::move(chunks)) {}

bool MemorySource::readExact(uint8_t* buffer, size_t length) {
    if (m_size - m_position < length) {
        m_position = m_size; // like a closed socket: once it failed, nothing more comes
        return false;
    }
    size_t done = 0;
    while (done < length) {
        size_t piece = length - done;
        if (!m_chunks.empty()) {
            piece = std::min(piece, std::max<size_t>(1, m_chunks[m_nextChunk]));
            m_nextChunk = (m_nextChunk + 1) % m_chunks.size();
        }
        std::memcpy(buffer + done, m_data + m_position, piece);
        m_position += piece;
        done += piece;
        ++m_pieces;
    }
    return true;
}

ReadOutcome readAllReplies(const Bytes& wire, std::vector<size_t> chunks) {
    MemorySource source(wire, std::move(chunks));
    qv::ReplyReader reader(source);
    ReadOutcome outcome;
    for (;;) {
        qv::LinkEvent event;
        const auto step = reader.next(event);
        if (step == qv::ReplyReader::Step::End)
            break;
        if (step == qv::ReplyReader::Step::Event)
            outcome.events.push_back(std::move(event));
        else
            ++outcome.consumed;
    }
    return outcome;
}

const std::vector<ReplyKind>& replyKinds() {
    using E = qv::ReplyEvent;
    static const std::vector<ReplyKind> kinds{
        {1, E::LogonAnswered, 1, Follows::Nothing, 0, true, 0},
        {2, E::SummaryArrived, 2, Follows::Always, 316, true, 0},
        {3, E::AdminChangeAnswered, 3, Follows::Nothing, 0, true, 0},
        {4, E::CenterIdsArrived, 4, Follows::WhenPositive, 13130, true, 101},
        {5, E::CenterIdsApplied, 5, Follows::Nothing, 0, true, 0},
        {6, E::WolArrived, 6, Follows::Always, 10100, true, 101},
        {7, E::WolApplied, 7, Follows::Nothing, 0, true, 0},
        {8, E::NetworkArrived, 8, Follows::Always, 316, true, 0},
        {10, E::DdnsIdChecked, 9, Follows::Nothing, 0, true, 0},
        {11, E::MacRegistrationAnswered, 10, Follows::Nothing, 0, true, 0},
        {12, E::DdnsRegistrationAnswered, 11, Follows::Nothing, 0, true, 0},
        {13, E::UpdateStepReported, 12, Follows::Nothing, 0, true, 0},
        {14, E::LogoAnswered, 13, Follows::Nothing, 0, true, 0},
        {15, E::ActiveXPageUploaded, 14, Follows::Nothing, 0, true, 0},
        {16, E::AutoUpdateArrived, 16, Follows::Nothing, 0, true, 0},
        {17, E::AutoUpdateApplied, 17, Follows::Nothing, 0, true, 0},
        {18, E::RebootAnswered, 15, Follows::Nothing, 0, true, 0},
        {19, E::FirmwareUpdateAnswered, 18, Follows::Nothing, 0, true, 0},
        {20, E::WebArchiveUploaded, 24, Follows::Nothing, 0, true, 0},
        {21, E::IoListArrived, 20, Follows::WhenPositive, 45056, true, 1024},
        {22, E::SchedulesArrived, 21, Follows::WhenPositive, 90112, true, 2048},
        {23, E::SchedulesApplied, 22, Follows::Nothing, 0, true, 0},
        {24, E::ServerTimeArrived, 23, Follows::Nothing, 0, true, 0},
        {25, E::None, -1, Follows::Nothing, 0, true, 0},
        {26, E::NtpServerSet, 19, Follows::Nothing, 0, true, 0},
        {27, E::BlacklistArrived, 25, Follows::PerEntry, 52, false, 2048},
        {29, E::BlockIpsArrived, 26, Follows::Always, 10100, true, 100},
        {30, E::BlockIpsApplied, 27, Follows::Nothing, 0, true, 0},
        {31, E::BlacklistCleared, 28, Follows::Nothing, 0, true, 0},
    };
    return kinds;
}

Sample sampleOf(const ReplyKind& kind, int32_t count, uint32_t seed) {
    size_t length = 0;
    switch (kind.follows) {
    case Follows::Nothing:
        break;
    case Follows::Always:
        length = kind.size;
        break;
    case Follows::WhenPositive:
        length = count > 0 ? kind.size : 0;
        break;
    case Follows::PerEntry:
        length = count > 0 ? static_cast<size_t>(count) * kind.size : 0;
        break;
    }
    Sample s;
    s.plainPayload = qvtest::pattern(length, seed);
    s.wire = refFrame(kind.cmd, count, s.plainPayload, kind.scrambled);
    return s;
}

int32_t typicalCount(const ReplyKind& kind) {
    return kind.follows == Follows::PerEntry ? 3 : 42;
}

// Each kind of reply once, in code order, with the events it must give.
Bytes everyKindOnce(std::vector<LinkEvent>& expected) {
    Bytes wire;
    uint32_t seed = 1;
    for (const ReplyKind& kind : replyKinds()) {
        const Sample s = sampleOf(kind, typicalCount(kind), seed++);
        wire.insert(wire.end(), s.wire.begin(), s.wire.end());
        if (kind.event != qv::ReplyEvent::None)
            expected.push_back(LinkEvent{kind.event, typicalCount(kind), s.plainPayload});
    }
    return wire;
}

void expectEvents(const std::vector<LinkEvent>& actual, const std::vector<LinkEvent>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        SCOPED_TRACE("event #" + std::to_string(i) + " code " +
                     std::to_string(static_cast<int>(expected[i].code)));
        EXPECT_EQ(actual[i].code, expected[i].code);
        EXPECT_EQ(actual[i].value, expected[i].value);
        EXPECT_EQ(actual[i].payload.size(), expected[i].payload.size());
        EXPECT_TRUE(actual[i].payload == expected[i].payload);
    }
}

} // namespace qvtest
