#pragma once

#include "link/ByteSource.h"
#include "link/LinkEvent.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace qvtest {

using Bytes = std::vector<uint8_t>;

// An independent scrambler written from the appliance's description, so the tests do not check
// the library's scrambler against itself.
Bytes refScramble(const Bytes& plain);
Bytes refUnscramble(const Bytes& wire);
// The wire bytes of a header laid out by hand: code, three zero bytes, little-endian value.
Bytes refHeader(uint8_t cmd, int32_t value);
// A whole frame: header, then the payload scrambled as a block of its own or raw.
Bytes refFrame(uint8_t cmd, int32_t value, const Bytes& plainPayload = {}, bool scrambled = true);

// Deterministic filler bytes that differ from slot to slot and from seed to seed.
Bytes pattern(size_t length, uint32_t seed);
// Writes `text` into `bytes` at `offset`, as a record field holds it (no terminator added).
void putText(Bytes& bytes, size_t offset, const std::string& text);
Bytes concat(std::initializer_list<Bytes> parts);

// An event sink for tests: a thread-safe queue with a wait that gives up at a deadline.
class EventQueue : public qv::EventSink {
public:
    void post(qv::LinkEvent event) override;
    // The next event, or nothing when none arrived within `timeout`.
    std::optional<qv::LinkEvent> waitNext(std::chrono::milliseconds timeout = kWait);
    // Events that are already there, without waiting.
    std::vector<qv::LinkEvent> takeAll();
    size_t size() const;

    static constexpr std::chrono::milliseconds kWait{10000};

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<qv::LinkEvent> m_events;
};

// Bytes in memory served as a stream. `chunks` gives the sizes of the pieces in which the bytes
// are handed over (cycled; empty means all at once), like a socket that returns partial reads.
// A read that asks for more than is left fails, and so does every read after it.
class MemorySource : public qv::ByteSource {
public:
    explicit MemorySource(Bytes data, std::vector<size_t> chunks = {});
    // Serves the first `size` bytes at `data` without copying them; they must outlive the source.
    MemorySource(const uint8_t* data, size_t size, std::vector<size_t> chunks = {});
    bool readExact(uint8_t* buffer, size_t length) override;
    size_t position() const { return m_position; }
    // How many underlying pieces were handed over so far.
    size_t pieces() const { return m_pieces; }

private:
    Bytes m_owned;
    const uint8_t* m_data;
    size_t m_size;
    std::vector<size_t> m_chunks;
    size_t m_nextChunk = 0;
    size_t m_position = 0;
    size_t m_pieces = 0;
};

// Everything a ReplyReader yields from `wire`: the events, and whether the stream ended at
// once after them (Consumed steps are counted in `consumed`).
struct ReadOutcome {
    std::vector<qv::LinkEvent> events;
    size_t consumed = 0;
};
ReadOutcome readAllReplies(const Bytes& wire, std::vector<size_t> chunks = {});

// The reply table of the conversation, written out independently of the library's catalogue:
// reply code -> event, by name and by the number the window message carries, and the payload
// that follows.
enum class Follows { Nothing, Always, WhenPositive, PerEntry };
struct ReplyKind {
    uint8_t cmd;
    qv::ReplyEvent event;
    int eventNumber; // -1: posts nothing
    Follows follows;
    size_t size; // payload bytes (per entry for PerEntry)
    bool scrambled;
    int32_t slots; // capacity of the table the count describes; 0 when there is none
};
const std::vector<ReplyKind>& replyKinds();

// A frame of this kind with `count` in its header and a plain payload of the right size.
struct Sample {
    Bytes wire;
    Bytes plainPayload;
};
Sample sampleOf(const ReplyKind& kind, int32_t count, uint32_t seed);
// A count that carries a payload of a few entries.
int32_t typicalCount(const ReplyKind& kind);

// Each kind of reply once, in code order, with the events it must give.
Bytes everyKindOnce(std::vector<qv::LinkEvent>& expected);
// Compares events field by field (payloads without printing them whole).
void expectEvents(const std::vector<qv::LinkEvent>& actual,
                  const std::vector<qv::LinkEvent>& expected);

} // namespace qvtest
