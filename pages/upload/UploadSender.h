#pragma once

#include "core/upload/UploadRules.h"
#include "res/StringIds.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <thread>

namespace qv {
class CGlobalData;
class CMySocket;
} // namespace qv

// Reads a file and sends it to the appliance on a thread of its own, so the window stays
// responsive while up to 16 MB go out. The upload is one frame through the link, exactly as a
// small request; the appliance cannot take part of a file, so Cancel closes the link.
class UploadSender : public QObject {
    Q_OBJECT
public:
    enum class Ending {
        Sent,         // every byte went out; the appliance's answer is still to come
        Refused,      // the file was not sent: `refusal` says why
        NotConnected, // there was no link to send on; nothing is said, as for any request
        LinkLost,     // the link ended while the file went out, or the appliance took nothing
                      // for the link's time-out (it stopped reading)
        Cancelled,    // the administrator cancelled; the link is closed
    };

    explicit UploadSender(qv::CGlobalData& store, QObject* parent = nullptr);
    ~UploadSender() override;

    bool busy() const { return m_busy; }
    // Starts reading and sending `path` (ignored while busy). Reports come as signals on the
    // user-interface thread: progressed while bytes go out, then ended exactly once.
    void start(qv::upload::Kind kind, const QString& path);
    // Closes the link and waits until the sending thread has stopped.
    void cancel();

Q_SIGNALS:
    void progressed(qint64 sent, qint64 total);
    void ended(UploadSender::Ending ending, qv::StringId refusal);

private:
    void run(qv::CMySocket* link, qv::upload::Kind kind, const std::string& path);
    void report(Ending ending, qv::StringId refusal = {});
    void joinWorker();

    qv::CGlobalData& m_store;
    std::thread m_worker;
    bool m_busy = false;
    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_sending{false};
};
