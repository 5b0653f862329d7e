#pragma once

#include "cli/CommandLine.h"
#include "link/CGlobalData.h"
#include "link/Frame.h"
#include "link/LinkEvent.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <iosfwd>
#include <map>
#include <mutex>

namespace qvctl {

// The link to the appliance for one qvctl run: connects, logs on, and sends requests and waits
// for their answers with a deadline. The receive thread only queues events; they are applied to
// the store here, on the main thread, as the window does on its own.
class ApplianceSession : public qv::EventSink {
public:
    // Messages go to `err`.
    ApplianceSession(const Options& options, std::ostream& err);
    ~ApplianceSession() override;

    // Connects and logs on. Returns an exit code; on failure the message is on standard error.
    int logOn(const std::string& password);
    // Sends `frame` and waits for `event`, the event its reply raises (which is not always the
    // request's code: the DDNS check is answered by DdnsIdChecked). The event is applied to the
    // store and handed back in `reply`. Other events that arrive meanwhile are applied and set
    // aside.
    // `progress`, when given, is told how many payload bytes of a large frame went out.
    int request(const qv::Frame& frame, qv::ReplyEvent event, qv::LinkEvent* reply = nullptr,
                const std::function<void(size_t sent, size_t total)>& progress = {});
    // Sends `frame` without waiting for anything; kExitLinkLost, with the message on standard
    // error, when the link ended instead.
    int send(const qv::Frame& frame,
             const std::function<void(size_t sent, size_t total)>& progress = {});
    // Sends a change and waits for its confirmation `event`. kExitChangeRefused, with a message
    // naming `what`, when the appliance answers anything but success.
    int change(const qv::Frame& frame, qv::ReplyEvent event, const std::string& what);
    // The tables that a change sends whole.
    enum class Table { CenterIds, Wol, BlockIps, Schedules };
    // Sends the store's `table` whole and waits for the appliance's verdict, as change() does;
    // then reads the table back and checks that it holds what was sent. The appliance keeps one
    // table for every client: when another administrator wrote in between, this change is gone
    // (or that one is), which is said on standard error with kExitChangeOverwritten.
    // `refusal`, when given, is said instead of the general words when the appliance refuses.
    int writeTable(Table table, const std::string& what, const std::string& refusal = {});
    // Sends a request that has no answer and ends the link (Save & Reboot: the appliance
    // reboots at once).
    int sendLast(const qv::Frame& frame);
    // Waits for `event` without sending anything.
    int waitFor(qv::ReplyEvent event, qv::LinkEvent* reply = nullptr);
    // The same with a limit of its own instead of --timeout; `waiting`, when given, is told
    // once a second how long the wait has lasted.
    int waitFor(qv::ReplyEvent event, qv::LinkEvent* reply, std::chrono::seconds limit,
                const std::function<void(std::chrono::seconds waited)>& waiting);

    qv::CGlobalData& store() { return m_store; }
    // From the logon answer: its value less 100, kept within 1..100.
    int32_t maxCenterIds() const { return m_store.maxCenterIdCount; }

    void post(qv::LinkEvent event) override;

private:
    const Options& m_options;
    std::ostream& m_err;
    qv::CGlobalData m_store;
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<qv::LinkEvent> m_events;
    // Each table's slots as last read: a write is checked against the change made since.
    std::map<Table, std::map<std::string, int>> m_asRead;
};

} // namespace qvctl
