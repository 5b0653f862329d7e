#include "sim/SimServer.h"

#include "link/Commands.h"
#include "link/FrameReaders.h"
#include "link/PrivateFile.h"

#include <algorithm>
#include <ctime>
#include <deque>
#include <filesystem>
#include <system_error>
#include <thread>

namespace qv::sim {
namespace {

// Bursts of connections wait in the system's queue rather than being turned away.
constexpr int kListenBacklog = 128;
// Failed logons from one address are forgotten after this long without another, and at most
// this many addresses are remembered.
constexpr auto kFailureMemory = std::chrono::minutes(15);
constexpr size_t kMaxFailureAddresses = 4096;

// Reads from the client's socket with the server's patience: without limit between the frames
// of a logged-on administrator, at most the stall limit between two bytes of one frame, and
// never past the logon limit before the logon. Remembers why reading ended, for the log.
class SocketSource : public ByteSource {
public:
    enum class Ending { None, Closed, Stalled, NoLogon, BeforeLogon };

    SocketSource(SocketHandle socket, const Session& session, const ServerOptions& options)
        : m_socket(socket), m_session(session), m_stallLimit(options.frameStallLimit),
          m_logonDeadline(std::chrono::steady_clock::now() + options.logonLimit) {}

    bool readExact(uint8_t* buffer, size_t length) override {
        // The reader takes a frame's header first and whole: before the logon, a header of any
        // other request ends the connection before a byte of its payload is read.
        const bool header = !m_inFrame && length == kHeaderSize;
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
        if (header && !m_session.loggedOn && decodeHeader(buffer).cmd != CMD_LOGIN_MSG)
            return end(Ending::BeforeLogon);
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
    case SocketSource::Ending::BeforeLogon:
        return " sent a request other than logon before logging on; dropped";
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

    // False when the reports cannot be played (the system has no thread left).
    bool sendLater(const std::vector<TimedReply>& replies) {
        const auto start = std::chrono::steady_clock::now();
        {
            std::lock_guard lock(m_queueMutex);
            for (const TimedReply& reply : replies)
                m_queue.push_back({start + reply.delay, reply.frame});
            if (!m_player.joinable()) {
                try {
                    m_player = std::thread(&ReplySender::play, this);
                } catch (const std::system_error&) {
                    // No thread for the reports: they are dropped, the link goes on.
                    m_queue.clear();
                    return false;
                }
            }
        }
        m_queueChanged.notify_all();
        return true;
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
    : m_options(std::move(options)), m_state(std::move(state)) {
    if (!m_options.statePath.empty())
        m_kept = std::make_unique<SimState>(*m_state);
}

SimServer::~SimServer() {
    stop();
    closeSocket(m_listening.exchange(kInvalidSocket));
}

bool SimServer::start(std::string& error) {
    m_listeningAddress = m_options.bindAddress;
    if (!m_options.uploadDir.empty()) {
        // Uploads land in a folder no one else can plant links or files in.
        namespace fs = std::filesystem;
        std::error_code code;
        if (!fs::exists(fs::symlink_status(m_options.uploadDir, code)) &&
            fs::create_directories(m_options.uploadDir, code))
            fs::permissions(m_options.uploadDir, fs::perms::owner_all, code);
        if (const std::string fault = privateFolderFault(m_options.uploadDir); !fault.empty()) {
            error = "cannot use " + m_options.uploadDir + " as the upload folder: " + fault;
            return false;
        }
        // An upload cut short by a kill leaves its temporary, up to the largest upload's size.
        for (const char* name : kUploadFiles)
            removeStaleTemporaries((fs::path(m_options.uploadDir) / name).string());
    }
    // A killed run may have left temporaries of the state file behind.
    if (!m_options.statePath.empty())
        removeStaleTemporaries(m_options.statePath);
    const SocketHandle listening = listenTcp(m_options.bindAddress, m_options.port, kListenBacklog);
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
    std::string refusal;
    {
        std::lock_guard lock(m_connectionsMutex);
        const auto open = std::count_if(m_connections.begin(), m_connections.end(),
                                        [](const Connection& c) { return !c.done; });
        if (open >= m_options.maxConnections)
            refusal = "too many connections (" + std::to_string(open) + ")";
        else if (m_waitingForLogon.load() >= m_options.maxWaitingForLogon)
            refusal = "too many connections waiting to log on";
        if (refusal.empty()) {
            // stop() may have dropped the clients between the accept and this lock.
            if (m_stop.load())
                shutdownSocket(client);
            Connection& connection = m_connections.emplace_back();
            connection.socket = client;
            std::function<void()> body = [this, client, number, &connection] {
                serveClient(client, number);
                std::lock_guard done(m_connectionsMutex);
                // Closed under the lock, so that no one shuts down a number the system handed
                // on.
                closeSocket(client);
                connection.socket = kInvalidSocket;
                connection.done = true;
            };
            ++m_waitingForLogon; // until its logon; serveClient counts it off
            try {
                connection.thread = m_options.startThread ? m_options.startThread(std::move(body))
                                                          : std::thread(std::move(body));
            } catch (const std::system_error& fault) {
                --m_waitingForLogon;
                m_connections.pop_back();
                refusal = std::string("no thread to serve it (") + fault.what() + ")";
            }
        }
    }
    if (!refusal.empty()) {
        std::string line = "#";
        line.append(std::to_string(number)).append(" refused: ").append(refusal);
        log(line);
        closeSocket(client);
    }
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
    bool waiting = true; // counted in m_waitingForLogon while not logged on
    int failedLogons = 0;
    uint32_t address = 0;
    if (Endpoints ends; endpointsOf(client, ends))
        address = static_cast<uint32_t>(ends.peer[0]) << 24 | ends.peer[1] << 16 |
                  ends.peer[2] << 8 | ends.peer[3];
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
            std::string error;
            if (outcome.stateChanged && !persist(error)) {
                // Told "done", the client would trust a change the next start forgets.
                *m_state = *m_kept;
                outcome.replies.clear();
                if (auto refusal = refusalOf(command))
                    outcome.replies.push_back(std::move(*refusal));
                outcome.after = LinkAfter::KeepOpen;
                outcome.log += "; refused, the state file did not keep it: " + error;
            }
        }
        log(name + " " + outcome.log);
        if (waiting == session.loggedOn) {
            waiting = !session.loggedOn;
            m_waitingForLogon += waiting ? 1 : -1;
        }
        if (command == CMD_LOGIN_MSG) {
            if (session.loggedOn) {
                failedLogons = 0;
                std::lock_guard lock(m_failuresMutex);
                m_failures.erase(address);
            } else {
                pauseAfterFailedLogon(address, failedLogons++);
            }
        }
        applyFiles(outcome);
        if (m_options.latency.count() > 0) {
            std::unique_lock lock(m_waitMutex);
            m_wake.wait_for(lock, m_options.latency, [this] { return m_stop.load(); });
        }
        bool sent = true;
        for (const Frame& reply : outcome.replies)
            sent = sent && sender.send(reply);
        if (!outcome.later.empty() && !sender.sendLater(outcome.later))
            log(name + " no thread to play the reports; they are dropped");
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
    if (waiting)
        --m_waitingForLogon;
}

void SimServer::pauseAfterFailedLogon(uint32_t address, int failures) {
    const auto now = std::chrono::steady_clock::now();
    {
        std::lock_guard lock(m_failuresMutex);
        if (m_failures.size() >= kMaxFailureAddresses && m_failures.count(address) == 0) {
            std::erase_if(m_failures, [&](const auto& entry) {
                return now - entry.second.last > kFailureMemory;
            });
            if (m_failures.size() >= kMaxFailureAddresses)
                m_failures.clear();
        }
        Failures& from = m_failures[address];
        if (now - from.last > kFailureMemory)
            from.count = 0;
        from.last = now;
        failures = std::max(failures, from.count++);
    }
    auto pause = m_options.logonDelay;
    for (int i = 0; i < failures && pause < m_options.maxLogonDelay; ++i)
        pause *= 2;
    pause = std::min(pause, m_options.maxLogonDelay);
    if (m_options.logonPause) {
        m_options.logonPause(pause);
        return;
    }
    std::unique_lock lock(m_waitMutex);
    m_wake.wait_for(lock, pause, [this] { return m_stop.load(); });
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
        SocketHandle listening = listenTcp(address, m_port, kListenBacklog);
        if (listening == kInvalidSocket && address != m_listeningAddress) {
            log("cannot listen on " + address + ":" + std::to_string(m_port) + "; staying on " +
                m_listeningAddress);
            listening = listenTcp(m_listeningAddress, m_port, kListenBacklog);
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
    // Each upload is written to a temporary file of its own first, outside the lock, so that
    // two uploads of one file never mix, and a link planted under its name is replaced, never
    // written through. The renames and removals then happen in the order of the requests.
    std::vector<std::string> temporaries(outcome.files.size());
    for (size_t i = 0; i < outcome.files.size(); ++i) {
        const FileChange& change = outcome.files[i];
        if (change.remove)
            continue;
        const std::string path = (fs::path(m_options.uploadDir) / change.name).string();
        const std::string_view bytes(reinterpret_cast<const char*>(change.contents.data()),
                                     change.contents.size());
        if (const std::string fault = writePrivateTemporary(path, bytes, temporaries[i]);
            !fault.empty())
            log("cannot write " + path + ": " + fault);
    }
    std::lock_guard lock(m_stateMutex);
    for (size_t i = 0; i < outcome.files.size(); ++i) {
        const FileChange& change = outcome.files[i];
        const std::string path = (fs::path(m_options.uploadDir) / change.name).string();
        if (change.remove) {
            std::error_code code;
            fs::remove(path, code);
        } else if (!temporaries[i].empty()) {
            if (const std::string fault = replaceWithTemporary(temporaries[i], path);
                !fault.empty())
                log("cannot write " + path + ": " + fault);
        }
    }
}

// Called under the state's lock, so that the file holds every request whole and in order.
bool SimServer::persist(std::string& error) {
    if (m_options.statePath.empty())
        return true;
    if (!saveState(*m_state, m_options.statePath, error))
        return false;
    *m_kept = *m_state;
    return true;
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
