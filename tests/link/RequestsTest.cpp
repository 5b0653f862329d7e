#include "link/Requests.h"
#include "link/ApplianceLimits.h"
#include "link/Catalogue.h"
#include "link/FrameReaders.h"
#include "tests/link/TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <set>
#include <string_view>

using namespace qv;
using qvtest::Bytes;

namespace {

// A text request payload laid out by hand: 4 zero bytes, a 32-byte field and a 64-byte field.
Bytes textPayload(const std::string& first, const std::string& second) {
    Bytes plain(100, 0);
    qvtest::putText(plain, 4, first);
    qvtest::putText(plain, 36, second);
    return plain;
}

template <class Table> Table filledTable(uint32_t seed) {
    Table table;
    const Bytes fill = qvtest::pattern(Table::kSize, seed);
    std::copy(fill.begin(), fill.end(), table.bytes.begin());
    return table;
}

struct RequestCase {
    const char* name;
    std::function<Frame()> build;
    Bytes expectedWire;
};

TEST(Requests, EveryRequestFrameIsByteExact) {
    const auto centerIds = filledTable<CenterIdTable>(1);
    const auto wol = filledTable<WolTable>(2);
    const auto blockIps = filledTable<BlockIpTable>(3);
    const auto schedule = filledTable<ScheduleTable>(4);
    NetworkConfigRecord record = filledTable<NetworkConfigRecord>(5);
    const Bytes recordBytes(record.bytes.begin(), record.bytes.end());
    const Bytes file = qvtest::pattern(5000, 6);
    Bytes logoPayload = file;
    logoPayload.push_back(2);
    const std::string id31(31, 'i');
    const std::string pw63(63, 'p');

    using qvtest::refFrame;
    using qvtest::refHeader;
    auto asBytes = [](const auto& table) { return Bytes(table.bytes.begin(), table.bytes.end()); };

    const std::vector<RequestCase> cases{
        {"logon", [] { return request::logon("admin", "secret"); },
         refFrame(1, 100, textPayload("admin", "secret"))},
        {"logon at full field width", [&] { return request::logon(id31, pw63); },
         refFrame(1, 100, textPayload(id31, pw63))},
        {"logon cut at the field", [&] { return request::logon(id31 + "XYZ", pw63 + "overflow"); },
         refFrame(1, 100, textPayload(id31, pw63))},
        {"read summary", [] { return request::readSummary(); }, refHeader(2, 0)},
        {"change admin", [] { return request::changeAdmin("root", "pa55"); },
         refFrame(3, 100, textPayload("root", "pa55"))},
        {"read center IDs", [] { return request::readCenterIds(); }, refHeader(4, 101)},
        {"write center IDs", [&] { return request::writeCenterIds(7, centerIds); },
         refFrame(5, 7, asBytes(centerIds))},
        {"write center IDs, count 0", [&] { return request::writeCenterIds(0, centerIds); },
         refHeader(5, 0)},
        {"write center IDs, count -1", [&] { return request::writeCenterIds(-1, centerIds); },
         refHeader(5, -1)},
        {"read WOL", [] { return request::readWol(); }, refHeader(6, 101)},
        {"write WOL", [&] { return request::writeWol(5, wol); }, refFrame(7, 5, asBytes(wol))},
        {"write WOL, count 0", [&] { return request::writeWol(0, wol); },
         refFrame(7, 0, asBytes(wol))},
        {"read network", [] { return request::readNetwork(); }, refHeader(8, 0)},
        {"save and reboot", [&] { return request::saveNetworkAndReboot(record); },
         refFrame(9, 0, recordBytes)},
        {"check DDNS", [] { return request::checkDdns("myhost", "00:11:22:33:44:55"); },
         refFrame(10, 100, textPayload("myhost", "00:11:22:33:44:55"))},
        {"register MAC", [] { return request::registerMac("00:11:22:33:44:55"); },
         refFrame(11, 100, textPayload("00:11:22:33:44:55", ""))},
        {"register DDNS", [&] { return request::registerDdns(record); },
         refFrame(12, 100, recordBytes)},
        {"start update", [] { return request::startUpdate(); }, refHeader(13, 0)},
        {"upload logo", [&] { return request::uploadLogo(file, 2); },
         refFrame(14, 5001, logoPayload, false)},
        {"upload empty logo still carries its type byte", [] { return request::uploadLogo({}, 1); },
         refFrame(14, 1, {1}, false)},
        {"delete logo", [] { return request::deleteLogo(); }, refHeader(14, 0)},
        {"upload ActiveX page", [&] { return request::uploadActiveXPage(file); },
         refFrame(15, 5000, file, false)},
        {"upload empty ActiveX page", [] { return request::uploadActiveXPage({}); },
         refHeader(15, 0)},
        {"read auto update", [] { return request::readAutoUpdate(); }, refHeader(16, 0)},
        {"write auto update on", [] { return request::writeAutoUpdate(true); }, refHeader(17, 1)},
        {"write auto update off", [] { return request::writeAutoUpdate(false); }, refHeader(17, 0)},
        {"reboot", [] { return request::reboot(); }, refHeader(18, 0)},
        {"firmware update", [] { return request::startFirmwareUpdate(); }, refHeader(19, 0)},
        {"upload web archive", [&] { return request::uploadWebArchive(file); },
         refFrame(20, 5000, file, false)},
        {"upload empty web archive", [] { return request::uploadWebArchive({}); },
         refHeader(20, 0)},
        {"read IO list", [] { return request::readIoList(); }, refHeader(21, 101)},
        {"read schedule", [] { return request::readSchedule(); }, refHeader(22, 101)},
        {"write schedule", [&] { return request::writeSchedule(3, schedule); },
         refFrame(23, 3, asBytes(schedule))},
        {"write schedule, count 0", [&] { return request::writeSchedule(0, schedule); },
         refHeader(23, 0)},
        {"read time", [] { return request::readTime(); }, refHeader(24, 0)},
        {"set NTP server", [] { return request::setNtpServer("pool.ntp.org"); },
         refFrame(26, 100, textPayload("pool.ntp.org", ""))},
        {"read blacklist", [] { return request::readBlacklist(); }, refHeader(27, 101)},
        {"read block IPs", [] { return request::readBlockIps(); }, refHeader(29, 101)},
        {"write block IPs", [&] { return request::writeBlockIps(4, blockIps); },
         refFrame(30, 4, asBytes(blockIps))},
        {"write block IPs, count 0", [&] { return request::writeBlockIps(0, blockIps); },
         refFrame(30, 0, asBytes(blockIps))},
        {"clear blacklist", [] { return request::clearBlacklist(); }, refHeader(31, 101)},
    };

    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Frame frame = c.build();
        const Bytes wire = encodeFrame(frame);
        ASSERT_EQ(wire.size(), c.expectedWire.size());
        EXPECT_EQ(wire, c.expectedWire);

        // The appliance's reader takes the frame back whole, whatever its kind.
        qvtest::MemorySource source(wire);
        RequestReader reader(source);
        Frame back;
        ASSERT_TRUE(reader.next(back));
        EXPECT_EQ(back.cmd, frame.cmd);
        EXPECT_EQ(back.dwCount, frame.dwCount);
        EXPECT_EQ(back.payload, frame.payload);
        EXPECT_EQ(source.position(), wire.size());
    }
}

// Every byte of a text payload other than the texts themselves is zero, also after a long text
// was cut: the cut never spills into the next field.
TEST(Requests, TextPayloadFieldsAreCutAndZeroFilled) {
    const Frame frame = request::checkDdns(std::string(40, 'A'), std::string(80, 'B'));
    ASSERT_EQ(frame.payload.size(), 100u);
    for (size_t i = 0; i < 100; ++i) {
        uint8_t expected = 0;
        if (i >= 4 && i < 35)
            expected = 'A';
        else if (i >= 36 && i < 99)
            expected = 'B';
        EXPECT_EQ(frame.payload[i], expected) << "byte " << i;
    }
}

TEST(RequestReader, RefusesWhatCannotBeFramed) {
    // Codes that are never sent: the appliance cannot know how much follows.
    for (const uint8_t cmd : {uint8_t{25}, uint8_t{28}, uint8_t{32}, uint8_t{0}, uint8_t{255}}) {
        qvtest::MemorySource source(qvtest::refHeader(cmd, 0));
        RequestReader reader(source);
        Frame frame;
        EXPECT_FALSE(reader.next(frame)) << static_cast<int>(cmd);
    }
    // An upload announcing more than the appliance takes.
    {
        qvtest::MemorySource source(qvtest::refHeader(20, kMaxUploadBytes + 1));
        RequestReader reader(source);
        Frame frame;
        EXPECT_FALSE(reader.next(frame));
    }
    // A negative upload length carries nothing; the next frame follows at once.
    {
        qvtest::MemorySource source(
            qvtest::concat({qvtest::refHeader(15, -5), qvtest::refHeader(18, 0)}));
        RequestReader reader(source);
        Frame frame;
        ASSERT_TRUE(reader.next(frame));
        EXPECT_TRUE(frame.payload.empty());
        ASSERT_TRUE(reader.next(frame));
        EXPECT_EQ(frame.cmd, CMD_SET_REBOOT_MSG);
    }
    // A frame cut inside its payload is not delivered.
    {
        Bytes wire = encodeFrame(request::logon("a", "b"));
        wire.pop_back();
        qvtest::MemorySource source(wire);
        RequestReader reader(source);
        Frame frame;
        EXPECT_FALSE(reader.next(frame));
    }
}

} // namespace

// Every code the client sends has a name of its own in the catalogue (qvsim's log shows it).
TEST(Catalogue, EverySentRequestHasItsOwnName) {
    std::set<std::string_view> names;
    for (int code = 1; code <= 31; ++code) {
        const RequestRule* rule = findRequestRule(static_cast<Command>(code));
        if (code == 25 || code == 28) {
            EXPECT_EQ(rule, nullptr) << code;
            continue;
        }
        ASSERT_NE(rule, nullptr) << code;
        EXPECT_FALSE(rule->name.empty()) << code;
        EXPECT_TRUE(names.insert(rule->name).second) << code << " " << rule->name;
    }
    EXPECT_EQ(findRequestRule(CMD_GET_SCHEDULE_MSG)->name, "read schedule");
}

// The limits a record or a logon answer carries are held to what the appliance can keep.
TEST(ApplianceLimits, ClampTheAnsweredLimits) {
    const struct {
        int32_t given, schedules, centerIds;
    } cases[]{{-5, 10, 1},       {0, 10, 1},
              {1, 10, 1},        {9, 10, 9},
              {10, 10, 10},      {100, 100, 100},
              {101, 101, 100},   {2040, 2040, 100},
              {2041, 2040, 100}, {INT32_MAX, 2040, 100}};
    for (const auto& c : cases) {
        EXPECT_EQ(limits::scheduleLimit(c.given), c.schedules) << c.given;
        EXPECT_EQ(limits::centerIdLimit(c.given), c.centerIds) << c.given;
    }
    // A count off the wire is held to its table's slots.
    EXPECT_EQ(findReplyRule(CMD_GET_SCHEDULE_MSG)->maxCount, 2048);
    EXPECT_EQ(findReplyRule(CMD_GET_IOLIST_MSG)->maxCount, 1024);
    EXPECT_EQ(findReplyRule(CMD_GET_CENTERID_MSG)->maxCount, 101);
    EXPECT_EQ(findReplyRule(CMD_GET_BLOCKIP_MSG)->maxCount, 100);
}
