// The simulator's request handling, driven directly: what it serves before and after logon,
// writes read back byte for byte, the registration rules, and the timed and closing answers.

#include "sim/SimHandler.h"
#include "link/ByteSource.h"
#include "link/Catalogue.h"
#include "link/Commands.h"
#include "link/FrameReaders.h"
#include "link/Requests.h"
#include "link/TextRequestPayload.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace qv::sim {
namespace {

using namespace std::chrono_literals;

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    bool readExact(uint8_t* buffer, size_t length) override {
        if (m_bytes.size() - m_offset < length)
            return false;
        std::memcpy(buffer, m_bytes.data() + m_offset, length);
        m_offset += length;
        return true;
    }
    bool atEnd() const { return m_offset == m_bytes.size(); }

private:
    std::vector<uint8_t> m_bytes;
    size_t m_offset = 0;
};

// A request as the appliance reads it off the wire: encoded by the client's builder, decoded by
// the appliance's reader.
Frame onTheWire(const Frame& request) {
    MemorySource source(encodeFrame(request));
    RequestReader reader(source);
    Frame read;
    EXPECT_TRUE(reader.next(read));
    EXPECT_TRUE(source.atEnd());
    return read;
}

// A reply as the client reads it: the single event it becomes.
LinkEvent asClientSees(const Frame& reply) {
    MemorySource source(encodeFrame(reply));
    ReplyReader reader(source);
    LinkEvent event;
    EXPECT_EQ(reader.next(event), ReplyReader::Step::Event);
    EXPECT_TRUE(source.atEnd()) << "reply " << static_cast<int>(reply.cmd) << " has surplus bytes";
    return event;
}

template <size_t N> void randomBytes(WireRecord<N>& record, unsigned seed) {
    std::mt19937 random(seed);
    for (auto& b : record.bytes)
        b = static_cast<uint8_t>(random());
}

class SimHandlerTest : public ::testing::Test {
protected:
    Outcome serve(const Frame& request) {
        return handleRequest(*state, session, onTheWire(request), context);
    }
    // Serves a request that has exactly one immediate reply and returns it as the client's
    // event.
    LinkEvent ask(const Frame& request) {
        const Outcome out = serve(request);
        EXPECT_EQ(out.replies.size(), 1u) << out.log;
        return out.replies.empty() ? LinkEvent{} : asClientSees(out.replies.front());
    }
    // The seeded appliance admits its administrator with a limit of 20 center IDs.
    static constexpr int32_t kAdmitted = result::kLogonLimitOffset + 20;
    void logOn() { ASSERT_EQ(ask(request::logon("admin", "admin")).value, kAdmitted); }

    std::unique_ptr<SimState> state = seededState();
    Session session;
    HandlerContext context{1'700'000'000, 100ms, false};
};

TEST_F(SimHandlerTest, ServesNothingButLogonBeforeASuccessfulLogon) {
    const std::vector<Frame> others{
        request::readSummary(),          request::readCenterIds(), request::readWol(),
        request::readNetwork(),          request::startUpdate(),   request::reboot(),
        request::readIoList(),           request::readSchedule(),  request::readTime(),
        request::readBlacklist(),        request::readBlockIps(),  request::clearBlacklist(),
        request::writeWol(0, WolTable{})};
    const SimState before = *state;
    for (const Frame& request : others) {
        const Outcome out = serve(request);
        EXPECT_TRUE(out.replies.empty()) << out.log;
        EXPECT_TRUE(out.later.empty()) << out.log;
        EXPECT_EQ(out.after, LinkAfter::KeepOpen) << out.log;
    }
    EXPECT_EQ(*state, before);
}

TEST_F(SimHandlerTest, RefusesWrongCredentialsWithAValueOutsideTheAcceptedRange) {
    const std::vector<std::pair<std::string, std::string>> wrong{
        {"admin", "wrong"}, {"root", "admin"}, {"Admin", "admin"}, {"admin", "ADMIN"},
        {"", ""},           {"admin", ""},     {"admin", "admin "}};
    for (const auto& [id, password] : wrong) {
        const LinkEvent answer = ask(request::logon(id, password));
        EXPECT_EQ(answer.code, ReplyEvent::LogonAnswered);
        EXPECT_FALSE(result::kLogonAccepted.holds(answer.value)) << id << "/" << password;
        EXPECT_TRUE(serve(request::readSummary()).replies.empty());
    }
    // The right pair after refusals: 100 plus the center ID limit.
    EXPECT_EQ(ask(request::logon("admin", "admin")).value, kAdmitted);
    EXPECT_EQ(ask(request::readSummary()).code, ReplyEvent::SummaryArrived);
    // A refused logon on the same link logs the session off again.
    ask(request::logon("admin", "nope"));
    EXPECT_TRUE(serve(request::readSummary()).replies.empty());
}

TEST_F(SimHandlerTest, RefusesTextsWithBytesAfterTheirEnd) {
    constexpr size_t kFirst = TextRequestPayload::kFirstOffset;
    constexpr size_t kSecond = TextRequestPayload::kSecondOffset;
    // A stray byte at `at`, past the end of the text written there.
    const auto stray = [](Frame frame, size_t at) {
        frame.payload[at] = 'x';
        return frame;
    };
    // A text that fills its field and leaves no room for its end.
    const auto filled = [](Frame frame, size_t offset, size_t width) {
        std::fill_n(frame.payload.begin() + static_cast<std::ptrdiff_t>(offset), width, 'a');
        return frame;
    };
    const SimState before = *state;
    EXPECT_EQ(ask(stray(request::logon("admin", "admin"), kSecond + 10)).value, failure::kLogon);
    logOn();
    const std::vector<std::pair<Frame, int32_t>> refused{
        {stray(request::changeAdmin("admin", "new"), kSecond + 20), failure::kChange},
        {filled(request::changeAdmin("admin", "new"), kFirst, TextRequestPayload::kFirstWidth),
         failure::kChange},
        {stray(request::setNtpServer("pool.example"), kFirst + 30), failure::kChange},
        {stray(request::checkDdns("freeid", ""), kFirst + 8), failure::kDdnsCheck},
        {stray(request::registerMac(state->record.macText()), kSecond), failure::kRegistration},
    };
    for (const auto& [request, value] : refused)
        EXPECT_EQ(ask(request).value, value) << static_cast<int>(request.cmd);
    EXPECT_EQ(*state, before);
}

TEST_F(SimHandlerTest, ReadsAnswerWithTheStateAsTheClientCatalogueReadsIt) {
    logOn();
    EXPECT_EQ(ask(request::readSummary()).payload,
              std::vector<uint8_t>(state->record.bytes.begin(), state->record.bytes.end()));
    EXPECT_EQ(ask(request::readNetwork()).code, ReplyEvent::NetworkArrived);

    const LinkEvent centerIds = ask(request::readCenterIds());
    EXPECT_EQ(centerIds.value, 6);
    EXPECT_EQ(centerIds.payload,
              std::vector<uint8_t>(state->centerIds.bytes.begin(), state->centerIds.bytes.end()));

    const LinkEvent blacklist = ask(request::readBlacklist());
    EXPECT_EQ(blacklist.code, ReplyEvent::BlacklistArrived);
    EXPECT_EQ(blacklist.value, 6);
    ASSERT_EQ(blacklist.payload.size(), 6u * 52);
    EXPECT_TRUE(std::equal(blacklist.payload.begin(), blacklist.payload.end(),
                           state->blacklist.bytes.begin()));

    const LinkEvent io = ask(request::readIoList());
    EXPECT_EQ(io.code, ReplyEvent::IoListArrived);
    EXPECT_EQ(io.value, 12);
    const LinkEvent schedule = ask(request::readSchedule());
    EXPECT_EQ(schedule.code, ReplyEvent::SchedulesArrived);
    EXPECT_EQ(schedule.value, 24);
    EXPECT_EQ(ask(request::readTime()).value, 1'700'000'000);
    EXPECT_EQ(ask(request::readAutoUpdate()).code, ReplyEvent::AutoUpdateArrived);
}

TEST_F(SimHandlerTest, SeedDataIsRealistic) {
    const NetworkConfigRecord& r = state->record;
    EXPECT_EQ(r.ioScheduleEnabled(), 1);
    EXPECT_EQ(r.companyUtf8(), "(주)쿼벨시스템");
    EXPECT_FALSE(r.ddnsId().empty());
    EXPECT_FALSE(r.email().empty());
    EXPECT_GE(state->ioCount, 12);
    bool normal = false, exception = false, cp949Name = false;
    for (int32_t i = 0; i < state->scheduleCount; ++i)
        (state->schedule.entry(static_cast<size_t>(i)).isException() ? exception : normal) = true;
    EXPECT_TRUE(normal && exception);
    for (int32_t i = 0; i < state->centerIdCount; ++i)
        cp949Name = cp949Name || state->centerIds.entry(static_cast<size_t>(i)).name() ==
                                     std::string("\xB0\xFC\xC1\xA6\xBC\xBE\xC5\xCD"); // 관제센터
    EXPECT_TRUE(cp949Name);
    EXPECT_GT(state->blacklist.entry(0).counter(0), 0);
    EXPECT_GT(state->blockIpCount, 0);
}

TEST_F(SimHandlerTest, LargePlantFillsTheTablesUpToTheirLimits) {
    struct Case {
        int devices, schedules;
        int32_t ioCount, scheduleCount;
    };
    for (const Case& c : {Case{1024, 2040, 1024, 2040}, Case{3, 10, 3, 10}, Case{0, 50, 0, 0}}) {
        seedLargePlant(*state, c.devices, c.schedules);
        EXPECT_EQ(state->ioCount, c.ioCount) << c.devices;
        EXPECT_EQ(state->scheduleCount, c.scheduleCount) << c.devices;
        EXPECT_EQ(state->record.maxScheduleCount(), 2040);
        if (c.scheduleCount == 0)
            continue;
        // Every schedule names a seeded device; exceptions are among them.
        int exceptions = 0;
        for (int32_t i = 0; i < state->scheduleCount; ++i) {
            const ScheduleEntry e = state->schedule.entry(static_cast<size_t>(i));
            exceptions += e.isException() ? 1 : 0;
            const std::string id = e.id();
            EXPECT_TRUE(id.rfind("IO-", 0) == 0 && std::stoi(id.substr(3)) <= c.ioCount) << id;
        }
        EXPECT_GT(exceptions, 0);
    }
}

// Every table write is stored whole, so the next read returns exactly the bytes written,
// including bytes the client does not interpret.
TEST_F(SimHandlerTest, WritesReadBackByteForByte) {
    logOn();
    CenterIdTable centerIds;
    randomBytes(centerIds, 1);
    WolTable wol;
    randomBytes(wol, 2);
    BlockIpTable blockIps;
    randomBytes(blockIps, 3);
    ScheduleTable schedule;
    randomBytes(schedule, 4);

    struct Case {
        const char* name;
        Frame write;
        Frame read;
        ReplyEvent readEvent;
        int32_t count;
        std::vector<uint8_t> bytes;
    };
    const std::vector<Case> cases{
        {"center IDs",
         request::writeCenterIds(5, centerIds),
         request::readCenterIds(),
         ReplyEvent::CenterIdsArrived,
         5,
         {centerIds.bytes.begin(), centerIds.bytes.end()}},
        {"Wake-on-LAN",
         request::writeWol(101, wol),
         request::readWol(),
         ReplyEvent::WolArrived,
         101,
         {wol.bytes.begin(), wol.bytes.end()}},
        {"Wake-on-LAN, none",
         request::writeWol(0, wol),
         request::readWol(),
         ReplyEvent::WolArrived,
         0,
         {wol.bytes.begin(), wol.bytes.end()}},
        {"block IPs",
         request::writeBlockIps(97, blockIps),
         request::readBlockIps(),
         ReplyEvent::BlockIpsArrived,
         97,
         {blockIps.bytes.begin(), blockIps.bytes.end()}},
        {"schedule",
         request::writeSchedule(300, schedule),
         request::readSchedule(),
         ReplyEvent::SchedulesArrived,
         300,
         {schedule.bytes.begin(), schedule.bytes.end()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome written = serve(c.write);
        ASSERT_EQ(written.replies.size(), 1u);
        EXPECT_EQ(asClientSees(written.replies[0]).value, result::kSuccess);
        EXPECT_TRUE(written.stateChanged);
        const LinkEvent read = ask(c.read);
        EXPECT_EQ(read.code, c.readEvent);
        EXPECT_EQ(read.value, c.count);
        EXPECT_EQ(read.payload, c.bytes);
    }
}

TEST_F(SimHandlerTest, RefusesCountsBeyondTheTablesAndChangesNothing) {
    logOn();
    const std::vector<Frame> tooMany{
        request::writeCenterIds(21, CenterIdTable{}), // above the logon's center ID limit
        request::writeCenterIds(-1, CenterIdTable{}),
        request::writeWol(102, WolTable{}),
        request::writeWol(-5, WolTable{}),
        request::writeBlockIps(101, BlockIpTable{}),
        request::writeSchedule(501, ScheduleTable{}), // above the record's schedule limit
    };
    const SimState before = *state;
    for (const Frame& request : tooMany) {
        const LinkEvent answer = ask(request);
        EXPECT_NE(answer.value, result::kSuccess)
            << static_cast<int>(request.cmd) << " " << request.dwCount;
    }
    EXPECT_EQ(*state, before);
}

TEST_F(SimHandlerTest, ScheduleAndCenterIdWritesWithCountZeroKeepNoEntries) {
    logOn();
    EXPECT_EQ(ask(request::writeSchedule(0, ScheduleTable{})).value, result::kSuccess);
    EXPECT_EQ(ask(request::readSchedule()).value, 0);
    EXPECT_TRUE(ask(request::readSchedule()).payload.empty());
    EXPECT_EQ(ask(request::writeCenterIds(0, CenterIdTable{})).value, result::kSuccess);
    EXPECT_EQ(ask(request::readCenterIds()).value, 0);
}

TEST_F(SimHandlerTest, DdnsAndRegistrationAnswersFollowTheRegistry) {
    logOn();
    const std::string own = "00:1a:2b:3c:4d:5e";
    struct Check {
        std::string id, mac;
        int32_t expected;
    };
    for (const Check& c : std::vector<Check>{{"freshname", own, result::kSuccess},
                                             {"qvdemo01", own, result::kSuccess}, // its own ID
                                             {"demo", own, result::kDdnsIdTaken},
                                             {"DEMO", own, result::kDdnsIdTaken},
                                             {"fresh", "00:1a:2b:00:00:01", result::kDdnsMacTaken},
                                             {"bad-name", own, failure::kDdnsCheck},
                                             {"", own, failure::kDdnsCheck}}) {
        EXPECT_EQ(ask(request::checkDdns(c.id, c.mac)).value, c.expected) << c.id;
    }

    // The product is registered already; another product's address or a malformed one is not
    // this appliance's to register.
    EXPECT_EQ(ask(request::registerMac(own)).value, result::kMacAlreadyRegistered);
    EXPECT_EQ(ask(request::registerMac("00:1A:2B:00:00:02")).value, result::kMacAlreadyRegistered);
    EXPECT_EQ(ask(request::registerMac("not a mac")).value, failure::kRegistration);
    EXPECT_EQ(ask(request::registerMac("00:11:22:33:44:55")).value, failure::kRegistration);

    NetworkConfigRecord wanted;
    wanted.setMacText(own);
    wanted.setDdnsId("office");
    EXPECT_EQ(ask(request::registerDdns(wanted)).value, result::kDdnsIdOccupied);
    wanted.setMacText("00:1a:2b:00:00:01");
    wanted.setDdnsId("newhost");
    EXPECT_EQ(ask(request::registerDdns(wanted)).value, result::kMacRegisteredElsewhere);
    wanted.setMacText(own);
    wanted.setEmail("ops@example.org");
    wanted.setCompanyUtf8("새 회사");
    EXPECT_EQ(ask(request::registerDdns(wanted)).value, result::kSuccess);
    EXPECT_EQ(state->record.ddnsId(), "newhost");
    EXPECT_EQ(state->record.email(), "ops@example.org");
    EXPECT_EQ(state->record.companyUtf8(), "새 회사");

    // An appliance whose MAC is not registered must register it before its DDNS ID.
    state->macRegistered = false;
    EXPECT_EQ(ask(request::registerDdns(wanted)).value, result::kProductNotRegistered);
    EXPECT_EQ(ask(request::registerMac(own)).value, result::kSuccess);
    EXPECT_TRUE(state->macRegistered);
    EXPECT_EQ(ask(request::registerDdns(wanted)).value, result::kSuccess);
}

TEST_F(SimHandlerTest, SoftwareUpdatePlaysItsStepsSpacedInTime) {
    logOn();
    const Outcome out = serve(request::startUpdate());
    EXPECT_TRUE(out.replies.empty());
    ASSERT_EQ(out.later.size(), 9u);
    for (size_t i = 0; i < out.later.size(); ++i) {
        EXPECT_EQ(asClientSees(out.later[i].frame).code, ReplyEvent::UpdateStepReported);
        EXPECT_EQ(out.later[i].frame.dwCount, static_cast<int32_t>(i));
        if (i > 0) {
            EXPECT_GT(out.later[i].delay, out.later[i - 1].delay);
        }
    }

    context.updateServerUnreachable = true;
    const Outcome failed = serve(request::startUpdate());
    ASSERT_FALSE(failed.later.empty());
    EXPECT_EQ(failed.later.back().frame.dwCount, result::kUpdateServerUnreachable);
}

TEST_F(SimHandlerTest, RebootFirmwareAndSaveAndRebootCloseTheLink) {
    logOn();
    Outcome reboot = serve(request::reboot());
    ASSERT_EQ(reboot.replies.size(), 1u);
    EXPECT_EQ(asClientSees(reboot.replies[0]).code, ReplyEvent::RebootAnswered);
    EXPECT_EQ(reboot.replies[0].dwCount, result::kRebootAccepted);
    EXPECT_EQ(reboot.after, LinkAfter::Reboot);

    Outcome firmware = serve(request::startFirmwareUpdate());
    ASSERT_EQ(firmware.replies.size(), 1u);
    EXPECT_EQ(asClientSees(firmware.replies[0]).code, ReplyEvent::FirmwareUpdateAnswered);
    EXPECT_EQ(firmware.replies[0].dwCount, result::kFirmwareUpdateFinished);
    EXPECT_EQ(firmware.after, LinkAfter::Reboot);

    context.updateServerUnreachable = true;
    Outcome unreachable = serve(request::startFirmwareUpdate());
    ASSERT_EQ(unreachable.replies.size(), 1u);
    EXPECT_EQ(unreachable.replies[0].dwCount, result::kUpdateServerUnreachable);
    EXPECT_EQ(unreachable.after, LinkAfter::KeepOpen);

    // Save & Reboot: only the network fields are taken, the appliance's own option bits stay,
    // and no reply is sent.
    NetworkConfigRecord settings;
    settings.setLinkPort(13001);
    settings.setDataPort(0);
    settings.setWebPort(8080);
    settings.setIpAddress({10, 1, 2, 3});
    settings.setGateway({10, 1, 2, 254});
    settings.setNetMask({255, 255, 0, 0});
    settings.setDhcp(0);
    settings.setUpnp(true);
    const NetworkConfigRecord before = state->record;
    Outcome save = serve(request::saveNetworkAndReboot(settings));
    EXPECT_TRUE(save.replies.empty());
    EXPECT_EQ(save.after, LinkAfter::Reboot);
    EXPECT_TRUE(save.stateChanged);
    const NetworkConfigRecord& r = state->record;
    EXPECT_EQ(r.linkPort(), 13001);
    EXPECT_EQ(r.dataPort(), 12302);
    EXPECT_EQ(r.webPort(), 8080);
    EXPECT_EQ(r.ipAddress(), (std::array<uint8_t, 4>{10, 1, 2, 3}));
    EXPECT_EQ(r.gateway(), (std::array<uint8_t, 4>{10, 1, 2, 254}));
    EXPECT_EQ(r.netMask(), (std::array<uint8_t, 4>{255, 255, 0, 0}));
    EXPECT_TRUE(r.upnp());
    EXPECT_EQ(r.options(), before.options() | 1u);
    EXPECT_EQ(r.deviceName(), before.deviceName());
    EXPECT_EQ(r.companyUtf8(), before.companyUtf8());
    EXPECT_EQ(r.mac(), before.mac());
}

TEST(RequestReader, AnUploadTakesMemoryAsItsBytesArriveNotAsItsHeaderAnnounces) {
    // The header announces the largest upload; fewer bytes follow before the link ends. What was
    // taken may follow the bytes that came (twice them and one read block at most), never the
    // announced length.
    for (const size_t arrived : {size_t{100}, size_t{300} << 10, size_t{3} << 20}) {
        SCOPED_TRACE(arrived);
        std::vector<uint8_t> wire = encodeFrame(request::uploadWebArchive({}));
        const auto header = encodeHeader({CMD_SET_WEBPAGE_MSG, kMaxUploadBytes});
        std::copy(header.begin(), header.end(), wire.begin());
        wire.resize(kHeaderSize + arrived, 'z');
        MemorySource source(wire);
        RequestReader reader(source);
        Frame frame;
        EXPECT_FALSE(reader.next(frame));
        EXPECT_LE(frame.payload.capacity(), 2 * arrived + (size_t{256} << 10));
    }
}

TEST_F(SimHandlerTest, UploadsBecomeFilesAndTheLogoCanBeDeleted) {
    logOn();
    const std::vector<uint8_t> jpeg{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10};
    const Outcome logo = serve(request::uploadLogo(jpeg, '2'));
    ASSERT_EQ(logo.replies.size(), 1u);
    EXPECT_EQ(asClientSees(logo.replies[0]).value, result::kLogoUploaded);
    bool wroteJpeg = false;
    for (const FileChange& f : logo.files) {
        if (f.name == "logo.jpg") {
            wroteJpeg = !f.remove && f.contents == jpeg;
        } else {
            EXPECT_TRUE(f.remove) << f.name;
        }
    }
    EXPECT_TRUE(wroteJpeg);

    const Outcome removed = serve(request::deleteLogo());
    EXPECT_EQ(asClientSees(removed.replies[0]).value, result::kLogoDeleted);
    EXPECT_EQ(removed.files.size(), 3u);
    for (const FileChange& f : removed.files)
        EXPECT_TRUE(f.remove);

    const std::vector<uint8_t> page{'<', 'h', '1', '>', '\r', '\n'};
    const Outcome ax = serve(request::uploadActiveXPage(page));
    EXPECT_EQ(asClientSees(ax.replies[0]).code, ReplyEvent::ActiveXPageUploaded);
    ASSERT_EQ(ax.files.size(), 1u);
    EXPECT_EQ(ax.files[0].name, "index.html");
    EXPECT_EQ(ax.files[0].contents, page);

    const Outcome web = serve(request::uploadWebArchive({'P', 'K', 3, 4}));
    EXPECT_EQ(asClientSees(web.replies[0]).code, ReplyEvent::WebArchiveUploaded);
    ASSERT_EQ(web.files.size(), 1u);
    EXPECT_EQ(web.files[0].name, "webpage.zip");
}

TEST_F(SimHandlerTest, SettingsRequestsChangeTheState) {
    logOn();
    EXPECT_EQ(ask(request::writeAutoUpdate(true)).code, ReplyEvent::AutoUpdateApplied);
    EXPECT_EQ(ask(request::readAutoUpdate()).value, result::kAutoUpdateOff);
    EXPECT_EQ(ask(request::writeAutoUpdate(false)).code, ReplyEvent::AutoUpdateApplied);
    EXPECT_NE(ask(request::readAutoUpdate()).value, result::kAutoUpdateOff);

    EXPECT_EQ(ask(request::setNtpServer("time.example.org")).code, ReplyEvent::NtpServerSet);
    EXPECT_EQ(state->record.ntpServer(), "time.example.org");

    EXPECT_EQ(ask(request::clearBlacklist()).value, result::kSuccess);
    EXPECT_EQ(ask(request::readBlacklist()).value, 0);

    EXPECT_NE(ask(request::changeAdmin("boss", "")).value, result::kSuccess);
    EXPECT_EQ(ask(request::changeAdmin("boss", "s3cret")).value, result::kSuccess);
    Session fresh;
    session = fresh;
    EXPECT_NE(ask(request::logon("admin", "admin")).value, kAdmitted);
    EXPECT_EQ(ask(request::logon("boss", "s3cret")).value, kAdmitted);
}

} // namespace
} // namespace qv::sim
