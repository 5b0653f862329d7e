// qvsim over loopback: the link core's writes read back byte for byte, and the server survives
// clients that vanish, garbage, reboots and restarts.

#include "link/CMySocket.h"
#include "link/Catalogue.h"
#include "link/Commands.h"
#include "link/Requests.h"
#include "tests/sim/SimTestSupport.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace qv::simtest {
namespace {

// A logged-on link to the simulator through the client's own link object.
class Client {
public:
    explicit Client(const std::string& address) {
        connected = link.Connect(&sink, address);
        if (connected && link.Send(request::logon("admin", "admin"))) {
            const auto answer = sink.waitFor(ReplyEvent::LogonAnswered);
            loggedOn = answer && result::kLogonAccepted.holds(answer->value);
        }
    }
    std::optional<LinkEvent> ask(const Frame& request, ReplyEvent event) {
        if (!link.Send(request))
            return std::nullopt;
        return sink.waitFor(event);
    }

    QueueSink sink;
    CMySocket link;
    bool connected = false;
    bool loggedOn = false;
};

template <size_t N> std::vector<uint8_t> bytesOf(const WireRecord<N>& record) {
    return {record.bytes.begin(), record.bytes.end()};
}

TEST(SimServer, WritesThroughTheLinkCoreReadBackByteForByte) {
    RunningSim sim;
    ASSERT_TRUE(sim.started());
    Client client(sim.address());
    ASSERT_TRUE(client.loggedOn);

    // Wake-on-LAN: bytes 0-3 of every slot, and the slots past the count, come back.
    auto wol = client.ask(request::readWol(), ReplyEvent::WolArrived);
    ASSERT_TRUE(wol);
    WolTable table;
    std::copy(wol->payload.begin(), wol->payload.end(), table.bytes.begin());
    EXPECT_EQ(table.entry(1).bytes[0], 0xA1);
    WolEntry added;
    added.bytes = {0xDE, 0xAD, 0xBE, 0xEF};
    added.setNameUtf8("새 PC");
    added.setMacUtf8("01:02:03:04:05:06");
    table.setEntry(5, added);
    table.bytes[100 * 100 + 7] = 0x77; // the last slot, past the count
    auto written = client.ask(request::writeWol(6, table), ReplyEvent::WolApplied);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->value, result::kSuccess);
    wol = client.ask(request::readWol(), ReplyEvent::WolArrived);
    ASSERT_TRUE(wol);
    EXPECT_EQ(wol->value, 6);
    EXPECT_EQ(wol->payload, bytesOf(table));

    // Block IP table: the four lead bytes and 96 trailing bytes are the firewall's own.
    auto blockIps = client.ask(request::readBlockIps(), ReplyEvent::BlockIpsArrived);
    ASSERT_TRUE(blockIps);
    BlockIpTable ips;
    std::copy(blockIps->payload.begin(), blockIps->payload.end(), ips.bytes.begin());
    EXPECT_EQ(ips.bytes[0], 0x51);
    EXPECT_EQ(ips.bytes[10004], 0xF0);
    ips.setAddress(3, "172.16.5.5");
    ips.bytes[2] = 0x99;
    ips.bytes[10099] = 0x42;
    written = client.ask(request::writeBlockIps(4, ips), ReplyEvent::BlockIpsApplied);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->value, result::kSuccess);
    blockIps = client.ask(request::readBlockIps(), ReplyEvent::BlockIpsArrived);
    ASSERT_TRUE(blockIps);
    EXPECT_EQ(blockIps->value, 4);
    EXPECT_EQ(blockIps->payload, bytesOf(ips));

    // Center IDs and the schedule, with reserved bytes and SEQ as the client left them.
    CenterIdTable centerIds;
    std::mt19937 random(11);
    for (auto& b : centerIds.bytes)
        b = static_cast<uint8_t>(random());
    ASSERT_EQ(
        client.ask(request::writeCenterIds(3, centerIds), ReplyEvent::CenterIdsApplied)->value,
        result::kSuccess);
    auto readIds = client.ask(request::readCenterIds(), ReplyEvent::CenterIdsArrived);
    ASSERT_TRUE(readIds);
    EXPECT_EQ(readIds->value, 3);
    EXPECT_EQ(readIds->payload, bytesOf(centerIds));

    auto schedule = std::make_unique<ScheduleTable>();
    for (auto& b : schedule->bytes)
        b = static_cast<uint8_t>(random());
    ASSERT_EQ(
        client.ask(request::writeSchedule(40, *schedule), ReplyEvent::SchedulesApplied)->value,
        result::kSuccess);
    auto readSchedule = client.ask(request::readSchedule(), ReplyEvent::SchedulesArrived);
    ASSERT_TRUE(readSchedule);
    EXPECT_EQ(readSchedule->value, 40);
    EXPECT_EQ(readSchedule->payload, bytesOf(*schedule));

    // The server's own copy agrees.
    const sim::SimState now = sim.server().snapshot();
    EXPECT_EQ(now.wol, table);
    EXPECT_EQ(now.blockIps, ips);
}

TEST(SimServer, LogsOneLinePerRequestWithoutPasswordsOrControlBytes) {
    RunningSim sim;
    ASSERT_TRUE(sim.started());
    {
        QueueSink sink;
        CMySocket link;
        ASSERT_TRUE(link.Connect(&sink, sim.address()));
        ASSERT_TRUE(link.Send(request::logon("adm\x1b[2Jin", "secret-pw")));
        ASSERT_TRUE(sink.waitFor(ReplyEvent::LogonAnswered));
        ASSERT_TRUE(link.Send(request::logon("admin", "admin")));
        ASSERT_TRUE(sink.waitFor(ReplyEvent::LogonAnswered));
        ASSERT_TRUE(link.Send(request::readWol()));
        ASSERT_TRUE(sink.waitFor(ReplyEvent::WolArrived));
    }
    ASSERT_TRUE(eventually([&] { return sim.log().size() >= 5; }));
    const auto lines = sim.log();
    int requests = 0;
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find("secret-pw"), std::string::npos) << line;
        EXPECT_EQ(line.find('\x1b'), std::string::npos) << line;
        requests += line.find(" logon (1)") != std::string::npos ||
                    line.find(" read Wake-on-LAN (6)") != std::string::npos;
    }
    EXPECT_EQ(requests, 3);
}

TEST(SimServer, SeveralClientsOneAfterAnother) {
    RunningSim sim;
    ASSERT_TRUE(sim.started());
    for (int i = 0; i < 5; ++i) {
        Client client(sim.address());
        ASSERT_TRUE(client.loggedOn) << "client " << i;
        auto summary = client.ask(request::readSummary(), ReplyEvent::SummaryArrived);
        ASSERT_TRUE(summary);
        EXPECT_EQ(summary->payload.size(), NetworkConfigRecord::kSize);
        client.link.Close();
    }
}

TEST(SimServer, AnswersWhileAnotherClientSaysNothing) {
    RunningSim sim;
    ASSERT_TRUE(sim.started());
    RawClient silent(sim.port());
    ASSERT_TRUE(silent.connected());
    Client client(sim.address());
    ASSERT_TRUE(client.loggedOn);
    EXPECT_TRUE(client.ask(request::readSummary(), ReplyEvent::SummaryArrived));
}

TEST(SimServer, DropsStalledClientsButKeepsAnIdleAdministrator) {
    sim::ServerOptions options;
    options.frameStallLimit = 200ms;
    options.logonLimit = 200ms;
    RunningSim sim(options);
    ASSERT_TRUE(sim.started());
    Client idle(sim.address());
    ASSERT_TRUE(idle.loggedOn);

    const std::vector<uint8_t> logon = encodeFrame(request::logon("admin", "admin"));
    const std::vector<uint8_t> readWol = encodeFrame(request::readWol());
    const std::vector<std::pair<const char*, std::vector<uint8_t>>> stalls{
        {"says nothing", {}},
        {"stops inside the logon", {logon.begin(), logon.begin() + 20}},
        {"never logs on", readWol},
        {"logged on, stops inside a header",
         [&] {
             std::vector<uint8_t> bytes = logon;
             bytes.insert(bytes.end(), readWol.begin(), readWol.begin() + 3);
             return bytes;
         }()},
    };
    for (const auto& [what, bytes] : stalls) {
        RawClient raw(sim.port());
        ASSERT_TRUE(raw.connected()) << what;
        raw.send(bytes);
        EXPECT_TRUE(raw.closedAfterDraining()) << what;
    }
    // The administrator who logged on first has been idle all along and keeps the session.
    EXPECT_TRUE(idle.ask(request::readSummary(), ReplyEvent::SummaryArrived));
}

TEST(SimServer, DropsAClientThatDoesNotReadItsAnswers) {
    sim::ServerOptions options;
    options.sendLimit = 200ms;
    RunningSim sim(options);
    ASSERT_TRUE(sim.started());
    // Schedule answers of about 90 KB each, far more than the socket buffers hold, never read.
    std::vector<uint8_t> bytes = encodeFrame(request::logon("admin", "admin"));
    const std::vector<uint8_t> readSchedule = encodeFrame(request::readSchedule());
    for (int i = 0; i < 400; ++i)
        bytes.insert(bytes.end(), readSchedule.begin(), readSchedule.end());
    RawClient flooder(sim.port());
    ASSERT_TRUE(flooder.send(bytes));
    EXPECT_TRUE(eventually([&] {
        const auto log = sim.log();
        return std::any_of(log.begin(), log.end(), [](const std::string& line) {
            return line.find("does not read") != std::string::npos;
        });
    }));
    EXPECT_TRUE(flooder.closedAfterDraining());
}

TEST(SimServer, LineNoiseAfterLogonCannotChangeTheAdministrator) {
    sim::ServerOptions options;
    options.frameStallLimit = 100ms;
    RunningSim sim(options);
    ASSERT_TRUE(sim.started());
    const sim::SimState before = sim.server().snapshot();
    const std::vector<uint8_t> logon = encodeFrame(request::logon("admin", "admin"));
    const std::vector<uint8_t> change = encodeFrame(request::changeAdmin("x", "y"));
    std::mt19937 random(8);
    for (int block = 0; block < 20; ++block) {
        // Noise that happens to begin with the administrator change's header.
        std::vector<uint8_t> bytes = logon;
        bytes.insert(bytes.end(), change.begin(), change.begin() + kHeaderSize);
        for (int i = 0; i < 4096; ++i)
            bytes.push_back(static_cast<uint8_t>(random()));
        RawClient raw(sim.port());
        ASSERT_TRUE(raw.connected()) << block;
        raw.send(bytes);
        EXPECT_TRUE(raw.closedAfterDraining()) << block;
    }
    const sim::SimState after = sim.server().snapshot();
    EXPECT_EQ(after.adminId, before.adminId);
    EXPECT_EQ(after.adminPassword, before.adminPassword);
}

TEST(SimServer, SurvivesClientsThatVanishMidFrameAndGarbage) {
    RunningSim sim;
    ASSERT_TRUE(sim.started());
    const sim::SimState before = sim.server().snapshot();

    const std::vector<uint8_t> logon = encodeFrame(request::logon("admin", "admin"));
    const std::vector<uint8_t> writeWol = encodeFrame(request::writeWol(1, WolTable{}));
    const std::vector<uint8_t> upload =
        encodeFrame(request::uploadWebArchive(std::vector<uint8_t>(5000, 'z')));
    std::mt19937 random(5);
    std::vector<uint8_t> garbage(4096);
    for (auto& b : garbage)
        b = static_cast<uint8_t>(random());

    const std::vector<std::pair<const char*, std::vector<std::vector<uint8_t>>>> visits{
        {"half a header", {{logon.begin(), logon.begin() + 3}}},
        {"header without its payload", {{logon.begin(), logon.begin() + 8}}},
        {"half a payload", {{logon.begin(), logon.begin() + 50}}},
        {"logged on, then half a table", {logon, {writeWol.begin(), writeWol.begin() + 8 + 5000}}},
        {"logged on, then half an upload", {logon, {upload.begin(), upload.begin() + 2000}}},
        {"garbage", {garbage}},
        {"logged on, then garbage", {logon, garbage}},
    };
    for (const auto& [what, parts] : visits) {
        RawClient raw(sim.port());
        ASSERT_TRUE(raw.connected()) << what;
        for (const auto& part : parts)
            raw.send(part);
        // The raw client goes away here, in the middle of whatever it was sending.
    }

    // A garbage sender is cut off by the server itself (these bytes start with no request
    // code, so the server cannot wait for a payload).
    ASSERT_EQ(findRequestRule(decodeHeader(garbage.data()).cmd), nullptr);
    {
        RawClient raw(sim.port());
        ASSERT_TRUE(raw.connected());
        raw.send(garbage);
        EXPECT_TRUE(raw.closedByPeer());
    }

    Client client(sim.address());
    ASSERT_TRUE(client.loggedOn);
    auto wol = client.ask(request::readWol(), ReplyEvent::WolArrived);
    ASSERT_TRUE(wol);
    // Nothing of a cut-off write was applied.
    EXPECT_EQ(wol->value, before.wolCount);
    EXPECT_EQ(wol->payload, bytesOf(before.wol));
    EXPECT_TRUE(sim.server().snapshot() == before);
}

TEST(SimServer, RefusesConnectionsWhileRebootingThenServesAgain) {
    sim::ServerOptions options;
    options.rebootPause = std::chrono::milliseconds(1500);
    RunningSim sim(options);
    ASSERT_TRUE(sim.started());
    const int port = sim.port();
    {
        Client client(sim.address());
        ASSERT_TRUE(client.loggedOn);
        auto answer = client.ask(request::reboot(), ReplyEvent::RebootAnswered);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->value, result::kRebootAccepted);
        EXPECT_TRUE(client.sink.waitFor(ReplyEvent::LinkEnded));
    }
    ASSERT_TRUE(eventually([&] { return sim.server().rebooting(); }));
    EXPECT_FALSE(RawClient(port).connected());
    EXPECT_TRUE(eventually([&] { return RawClient(port).connected(); }));
    Client again(sim.address());
    EXPECT_TRUE(again.loggedOn);
}

TEST(SimServer, SaveAndRebootAppliesTheNetworkSettings) {
    sim::ServerOptions options;
    options.rebootPause = std::chrono::milliseconds(200);
    RunningSim sim(options);
    ASSERT_TRUE(sim.started());
    {
        Client client(sim.address());
        ASSERT_TRUE(client.loggedOn);
        NetworkConfigRecord settings;
        settings.setLinkPort(12301);
        settings.setDataPort(12302);
        settings.setWebPort(80);
        settings.setDhcp(1);
        ASSERT_TRUE(client.link.Send(request::saveNetworkAndReboot(settings)));
        EXPECT_TRUE(client.sink.waitFor(ReplyEvent::LinkEnded));
    }
    std::optional<LinkEvent> network;
    ASSERT_TRUE(eventually([&] {
        Client client(sim.address());
        if (client.loggedOn)
            network = client.ask(request::readNetwork(), ReplyEvent::NetworkArrived);
        return network.has_value();
    }));
    NetworkConfigRecord record;
    std::copy(network->payload.begin(), network->payload.end(), record.bytes.begin());
    EXPECT_EQ(record.dhcp(), 1);
    EXPECT_EQ(record.deviceName(), "QV-MY2400");
}

TEST(SimServer, PlaysTheSoftwareUpdateOverTheLink) {
    sim::ServerOptions options;
    options.updateStep = std::chrono::milliseconds(20);
    RunningSim sim(options);
    ASSERT_TRUE(sim.started());
    Client client(sim.address());
    ASSERT_TRUE(client.loggedOn);
    ASSERT_TRUE(client.link.Send(request::startUpdate()));
    for (int step = 0; step <= result::kUpdateFinished; ++step) {
        auto report = client.sink.waitFor(ReplyEvent::UpdateStepReported);
        ASSERT_TRUE(report) << "step " << step;
        EXPECT_EQ(report->value, step);
    }
    // The link stays usable during and after the update.
    EXPECT_TRUE(client.ask(request::readTime(), ReplyEvent::ServerTimeArrived));
}

TEST(SimServer, StoresUploadsInItsFolder) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("qvsim-uploads-test-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    sim::ServerOptions options;
    options.uploadDir = folder.string();
    RunningSim sim(options);
    ASSERT_TRUE(sim.started());
    Client client(sim.address());
    ASSERT_TRUE(client.loggedOn);
    const std::vector<uint8_t> gif{'G', 'I', 'F', '8', '9', 'a', 0, 1, 2};
    EXPECT_EQ(client.ask(request::uploadLogo(gif, '1'), ReplyEvent::LogoAnswered)->value,
              result::kLogoUploaded);
    std::ifstream file(folder / "logo.gif", std::ios::binary);
    const std::vector<uint8_t> stored((std::istreambuf_iterator<char>(file)),
                                      std::istreambuf_iterator<char>());
    file.close(); // Windows deletes no file that is open
    EXPECT_EQ(stored, gif);
    EXPECT_EQ(client.ask(request::deleteLogo(), ReplyEvent::LogoAnswered)->value,
              result::kLogoDeleted);
    EXPECT_FALSE(std::filesystem::exists(folder / "logo.gif"));
    std::filesystem::remove_all(folder);
}

// The real program as a subprocess: its state file carries a change across a restart.
class QvsimProcess {
public:
    QvsimProcess(const std::vector<std::string>& arguments, const std::string& output,
                 std::map<std::string, std::optional<std::string>> environment = {})
        : m_process(qvtest::ChildStart{withPort(arguments), std::move(environment), output, {}}) {
        // The first line names the port; a program that ends instead has refused to start.
        eventually([&] {
            if (!m_process.started() || m_process.ended())
                return true;
            std::istringstream in(qvtest::readChildOutput(output));
            std::string line;
            if (std::getline(in, line) && line.rfind("qvsim listening on ", 0) == 0)
                m_port = std::stoi(line.substr(line.rfind(':') + 1));
            return m_port != 0;
        });
    }
    int stop() { return m_process.stop(); }
    int port() const { return m_port; }

private:
    static std::vector<std::string> withPort(const std::vector<std::string>& arguments) {
        std::vector<std::string> all{QVSIM_PATH, "--port", "0"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        return all;
    }
    qvtest::ChildProcess m_process;
    int m_port = 0;
};

TEST(QvsimProgram, KeepsItsStateFileAcrossARestart) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("qvsim-restart-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string state = (dir / "state").string();
    const std::string log = (dir / "log").string();

    BlockIpTable ips;
    {
        QvsimProcess sim({"--state", state}, log);
        ASSERT_NE(sim.port(), 0);
        Client client("127.0.0.1:" + std::to_string(sim.port()));
        ASSERT_TRUE(client.loggedOn);
        auto read = client.ask(request::readBlockIps(), ReplyEvent::BlockIpsArrived);
        ASSERT_TRUE(read);
        std::copy(read->payload.begin(), read->payload.end(), ips.bytes.begin());
        ips.setAddress(3, "10.9.8.7");
        ips.bytes[1] = 0xAB;
        ASSERT_EQ(client.ask(request::writeBlockIps(4, ips), ReplyEvent::BlockIpsApplied)->value,
                  result::kSuccess);
        ASSERT_EQ(
            client.ask(request::changeAdmin("keeper", "pw2"), ReplyEvent::AdminChangeAnswered)
                ->value,
            result::kSuccess);
        client.link.Close();
        EXPECT_EQ(sim.stop(), 0);
    }
    {
        QvsimProcess sim({"--state", state}, log);
        ASSERT_NE(sim.port(), 0);
        QueueSink sink;
        CMySocket link;
        ASSERT_TRUE(link.Connect(&sink, "127.0.0.1:" + std::to_string(sim.port())));
        ASSERT_TRUE(link.Send(request::logon("keeper", "pw2")));
        auto answer = sink.waitFor(ReplyEvent::LogonAnswered);
        ASSERT_TRUE(answer);
        EXPECT_TRUE(result::kLogonAccepted.holds(answer->value));
        ASSERT_TRUE(link.Send(request::readBlockIps()));
        auto read = sink.waitFor(ReplyEvent::BlockIpsArrived);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->value, 4);
        EXPECT_EQ(read->payload, bytesOf(ips));
    }
    // A broken state file is left alone and the simulator refuses to start.
    std::ofstream(state, std::ios::trunc) << "not a state file\n";
    {
        QvsimProcess sim({"--state", state}, log);
        EXPECT_EQ(sim.port(), 0);
        EXPECT_EQ(sim.stop(), 1);
    }
    std::ifstream in(state);
    std::string first;
    std::getline(in, first);
    in.close(); // Windows removes no file that is open
    EXPECT_EQ(first, "not a state file");
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace qv::simtest

namespace qv::simtest {
namespace {

TEST(QvsimProgram, DocumentsItsOptionsAndRefusesBadOnes) {
    const std::string log =
        (std::filesystem::temp_directory_path() / ("qvsim-help-" + std::to_string(::getpid())))
            .string();
    {
        QvsimProcess help({"--help"}, log);
        EXPECT_EQ(help.stop(), 0);
        std::ifstream in(log);
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        for (const char* option : {"--bind", "--port", "--admin-id", "--admin-password", "--state",
                                   "--update-unreachable", "--reboot-pause", "--update-step",
                                   "--upload-dir", "\"admin\"", "64", "16", "0.25 s"})
            EXPECT_NE(text.find(option), std::string::npos) << option;
    }
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--bogus"},
                                                {"--reboot-pause", "-1"},
                                                {"--port", "70000"},
                                                {"--admin-id", ""},
                                                {"--admin-password-file", "/dev/null"},
                                                {"--max-center-ids", "150"},
                                                {"--state"}}) {
        QvsimProcess sim(bad, log);
        EXPECT_EQ(sim.port(), 0) << bad[0];
        EXPECT_EQ(sim.stop(), 2) << bad[0];
    }
    std::filesystem::remove(log);
}

} // namespace
} // namespace qv::simtest

namespace qv::simtest {
namespace {

std::filesystem::path scratchFolder(const std::string& name) {
    const auto folder =
        std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

bool logHas(RunningSim& sim, const std::string& text) {
    const auto lines = sim.log();
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(text) != std::string::npos;
    });
}

TEST(SimServer, AnswersDoneOnlyForAChangeItsStateFileKept) {
    const auto folder = scratchFolder("qvsim-honest-save");
    WolTable table;
    table.bytes[0] = 0x5A;
    // First no save can succeed (the folder is missing); then one is in the way of a temporary
    // left by a killed run of the same process id, another of a later run.
    const std::string state = (folder / "state").string();
    for (const std::string& path :
         {state + ".tmp" + std::to_string(::getpid()), state + ".tmpAb12"})
        std::ofstream(path) << "half a state";
    for (const std::string& path : {(folder / "missing" / "state").string(), state}) {
        sim::ServerOptions options;
        options.statePath = path;
        RunningSim sim(options);
        ASSERT_TRUE(sim.started());
        const sim::SimState before = sim.server().snapshot();
        Client client(sim.address());
        ASSERT_TRUE(client.loggedOn);
        const bool keeps = path == state;
        EXPECT_EQ(client.ask(request::writeWol(1, table), ReplyEvent::WolApplied)->value,
                  keeps ? result::kSuccess : sim::failure::kChange);
        EXPECT_EQ(sim.server().snapshot() == before, !keeps);
        EXPECT_EQ(logHas(sim, "the state file did not keep it"), !keeps);
    }
    sim::SimState kept;
    std::string error;
    ASSERT_TRUE(sim::loadState(kept, state, error)) << error;
    EXPECT_EQ(kept.wol, table);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
    std::filesystem::remove_all(folder);
}

TEST(SimServer, BeforeLogonEndsAnyOtherRequestBeforeItsPayload) {
    sim::ServerOptions options;
    options.frameStallLimit = 60s; // a server that waited for the payload would wait this long
    options.logonLimit = 60s;
    RunningSim sim(options);
    ASSERT_TRUE(sim.started());
    // Only the header of a 1 MiB upload goes out; the payload never follows.
    const auto wire = encodeFrame(request::uploadWebArchive(std::vector<uint8_t>(1 << 20, 'x')));
    RawClient raw(sim.port());
    ASSERT_TRUE(raw.send({wire.begin(), wire.begin() + kHeaderSize}));
    EXPECT_TRUE(raw.closedAfterDraining(5s));
    EXPECT_TRUE(logHas(sim, "other than logon before logging on"));
}

TEST(SimServer, BoundsItsConnectionsAndThoseNotLoggedOn) {
    // {limit of all, limit of those not logged on, logged on, silent}: the next one is refused.
    for (const std::array<int, 4>& c : {std::array{3, 8, 2, 1}, std::array{8, 2, 1, 2}}) {
        sim::ServerOptions options;
        options.maxConnections = c[0];
        options.maxWaitingForLogon = c[1];
        options.logonLimit = 60s;
        RunningSim sim(options);
        ASSERT_TRUE(sim.started());
        std::vector<std::unique_ptr<Client>> clients;
        for (int i = 0; i < c[2]; ++i)
            clients.push_back(std::make_unique<Client>(sim.address()));
        std::vector<std::unique_ptr<RawClient>> silent;
        for (int i = 0; i < c[3]; ++i)
            silent.push_back(std::make_unique<RawClient>(sim.port()));
        EXPECT_TRUE(RawClient(sim.port()).closedAfterDraining(5s)) << c[0];
        EXPECT_TRUE(logHas(sim, "refused: too many connections")) << c[0];
        EXPECT_TRUE(clients.front()->ask(request::readTime(), ReplyEvent::ServerTimeArrived));
    }
}

TEST(SimServer, FailedLogonsWaitLongerEachTimePerConnectionAndAddress) {
    std::mutex mutex;
    std::vector<std::chrono::milliseconds> pauses;
    sim::ServerOptions options;
    options.logonDelay = 100ms;
    options.maxLogonDelay = 1000ms;
    options.logonPause = [&](std::chrono::milliseconds pause) {
        std::lock_guard lock(mutex);
        pauses.push_back(pause);
    };
    RunningSim sim(options);
    ASSERT_TRUE(sim.started());
    // Five guesses, then on a new connection from the same address a guess, the password (it
    // waits for nothing and clears the address) and a guess again.
    for (const std::vector<const char*>& passwords :
         {std::vector{"a", "b", "c", "d", "e"}, std::vector{"f", "admin", "g"}}) {
        QueueSink sink;
        CMySocket link;
        ASSERT_TRUE(link.Connect(&sink, sim.address()));
        for (const char* password : passwords) {
            ASSERT_TRUE(link.Send(request::logon("admin", password)));
            ASSERT_TRUE(sink.waitFor(ReplyEvent::LogonAnswered));
        }
    }
    std::lock_guard lock(mutex);
    EXPECT_EQ(pauses, (std::vector<std::chrono::milliseconds>{100ms, 200ms, 400ms, 800ms, 1000ms,
                                                              1000ms, 100ms}));
}

TEST(SimServer, RefusesAConnectionItHasNoThreadForAndGoesOn) {
    std::atomic<int> started{0};
    sim::ServerOptions options;
    options.startThread = [&](std::function<void()> body) {
        if (++started == 2)
            throw std::system_error(
                std::make_error_code(std::errc::resource_unavailable_try_again));
        return std::thread(std::move(body));
    };
    RunningSim sim(options);
    ASSERT_TRUE(sim.started());
    Client first(sim.address());
    ASSERT_TRUE(first.loggedOn);
    EXPECT_TRUE(RawClient(sim.port()).closedAfterDraining(5s));
    EXPECT_TRUE(logHas(sim, "refused: no thread to serve it"));
    EXPECT_TRUE(Client(sim.address()).loggedOn);
    EXPECT_TRUE(first.ask(request::readTime(), ReplyEvent::ServerTimeArrived));
}

TEST(SimServer, ItsListenQueueHoldsABurst) {
    // The first connection's thread is held back, and every accept after it: the burst waits
    // in the system's queue.
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    sim::ServerOptions options;
    options.startThread = [released](std::function<void()> body) {
        released.wait();
        return std::thread(std::move(body));
    };
    RunningSim sim(options);
    ASSERT_TRUE(sim.started());
    std::vector<std::unique_ptr<RawClient>> burst;
    do
        burst.push_back(std::make_unique<RawClient>(sim.port()));
    while (burst.back()->connected() && burst.size() < 60);
    release.set_value();
    EXPECT_TRUE(burst.back()->connected()) << burst.size();
}

TEST(SimServer, KeepsUploadsInAFolderOfItsOwnAndReplacesLinks) {
    namespace fs = std::filesystem;
    const auto folder = scratchFolder("qvsim-upload-folder");
    std::ofstream(folder / "victim") << "the owner's own file";
    fs::create_directory(folder / "own");
    std::error_code code;
    fs::create_symlink(folder / "victim", folder / "own" / "index.html", code);
    fs::create_symlink(folder / "own", folder / "link", code);
    fs::create_directory(folder / "shared");
    fs::permissions(folder / "shared", fs::perms::all);
    if (code || !qvtest::posixFileMode(folder.string()))
        GTEST_SKIP() << "no links or file modes here";
    for (const char* refused : {"link", "shared"}) {
        sim::ServerOptions options;
        options.uploadDir = (folder / refused).string();
        EXPECT_FALSE(RunningSim(options).started()) << refused;
    }
    std::ofstream(folder / "own" / "webpage.zip.tmpAb12") << "an upload cut short";
    sim::ServerOptions options;
    options.uploadDir = (folder / "own").string();
    RunningSim sim(options);
    ASSERT_TRUE(sim.started());
    EXPECT_FALSE(fs::exists(folder / "own" / "webpage.zip.tmpAb12"));
    Client client(sim.address());
    ASSERT_TRUE(client.loggedOn);
    ASSERT_TRUE(
        client.ask(request::uploadActiveXPage({'<', 'p', '>'}), ReplyEvent::ActiveXPageUploaded));
    EXPECT_FALSE(fs::is_symlink(folder / "own" / "index.html"));
    std::ifstream kept(folder / "victim");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "the owner's own file");
    kept.close();
    fs::remove_all(folder);
}

TEST(QvsimProgram, KeepsUploadsInAFreshFolderOfItsOwnByDefault) {
    // Another user made the folder of the old fixed name first, with a link to the owner's files.
    const auto temporary = scratchFolder("qvsim-default-uploads");
    std::filesystem::create_directory(temporary / "victim");
    std::error_code code;
    std::filesystem::create_directory_symlink(temporary / "victim", temporary / "qvsim-uploads",
                                              code);
    const std::string log = (temporary / "log").string();
    {
        QvsimProcess sim({}, log, {{"TMPDIR", temporary.string()}});
        ASSERT_NE(sim.port(), 0);
        Client client("127.0.0.1:" + std::to_string(sim.port()));
        ASSERT_TRUE(client.loggedOn);
        EXPECT_TRUE(
            client.ask(request::uploadLogo({'G', 'I', 'F'}, '1'), ReplyEvent::LogoAnswered));
        client.link.Close(); // wine wakes no server thread waiting on a link it shuts down
        EXPECT_EQ(sim.stop(), 0);
    }
    EXPECT_TRUE(std::filesystem::is_empty(temporary / "victim"));
    const std::string output = qvtest::readChildOutput(log);
    const size_t named = output.find("qvsim keeps uploads in ");
    ASSERT_NE(named, std::string::npos) << output;
    const std::string folder = output.substr(named + 23, output.find('\n', named) - named - 23);
    EXPECT_NE(folder.find("qvsim-uploads-"), std::string::npos) << folder;
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / "logo.gif")) << folder;
    std::filesystem::remove_all(folder);
    std::filesystem::remove_all(temporary);
}

} // namespace
} // namespace qv::simtest
