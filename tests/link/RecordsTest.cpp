#include "link/Records.h"
#include "tests/link/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace qv;
using qvtest::Bytes;

namespace {

// One field of a record: what a setter writes, where, and what the getter reads back.
template <class Record> struct FieldCase {
    const char* name;
    std::function<void(Record&)> set;
    size_t offset;
    Bytes bytes; // as they must appear at `offset`, nothing else changes
    std::function<bool(const Record&)> readsBack;
};

template <class Record> Bytes bytesOf(const Record& record) {
    return Bytes(record.bytes.begin(), record.bytes.end());
}

Bytes textField(const std::string& text, size_t width) {
    Bytes field(width, 0);
    qvtest::putText(field, 0, text);
    return field;
}

// Starts from a record full of filler, applies the setter, and checks that exactly the field's
// bytes changed and that the getter reads the value back.
template <class Record> void checkFields(const std::vector<FieldCase<Record>>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Record record;
        const Bytes before = qvtest::pattern(Record::kSize, 77);
        std::copy(before.begin(), before.end(), record.bytes.begin());
        c.set(record);
        Bytes expected = before;
        std::copy(c.bytes.begin(), c.bytes.end(), expected.begin() + c.offset);
        EXPECT_EQ(bytesOf(record), expected);
        EXPECT_TRUE(c.readsBack(record));
    }
}

TEST(Records, NetworkConfigRecordFieldsAtTheirOffsets) {
    using R = NetworkConfigRecord;
    checkFields<R>({
        {"firmware",
         [](R& r) { r.setFirmwareNumber(7); },
         0,
         {7},
         [](const R& r) { return r.firmwareNumber() == 7; }},
        {"software version",
         [](R& r) { r.setSoftwareVersion(412); },
         2,
         {0x9c, 0x01},
         [](const R& r) { return r.softwareVersion() == 412; }},
        {"link port",
         [](R& r) { r.setLinkPort(12301); },
         4,
         {0x0d, 0x30},
         [](const R& r) { return r.linkPort() == 12301; }},
        {"data port",
         [](R& r) { r.setDataPort(12302); },
         6,
         {0x0e, 0x30},
         [](const R& r) { return r.dataPort() == 12302; }},
        {"web port",
         [](R& r) { r.setWebPort(80); },
         8,
         {80, 0},
         [](const R& r) { return r.webPort() == 80; }},
        {"device name", [](R& r) { r.setDeviceName("QV-100"); }, 10, textField("QV-100", 16),
         [](const R& r) { return r.deviceName() == "QV-100"; }},
        {"MAC text", [](R& r) { r.setMacText("00:11:22:33:44:55"); }, 26,
         textField("00:11:22:33:44:55", 64),
         [](const R& r) { return r.macText() == "00:11:22:33:44:55"; }},
        {"company", [](R& r) { r.setCompanyUtf8("\xED\x95\x9C"); }, 90,
         textField("\xED\x95\x9C", 32),
         [](const R& r) { return r.companyUtf8() == "\xED\x95\x9C"; }},
        {"DDNS ID", [](R& r) { r.setDdnsId("myhost"); }, 122, textField("myhost", 32),
         [](const R& r) { return r.ddnsId() == "myhost"; }},
        {"MAC",
         [](R& r) {
             r.setMac({1, 2, 3, 4, 5, 6});
         },
         154,
         {1, 2, 3, 4, 5, 6},
         [](const R& r) { return r.mac() == std::array<uint8_t, 6>{1, 2, 3, 4, 5, 6}; }},
        {"IP address",
         [](R& r) {
             r.setIpAddress({192, 168, 0, 10});
         },
         160,
         {192, 168, 0, 10},
         [](const R& r) {
             return r.ipAddress() == std::array<uint8_t, 4>{192, 168, 0, 10};
         }},
        {"gateway",
         [](R& r) {
             r.setGateway({192, 168, 0, 1});
         },
         164,
         {192, 168, 0, 1},
         [](const R& r) {
             return r.gateway() == std::array<uint8_t, 4>{192, 168, 0, 1};
         }},
        {"net mask",
         [](R& r) {
             r.setNetMask({255, 255, 255, 0});
         },
         168,
         {255, 255, 255, 0},
         [](const R& r) {
             return r.netMask() == std::array<uint8_t, 4>{255, 255, 255, 0};
         }},
        {"e-mail", [](R& r) { r.setEmail("a@b.c"); }, 172, textField("a@b.c", 65),
         [](const R& r) { return r.email() == "a@b.c"; }},
        {"DHCP", [](R& r) { r.setDhcp(1); }, 237, {1}, [](const R& r) { return r.dhcp() == 1; }},
        {"IO schedule enabled",
         [](R& r) { r.setIoScheduleEnabled(1); },
         238,
         {1},
         [](const R& r) { return r.ioScheduleEnabled() == 1; }},
        {"option flag",
         [](R& r) { r.setOptionFlag(3); },
         239,
         {3},
         [](const R& r) { return r.optionFlag() == 3; }},
        {"max standby",
         [](R& r) { r.setMaxStandbyCount(0x1234); },
         242,
         {0x34, 0x12},
         [](const R& r) { return r.maxStandbyCount() == 0x1234; }},
        {"max schedule",
         [](R& r) { r.setMaxScheduleCount(-2); },
         244,
         {0xfe, 0xff, 0xff, 0xff},
         [](const R& r) { return r.maxScheduleCount() == -2; }},
        {"options",
         [](R& r) { r.setOptions(0x80000001u); },
         248,
         {1, 0, 0, 0x80},
         [](const R& r) { return r.options() == 0x80000001u && r.upnp(); }},
        {"version note", [](R& r) { r.setVersionNote("beta"); }, 252, textField("beta", 32),
         [](const R& r) { return r.versionNote() == "beta"; }},
        {"NTP server", [](R& r) { r.setNtpServer("pool.ntp.org"); }, 284,
         textField("pool.ntp.org", 32), [](const R& r) { return r.ntpServer() == "pool.ntp.org"; }},
    });
}

// UPNP is bit 0 of the options; the appliance's other bits stay as they came.
TEST(Records, UpnpTouchesOnlyBitZero) {
    NetworkConfigRecord record;
    record.setOptions(0xF0F0F0F0u);
    record.setUpnp(true);
    EXPECT_EQ(record.options(), 0xF0F0F0F1u);
    record.setUpnp(false);
    EXPECT_EQ(record.options(), 0xF0F0F0F0u);
    EXPECT_FALSE(record.upnp());
}

// A text as long as its field has no terminator and is read whole; a written text keeps one.
TEST(Records, TextsFillTheirWholeField) {
    using R = NetworkConfigRecord;
    struct Field {
        const char* name;
        size_t offset, width;
        std::string (R::*get)() const;
        void (R::*set)(std::string_view);
    };
    const Field fields[] = {
        {"device name", 10, 16, &R::deviceName, &R::setDeviceName},
        {"MAC text", 26, 64, &R::macText, &R::setMacText},
        {"e-mail", 172, 65, &R::email, &R::setEmail},
        {"version note", 252, 32, &R::versionNote, &R::setVersionNote},
    };
    for (const Field& f : fields) {
        SCOPED_TRACE(f.name);
        R record;
        record.bytes.fill(0x41); // no terminator anywhere
        EXPECT_EQ((record.*f.get)(), std::string(f.width, 'A'));
        (record.*f.set)(std::string(f.width + 5, 'x'));
        EXPECT_EQ((record.*f.get)(), std::string(f.width - 1, 'x'));
        EXPECT_EQ(record.bytes[f.offset + f.width], 0x41); // the next byte is untouched
        (record.*f.set)("short");
        EXPECT_EQ((record.*f.get)(), "short");
        EXPECT_EQ(record.bytes[f.offset + f.width - 1], 0);
    }
}

TEST(Records, CenterIdEntryFieldsAtTheirOffsets) {
    using R = CenterIdEntry;
    checkFields<R>({
        {"ID", [](R& r) { r.setId("op1"); }, 0, textField("op1", 32),
         [](const R& r) { return r.id() == "op1"; }},
        {"password", [](R& r) { r.setPassword("pw"); }, 32, textField("pw", 32),
         [](const R& r) { return r.password() == "pw"; }},
        {"name", [](R& r) { r.setName("Kim"); }, 64, textField("Kim", 32),
         [](const R& r) { return r.name() == "Kim"; }},
        {"group",
         [](R& r) { r.setGroup(50); },
         96,
         {50, 0},
         [](const R& r) { return r.group() == 50; }},
        {"super user", [](R& r) { r.setSuperUser("1"); }, 98, textField("1", 29),
         [](const R& r) { return r.superUser() == "1"; }},
        {"log deletion",
         [](R& r) { r.setLogDeletionProhibited(true); },
         127,
         {1},
         [](const R& r) { return r.logDeletionProhibited(); }},
        {"file transfer",
         [](R& r) { r.setFileTransferProhibited(false); },
         128,
         {0},
         [](const R& r) { return !r.fileTransferProhibited(); }},
    });
}

TEST(Records, BlacklistEntryFieldsAtTheirOffsets) {
    using R = BlacklistEntry;
    checkFields<R>({
        {"IP", [](R& r) { r.setIp("10.0.0.1"); }, 0, textField("10.0.0.1", 33),
         [](const R& r) { return r.ip() == "10.0.0.1"; }},
        {"Quorvel IP",
         [](R& r) { r.setQuorvelIp(-1); },
         33,
         {0xff},
         [](const R& r) { return r.quorvelIp() == -1; }},
        {"Day 1",
         [](R& r) { r.setCounter(0, 0x0102); },
         36,
         {2, 1},
         [](const R& r) { return r.counter(0) == 0x0102; }},
        {"-Week 2",
         [](R& r) { r.setCounter(7, 65535); },
         50,
         {0xff, 0xff},
         [](const R& r) { return r.counter(7) == 65535; }},
    });
}

TEST(Records, WolAndScheduleEntriesAtTheirOffsets) {
    checkFields<WolEntry>({
        {"name", [](WolEntry& r) { r.setNameUtf8("pc1"); }, 4, textField("pc1", 32),
         [](const WolEntry& r) { return r.nameUtf8() == "pc1"; }},
        {"MAC", [](WolEntry& r) { r.setMacUtf8("ab:39:22:44:12:aa"); }, 36,
         textField("ab:39:22:44:12:aa", 64),
         [](const WolEntry& r) { return r.macUtf8() == "ab:39:22:44:12:aa"; }},
    });
    checkFields<IoListEntry>({
        {"status",
         [](IoListEntry& r) { r.setStatus(0x21); },
         8,
         {0x21},
         [](const IoListEntry& r) { return r.status() == 0x21; }},
        {"ID", [](IoListEntry& r) { r.setId("io-7"); }, 12, textField("io-7", 32),
         [](const IoListEntry& r) { return r.id() == "io-7"; }},
    });
    using S = ScheduleEntry;
    checkFields<S>({
        {"function",
         [](S& r) { r.setFunction(52); },
         0,
         {52},
         [](const S& r) { return r.function() == 52 && r.isException(); }},
        {"relay", [](S& r) { r.setRelay(4); }, 1, {4}, [](const S& r) { return r.relay() == 4; }},
        {"day", [](S& r) { r.setDay(12); }, 2, {12}, [](const S& r) { return r.day() == 12; }},
        {"date", [](S& r) { r.setDate(31); }, 3, {31}, [](const S& r) { return r.date() == 31; }},
        {"hour",
         [](S& r) { r.setHour(23); },
         4,
         {23, 0},
         [](const S& r) { return r.hour() == 23; }},
        {"minute",
         [](S& r) { r.setMinute(59); },
         6,
         {59, 0},
         [](const S& r) { return r.minute() == 59; }},
        {"SEQ",
         [](S& r) { r.setSeq(0x01020304); },
         8,
         {4, 3, 2, 1},
         [](const S& r) { return r.seq() == 0x01020304; }},
        {"ID", [](S& r) { r.setId("io-7"); }, 12, textField("io-7", 32),
         [](const S& r) { return r.id() == "io-7"; }},
    });
    ScheduleEntry normal;
    normal.setFunction(49);
    EXPECT_FALSE(normal.isException());
}

TEST(Records, TextRequestPayloadFields) {
    checkFields<TextRequestPayload>({
        {"first", [](TextRequestPayload& r) { r.setFirstText("admin"); }, 4, textField("admin", 32),
         [](const TextRequestPayload& r) { return r.firstText() == "admin"; }},
        {"second", [](TextRequestPayload& r) { r.setSecondText("pw"); }, 36, textField("pw", 64),
         [](const TextRequestPayload& r) { return r.secondText() == "pw"; }},
    });
}

// Slot i of each table starts at its documented byte; slots outside the table read empty and
// are never written.
TEST(Records, TableSlotsAtTheirOffsetsAndSafeOutside) {
    auto check = [](auto table, size_t lead, size_t entrySize, size_t slots) {
        using Table = decltype(table);
        const Bytes fill = qvtest::pattern(Table::kSize, 3);
        std::copy(fill.begin(), fill.end(), table.bytes.begin());
        for (const size_t i : {size_t{0}, size_t{1}, slots - 1}) {
            const auto e = table.entry(i);
            EXPECT_TRUE(std::equal(e.bytes.begin(), e.bytes.end(),
                                   fill.begin() + static_cast<ptrdiff_t>(lead + i * entrySize)));
        }
        decltype(table.entry(0)) blank;
        EXPECT_EQ(table.entry(slots), blank);
        EXPECT_EQ(table.entry(size_t(-1)), blank);
        auto written = blank;
        written.bytes.fill(0xEE);
        table.setEntry(slots, written);
        table.setEntry(slots + 1000, written);
        EXPECT_TRUE(std::equal(table.bytes.begin(), table.bytes.end(), fill.begin()));
        table.setEntry(slots - 1, written);
        EXPECT_EQ(table.entry(slots - 1), written);
    };
    check(CenterIdTable{}, 0, 130, 101);
    check(WolTable{}, 0, 100, 101);
    check(BlockIpTable{}, 4, 100, 100);
    check(IoListTable{}, 0, 44, 1024);
    check(ScheduleTable{}, 0, 44, 2048);
    check(BlacklistEntries{}, 0, 52, 2048);
}

// The block IP table's lead and trailing bytes belong to the appliance: editing addresses
// leaves them as they came.
TEST(Records, BlockIpTableKeepsLeadAndTrailingBytes) {
    BlockIpTable table;
    const Bytes fill = qvtest::pattern(BlockIpTable::kSize, 11);
    std::copy(fill.begin(), fill.end(), table.bytes.begin());
    for (size_t i = 0; i < 100; ++i)
        table.setAddress(i, "10.0.0." + std::to_string(i));
    table.setAddress(100, "not stored");
    EXPECT_TRUE(std::equal(table.bytes.begin(), table.bytes.begin() + 4, fill.begin()));
    EXPECT_TRUE(std::equal(table.bytes.begin() + 10004, table.bytes.end(), fill.begin() + 10004));
    EXPECT_EQ(table.address(0), "10.0.0.0");
    EXPECT_EQ(table.bytes[4], '1');
    EXPECT_EQ(table.bytes[4 + 99 * 100], '1');
    EXPECT_EQ(table.address(99), "10.0.0.99");
    EXPECT_EQ(table.address(100), "");
}

} // namespace
