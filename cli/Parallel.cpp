#include "cli/Parallel.h"

#include "cli/Report.h"
#include "link/CMySocket.h"
#include "res/Message.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <ostream>
#include <streambuf>
#include <thread>

namespace qvctl {
namespace {

using qv::StringId;

// Set by Ctrl+C; the run's own thread sees it within one check interval and stops the run, since
// a signal handler may do no more than set a lock-free flag.
static_assert(std::atomic<bool>::is_always_lock_free);
std::atomic<bool> g_interrupted{false};
constexpr std::chrono::milliseconds kCheckInterval{50};

extern "C" void onInterrupt(int) {
    g_interrupted.store(true);
}

// Text written on a worker's thread, kept for its outcome.
class StringSink : public std::streambuf {
public:
    explicit StringSink(std::string& target) : m_target(target) {}

protected:
    int_type overflow(int_type c) override {
        if (c != traits_type::eof())
            m_target.push_back(static_cast<char>(c));
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        m_target.append(text, static_cast<size_t>(count));
        return count;
    }

private:
    std::string& m_target;
};

// std::cout and std::cerr during a run: a worker's thread writes into its appliance's outcome,
// every other thread to the stream as before. Commands and the session write their messages to
// these streams, and many appliances at once must not mix their lines.
thread_local std::string* t_outTarget = nullptr;
thread_local std::string* t_errTarget = nullptr;
thread_local ParallelRun* t_run = nullptr;

class RoutingBuffer : public std::streambuf {
public:
    RoutingBuffer(std::streambuf* original, bool errors) : m_original(original), m_errors(errors) {}
    std::streambuf* original() const { return m_original; }

protected:
    int_type overflow(int_type c) override {
        if (std::string* target = current()) {
            if (c != traits_type::eof())
                target->push_back(static_cast<char>(c));
            return traits_type::not_eof(c);
        }
        if (c == traits_type::eof())
            return traits_type::not_eof(c);
        return m_original->sputc(static_cast<char>(c));
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        if (std::string* target = current()) {
            target->append(text, static_cast<size_t>(count));
            return count;
        }
        return m_original->sputn(text, count);
    }
    int sync() override { return current() != nullptr ? 0 : m_original->pubsync(); }

private:
    std::string* current() const { return m_errors ? t_errTarget : t_outTarget; }

    std::streambuf* m_original;
    bool m_errors;
};

// Routes the standard streams and takes Ctrl+C for as long as a run lasts.
class RunScope {
public:
    RunScope() : m_out(std::cout.rdbuf(), false), m_err(std::cerr.rdbuf(), true) {
        std::cout.flush();
        std::cout.rdbuf(&m_out);
        std::cerr.rdbuf(&m_err);
        g_interrupted.store(false);
        m_previous = std::signal(SIGINT, onInterrupt);
    }
    ~RunScope() {
        std::signal(SIGINT, m_previous == SIG_ERR ? SIG_DFL : m_previous);
        std::cout.rdbuf(m_out.original());
        std::cerr.rdbuf(m_err.original());
        std::cout.flush();
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    RoutingBuffer m_out;
    RoutingBuffer m_err;
    void (*m_previous)(int) = SIG_DFL;
};

// A command's lines as one line: trimmed, blank ones left out, joined with "; ". qvctl's own
// prefix on messages says nothing in a table of qvctl's results.
std::string oneLine(const std::string& text) {
    std::string joined;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos)
            continue;
        line = line.substr(first, line.find_last_not_of(" \t\r") + 1 - first);
        if (line.rfind("qvctl: ", 0) == 0)
            line.erase(0, 7);
        joined += (joined.empty() ? "" : "; ") + line;
    }
    return joined;
}

std::string padded(const std::string& text, size_t width) {
    const size_t shown = displayWidth(text);
    return text + std::string(width > shown ? width - shown : 0, ' ');
}

std::string seconds(std::chrono::milliseconds elapsed) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(elapsed.count()) / 1000.0);
    return text;
}

constexpr size_t kTimeWidth = 9;

} // namespace

ParallelRun::ParallelRun(std::vector<InventoryEntry> appliances, size_t parallel)
    : m_appliances(std::move(appliances)),
      m_parallel(std::clamp<size_t>(parallel, 1, kMaxParallel)) {}

RunTotals ParallelRun::run(const ApplianceJob& job,
                           const std::function<void(const RunOutcome&)>& finished) {
    RunScope scope;
    m_totals = {};
    m_totals.appliances = m_appliances.size();
    const size_t workers = std::min(m_parallel, m_appliances.size());
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(m_mutex);
        m_workersRunning = workers;
    }
    for (size_t i = 0; i < workers; ++i)
        threads.emplace_back([&] { work(job, finished); });
    {
        std::unique_lock lock(m_mutex);
        while (m_workersRunning > 0) {
            m_workerEnded.wait_for(lock, kCheckInterval);
            if (g_interrupted.load())
                m_stop.store(true);
            // Cut again on every check: a link whose Connect began after the first cut gives up
            // at the next one.
            if (m_stop.load()) {
                lock.unlock();
                cutLinks();
                lock.lock();
            }
        }
    }
    for (auto& thread : threads)
        thread.join();
    m_totals.stopped = m_stop.load();
    return m_totals;
}

void ParallelRun::stop() {
    m_stop.store(true);
    cutLinks();
}

void ParallelRun::cutLinks() {
    std::lock_guard lock(m_mutex);
    for (qv::CMySocket* link : m_links)
        link->Interrupt();
}

void ParallelRun::watchLink(qv::CMySocket* link) {
    if (t_run == nullptr)
        return;
    std::lock_guard lock(t_run->m_mutex);
    t_run->m_links.insert(link);
    // A link made after the stop is cut by the run's next check.
}

void ParallelRun::unwatchLink(qv::CMySocket* link) {
    if (t_run == nullptr)
        return;
    std::lock_guard lock(t_run->m_mutex);
    t_run->m_links.erase(link);
}

void ParallelRun::work(const ApplianceJob& job,
                       const std::function<void(const RunOutcome&)>& finished) {
    t_run = this;
    for (;;) {
        size_t index;
        {
            std::lock_guard lock(m_mutex);
            if (m_stop.load() || m_next == m_appliances.size())
                break;
            index = m_next++;
        }
        RunOutcome outcome;
        outcome.appliance = m_appliances[index];
        const auto start = std::chrono::steady_clock::now();
        {
            StringSink sink(outcome.out);
            std::ostream out(&sink);
            t_outTarget = &outcome.out;
            t_errTarget = &outcome.err;
            outcome.exit = job(outcome.appliance, out);
            t_outTarget = nullptr;
            t_errTarget = nullptr;
        }
        outcome.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        {
            std::lock_guard lock(m_mutex);
            ++m_totals.finished;
            if (outcome.exit != 0) {
                ++m_totals.failed;
                m_totals.failures.push_back(outcome.exit);
            }
        }
        std::lock_guard printing(m_printMutex);
        finished(outcome);
    }
    t_run = nullptr;
    {
        std::lock_guard lock(m_mutex);
        --m_workersRunning;
    }
    m_workerEnded.notify_all();
}

int runExitCode(const RunTotals& totals) {
    if (totals.stopped)
        return kExitInterrupted;
    if (totals.failures.empty())
        return 0;
    const int first = totals.failures.front();
    return std::all_of(totals.failures.begin(), totals.failures.end(),
                       [first](int code) { return code == first; })
               ? first
               : kExitSeveralFailures;
}

size_t nameColumnWidth(const std::vector<InventoryEntry>& appliances) {
    size_t width = displayWidth(std::string(qv::uiString(StringId::InventoryColumnName)));
    for (const auto& appliance : appliances)
        width = std::max(width, displayWidth(appliance.name));
    return width;
}

std::string tableHeader(const std::vector<InventoryEntry>& appliances) {
    const std::string time(qv::uiString(StringId::InventoryColumnTime));
    return padded(std::string(qv::uiString(StringId::InventoryColumnName)),
                  nameColumnWidth(appliances)) +
           "  " + std::string(kTimeWidth - std::min(kTimeWidth, displayWidth(time)), ' ') + time +
           "  " + std::string(qv::uiString(StringId::InventoryColumnResult)) + "\n";
}

std::string tableRow(const RunOutcome& outcome, size_t nameWidth) {
    std::string result = oneLine(outcome.exit == 0 ? outcome.out : outcome.err);
    if (result.empty())
        result = outcome.exit == 0 ? std::string(qv::uiString(StringId::InventoryResultOk))
                                   : "exit " + std::to_string(outcome.exit);
    const std::string time = seconds(outcome.elapsed);
    return padded(outcome.appliance.name, nameWidth) + "  " +
           std::string(kTimeWidth - std::min(kTimeWidth, time.size()), ' ') + time + "  " + result +
           "\n";
}

std::string jsonLine(const RunOutcome& outcome) {
    nlohmann::ordered_json line;
    line["appliance"] = outcome.appliance.name;
    line["address"] = outcome.appliance.address;
    line["exit"] = outcome.exit;
    line["ms"] = outcome.elapsed.count();
    if (outcome.exit == 0) {
        // A command's --json output is one JSON value; a command that prints none (a change
        // that only succeeds) has a null result, and any other text is kept as a string.
        nlohmann::ordered_json result = nullptr;
        if (outcome.out.find_first_not_of(" \t\r\n") != std::string::npos) {
            result = nlohmann::ordered_json::parse(outcome.out, nullptr, false);
            if (result.is_discarded())
                result = outcome.out;
        }
        line["result"] = std::move(result);
    } else {
        line["error"] = oneLine(outcome.err);
    }
    return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::string summaryLine(const RunTotals& totals) {
    const auto n = [](size_t count) { return std::to_string(count); };
    if (totals.stopped)
        return qv::format(qv::Message{StringId::InventorySummaryStopped,
                                      {n(totals.finished), n(totals.appliances),
                                       n(totals.finished - totals.failed), n(totals.failed),
                                       n(totals.notStarted())}}) +
               "\n";
    return qv::format(qv::Message{
               StringId::InventorySummary,
               {n(totals.appliances), n(totals.finished - totals.failed), n(totals.failed)}}) +
           "\n";
}

int runOverInventory(const std::vector<InventoryEntry>& appliances, size_t parallel, bool json,
                     const ApplianceJob& job, std::ostream& out, std::ostream& err) {
    const size_t nameWidth = nameColumnWidth(appliances);
    if (!json)
        out << tableHeader(appliances) << std::flush;
    ParallelRun run(appliances, parallel);
    // Each line is flushed as it is written: whoever reads the output sees an appliance's
    // result when it is known, not when the slowest one is done.
    const RunTotals totals = run.run(job, [&](const RunOutcome& outcome) {
        out << (json ? jsonLine(outcome) : tableRow(outcome, nameWidth)) << std::flush;
    });
    (json ? err : out) << summaryLine(totals) << std::flush;
    return runExitCode(totals);
}

} // namespace qvctl
