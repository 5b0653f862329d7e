#include "link/CMySocket.h"

#include "link/Commands.h"
#include "link/DebugLog.h"
#include "link/FrameReaders.h"
#include "link/Wipe.h"

#include <algorithm>

namespace qv {
namespace {

class SocketByteSource : public ByteSource {
public:
    explicit SocketByteSource(SocketHandle socket) : m_socket(socket) {}
    bool readExact(uint8_t* buffer, size_t length) override {
        return ReceiveAll(m_socket, buffer, length);
    }

private:
    SocketHandle m_socket;
};

// With a progress report, a payload goes out in parts of about a 64th of it, so the report
// moves in even steps whatever the size, without a system call and a report per few bytes.
constexpr size_t kProgressSteps = 64;
constexpr size_t kSmallestPart = 64 * 1024;
constexpr size_t kLargestPart = 1024 * 1024;

} // namespace

CMySocket::~CMySocket() {
    Close();
}

bool CMySocket::Connect(EventSink* sink, const std::string& address, int port,
                        std::chrono::milliseconds timeout) {
    if (m_connected.load())
        return false;
    // A thread that ended by itself (peer gone) has left its socket for us to release.
    {
        std::lock_guard closing(m_closeMutex);
        joinFinishedThread();
    }

    ServerAddress target;
    if (!parseServerAddress(address, port, target))
        return false;
    m_port = target.port;
    m_host = target.host;
    m_sink = sink;
    m_connectCancelled.store(false);
    const SocketHandle socket = connectTcp(target, timeout, &m_connectCancelled);
    if (socket == kInvalidSocket)
        return false;
    if (!setSendTimeout(socket, timeout)) {
        closeSocket(socket);
        return false;
    }
    Endpoints ends;
    m_endpoints = endpointsOf(socket, ends) ? std::optional<Endpoints>(ends) : std::nullopt;

    m_socket.store(socket);
    m_stop.store(false);
    m_connected.store(true);
    m_thread = std::thread(&CMySocket::ClientThread, this);
    return true;
}

void CMySocket::Close() {
    std::lock_guard closing(m_closeMutex);
    m_connected.store(false);
    m_stop.store(true);
    // Shutting the socket down wakes the thread's blocking recv; it posts event 255 and ends.
    shutdownSocket(m_socket.load());
    joinFinishedThread();
}

void CMySocket::Interrupt() {
    m_connectCancelled.store(true);
    // Under the close lock the descriptor cannot be released and reused by another link while
    // it is shut down here.
    std::lock_guard closing(m_closeMutex);
    shutdownSocket(m_socket.load());
}

void CMySocket::joinFinishedThread() {
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
    // A sender on another thread (an upload) may still hold the descriptor; its send fails
    // quickly on the shut-down socket, and only then is the descriptor released for reuse.
    std::lock_guard sending(m_sendMutex);
    closeSocket(m_socket.exchange(kInvalidSocket));
}

bool CMySocket::Send(const Frame& frame,
                     const std::function<void(size_t sent, size_t total)>& progress) {
    if (!m_connected.load())
        return false;
    bool ok;
    {
        std::lock_guard sending(m_sendMutex);
        const SocketHandle socket = m_socket.load();
        const auto header = encodeHeader({frame.cmd, frame.dwCount});
        ok = SendAll(socket, header.data(), header.size());
        if (ok && !frame.payload.empty()) {
            // A raw payload (an uploaded file of up to 16 MB) goes out as it is, without a copy.
            std::vector<uint8_t> scrambled =
                frame.scrambled ? encodePayload(frame) : std::vector<uint8_t>{};
            const std::vector<uint8_t>& payload = frame.scrambled ? scrambled : frame.payload;
            if (!progress) {
                ok = SendAll(socket, payload.data(), payload.size());
            } else {
                const size_t step =
                    std::clamp(payload.size() / kProgressSteps, kSmallestPart, kLargestPart);
                for (size_t sent = 0; ok && sent < payload.size();) {
                    const size_t part = std::min(step, payload.size() - sent);
                    ok = SendAll(socket, payload.data() + sent, part);
                    sent += part;
                    if (ok)
                        progress(sent, payload.size());
                }
            }
            // A logon's scrambled payload is the password in a form anyone can reverse.
            wipe(scrambled);
        }
    }
    if (!ok)
        Close();
    return ok;
}

void CMySocket::ClientThread() {
    debugLog("ClientThread for Manager started **&&&&&**............");
    SocketByteSource source(m_socket.load());
    ReplyReader reader(source);
    while (!m_stop.load()) {
        if (!m_connected.load()) {
            debugLog("ClientThread for Manager started **&&&&&**.......err....."
                     "11111111111111111111111");
            break;
        }
        LinkEvent event;
        const ReplyReader::Step step = reader.next(event);
        if (step == ReplyReader::Step::End) {
            debugLog("ClientThread for Manager started **&&&&&**.......err....."
                     "22222222222222222222222");
            break;
        }
        const FrameHeader& header = reader.lastHeader();
        debugLog("HHHHHHH cmd = 0x%02x, dwCount = %d", static_cast<unsigned>(header.cmd),
                 header.dwCount);
        switch (header.cmd) {
        case CMD_SET_UPDATE_MSG:
            debugLog("HHHHHHH CMD_SET_UPDATE_MSG dwCount = %d", header.dwCount);
            break;
        case CMD_GET_IOLIST_MSG:
            debugLog("HHHHH - CMD_GET_IOLIST_MSG");
            break;
        case CMD_SET_BLANK_MODE:
            debugLog("CMD_SET_BLANK_MODE response. !!!!!!");
            break;
        default:
            break;
        }
        if (step == ReplyReader::Step::Event && m_sink != nullptr)
            m_sink->post(std::move(event));
        std::this_thread::sleep_for(kFramePause);
    }
    m_connected.store(false);
    if (m_sink != nullptr)
        m_sink->post(LinkEvent{ReplyEvent::LinkEnded, 0, {}});
    debugLog("ClientThread for Manager exit *********............");
}

std::string CMySocket::localAddress() const {
    if (!connected() || !m_endpoints)
        return {};
    const auto& own = m_endpoints->own;
    return std::to_string(own[0]) + '.' + std::to_string(own[1]) + '.' + std::to_string(own[2]) +
           '.' + std::to_string(own[3]);
}

} // namespace qv
