#include "sim/SimState.h"

#include "link/ApplianceLimits.h"
#include "link/CodePage.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace qv::sim {
namespace {

void seedRecord(NetworkConfigRecord& r) {
    r.setFirmwareNumber(7);
    r.setSoftwareVersion(412);
    r.setLinkPort(12301);
    r.setDataPort(12302);
    r.setWebPort(80);
    r.setDeviceName("QV-MY2400");
    // The company is the one UTF-8 text of the record.
    r.setCompanyUtf8("(주)쿼벨시스템");
    r.setDdnsId("qvdemo01");
    r.setMac({0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e});
    r.setIpAddress({192, 168, 10, 20});
    r.setGateway({192, 168, 10, 1});
    r.setNetMask({255, 255, 255, 0});
    r.setEmail("admin@quorvel-demo.example");
    r.setDhcp(0);
    r.setIoScheduleEnabled(1);
    r.setOptionFlag(0);
    r.setMaxStandbyCount(50);
    r.setMaxScheduleCount(500);
    // Bit 0 is UPNP (off here); bit 4 is one of the appliance's own option bits.
    r.setOptions(0x10);
    r.setVersionNote("build 2611");
    r.setNtpServer("pool.ntp.org");
}

struct CenterSeed {
    const char* id;
    const char* password;
    const char* nameUtf8;
    uint16_t group;
    const char* superUser;
    bool noLogDeletion;
    bool noFileTransfer;
};

void seedCenterIds(SimState& s) {
    const std::array<CenterSeed, 6> seeds{{
        {"center01", "qv1234", "Main Center", 1, "1", false, false},
        {"seoul", "s3oul!", "관제센터", 2, "1", true, false},
        {"busan", "b2san", "Busan Office", 3, "0", true, true},
        {"night-shift", "n1ght", "Night Shift", 2, "0", false, true},
        {"support", "help24", "Support Desk", 10, "0", false, false},
        {"audit", "aud1t", "Audit", 50, "0", true, true},
    }};
    for (size_t i = 0; i < seeds.size(); ++i) {
        const CenterSeed& seed = seeds[i];
        CenterIdEntry e;
        e.setId(seed.id);
        e.setPassword(seed.password);
        // Names are in the administrator's ANSI code page; the Korean one in CP949.
        e.setName(utf8ToAnsi(seed.nameUtf8, 949));
        e.setGroup(seed.group);
        e.setSuperUser(seed.superUser);
        e.setLogDeletionProhibited(seed.noLogDeletion);
        e.setFileTransferProhibited(seed.noFileTransfer);
        s.centerIds.setEntry(i, e);
    }
    s.centerIdCount = static_cast<int32_t>(seeds.size());
}

void seedWol(SimState& s) {
    const std::array<std::array<const char*, 2>, 5> seeds{{
        {"reception-pc", "00:1b:21:3a:4f:01"},
        {"사무실PC", "00:1b:21:3a:4f:02"},
        {"meeting-room", "3c:97:0e:11:22:33"},
        {"nas-backup", "AC:1F:6B:00:12:EF"},
        {"warehouse", "b8:27:eb:45:67:89"},
    }};
    for (size_t i = 0; i < seeds.size(); ++i) {
        WolEntry e;
        // Bytes 0 to 3 are the appliance's own bookkeeping; the client sends them back as they
        // came.
        e.bytes[0] = static_cast<uint8_t>(0xA0 + i);
        e.bytes[1] = 0x01;
        e.bytes[2] = static_cast<uint8_t>(i * 7);
        e.bytes[3] = 0x5C;
        e.setNameUtf8(seeds[i][0]);
        e.setMacUtf8(seeds[i][1]);
        s.wol.setEntry(i, e);
    }
    s.wolCount = static_cast<int32_t>(seeds.size());
}

void seedBlacklist(SimState& s) {
    struct Seed {
        const char* ip;
        int8_t quorvelIp;
        std::array<uint16_t, 8> counters;
    };
    const std::array<Seed, 6> seeds{{
        {"203.0.113.45", 0, {12, 40, 3, 9, 85, 210, 20, 61}},
        {"198.51.100.7", 1, {2, 5, 0, 1, 14, 30, 2, 4}},
        {"192.0.2.200", 0, {310, 512, 101, 220, 1800, 2950, 640, 1100}},
        {"203.0.113.9", 0, {0, 1, 0, 0, 3, 6, 0, 1}},
        {"100.64.12.34", 1, {7, 7, 2, 2, 49, 49, 14, 14}},
        {"198.51.100.23", -1, {65535, 1024, 0, 0, 65535, 4096, 0, 0}},
    }};
    for (size_t i = 0; i < seeds.size(); ++i) {
        BlacklistEntry e;
        e.setIp(seeds[i].ip);
        e.setQuorvelIp(seeds[i].quorvelIp);
        for (int c = 0; c < BlacklistEntry::kCounters; ++c)
            e.setCounter(c, seeds[i].counters[static_cast<size_t>(c)]);
        s.blacklist.setEntry(i, e);
    }
    s.blacklistCount = static_cast<int32_t>(seeds.size());
}

void seedBlockIps(SimState& s) {
    // Lead and trailing bytes belong to the firewall; they must come back unchanged.
    s.blockIps.bytes[0] = 0x51;
    s.blockIps.bytes[1] = 0x56;
    s.blockIps.bytes[2] = 0x02;
    s.blockIps.bytes[3] = 0x00;
    for (size_t i = 0; i < 96; ++i)
        s.blockIps.bytes[BlockIpTable::kSize - 96 + i] = static_cast<uint8_t>(0xF0 ^ i);
    const std::array<const char*, 3> seeds{"192.0.2.200", "203.0.113.45", "198.51.100.0"};
    for (size_t i = 0; i < seeds.size(); ++i)
        s.blockIps.setAddress(i, seeds[i]);
    s.blockIpCount = static_cast<int32_t>(seeds.size());
}

void seedIo(SimState& s) {
    const std::array<const char*, 12> ids{"GATE-01",    "GATE-02",     "LOBBY-LIGHT", "PARKING-B1",
                                          "PARKING-B2", "SIGN-ROOF",   "HVAC-3F",     "HVAC-4F",
                                          "PUMP-01",    "ALARM-SIREN", "DOOR-REAR",   "FOUNTAIN"};
    const std::array<uint8_t, 12> status{0x01, 0x03, 0x00, 0x05, 0x09, 0x1F,
                                         0x01, 0x11, 0x0D, 0x00, 0x21, 0x3F};
    for (size_t i = 0; i < ids.size(); ++i) {
        IoListEntry e;
        // Bytes 0-7 and 9-11 are the appliance's own (here a device serial and a slot number).
        for (size_t b = 0; b < 8; ++b)
            e.bytes[b] = static_cast<uint8_t>(0x10 * (i + 1) + b);
        e.bytes[9] = static_cast<uint8_t>(i);
        e.bytes[10] = 0xAB;
        e.bytes[11] = 0xCD;
        e.setStatus(status[i]);
        e.setId(ids[i]);
        s.ioList.setEntry(i, e);
    }
    s.ioCount = static_cast<int32_t>(ids.size());
}

void seedSchedule(SimState& s) {
    struct Seed {
        const char* id;
        uint8_t function; // plus 50 for an exception
        uint8_t relay;
        uint8_t day;  // weekday 1..7, or month for an exception
        uint8_t date; // exception only
        uint16_t hour;
        uint16_t minute;
    };
    const std::array<Seed, 24> seeds{{
        {"GATE-01", 0, 1, 2, 0, 7, 30},       {"GATE-01", 1, 1, 2, 0, 19, 0},
        {"GATE-01", 0, 1, 3, 0, 7, 30},       {"GATE-01", 1, 1, 3, 0, 19, 0},
        {"GATE-01", 51, 1, 12, 25, 0, 0},     {"GATE-01", 51, 1, 1, 1, 0, 0},
        {"GATE-02", 2, 2, 2, 0, 8, 0},        {"GATE-02", 3, 2, 2, 0, 8, 5},
        {"LOBBY-LIGHT", 0, 1, 1, 0, 18, 0},   {"LOBBY-LIGHT", 1, 1, 1, 0, 23, 30},
        {"LOBBY-LIGHT", 0, 2, 7, 0, 17, 45},  {"LOBBY-LIGHT", 50, 1, 3, 1, 9, 0},
        {"PARKING-B1", 0, 1, 2, 0, 6, 0},     {"PARKING-B1", 1, 1, 6, 0, 22, 0},
        {"SIGN-ROOF", 0, 3, 1, 0, 19, 0},     {"SIGN-ROOF", 1, 3, 1, 0, 2, 0},
        {"HVAC-3F", 0, 1, 2, 0, 8, 0},        {"HVAC-3F", 1, 1, 2, 0, 18, 30},
        {"HVAC-3F", 53, 4, 8, 15, 12, 0},     {"PUMP-01", 2, 4, 4, 0, 5, 15},
        {"ALARM-SIREN", 52, 1, 10, 9, 10, 0}, {"DOOR-REAR", 0, 1, 2, 0, 9, 0},
        {"DOOR-REAR", 1, 1, 2, 0, 17, 59},    {"FOUNTAIN", 0, 2, 7, 0, 11, 0},
    }};
    for (size_t i = 0; i < seeds.size(); ++i) {
        const Seed& seed = seeds[i];
        ScheduleEntry e;
        e.setFunction(seed.function);
        e.setRelay(seed.relay);
        e.setDay(seed.day);
        e.setDate(seed.date);
        e.setHour(seed.hour);
        e.setMinute(seed.minute);
        e.setSeq(static_cast<int32_t>(1001 + i));
        e.setId(seed.id);
        s.schedule.setEntry(i, e);
    }
    s.scheduleCount = static_cast<int32_t>(seeds.size());
}

} // namespace

std::unique_ptr<SimState> seededState() {
    auto state = std::make_unique<SimState>();
    seedRecord(state->record);
    seedCenterIds(*state);
    seedWol(*state);
    seedBlacklist(*state);
    seedBlockIps(*state);
    seedIo(*state);
    seedSchedule(*state);
    return state;
}

void seedLargePlant(SimState& s, int devices, int schedules) {
    devices = std::clamp(devices, 0, static_cast<int>(IoListTable::kSlots));
    schedules = std::clamp(schedules, 0, limits::kMaxSchedules);
    for (int i = 0; i < devices; ++i) {
        IoListEntry e;
        char id[32];
        std::snprintf(id, sizeof id, "IO-%04d", i + 1);
        e.setId(id);
        e.setStatus(static_cast<uint8_t>(i % 64));
        s.ioList.setEntry(static_cast<size_t>(i), e);
    }
    s.ioCount = devices;
    // Schedules go round the devices; every seventh is an exception, so both passes of the
    // window's list and both colours are filled.
    int32_t count = 0;
    for (int i = 0; i < schedules && devices > 0; ++i) {
        const int round = i / devices;
        const bool exception = i % 7 == 6;
        ScheduleEntry e;
        char id[32];
        std::snprintf(id, sizeof id, "IO-%04d", i % devices + 1);
        e.setId(id);
        e.setFunction(static_cast<uint8_t>(round % 4 + (exception ? 50 : 0)));
        e.setRelay(static_cast<uint8_t>(round % 4 + 1));
        e.setDay(static_cast<uint8_t>(exception ? round % 12 + 1 : round % 7 + 1));
        e.setDate(static_cast<uint8_t>(exception ? round % 28 + 1 : 0));
        e.setHour(static_cast<uint16_t>(round % 24));
        e.setMinute(static_cast<uint16_t>((round * 7) % 60));
        e.setSeq(i + 1);
        s.schedule.setEntry(static_cast<size_t>(i), e);
        ++count;
    }
    s.scheduleCount = count;
    // The product's schedule limit leaves room for the seeded timetable.
    s.record.setMaxScheduleCount(std::max(s.record.maxScheduleCount(), 2040));
}

} // namespace qv::sim
