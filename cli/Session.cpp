#include "cli/Session.h"

#include "cli/ExitCodes.h"
#include "cli/Parallel.h"
#include "link/Answers.h"
#include "link/ApplianceLimits.h"
#include "link/CMySocket.h"
#include "link/Commands.h"
#include "link/Requests.h"
#include "res/Message.h"
#include "res/StringTable.h"

#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <string>

namespace qvctl {
namespace {

// Each slot in use, counted: a change is a set of slots added and removed, wherever they stand.
using TableContents = std::map<std::string, int>;

// The slots in use of a table as a read back must return them: bytes that belong to the
// appliance (a Wake-on-LAN slot's first four, a schedule's sequence number) are left out, since
// it may give them anew when it stores the table.
template <class Table>
TableContents contentsOf(const Table& table, int32_t count, size_t ownOffset = 0,
                         size_t ownWidth = 0) {
    TableContents out;
    const size_t used = static_cast<size_t>(std::clamp<int32_t>(count, 0, Table::kSlots));
    for (size_t i = 0; i < used; ++i) {
        auto entry = table.entry(i);
        std::fill_n(entry.bytes.begin() + static_cast<std::ptrdiff_t>(ownOffset), ownWidth, 0);
        ++out[std::string(entry.bytes.begin(), entry.bytes.end())];
    }
    return out;
}

int countOf(const TableContents& contents, const std::string& slot) {
    const auto found = contents.find(slot);
    return found == contents.end() ? 0 : found->second;
}

// Whether `readBack` holds the change from `before` to `sent`: the slots it added are there, the
// slots it removed are gone. What another administrator changed elsewhere does not count.
bool holdsChange(const TableContents& before, const TableContents& sent,
                 const TableContents& readBack) {
    for (const auto& [slot, count] : sent)
        if (count > countOf(before, slot) && countOf(readBack, slot) < count)
            return false;
    for (const auto& [slot, count] : before)
        if (countOf(sent, slot) < count && countOf(readBack, slot) > countOf(sent, slot))
            return false;
    return true;
}

std::optional<ApplianceSession::Table> tableArriving(qv::ReplyEvent event) {
    using T = ApplianceSession::Table;
    switch (event) {
    case qv::ReplyEvent::CenterIdsArrived:
        return T::CenterIds;
    case qv::ReplyEvent::WolArrived:
        return T::Wol;
    case qv::ReplyEvent::BlockIpsArrived:
        return T::BlockIps;
    case qv::ReplyEvent::SchedulesArrived:
        return T::Schedules;
    default:
        return std::nullopt;
    }
}

TableContents contentsOf(const qv::CGlobalData& store, ApplianceSession::Table table) {
    using T = ApplianceSession::Table;
    switch (table) {
    case T::CenterIds:
        return contentsOf(store.centerIdTable, store.centerIdCount);
    case T::Wol:
        return contentsOf(store.wolTable, store.wolCount, 0, 4);
    case T::BlockIps:
        return contentsOf(store.blockIpTable, store.blockIpCount);
    case T::Schedules:
        return contentsOf(*store.scheduleTable, store.scheduleCount, 8, 4);
    }
    return {};
}

struct TableRequests {
    qv::Frame write;
    qv::ReplyEvent applied;
    qv::Frame read;
    qv::ReplyEvent arrived;
};

TableRequests requestsOf(const qv::CGlobalData& store, ApplianceSession::Table table) {
    using T = ApplianceSession::Table;
    using E = qv::ReplyEvent;
    namespace rq = qv::request;
    switch (table) {
    case T::CenterIds:
        return {rq::writeCenterIds(store.centerIdCount, store.centerIdTable), E::CenterIdsApplied,
                rq::readCenterIds(), E::CenterIdsArrived};
    case T::Wol:
        return {rq::writeWol(store.wolCount, store.wolTable), E::WolApplied, rq::readWol(),
                E::WolArrived};
    case T::BlockIps:
        return {rq::writeBlockIps(store.blockIpCount, store.blockIpTable), E::BlockIpsApplied,
                rq::readBlockIps(), E::BlockIpsArrived};
    case T::Schedules:
        return {rq::writeSchedule(store.scheduleCount, *store.scheduleTable), E::SchedulesApplied,
                rq::readSchedule(), E::SchedulesArrived};
    }
    return {};
}

} // namespace

ApplianceSession::ApplianceSession(const Options& options, std::ostream& err)
    : m_options(options), m_err(err) {
    m_store.link = std::make_unique<qv::CMySocket>();
    // On a run over many appliances, Ctrl+C cuts this link.
    ParallelRun::watchLink(m_store.link.get());
}

ApplianceSession::~ApplianceSession() {
    ParallelRun::unwatchLink(m_store.link.get());
    // Close joins the receive thread before the queue goes away.
    if (m_store.link)
        m_store.link->Close();
}

void ApplianceSession::post(qv::LinkEvent event) {
    {
        std::lock_guard lock(m_mutex);
        m_events.push_back(std::move(event));
    }
    m_arrived.notify_all();
}

int ApplianceSession::logOn(const std::string& password) {
    // --timeout bounds the connection too, so a silent address fails as soon as an answer would.
    if (!m_store.link->Connect(this, m_options.server, qv::kDefaultPort, m_options.timeout)) {
        m_err << "qvctl: cannot connect to " << m_options.server << "\n";
        return kExitConnectFailed;
    }
    qv::LinkEvent answer;
    if (const int status = request(qv::request::logon(m_options.user, password),
                                   qv::ReplyEvent::LogonAnswered, &answer);
        status != kExitOk)
        return status;
    if (!qv::result::kLogonAccepted.holds(answer.value)) {
        m_err << "qvctl: logon refused: check the administrator ID and password (the "
                 "appliance answered "
              << answer.value << ")\n";
        return kExitLogonRefused;
    }
    m_store.maxCenterIdCount = std::clamp(answer.value - qv::result::kLogonLimitOffset,
                                          qv::limits::kMinCenterIds, qv::limits::kMaxCenterIds);
    m_store.PageIndex = 1;
    return kExitOk;
}

int ApplianceSession::request(const qv::Frame& frame, qv::ReplyEvent event, qv::LinkEvent* reply,
                              const std::function<void(size_t, size_t)>& progress) {
    if (const int status = send(frame, progress); status != kExitOk)
        return status;
    return waitFor(event, reply);
}

int ApplianceSession::send(const qv::Frame& frame,
                           const std::function<void(size_t, size_t)>& progress) {
    if (!m_store.link->Send(frame, progress)) {
        m_err << "qvctl: the link to " << m_options.server
              << " was lost while sending, or the appliance took nothing for "
              << m_options.timeout.count() << " s\n";
        return kExitLinkLost;
    }
    return kExitOk;
}

int ApplianceSession::sendLast(const qv::Frame& frame) {
    const bool sent = m_store.link->Send(frame);
    m_store.link->Close();
    if (!sent) {
        m_err << "qvctl: the link to " << m_options.server
              << " was lost while sending, or the appliance took nothing for "
              << m_options.timeout.count() << " s\n";
        return kExitLinkLost;
    }
    return kExitOk;
}

int ApplianceSession::change(const qv::Frame& frame, qv::ReplyEvent event,
                             const std::string& what) {
    qv::LinkEvent answer;
    if (const int status = request(frame, event, &answer); status != kExitOk)
        return status;
    if (!qv::answer::confirmsChange(event, answer.value)) {
        m_err << "qvctl: the appliance refused " << what << " (it answered " << answer.value
              << ")\n";
        return kExitChangeRefused;
    }
    return kExitOk;
}

int ApplianceSession::writeTable(Table table, const std::string& what, const std::string& refusal) {
    const auto read = m_asRead.find(table);
    const std::optional<TableContents> before =
        read == m_asRead.end() ? std::nullopt : std::optional<TableContents>(read->second);
    const TableContents sent = contentsOf(m_store, table);
    const TableRequests requests = requestsOf(m_store, table);
    qv::LinkEvent answer;
    if (const int status = request(requests.write, requests.applied, &answer); status != kExitOk)
        return status;
    if (!qv::answer::confirmsChange(requests.applied, answer.value)) {
        if (refusal.empty())
            m_err << "qvctl: the appliance refused " << what << " (it answered " << answer.value
                  << ")\n";
        else
            m_err << "qvctl " << m_options.command << ": " << refusal << " (" << answer.value
                  << ")\n";
        return kExitChangeRefused;
    }
    if (const int status = request(requests.read, requests.arrived); status != kExitOk)
        return status;
    const TableContents readBack = contentsOf(m_store, table);
    if (before ? !holdsChange(*before, sent, readBack) : readBack != sent) {
        m_err << "qvctl: "
              << qv::format(qv::uiString(qv::StringId::CliTableChangedMeanwhile), {what}) << "\n";
        return kExitChangeOverwritten;
    }
    return kExitOk;
}

int ApplianceSession::waitFor(qv::ReplyEvent event, qv::LinkEvent* reply) {
    return waitFor(event, reply, m_options.timeout, {});
}

int ApplianceSession::waitFor(qv::ReplyEvent event, qv::LinkEvent* reply,
                              std::chrono::seconds limit,
                              const std::function<void(std::chrono::seconds)>& waiting) {
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + limit;
    std::unique_lock lock(m_mutex);
    for (;;) {
        while (!m_events.empty()) {
            qv::LinkEvent next = std::move(m_events.front());
            m_events.pop_front();
            if (next.code == qv::ReplyEvent::LinkEnded) {
                m_err << "qvctl: the link to " << m_options.server
                      << " ended before the answer came\n";
                return kExitLinkLost;
            }
            lock.unlock();
            qv::applyReplyToStore(m_store, next);
            // What a table held when it was read is what a change to it starts from.
            if (const auto table = tableArriving(next.code))
                m_asRead[*table] = contentsOf(m_store, *table);
            lock.lock();
            if (next.code == event) {
                if (reply != nullptr)
                    *reply = std::move(next);
                return kExitOk;
            }
        }
        // Whoever watches is told the time waited once a second.
        const auto next =
            waiting ? std::min(deadline, std::chrono::steady_clock::now() + std::chrono::seconds(1))
                    : deadline;
        if (m_arrived.wait_until(lock, next) == std::cv_status::timeout && m_events.empty()) {
            const auto now = std::chrono::steady_clock::now();
            if (waiting && now < deadline) {
                lock.unlock();
                waiting(std::chrono::duration_cast<std::chrono::seconds>(now - start));
                lock.lock();
                continue;
            }
            m_err << "qvctl: no answer from " << m_options.server << " within " << limit.count()
                  << " s"
                  << (event == qv::ReplyEvent::LogonAnswered
                          ? " (an appliance may serve one administrator at a time: is "
                            "another client connected?)"
                          : "")
                  << "\n";
            return kExitLinkLost;
        }
    }
}

} // namespace qvctl
