// The product summary's text forms: versions, MAC address, DDNS host, company name in UTF-8,
// limits, and texts read no further than their fields.

#include "core/network/InfoRules.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace info = qv::info;

namespace {

const std::string kSuffix(info::kDdnsDomainSuffix);

TEST(InfoRules, SoftwareVersionIsHundredthsAndNote) {
    const struct {
        uint16_t version;
        const char* note;
        const char* text;
    } cases[] = {
        {100, "beta", "1.00 (beta)"},
        {7, "beta", "0.07 (beta)"},
        {215, "r2", "2.15 (r2)"},
        {412, "", "4.12 ()"},
        {0, "x", "0.00 (x)"},
        {65535, "max", "655.35 (max)"},
        {1000, "build 1", "10.00 (build 1)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(info::softwareVersionAnsi(c.version, c.note), c.text) << c.version;
}

TEST(InfoRules, MacIsSixLowerCasePairs) {
    const std::pair<std::array<uint8_t, 6>, const char*> cases[] = {
        {{0, 26, 43, 60, 77, 94}, "00:1a:2b:3c:4d:5e"},
        {{0, 0, 0, 0, 0, 0}, "00:00:00:00:00:00"},
        {{0xFF, 0xAB, 0xCD, 0xEF, 0x01, 0x10}, "ff:ab:cd:ef:01:10"},
    };
    for (const auto& [mac, text] : cases)
        EXPECT_EQ(info::macText(mac), text);
}

TEST(InfoRules, DdnsHostIsTheIdAndTheSuffixUnchanged) {
    EXPECT_EQ(kSuffix.front(), '.');
    EXPECT_EQ(info::ddnsHostAnsi(""), kSuffix);
    EXPECT_EQ(info::ddnsHostAnsi("MyQV01"), "MyQV01" + kSuffix);
    EXPECT_EQ(info::ddnsHostAnsi("a.b"), "a.b" + kSuffix);
}

TEST(InfoRules, CompanyIsShownOnlyAsWellFormedUtf8) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"Quorvel Inc.", "Quorvel Inc."},
        {"(주)쿼벨시스템", "(주)쿼벨시스템"},
        {"Caf\xC3\xA9 \xF0\x9F\x98\x80", "Caf\xC3\xA9 \xF0\x9F\x98\x80"}, // two- and four-byte
        // The field's width cut the last character short: the whole ones stay.
        {"\xEC\xBF\xBC\xEB\xB2", "\xEC\xBF\xBC"},
        {"ab\xF0\x9F\x98", "ab"},
        // Not UTF-8 at all: nothing rather than garbage.
        {"\xB1\xE8\xC3\xB6\xBC\xF6", ""}, // code page 949 bytes
        {"caf\xE9 ok", ""},               // code page 1252 byte
        {"\xC0\xAF", ""},                 // overlong '/'
        {"\xE0\x80\xAF", ""},             // overlong, three bytes
        {"\xED\xA0\x80", ""},             // a surrogate
        {"\xF4\x90\x80\x80", ""},         // above U+10FFFF
        {"\xF5\x80\x80\x80", ""},         // no such lead byte
        {"\x80 stray continuation", ""},  //
        {"\xEC\xBF"
         "A\xBC",
         ""}, // a sequence broken in the middle
    };
    for (const auto& [field, shown] : cases)
        EXPECT_EQ(info::companyText(field), shown) << field;
}

TEST(InfoRules, LimitsAreTheDispatchersCopy) {
    const struct {
        int32_t recordSchedules;
        int32_t schedules;
    } cases[] = {{5, 10}, {10, 10}, {500, 500}, {2040, 2040}, {5000, 2040}, {-3, 10}, {0, 10}};
    for (const auto& c : cases) {
        qv::NetworkConfigRecord record;
        record.setMaxScheduleCount(c.recordSchedules);
        record.setMaxStandbyCount(65535);
        record.setIoScheduleEnabled(1);
        const info::Limits limits = info::limitsFromRecord(record, 20);
        EXPECT_EQ(limits.maxSchedules, c.schedules) << c.recordSchedules;
        EXPECT_EQ(limits.maxStandby, 65535);
        EXPECT_EQ(limits.maxCenterIds, 20);
        EXPECT_EQ(limits.ioScheduleEnabled, 1);
    }
}

qv::NetworkConfigRecord sampleRecord() {
    qv::NetworkConfigRecord r;
    r.setFirmwareNumber(200);
    r.setSoftwareVersion(215);
    r.setVersionNote("build 7");
    r.setDeviceName("QV-MY2400");
    r.setCompanyUtf8("(주)쿼벨시스템");
    r.setDdnsId("qvdemo01");
    r.setEmail("admin@example.com");
    r.setMac({0, 26, 43, 60, 77, 94});
    return r;
}

TEST(InfoRules, SummaryTextsOfEveryField) {
    const qv::NetworkConfigRecord record = sampleRecord();
    info::Limits limits{20, 1, 500, 50};
    for (const int codePage : {949, 1252}) {
        const info::SummaryTexts t = info::summaryTexts(record, limits, codePage);
        EXPECT_EQ(t.firmwareNumber, "200");
        EXPECT_EQ(t.deviceName, "QV-MY2400");
        EXPECT_EQ(t.softwareVersion, "2.15 (build 7)");
        EXPECT_EQ(t.macAddress, "00:1a:2b:3c:4d:5e");
        // The company is UTF-8 on the appliance and shows whole under either code page.
        EXPECT_EQ(t.company, "(주)쿼벨시스템") << codePage;
        EXPECT_EQ(t.ddnsHost, "qvdemo01" + kSuffix);
        EXPECT_EQ(t.email, "admin@example.com");
        EXPECT_EQ(t.maxCenterIds, "20");
        EXPECT_EQ(t.maxSchedules, "500");
        EXPECT_EQ(t.maxStandby, "50");
    }

    // Without the IO scheduler, "Max Schedule" is empty whatever the limit; the limits are
    // signed decimals.
    limits = {-1, 0, 2040, 0};
    const info::SummaryTexts t = info::summaryTexts(record, limits, 1252);
    EXPECT_EQ(t.maxSchedules, "");
    EXPECT_EQ(t.maxCenterIds, "-1");
    EXPECT_EQ(t.maxStandby, "0");
    // Any flag but 0 counts as a scheduler.
    limits.ioScheduleEnabled = 2;
    EXPECT_EQ(info::summaryTexts(record, limits, 1252).maxSchedules, "2040");
}

TEST(InfoRules, AnsiTextsAreReadInTheCodePageAndNoFurtherThanTheirFields) {
    qv::NetworkConfigRecord record = sampleRecord();
    // "김철수" in code page 949 as device name and version note; "é" (1252) in the e-mail.
    record.setDeviceName("\xB1\xE8\xC3\xB6\xBC\xF6");
    record.setVersionNote("\xB1\xE8");
    record.setEmail("caf\xE9@example.com");
    const info::Limits limits{10, 0, 10, 0};
    EXPECT_EQ(info::summaryTexts(record, limits, 949).deviceName, "김철수");
    EXPECT_EQ(info::summaryTexts(record, limits, 949).softwareVersion, "2.15 (김)");
    EXPECT_EQ(info::summaryTexts(record, limits, 1252).email, "caf\xC3\xA9@example.com");

    // Fields filled to their last byte without a terminator: each text is the whole field and
    // never runs into the next field.
    std::fill_n(record.data() + 10, 16, 'D');  // device name, 16 bytes
    std::fill_n(record.data() + 90, 32, 'C');  // company, 32 bytes
    std::fill_n(record.data() + 122, 32, 'N'); // DDNS ID, 32 bytes
    std::fill_n(record.data() + 172, 65, 'E'); // e-mail, 65 bytes
    std::fill_n(record.data() + 252, 32, 'V'); // version note, 32 bytes
    const info::SummaryTexts t = info::summaryTexts(record, limits, 1252);
    EXPECT_EQ(t.deviceName, std::string(16, 'D'));
    EXPECT_EQ(t.company, std::string(32, 'C'));
    EXPECT_EQ(t.ddnsHost, std::string(32, 'N') + kSuffix);
    EXPECT_EQ(t.email, std::string(65, 'E'));
    EXPECT_EQ(t.softwareVersion, "2.15 (" + std::string(32, 'V') + ")");
}

} // namespace
