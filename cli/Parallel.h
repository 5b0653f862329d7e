#pragma once

#include "cli/Inventory.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace qv {
class CMySocket;
}

namespace qvctl {

// The exit status of a run over an inventory when it is not every appliance's own: appliances
// failed in different ways, or Ctrl+C stopped the run (the shell's status for SIGINT).
inline constexpr int kExitSeveralFailures = 8;
inline constexpr int kExitInterrupted = 130;

// How many appliances run at once unless --parallel says otherwise.
inline constexpr size_t kDefaultParallel = 8;
// More workers than this only queue on the appliances' links and on qvctl's memory.
inline constexpr size_t kMaxParallel = 256;

// What one appliance's run came to.
struct RunOutcome {
    InventoryEntry appliance;
    int exit = 0;
    std::string out; // what the command printed
    std::string err; // its messages (standard error of a single run)
    std::chrono::milliseconds elapsed{};
};

struct RunTotals {
    size_t appliances = 0;
    size_t finished = 0;
    size_t failed = 0; // of those finished
    bool stopped = false;
    std::vector<int> failures; // the exit status of each that failed
    size_t notStarted() const { return appliances - finished; }
};

// The command on one appliance: prints its result on `out` and returns its exit status. Whatever
// it writes to std::cout or std::cerr on its own thread lands in its outcome too, so the messages
// of many appliances never interleave.
using ApplianceJob = std::function<int(const InventoryEntry& appliance, std::ostream& out)>;

// Runs a job on every appliance of an inventory, at most `parallel` at once: a fixed pool of
// worker threads takes appliances from the list in order. Each outcome is handed to `finished`
// as soon as it is known, one at a time under one lock, so lines printed there never mix.
class ParallelRun {
public:
    ParallelRun(std::vector<InventoryEntry> appliances, size_t parallel);
    ParallelRun(const ParallelRun&) = delete;
    ParallelRun& operator=(const ParallelRun&) = delete;

    // Returns when every appliance started has finished. While it runs, Ctrl+C (SIGINT) stops
    // the run as stop() does instead of ending the program, which could leave half a change on
    // an appliance without a word.
    RunTotals run(const ApplianceJob& job, const std::function<void(const RunOutcome&)>& finished);

    // From any thread: no further appliance is started, and the links of those running are cut,
    // so their commands end at once with a lost link instead of waiting for their time-outs.
    void stop();

    // Called by a link's owner on a worker thread (the session with one appliance): a stop cuts
    // the links watched at that moment. Does nothing on a thread that is not a run's worker.
    static void watchLink(qv::CMySocket* link);
    static void unwatchLink(qv::CMySocket* link);

private:
    void work(const ApplianceJob& job, const std::function<void(const RunOutcome&)>& finished);
    void cutLinks();

    std::vector<InventoryEntry> m_appliances;
    size_t m_parallel;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex; // guards everything below
    std::condition_variable m_workerEnded;
    size_t m_next = 0;
    size_t m_workersRunning = 0;
    RunTotals m_totals;
    std::set<qv::CMySocket*> m_links;
    std::mutex m_printMutex;
};

// The exit status of a whole run: 0 only when every appliance succeeded; the appliances' own
// status when all that failed failed alike; else kExitSeveralFailures, or kExitInterrupted
// after Ctrl+C.
int runExitCode(const RunTotals& totals);

// Output of a run. The table: a header, then one row per appliance as it finishes (its name,
// how long it took and its result: the command's output or its error, on one line); the result
// goes last because it is the only cell whose width is not known before the run.
std::string tableHeader(const std::vector<InventoryEntry>& appliances);
std::string tableRow(const RunOutcome& outcome, size_t nameWidth);
size_t nameColumnWidth(const std::vector<InventoryEntry>& appliances);
// With --json: one object a line, {"appliance", "address", "exit", "ms"} and "result" (the
// command's JSON output) on success or "error" (its message) on failure. Bytes that are not
// UTF-8 become U+FFFD, so every line parses.
std::string jsonLine(const RunOutcome& outcome);
// The last line: how many succeeded and failed, and after a stop how many never started.
std::string summaryLine(const RunTotals& totals);

// A whole run as qvctl prints it: the table's header, then each appliance's row (or JSON line)
// on `out` the moment it finishes, then the summary line (on `err` with --json, so that `out`
// holds nothing but JSON lines). Returns the run's exit status (runExitCode).
int runOverInventory(const std::vector<InventoryEntry>& appliances, size_t parallel, bool json,
                     const ApplianceJob& job, std::ostream& out, std::ostream& err);

} // namespace qvctl
