#include "SimServer.h"

#include "FrameReaders.h"

#include <algorithm>
#include <ctime>
#include <deque>
#include <filesystem>
#include <fstream>
#include <thread>

namespace qv::sim {
namespace {

// Reads from the client's socket with the server's patience: without limit between the frames
// of a logged-on administrator, at most the stall limit between two bytes of one frame, and
// never past the logon limit before the logon. Remembers why reading ended, for the log.
class SocketSource : public ByteSource {
public:
    enum class Ending { None, Closed, Stalled, NoLogon };

    SocketSource(SocketHandle socket, const Session& session, const ServerOptions& options)
        : m_socket(socket), m_session(session), m_stallLimit(options.frameStallLimit),
          m_logonDeadline(std::chrono::steady_clock::now() + options.logonLimit) {}

    bool readExact(uint8_t* buffer, size_t length) override {
        size_t received = 0;
        while (received < length) {
            // What has arrived is taken at once; only an empty socket is waited on.
            const long n = receiveArrived(m_socket, buffer + received, length - received);
            if (n == kNothingArrived) {
                if (!waitReadable(m_socket, patience()))
                    return end(m_session.loggedOn ||
                                       std::chrono::steady_clock::now() < m_logonDeadline
                                   ? Ending::Stalled
                                   : Ending::NoLogon);
                continue;
            }
            if (n <= 0)
                return end(Ending::Closed);
            received += static_cast<size_t>(n);
            m_inFrame = true;
        }
        return true;
    }
    // The frame read last was whole: waiting for the next one is no stall.
    void frameDone() { m_inFrame = false; }
    Ending ending() const { return m_ending; }

private:
    std::chrono::milliseconds patience() const {
        std::chrono::milliseconds wait{-1};
        if (m_inFrame)
            wait = m_stallLimit;
        if (!m_session.loggedOn) {
            const auto left = std::max(std::chrono::milliseconds{0},
                                       std::chrono::duration_cast<std::chrono::milliseconds>(
                                           m_logonDeadline - std::chrono::steady_clock::now()));
            wait = wait.count() < 0 ? left : std::min(wait, left);
        }
        return wait;
    }
    bool end(Ending ending) {
        m_ending = ending;
        return false;
    }

    SocketHandle m_socket;
    const Session& m_session;
    std::chrono::milliseconds m_stallLimit;
    std::chrono::steady_clock::time_point m_logonDeadline;
    bool m_inFrame = false;
    Ending m_ending = Ending::None;
};

std::string endingText(SocketSource::Ending ending) {
    switch (ending) {
    case SocketSource::Ending::Closed:
        return " closed by the client";
    case SocketSource::Ending::Stalled:
        return " stalled inside a frame; dropped";
    case SocketSource::Ending::NoLogon:
        return " did not log on in time; dropped";
    case SocketSource::Ending::None:
        break;
    }
    return " sent bytes that are no request; link closed";
}

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
    m_listeningAddress = m_options.bindAddress;
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
        joinFinished();
        const SocketHandle listening = m_listening.load();
        if (listening == kInvalidSocket)
            break;
        const SocketHandle client = acceptConnection(listening);
        if (client != kInvalidSocket) {
            startConnection(client, ++number);
            continue;
        }
        if (m_stop.load())
            break;
        if (m_rebootRequested.exchange(false)) {
            // Everyone's link goes with the reboot, as on the appliance.
            dropClients();
            joinClients();
            rebootPause();
            continue;
        }
        log("accepting a connection failed; listening again");
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    dropClients();
    joinClients();
}

void SimServer::stop() {
    m_stop.store(true);
    shutdownSocket(m_listening.load());
    dropClients();
    { std::lock_guard lock(m_waitMutex); }
    m_wake.notify_all();
}

void SimServer::startConnection(SocketHandle client, int number) {
    std::lock_guard lock(m_connectionsMutex);
    // stop() may have dropped the clients between the accept and this lock.
    if (m_stop.load())
        shutdownSocket(client);
    Connection& connection = m_connections.emplace_back();
    connection.socket = client;
    connection.thread = std::thread([this, client, number, &connection] {
        serveClient(client, number);
        std::lock_guard done(m_connectionsMutex);
        // Closed under the lock, so that no one shuts down a number the system handed on.
        closeSocket(client);
        connection.socket = kInvalidSocket;
        connection.done = true;
    });
}

void SimServer::joinFinished() {
    std::lock_guard lock(m_connectionsMutex);
    for (auto it = m_connections.begin(); it != m_connections.end();) {
        if (!it->done) {
            ++it;
            continue;
        }
        it->thread.join();
        it = m_connections.erase(it);
    }
}

void SimServer::dropClients() {
    std::lock_guard lock(m_connectionsMutex);
    for (const Connection& connection : m_connections)
        shutdownSocket(connection.socket);
}

void SimServer::joinClients() {
    std::list<Connection> leaving;
    {
        std::lock_guard lock(m_connectionsMutex);
        leaving.swap(m_connections);
    }
    // Swapping lists moves no element, so each thread still marks its own.
    for (Connection& connection : leaving)
        connection.thread.join();
}

void SimServer::serveClient(SocketHandle client, int number) {
    const std::string name = "#" + std::to_string(number);
    log(name + " connected");
    setSendTimeout(client, m_options.sendLimit);
    Session session;
    SocketSource source(client, session, m_options);
    RequestReader reader(source);
    ReplySender sender(client);
    const HandlerContext base{0, m_options.updateStep, m_options.updateServerUnreachable};
    Frame request;
    while (!m_stop.load()) {
        if (!reader.next(request)) {
            log(name + endingText(source.ending()));
            break;
        }
        source.frameDone();
        HandlerContext context = base;
        context.now = now();
        const Command command = request.cmd;
        Outcome outcome;
        {
            std::lock_guard lock(m_stateMutex);
            outcome = handleRequest(*m_state, session, std::move(request), context);
            if (outcome.stateChanged)
                persist();
        }
        log(name + " " + outcome.log);
        applyFiles(outcome);
        bool sent = true;
        for (const Frame& reply : outcome.replies)
            sent = sent && sender.send(reply);
        if (!outcome.later.empty())
            sender.sendLater(outcome.later);
        if (!sent) {
            log(name + " the client has gone or does not read; dropped");
            break;
        }
        if (outcome.after == LinkAfter::Reboot) {
            if (!m_stop.load()) {
                log(name + " link closed for the reboot");
                if (command == Command::CMD_SET_NETWORK_MSG)
                    m_networkSaved.store(true);
                m_rebootRequested.store(true);
                shutdownSocket(m_listening.load());
            }
            break;
        }
    }
    sender.finish();
    shutdownSocket(client);
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
    const std::string address = addressAfterReboot();
    while (!m_stop.load()) {
        SocketHandle listening = listenTcp(address, m_port);
        if (listening == kInvalidSocket && address != m_listeningAddress) {
            log("cannot listen on " + address + ":" + std::to_string(m_port) + "; staying on " +
                m_listeningAddress);
            listening = listenTcp(m_listeningAddress, m_port);
        } else if (listening != kInvalidSocket) {
            m_listeningAddress = address;
        }
        if (listening != kInvalidSocket) {
            m_listening.store(listening);
            // stop() may have run between the check and the store: it then saw no socket.
            if (m_stop.load())
                shutdownSocket(listening);
            log("rebooted; listening again on " + m_listeningAddress + ":" +
                std::to_string(m_port));
            break;
        }
        std::unique_lock lock(m_waitMutex);
        m_wake.wait_for(lock, std::chrono::milliseconds(200), [this] { return m_stop.load(); });
    }
    m_rebooting.store(false);
}

std::string SimServer::addressAfterReboot() {
    if (!m_networkSaved.exchange(false) || !m_options.followAddress)
        return m_listeningAddress;
    std::lock_guard lock(m_stateMutex);
    const NetworkConfigRecord& record = m_state->record;
    // Under DHCP the address would come from elsewhere; the simulator stays where it is.
    if (record.dhcp() == 1)
        return m_listeningAddress;
    const std::array<uint8_t, 4> ip = record.ipAddress();
    return std::to_string(ip[0]) + "." + std::to_string(ip[1]) + "." + std::to_string(ip[2]) + "." +
           std::to_string(ip[3]);
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

// Called under the state's lock, so that the file holds every request whole and in order.
void SimServer::persist() {
    if (m_options.statePath.empty())
        return;
    std::string error;
    if (!saveState(*m_state, m_options.statePath, error))
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
