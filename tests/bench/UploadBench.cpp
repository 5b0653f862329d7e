// Sends a 16 MiB web archive to qvsim over loopback through the client's link, as the web page
// upload does, and the same bytes through a plain socket to a plain receiver in the same run;
// prints both times and the upload's throughput as a share of the plain send. Not a test: run it
// with scripts/bench-upload.sh.

#include "link/CMySocket.h"
#include "link/LinkEvent.h"
#include "link/Requests.h"
#include "link/SocketIo.h"
#include "sim/SimServer.h"
#include "sim/SimState.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kArchiveBytes = 16 * 1024 * 1024;
constexpr int kRounds = 7;
// Untimed rounds first: a fresh process pays for touching its memory the first time, which a
// long-running appliance and the plain receiver's reused buffer do not.
constexpr int kWarmUpRounds = 2;

// The events of the link, waited for one kind at a time.
class WaitingSink : public qv::EventSink {
public:
    void post(qv::LinkEvent event) override {
        std::lock_guard lock(m_mutex);
        m_events.push_back(event.code);
        m_arrived.notify_all();
    }
    bool waitFor(qv::ReplyEvent code) {
        std::unique_lock lock(m_mutex);
        return m_arrived.wait_for(lock, std::chrono::seconds(30), [&] {
            const auto at = std::find(m_events.begin(), m_events.end(), code);
            if (at == m_events.end())
                return false;
            m_events.erase(at);
            return true;
        });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<qv::ReplyEvent> m_events;
};

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// The web archive upload, from the first byte sent to the appliance's answer.
double uploadToSim(const std::vector<uint8_t>& archive, int port) {
    WaitingSink sink;
    qv::CMySocket link;
    if (!link.Connect(&sink, "127.0.0.1:" + std::to_string(port)) ||
        !link.Send(qv::request::logon("admin", "admin")) ||
        !sink.waitFor(qv::ReplyEvent::LogonAnswered))
        return -1;
    const qv::Frame frame = qv::request::uploadWebArchive(archive);
    const Clock::time_point start = Clock::now();
    // With a progress report, as the page sends it.
    if (!link.Send(frame, [](size_t, size_t) {}) ||
        !sink.waitFor(qv::ReplyEvent::WebArchiveUploaded))
        return -1;
    const double took = seconds(Clock::now() - start);
    link.Close();
    return took;
}

// The same bytes to a receiver that reads them all and answers with one byte.
double plainSend(const std::vector<uint8_t>& bytes) {
    const qv::SocketHandle listening = qv::listenTcp("127.0.0.1", 0);
    const int port = qv::localPort(listening);
    std::thread receiver([&] {
        const qv::SocketHandle peer = qv::acceptConnection(listening);
        std::vector<uint8_t> buffer(64 * 1024);
        for (size_t got = 0; got < bytes.size();) {
            const long n = qv::receiveSome(peer, buffer.data(), buffer.size());
            if (n <= 0)
                break;
            got += static_cast<size_t>(n);
        }
        const uint8_t done = 1;
        qv::SendAll(peer, &done, 1);
        qv::closeSocket(peer);
    });
    const qv::SocketHandle socket =
        qv::connectTcp({"127.0.0.1", port}, std::chrono::milliseconds(5000));
    const Clock::time_point start = Clock::now();
    uint8_t answer = 0;
    const bool ok =
        qv::SendAll(socket, bytes.data(), bytes.size()) && qv::ReceiveAll(socket, &answer, 1);
    const double took = seconds(Clock::now() - start);
    receiver.join();
    qv::closeSocket(socket);
    qv::closeSocket(listening);
    return ok ? took : -1;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main() {
    std::vector<uint8_t> archive(kArchiveBytes - 1);
    for (size_t i = 0; i < archive.size(); ++i)
        archive[i] = static_cast<uint8_t>(i * 2654435761u >> 24);

    // Without an upload folder qvsim keeps nothing on disk, so the disk's speed is not timed.
    qv::sim::ServerOptions options;
    options.bindAddress = "127.0.0.1";
    options.port = 0;
    options.log = [](const std::string&) {};
    qv::sim::SimServer server(options, qv::sim::seededState());
    std::string error;
    if (!server.start(error)) {
        std::fprintf(stderr, "qvsim: %s\n", error.c_str());
        return 1;
    }
    std::thread serving([&] { server.run(); });

    std::vector<double> uploads, plain;
    for (int round = 0; round < kWarmUpRounds; ++round) {
        uploadToSim(archive, server.port());
        plainSend(archive);
    }
    for (int round = 0; round < kRounds; ++round) {
        uploads.push_back(uploadToSim(archive, server.port()));
        plain.push_back(plainSend(archive));
    }
    server.stop();
    serving.join();
    if (*std::min_element(uploads.begin(), uploads.end()) < 0 ||
        *std::min_element(plain.begin(), plain.end()) < 0) {
        std::fprintf(stderr, "a send failed\n");
        return 1;
    }
    const double upload = median(uploads);
    const double baseline = median(plain);
    const double mib = static_cast<double>(archive.size()) / (1024.0 * 1024.0);
    std::printf("web archive upload to qvsim: %.1f ms (%.0f MiB/s)\n", upload * 1000, mib / upload);
    std::printf("plain socket send:           %.1f ms (%.0f MiB/s)\n", baseline * 1000,
                mib / baseline);
    std::printf("ratio (plain time / upload time, median of %d): %.2f\n", kRounds,
                baseline / upload);
    return 0;
}
