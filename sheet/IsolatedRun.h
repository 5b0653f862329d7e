#pragma once

// Runs a piece of work in a process of its own, with a time and memory allowance, and hands its
// answer back as bytes: work on untrusted input (the .xls reader) that exhausts memory, loops or
// crashes ends that process only. One file per platform (IsolatedRunPosix.cpp); there is no
// Windows side yet, so the spreadsheet files are not built for Windows.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace qv::sheet {

// Where the isolated work writes its answer; the caller gets the bytes in the order written.
class IsolatedOutput {
public:
    virtual void write(const void* data, size_t size) = 0;

protected:
    ~IsolatedOutput() = default;
};

struct IsolationLimits {
    std::chrono::milliseconds time; // from the start until the answer is complete
    uint64_t memory = 0;            // the process may take this much beyond the caller's own
    size_t answerBytes = 0;         // a longer answer is not read
};

enum class IsolatedEnd {
    Answered,       // the work returned; `answer` holds all it wrote
    NotStarted,     // no process (or no channel to it) could be made
    TookTooLong,    // stopped at the time limit
    AnswerTooLarge, // stopped when its answer passed the limit
    Stopped,        // it ended otherwise: a crash, or its memory allowance ran out
};

struct IsolatedResult {
    IsolatedEnd end = IsolatedEnd::NotStarted;
    std::string answer;
};

// Runs `work` in another process and waits for it to end; the caller's own state is not
// touched by anything `work` does.
IsolatedResult runIsolated(const std::function<void(IsolatedOutput&)>& work,
                           const IsolationLimits& limits);

} // namespace qv::sheet
