// The real qvctl program against qvsim over loopback: every read command in human and JSON
// output, and the exit codes a script relies on.

#include "cli/ExitCodes.h"
#include "cli/Session.h"
#include "sim/SimHandler.h"
#include "tests/sim/SimTestSupport.h"
#include "tests/support/QvctlRun.h"

#include "link/Frame.h"
#include "link/Requests.h"
#include "tests/support/ScriptedAppliance.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <thread>

namespace qv::simtest {
namespace {

using qvtest::runQvctl;
using Result = qvtest::QvctlResult;

// The value printed after "Label:" in human output.
std::string field(const std::string& out, const std::string& label) {
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind(label + ":", 0) == 0) {
            const std::string value = line.substr(label.size() + 1);
            const size_t start = value.find_first_not_of(' ');
            return start == std::string::npos ? std::string() : value.substr(start);
        }
    return "<no field " + label + ">";
}

// The table row whose cells start with `first` (cells split on runs of two or more blanks).
std::vector<std::string> row(const std::string& out, const std::string& first) {
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> cells;
        size_t at = 0;
        while (at < line.size()) {
            size_t gap = line.find("  ", at);
            cells.push_back(line.substr(at, gap - at));
            if (gap == std::string::npos)
                break;
            at = line.find_first_not_of(' ', gap);
        }
        if (!cells.empty() && cells[0] == first)
            return cells;
    }
    return {};
}

// The cells of the row whose first cell is `first`, cut at the columns of the dashed rule
// under the header (for tables of ASCII text, where bytes and columns agree).
std::vector<std::string> fixedCells(const std::string& out, const std::string& first) {
    std::istringstream lines(out);
    std::vector<size_t> starts;
    for (std::string line; std::getline(lines, line);) {
        if (starts.empty() && line.rfind("--", 0) == 0) {
            for (size_t at = 0; at < line.size(); at = line.find('-', line.find(' ', at))) {
                starts.push_back(at);
                if (line.find(' ', at) == std::string::npos)
                    break;
            }
            continue;
        }
        if (starts.empty() || line.compare(0, first.size() + 1, first + " ") != 0)
            continue;
        std::vector<std::string> cells;
        for (size_t c = 0; c < starts.size(); ++c) {
            const size_t end = c + 1 < starts.size() ? starts[c + 1] : line.size();
            std::string cell =
                starts[c] < line.size() ? line.substr(starts[c], end - starts[c]) : "";
            cell.erase(cell.find_last_not_of(' ') + 1);
            cells.push_back(cell);
        }
        return cells;
    }
    return {};
}

// A strict JSON check: one value and nothing else; strings may hold no raw control characters.
class JsonCheck {
public:
    explicit JsonCheck(const std::string& text) : m_text(text) {}
    bool valid() {
        m_at = 0;
        if (!value())
            return false;
        space();
        return m_at == m_text.size();
    }

private:
    void space() {
        while (m_at < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_at])))
            ++m_at;
    }
    bool literal(const char* word) {
        const std::string w = word;
        if (m_text.compare(m_at, w.size(), w) != 0)
            return false;
        m_at += w.size();
        return true;
    }
    bool string() {
        if (m_text[m_at] != '"')
            return false;
        for (++m_at; m_at < m_text.size(); ++m_at) {
            const auto c = static_cast<unsigned char>(m_text[m_at]);
            if (c == '"') {
                ++m_at;
                return true;
            }
            if (c < 0x20)
                return false;
            if (c == '\\')
                ++m_at;
        }
        return false;
    }
    bool value() {
        space();
        if (m_at >= m_text.size())
            return false;
        const char c = m_text[m_at];
        if (c == '{' || c == '[') {
            const char close = c == '{' ? '}' : ']';
            ++m_at;
            space();
            if (m_text[m_at] == close) {
                ++m_at;
                return true;
            }
            for (;;) {
                if (c == '{') {
                    space();
                    if (!string())
                        return false;
                    space();
                    if (m_text[m_at++] != ':')
                        return false;
                }
                if (!value())
                    return false;
                space();
                if (m_text[m_at] == close) {
                    ++m_at;
                    return true;
                }
                if (m_text[m_at++] != ',')
                    return false;
            }
        }
        if (c == '"')
            return string();
        if (literal("true") || literal("false") || literal("null"))
            return true;
        const size_t start = m_at;
        if (m_text[m_at] == '-')
            ++m_at;
        while (m_at < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_at])))
            ++m_at;
        return m_at > start && std::isdigit(static_cast<unsigned char>(m_text[m_at - 1]));
    }

    const std::string& m_text;
    size_t m_at = 0;
};

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class QvctlAgainstQvsim : public ::testing::Test {
protected:
    static sim::ServerOptions options() {
        sim::ServerOptions o;
        o.clock = [] { return int64_t{1'700'000'000}; }; // 2023-11-14 22:13:20 UTC
        return o;
    }
    Result qvctl(std::vector<std::string> args,
                 const std::map<std::string, std::optional<std::string>>& env = {}) {
        args.insert(args.begin(), {"--server", sim.address()});
        return runQvctl(args, env);
    }

    RunningSim sim{options()};
};

TEST_F(QvctlAgainstQvsim, SummaryAndNetworkShowValuesAsThePagesDo) {
    ASSERT_TRUE(sim.started());
    Result r = qvctl({"summary"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(field(r.out, "S/W Version"), "4.12 (build 2611)");
    EXPECT_EQ(field(r.out, "Mac Address"), "00:1a:2b:3c:4d:5e");
    EXPECT_EQ(field(r.out, "Company"), "(주)쿼벨시스템");
    EXPECT_EQ(field(r.out, "DDNS"), "qvdemo01.quorvel-ddns.net");
    EXPECT_EQ(field(r.out, "Device Name"), "QV-MY2400");
    EXPECT_EQ(field(r.out, "e-Mail"), "admin@quorvel-demo.example");
    EXPECT_EQ(field(r.out, "Max Center ID"), "20");
    EXPECT_EQ(field(r.out, "Max Schedule"), "500");
    EXPECT_EQ(field(r.out, "Max Standby"), "50");

    r = qvctl({"network"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(field(r.out, "IP Address"), "192.168.10.20");
    EXPECT_EQ(field(r.out, "Net Mask"), "255.255.255.0");
    EXPECT_EQ(field(r.out, "Gateway"), "192.168.10.1");
    EXPECT_EQ(field(r.out, "DHCP"), "off");
    EXPECT_EQ(field(r.out, "Quorvel Link Port"), "12301");
    EXPECT_EQ(field(r.out, "Quorvel Config Port"), "12300");
    EXPECT_EQ(field(r.out, "Web Server Port"), "80");
    EXPECT_EQ(field(r.out, "UPNP"), "off");
    EXPECT_EQ(field(r.out, "DDNS"), "qvdemo01");
    EXPECT_EQ(field(r.out, "NTP Server"), "pool.ntp.org");

    r = qvctl({"time"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(field(r.out, "Server Time"), "2023-11-14 22:13:20");

    r = qvctl({"autoupdate"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(field(r.out, "Automatic Update"), "on");
}

// The record's flags change what the pages show: no schedule limit without the IO scheduler,
// no addresses of its own with DHCP.
TEST(QvctlRecordFlags, SummaryAndNetworkFollowTheRecord) {
    auto state = sim::seededState();
    state->record.setIoScheduleEnabled(0);
    state->record.setMaxScheduleCount(5000);
    state->record.setSoftwareVersion(7);
    state->record.setDhcp(1);
    state->record.setUpnp(true);
    state->record.setDdnsId("");
    state->maxCenterIds = 149;
    RunningSim sim({}, std::move(state));
    ASSERT_TRUE(sim.started());

    Result r = runQvctl({"--server", sim.address(), "summary"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(field(r.out, "Max Schedule"), "");
    EXPECT_EQ(field(r.out, "S/W Version"), "0.07 (build 2611)");
    EXPECT_EQ(field(r.out, "DDNS"), ".quorvel-ddns.net");
    EXPECT_EQ(field(r.out, "Max Center ID"), "100"); // logon answer 249, kept within 1..100
    r = runQvctl({"--server", sim.address(), "summary", "--json"});
    EXPECT_TRUE(contains(r.out, "\"maxSchedules\": null")) << r.out;
    EXPECT_TRUE(contains(r.out, "\"ioSchedule\": false")) << r.out;

    r = runQvctl({"--server", sim.address(), "network"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(field(r.out, "IP Address"), "0.0.0.0");
    EXPECT_EQ(field(r.out, "Gateway"), "0.0.0.0");
    EXPECT_EQ(field(r.out, "DHCP"), "on");
    EXPECT_EQ(field(r.out, "UPNP"), "on");

    // The schedule limit is kept within 10..2040 as the window keeps it.
    r = runQvctl({"--server", sim.address(), "schedule", "--json"});
    EXPECT_TRUE(contains(r.out, "\"maxSchedules\": 2040")) << r.out;
}

TEST_F(QvctlAgainstQvsim, TablesOfEveryListCommand) {
    ASSERT_TRUE(sim.started());
    // Center ID names are in the administrator's code page; the Korean one needs 949.
    Result r = qvctl({"centerids"}, {{"QVSETTING_CODEPAGE", std::string("949")}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(row(r.out, "2"), (std::vector<std::string>{"2", "seoul", "******", "관제센터", "2",
                                                         "1", "금지", "허용"}));
    EXPECT_EQ(row(r.out, "No.").size(), 8u);

    r = qvctl({"wol"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(row(r.out, "2"), (std::vector<std::string>{"2", "사무실PC", "00:1b:21:3a:4f:02"}));
    EXPECT_EQ(row(r.out, "4"), (std::vector<std::string>{"4", "nas-backup", "AC:1F:6B:00:12:EF"}));

    r = qvctl({"blacklist"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(row(r.out, "6"), (std::vector<std::string>{"6", "198.51.100.23", "65535", "1024", "0",
                                                         "0", "65535", "4096", "0", "0", "-1"}));

    r = qvctl({"blockips"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(row(r.out, "3"), (std::vector<std::string>{"3", "198.51.100.0"}));

    // Sorted by ID as the page sorts; status bits 0x01, 0x02, 0x10, 0x20, 0x04, 0x08.
    r = qvctl({"iolist"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(row(r.out, "1"), (std::vector<std::string>{"1", "ALARM-SIREN", "000000"}));
    EXPECT_EQ(row(r.out, "7"), (std::vector<std::string>{"7", "HVAC-4F", "101000"}));
    EXPECT_EQ(row(r.out, "12"), (std::vector<std::string>{"12", "SIGN-ROOF", "111011"}));

    // Normal schedules first, then exceptions, numbered per device.
    r = qvctl({"schedule", "GATE-01"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(field(r.out, "Current Schedule Count"), "24");
    EXPECT_EQ(field(r.out, "Max Schedules"), "500");
    EXPECT_EQ(fixedCells(r.out, "GATE-01"),
              (std::vector<std::string>{"GATE-01", "1", "Normal", "ON", "", "MON", "", "07", "30",
                                        "1", "1001"}));
    EXPECT_EQ(fixedCells(r.out, "GATE-01  3"),
              (std::vector<std::string>{"GATE-01", "3", "Normal", "ON", "", "TUS", "", "07", "30",
                                        "1", "1003"}));
    EXPECT_EQ(fixedCells(r.out, "GATE-01  5"),
              (std::vector<std::string>{"GATE-01", "5", "Exception", "OFF", "12", "", "25", "00",
                                        "00", "1", "1005"}));

    r = qvctl({"schedule"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "FOUNTAIN")) << r.out;
    EXPECT_TRUE(contains(r.out, "ALARM-SIREN")) << r.out;

    r = qvctl({"schedule", "NO-SUCH-DEVICE"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "No schedules for this device.")) << r.out;
}

TEST_F(QvctlAgainstQvsim, JsonOfEveryReadCommandIsValidAndTyped) {
    ASSERT_TRUE(sim.started());
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> parts;
    };
    const std::vector<Case> cases{
        {{"summary"},
         {"\"softwareVersion\": \"4.12 (build 2611)\"", "\"company\": \"(주)쿼벨시스템\"",
          "\"macAddress\": \"00:1a:2b:3c:4d:5e\"", "\"maxCenterIds\": 20", "\"maxSchedules\": 500",
          "\"ioSchedule\": true"}},
        {{"network"},
         {"\"ipAddress\": \"192.168.10.20\"", "\"dhcp\": false", "\"upnp\": false",
          "\"linkPort\": 12301", "\"ntpServer\": \"pool.ntp.org\""}},
        {{"centerids"},
         {"\"count\": 6", "\"id\": \"center01\"", "\"group\": 50", "\"superUser\": true",
          "\"logDeletion\": false", "\"fileTransfer\": false"}},
        {{"wol"}, {"\"name\": \"사무실PC\"", "\"macAddress\": \"b8:27:eb:45:67:89\""}},
        {{"blacklist"}, {"\"ip\": \"192.0.2.200\"", "\"week2\": 2950", "\"quorvelIp\": -1"}},
        {{"blockips"}, {"\"ip\": \"203.0.113.45\"", "\"no\": 3"}},
        {{"iolist"}, {"\"id\": \"FOUNTAIN\"", "\"status\": \"111111\""}},
        {{"schedule", "HVAC-3F"},
         {"\"type\": \"Exception\"", "\"function\": \"PUSH OFF\"", "\"month\": 8", "\"date\": 15",
          "\"functionCode\": 53", "\"weekday\": \"MON\"", "\"minute\": 30"}},
        {{"time"}, {"\"seconds\": 1700000000", "\"serverTime\": \"2023-11-14 22:13:20\""}},
        {{"autoupdate"}, {"\"automaticUpdate\": true", "\"value\": 0"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back("--json");
        const Result r = qvctl(args);
        SCOPED_TRACE(c.args[0]);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(JsonCheck(r.out).valid()) << r.out;
        for (const std::string& part : c.parts)
            EXPECT_TRUE(contains(r.out, part)) << part << "\n" << r.out;
    }
    // Bytes that are no UTF-8 (a CP949 name read as 1252 is fine; raw 949 bytes under UTF-8
    // would not be) still give valid JSON.
    const Result r = qvctl({"centerids", "--json"}, {{"QVSETTING_CODEPAGE", std::string("65001")}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(JsonCheck(r.out).valid()) << r.out;
    EXPECT_TRUE(contains(r.out, "\xEF\xBF\xBD")) << r.out;
}

TEST_F(QvctlAgainstQvsim, ExitCodesTellWhatWentWrong) {
    ASSERT_TRUE(sim.started());
    Result r = qvctl({"summary"}, {{"QVCTL_PASSWORD", std::string("wrong")}});
    EXPECT_EQ(r.status, 4);
    EXPECT_TRUE(contains(r.err, "logon refused")) << r.err;
    EXPECT_TRUE(r.out.empty());

    r = qvctl({"summary"}, {{"QVCTL_PASSWORD", std::nullopt}});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(contains(r.err, "no password")) << r.err;

    const auto passwordFile =
        std::filesystem::temp_directory_path() / ("qvctl-password-" + std::to_string(::getpid()));
    std::ofstream(passwordFile) << "admin\n";
    r = qvctl({"--password-file", passwordFile.string(), "autoupdate"},
              {{"QVCTL_PASSWORD", std::string("wrong")}});
    EXPECT_EQ(r.status, 0) << r.err;
    std::filesystem::remove(passwordFile);
    r = qvctl({"--password-file", passwordFile.string(), "autoupdate"});
    EXPECT_EQ(r.status, 2);

    for (const auto& args :
         std::vector<std::vector<std::string>>{{"frobnicate"},
                                               {"summary", "extra"},
                                               {"--password", "admin", "summary"},
                                               {"--bogus", "summary"},
                                               {"schedule", "a", "b"},
                                               {"--server"},
                                               {},
                                               {"--user", std::string(32, 'u'), "summary"},
                                               {"--timeout", "0", "time"}}) {
        r = runQvctl(args);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args[0]);
        EXPECT_FALSE(r.err.empty());
    }
    // A password the logon request cannot carry whole is refused before anything is sent.
    r = qvctl({"summary"}, {{"QVCTL_PASSWORD", std::string(64, 'p')}});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(contains(r.err, "63 bytes")) << r.err;

    r = runQvctl({"--server", "127.0.0.1:99999", "summary"});
    EXPECT_EQ(r.status, 2);

    // Nothing listens on a port that was just closed.
    SocketHandle listening = listenTcp("127.0.0.1", 0);
    const int closedPort = localPort(listening);
    closeSocket(listening);
    r = runQvctl({"--server", "127.0.0.1:" + std::to_string(closedPort), "summary"});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(contains(r.err, "cannot connect")) << r.err;
}

// An appliance that admits the logon and then, at the next request, drops the link or falls
// silent until the client goes.
enum class After { Close, Silent };
void misbehaveAfterLogon(qvtest::ScriptedAppliance& appliance, After after) {
    if (!appliance.accept() || appliance.read(kHeaderSize + TextRequestPayload::kSize).empty())
        return;
    appliance.send(sim::replyFrame(CMD_LOGIN_MSG, result::kLogonLimitOffset + 20));
    appliance.read(kHeaderSize);
    if (after == After::Silent)
        appliance.clientClosed();
    appliance.closeClient();
}

TEST(QvctlLink, ALinkLostOrSilentAfterLogonGivesExitCodeFive) {
    {
        qvtest::ScriptedAppliance appliance{qvtest::ScriptedAppliance::kByHand};
        std::thread playing(misbehaveAfterLogon, std::ref(appliance), After::Close);
        const Result r = runQvctl({"--server", appliance.address(), "centerids"});
        playing.join();
        EXPECT_EQ(r.status, 5);
        EXPECT_TRUE(contains(r.err, "ended")) << r.err;
    }
    {
        qvtest::ScriptedAppliance appliance{qvtest::ScriptedAppliance::kByHand};
        std::thread playing(misbehaveAfterLogon, std::ref(appliance), After::Silent);
        const Result r = runQvctl({"--server", appliance.address(), "--timeout", "1", "wol"});
        playing.join();
        EXPECT_EQ(r.status, 5);
        EXPECT_TRUE(contains(r.err, "no answer")) << r.err;
    }
}

TEST(QvctlHelp, DocumentsEveryCommandOptionAndExitCode) {
    const Result r = runQvctl({"--help"});
    ASSERT_EQ(r.status, 0);
    for (const char* word : {"summary", "network", "centerids", "wol", "blacklist", "blockips",
                             "iolist", "schedule", "time", "autoupdate", "--server", "--user",
                             "--password-file", "--json", "QVCTL_PASSWORD", "--timeout"})
        EXPECT_TRUE(contains(r.out, word)) << word;
    for (const char* code : {"  0  ", "  2  ", "  3  ", "  4  ", "  5  ", "  6  "})
        EXPECT_TRUE(contains(r.out, code)) << code;
    const Result one = runQvctl({"schedule", "--help"});
    EXPECT_EQ(one.status, 0);
    EXPECT_TRUE(contains(one.out, "schedule [DEVICE-ID]"));
}

} // namespace
} // namespace qv::simtest

namespace qvctl {
namespace {

// The session helper that write commands use: a change the appliance refuses is exit status 6
// and leaves the link usable.
TEST(ApplianceSession, ReportsARefusedChange) {
    qv::simtest::RunningSim sim;
    ASSERT_TRUE(sim.started());
    Options options;
    options.server = sim.address();
    auto session = std::make_unique<ApplianceSession>(options, std::cerr);
    ASSERT_EQ(session->logOn("admin"), kExitOk);
    EXPECT_EQ(session->maxCenterIds(), 20);
    EXPECT_EQ(session->change(qv::request::writeCenterIds(21, qv::CenterIdTable{}),
                              qv::ReplyEvent::CenterIdsApplied, "the center IDs"),
              kExitChangeRefused);
    EXPECT_EQ(session->change(qv::request::writeCenterIds(0, qv::CenterIdTable{}),
                              qv::ReplyEvent::CenterIdsApplied, "the center IDs"),
              kExitOk);
    EXPECT_EQ(session->request(qv::request::readCenterIds(), qv::ReplyEvent::CenterIdsArrived),
              kExitOk);
    EXPECT_EQ(session->store().centerIdCount, 0);
    // The simulator serves one client at a time: the next one comes after this one has gone.
    session.reset();

    ApplianceSession wrong(options, std::cerr);
    EXPECT_EQ(wrong.logOn("nope"), kExitLogonRefused);
}

// The session waits for the event a reply raises, which for these requests is not the number
// of their command (the DDNS check is command 10, its answer event 9): a wrong wait would run
// into the deadline instead of handing back the appliance's value.
TEST(ApplianceSession, WaitsForTheEventTheReplyRaises) {
    qv::simtest::RunningSim sim;
    ASSERT_TRUE(sim.started());
    Options options;
    options.server = sim.address();
    options.timeout = std::chrono::seconds(2);
    ApplianceSession session(options, std::cerr);
    ASSERT_EQ(session.logOn("admin"), kExitOk);
    using E = qv::ReplyEvent;
    namespace result = qv::result;
    const std::string own = "00:1a:2b:3c:4d:5e";
    const struct {
        const char* what;
        qv::Frame request;
        E event;
        int32_t value;
    } cases[] = {
        {"free DDNS ID", qv::request::checkDdns("freshname", own), E::DdnsIdChecked,
         result::kSuccess},
        {"taken DDNS ID", qv::request::checkDdns("demo", own), E::DdnsIdChecked,
         result::kDdnsIdTaken},
        {"MAC registration", qv::request::registerMac(own), E::MacRegistrationAnswered,
         result::kMacAlreadyRegistered},
        {"NTP server", qv::request::setNtpServer("time.example.org"), E::NtpServerSet,
         result::kSuccess},
        // Last: the appliance reboots and the link ends after its answer.
        {"reboot", qv::request::reboot(), E::RebootAnswered, result::kRebootAccepted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        qv::LinkEvent answer;
        ASSERT_EQ(session.request(c.request, c.event, &answer), kExitOk);
        EXPECT_EQ(answer.code, c.event);
        EXPECT_EQ(answer.value, c.value);
    }
}

} // namespace
} // namespace qvctl
