#include "Session.h"

#include "CMySocket.h"
#include "Commands.h"
#include "ExitCodes.h"
#include "Requests.h"

#include <algorithm>
#include <iostream>

namespace qvctl {

ApplianceSession::ApplianceSession(const Options& options) : m_options(options) {
    m_store.link = std::make_unique<qv::CMySocket>();
}

ApplianceSession::~ApplianceSession() {
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
        std::cerr << "qvctl: cannot connect to " << m_options.server << "\n";
        return kExitConnectFailed;
    }
    qv::LinkEvent answer;
    if (const int status = request(qv::request::logon(m_options.user, password),
                                   qv::ReplyEvent::LogonAnswered, &answer);
        status != kExitOk)
        return status;
    if (!qv::result::kLogonAccepted.holds(answer.value)) {
        std::cerr << "qvctl: logon refused: check the administrator ID and password (the "
                     "appliance answered "
                  << answer.value << ")\n";
        return kExitLogonRefused;
    }
    m_store.maxCenterIdCount = std::clamp(answer.value - qv::result::kLogonLimitOffset, 1, 100);
    m_store.PageIndex = 1;
    return kExitOk;
}

int ApplianceSession::request(const qv::Frame& frame, qv::ReplyEvent event, qv::LinkEvent* reply,
                              const std::function<void(size_t, size_t)>& progress) {
    if (!m_store.link->Send(frame, progress)) {
        std::cerr << "qvctl: the link to " << m_options.server << " was lost while sending\n";
        return kExitLinkLost;
    }
    return waitFor(event, reply);
}

int ApplianceSession::sendLast(const qv::Frame& frame) {
    const bool sent = m_store.link->Send(frame);
    m_store.link->Close();
    if (!sent) {
        std::cerr << "qvctl: the link to " << m_options.server << " was lost while sending\n";
        return kExitLinkLost;
    }
    return kExitOk;
}

int ApplianceSession::change(const qv::Frame& frame, qv::ReplyEvent event,
                             const std::string& what) {
    qv::LinkEvent answer;
    if (const int status = request(frame, event, &answer); status != kExitOk)
        return status;
    if (answer.value != qv::result::kSuccess) {
        std::cerr << "qvctl: the appliance refused " << what << " (it answered " << answer.value
                  << ")\n";
        return kExitChangeRefused;
    }
    return kExitOk;
}

int ApplianceSession::waitFor(qv::ReplyEvent event, qv::LinkEvent* reply) {
    const auto deadline = std::chrono::steady_clock::now() + m_options.timeout;
    std::unique_lock lock(m_mutex);
    for (;;) {
        while (!m_events.empty()) {
            qv::LinkEvent next = std::move(m_events.front());
            m_events.pop_front();
            if (next.code == qv::ReplyEvent::LinkEnded) {
                std::cerr << "qvctl: the link to " << m_options.server
                          << " ended before the answer came\n";
                return kExitLinkLost;
            }
            lock.unlock();
            qv::applyReplyToStore(m_store, next);
            lock.lock();
            if (next.code == event) {
                if (reply != nullptr)
                    *reply = std::move(next);
                return kExitOk;
            }
        }
        if (m_arrived.wait_until(lock, deadline) == std::cv_status::timeout && m_events.empty()) {
            std::cerr << "qvctl: no answer from " << m_options.server << " within "
                      << m_options.timeout.count() << " s"
                      << (event == qv::ReplyEvent::LogonAnswered
                              ? " (an appliance serves one administrator at a time: is another "
                                "client connected?)"
                              : "")
                      << "\n";
            return kExitLinkLost;
        }
    }
}

} // namespace qvctl
