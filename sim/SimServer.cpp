#include "SimServer.h"

#include "FrameReaders.h"

#include <ctime>
#include <deque>
#include <filesystem>
#include <fstream>
#include <thread>

namespace qv::sim {
namespace {

// Reads from the client's socket and remembers whether the stream itself failed, so the log can
// tell a client that went away from one that sent bytes that are no request.
class SocketSource : public ByteSource {
public:
    explicit SocketSource(SocketHandle socket) : m_socket(socket) {}
    bool readExact(uint8_t* buffer, size_t length) override {
        m_ended = !ReceiveAll(m_socket, buffer, length);
        return !m_ended;
    }
    bool ended() const { return m_ended; }

private:
    SocketHandle m_socket;
    bool m_ended = false;
};

// Sends frames on one connection: at once from the serving thread, or later from a player
// thread (software update reports). One frame at a time; nothing after the link has gone.
class ReplySender {
public:
    explicit ReplySender(SocketHandle socket) : m_socket(socket) {}
    ~ReplySender() { finish(); }

    bool send(const Frame& frame) {
        std::lock_guard lock(m_sendMutex);
        if (m_broken)
            return false;
        const std::vector<uint8_t> wire = encodeFrame(frame);
        m_broken = !SendAll(m_socket, wire.data(), wire.size());
        return !m_broken;
    }

    void sendLater(const std::vector<TimedReply>& replies) {
        const auto start = std::chrono::steady_clock::now();
        {
            std::lock_guard lock(m_queueMutex);
            for (const TimedReply& reply : replies)
                m_queue.push_back({start + reply.delay, reply.frame});
            if (!m_player.joinable())
                m_player = std::thread(&ReplySender::play, this);
        }
        m_queueChanged.notify_all();
    }

    // Drops what was not sent yet and ends the player.
    void finish() {
        {
            std::lock_guard lock(m_queueMutex);
            m_finished = true;
            m_queue.clear();
        }
        m_queueChanged.notify_all();
        if (m_player.joinable())
            m_player.join();
    }

private:
    struct Pending {
        std::chrono::steady_clock::time_point due;
        Frame frame;
    };

    void play() {
        std::unique_lock lock(m_queueMutex);
        while (!m_finished) {
            if (m_queue.empty()) {
                m_queueChanged.wait(lock);
                continue;
            }
            // Reports of one update are queued in time order; a second update queues behind.
            const auto due = m_queue.front().due;
            if (m_queueChanged.wait_until(lock, due) == std::cv_status::no_timeout)
                continue;
            if (m_finished || m_queue.empty())
                continue;
            Frame frame = std::move(m_queue.front().frame);
            m_queue.pop_front();
            lock.unlock();
            send(frame);
            lock.lock();
        }
    }

    SocketHandle m_socket;
    std::mutex m_sendMutex;
    bool m_broken = false;
    std::mutex m_queueMutex;
    std::condition_variable m_queueChanged;
    std::deque<Pending> m_queue;
    bool m_finished = false;
    std::thread m_player;
};

std::string timestamp() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

} // namespace

SimServer::SimServer(ServerOptions options, std::unique_ptr<SimState> state)
    : m_options(std::move(options)), m_state(std::move(state)) {}

SimServer::~SimServer() {
    stop();
    closeSocket(m_listening.exchange(kInvalidSocket));
}

bool SimServer::start(std::string& error) {
    const SocketHandle listening = listenTcp(m_options.bindAddress, m_options.port);
    if (listening == kInvalidSocket) {
        error = "cannot listen on " + m_options.bindAddress + ":" + std::to_string(m_options.port);
        return false;
    }
    m_port = localPort(listening);
    m_listening.store(listening);
    return true;
}

void SimServer::run() {
    int number = 0;
    while (!m_stop.load()) {
        const SocketHandle listening = m_listening.load();
        if (listening == kInvalidSocket)
            break;
        const SocketHandle client = acceptConnection(listening);
        if (client == kInvalidSocket) {
            if (!m_stop.load())
                log("accepting a connection failed; listening again");
            if (m_stop.load())
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            continue;
        }
        serveClient(client, ++number);
    }
}

void SimServer::stop() {
    m_stop.store(true);
    shutdownSocket(m_listening.load());
    shutdownSocket(m_client.load());
    { std::lock_guard lock(m_waitMutex); }
    m_wake.notify_all();
}

void SimServer::serveClient(SocketHandle client, int number) {
    m_client.store(client);
    if (m_stop.load())
        shutdownSocket(client);
    log("#" + std::to_string(number) + " connected");
    Session session;
    SocketSource source(client);
    RequestReader reader(source);
    ReplySender sender(client);
    LinkAfter after = LinkAfter::KeepOpen;
    const HandlerContext base{0, m_options.updateStep, m_options.updateServerUnreachable};
    Frame request;
    while (!m_stop.load()) {
        if (!reader.next(request)) {
            log("#" + std::to_string(number) +
                (source.ended() ? " closed by the client"
                                : " sent bytes that are no request; link closed"));
            break;
        }
        HandlerContext context = base;
        context.now = now();
        Outcome outcome;
        {
            std::lock_guard lock(m_stateMutex);
            outcome = handleRequest(*m_state, session, request, context);
        }
        log("#" + std::to_string(number) + " " + outcome.log);
        applyFiles(outcome);
        if (outcome.stateChanged)
            persist();
        bool sent = true;
        for (const Frame& reply : outcome.replies)
            sent = sent && sender.send(reply);
        if (!outcome.later.empty())
            sender.sendLater(outcome.later);
        if (!sent) {
            log("#" + std::to_string(number) + " the client has gone");
            break;
        }
        after = outcome.after;
        if (after == LinkAfter::Reboot)
            break;
    }
    sender.finish();
    m_client.store(kInvalidSocket);
    shutdownSocket(client);
    closeSocket(client);
    if (after == LinkAfter::Reboot && !m_stop.load()) {
        log("#" + std::to_string(number) + " link closed for the reboot");
        rebootPause();
    }
}

// The appliance is away while it reboots: the listening socket is closed, so connections are
// refused, and opened again on the same port afterwards.
void SimServer::rebootPause() {
    closeSocket(m_listening.exchange(kInvalidSocket));
    m_rebooting.store(true);
    {
        std::unique_lock lock(m_waitMutex);
        m_wake.wait_for(lock, m_options.rebootPause, [this] { return m_stop.load(); });
    }
    while (!m_stop.load()) {
        const SocketHandle listening = listenTcp(m_options.bindAddress, m_port);
        if (listening != kInvalidSocket) {
            m_listening.store(listening);
            // stop() may have run between the check and the store: it then saw no socket.
            if (m_stop.load())
                shutdownSocket(listening);
            log("rebooted; listening again on " + m_options.bindAddress + ":" +
                std::to_string(m_port));
            break;
        }
        std::unique_lock lock(m_waitMutex);
        m_wake.wait_for(lock, std::chrono::milliseconds(200), [this] { return m_stop.load(); });
    }
    m_rebooting.store(false);
}

void SimServer::applyFiles(const Outcome& outcome) {
    if (outcome.files.empty())
        return;
    if (m_options.uploadDir.empty()) {
        log("no upload folder: uploads are not kept");
        return;
    }
    namespace fs = std::filesystem;
    std::error_code code;
    fs::create_directories(m_options.uploadDir, code);
    for (const FileChange& change : outcome.files) {
        const fs::path path = fs::path(m_options.uploadDir) / change.name;
        if (change.remove) {
            fs::remove(path, code);
            continue;
        }
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(change.contents.data()),
                   static_cast<std::streamsize>(change.contents.size()));
        if (!file)
            log("cannot write " + path.string());
    }
}

void SimServer::persist() {
    if (m_options.statePath.empty())
        return;
    std::string error;
    bool saved;
    {
        std::lock_guard lock(m_stateMutex);
        saved = saveState(*m_state, m_options.statePath, error);
    }
    if (!saved)
        log("state not saved: " + error);
}

SimState SimServer::snapshot() const {
    std::lock_guard lock(m_stateMutex);
    return *m_state;
}

void SimServer::log(const std::string& line) {
    if (!m_options.log)
        return;
    // Texts in the line come from the client; control bytes must not reach the terminal.
    std::string shown = line;
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    m_options.log(timestamp() + " " + shown);
}

int64_t SimServer::now() const {
    if (m_options.clock)
        return m_options.clock();
    return static_cast<int64_t>(std::time(nullptr));
}

} // namespace qv::sim
