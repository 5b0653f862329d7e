// The network rules: the record as the page reads it, port texts and their defaults, Save &
// Reboot's record byte for byte, the DDNS checks in their order, answers, and the preview of a
// change with the ways it cuts this client off.

#include "core/network/NetworkRules.h"

#include <gtest/gtest.h>

namespace net = qv::network;
using qv::StringId;
using R = std::optional<net::Refusal>;

namespace {

constexpr int kCp949 = 949;

R refusal(StringId id, std::optional<StringId> field = {}, size_t limit = 0) {
    return net::Refusal{id, field, limit};
}

TEST(NetworkRules, DhcpOneHidesTheAddressesAnyOtherByteIsStatic) {
    for (const uint8_t dhcp : {0, 1, 2, 255}) {
        qv::NetworkConfigRecord record;
        record.setDhcp(dhcp);
        record.setIpAddress({10, 1, 2, 3});
        record.setNetMask({255, 255, 0, 0});
        record.setGateway({10, 1, 0, 1});
        const net::Settings s = net::settingsFromRecord(record);
        EXPECT_EQ(s.dhcp, dhcp == 1) << int(dhcp);
        EXPECT_EQ(s.address, dhcp == 1 ? net::Ipv4{} : net::Ipv4({10, 1, 2, 3})) << int(dhcp);
        EXPECT_EQ(s.gateway, dhcp == 1 ? net::Ipv4{} : net::Ipv4({10, 1, 0, 1})) << int(dhcp);
    }
}

TEST(NetworkRules, PortTextsFallBackToTheirDefaultAndRefuseAbove65535) {
    const std::pair<const char*, std::optional<uint16_t>> cases[] = {
        {"", 12301},     {"0", 12301},     {"000", 12301}, {"abc", 12301}, {"12a5", 12},
        {"1", 1},        {"65535", 65535}, {"65536", {}},  {"70000", {}},  {"99999999999", {}},
        {"08080", 8080},
    };
    for (const auto& [text, port] : cases)
        EXPECT_EQ(net::portFromText(text, 12301), port) << text;

    net::SettingsInput input{{}, {}, {}, true, "", "x", "70000", false};
    EXPECT_EQ(net::checkSettings(input).refusal,
              refusal(StringId::PortTooLarge, StringId::NetworkLabelWebPort));
    EXPECT_EQ(net::refusalText(*net::checkSettings(input).refusal, qv::Language::English),
              "Web Server Port: a port number is at most 65535. Nothing was sent.");
    input.webPort = "";
    const net::Settings s = net::checkSettings(input).settings;
    EXPECT_EQ(std::tie(s.linkPort, s.dataPort, s.webPort), std::make_tuple(12301, 12302, 80));
}

TEST(NetworkRules, StaticAddressesTheApplianceCannotAnswerAtAreRefusedNamingTheField) {
    using S = StringId;
    const S labels[] = {S::NetworkLabelAddress, S::NetworkLabelNetMask, S::NetworkLabelGateway};
    // Addresses typed over one of a sound setting's: 0 the address, 1 the net mask, 2 the gateway.
    const std::tuple<size_t, std::optional<S>, std::vector<const char*>> cases[] = {
        {2, {}, {"0.0.0.0", "10.0.0.1"}}, // no gateway, or one beyond the subnet: allowed
        {1, {}, {"255.255.255.252", "255.255.255.254"}},
        {0, S::NetworkAddressIncomplete, {""}},
        {1, S::NetworkAddressIncomplete, {""}},
        {2, S::NetworkAddressIncomplete, {""}},
        {0, S::NetworkAddressNone, {"0.0.0.0", "0.1.2.3"}},
        {0, S::NetworkAddressBroadcast, {"255.255.255.255"}},
        {0, S::NetworkAddressMulticast, {"224.0.0.1", "239.255.255.250"}},
        {0, S::NetworkAddressReserved, {"240.0.0.1"}},
        {0, S::NetworkAddressSubnetEdge, {"192.168.1.255", "192.168.1.0"}},
        {1, S::NetworkMaskZero, {"0.0.0.0"}},
        {1, S::NetworkMaskNotContiguous, {"255.0.255.0"}},
        {1, S::NetworkMaskAllOnes, {"255.255.255.255"}},
        {2, S::NetworkAddressBroadcast, {"255.255.255.255"}},
        {2, S::NetworkAddressSubnetEdge, {"192.168.1.255"}},
        {2, S::NetworkAddressNone, {"0.0.0.1"}},
    };
    for (const auto& [field, message, texts] : cases)
        for (const char* typed : texts) {
            std::optional<net::Ipv4> a[] = {net::Ipv4{192, 168, 1, 50}, net::Ipv4{255, 255, 255, 0},
                                            net::Ipv4{192, 168, 1, 49}};
            a[field] = net::parseDotted(typed);
            const net::SettingsInput input{a[0], a[1], a[2], false, "", "", "", false};
            const R got = net::checkSettings(input).refusal;
            EXPECT_EQ(got ? std::optional(got->message.id) : std::nullopt, message) << typed;
            EXPECT_TRUE(!got || got->field == labels[field]) << typed;
        }
}

TEST(NetworkRules, SaveRecordSetsOnlyPortsAddressesDhcpAndUpnp) {
    net::Settings s{
        {192, 168, 1, 50}, {255, 255, 255, 0}, {192, 168, 1, 1}, true, 0x1234, 0x5678, 80, true};
    std::array<uint8_t, 316> expected{};
    const std::pair<size_t, uint8_t> set[] = {
        {4, 0x34},  {5, 0x12},  {6, 0x78},  {7, 0x56},  {8, 80},    {160, 192},
        {161, 168}, {162, 1},   {163, 50},  {164, 192}, {165, 168}, {166, 1},
        {167, 1},   {168, 255}, {169, 255}, {170, 255}, {237, 1},   {248, 1},
    };
    for (const auto& [offset, byte] : set)
        expected[offset] = byte;
    EXPECT_EQ(net::saveRecord(s).bytes, expected);
    s.dhcp = false;
    s.upnp = false;
    expected[237] = 0;
    expected[248] = 0;
    EXPECT_EQ(net::saveRecord(s).bytes, expected);
}

TEST(NetworkRules, DdnsChecksInTheirOrder) {
    const std::string mac = "00:1a:2b:3c:4d:5e";
    const std::string id32(32, 'a');
    enum Button { Check, MacReg, DdnsReg };
    const struct {
        Button button;
        net::DdnsInput input;
        R expected;
    } cases[] = {
        {Check, {"", mac, "", ""}, refusal(StringId::DdnsInputId)},
        {DdnsReg, {"", mac, "", ""}, {}},
        {Check, {"a-b", mac, "", ""}, refusal(StringId::DdnsLettersAndDigitsOnly)},
        {Check, {"a;b", mac, "", ""}, refusal(StringId::ForbiddenSemicolon)},
        {Check, {"a/b", mac, "", ""}, refusal(StringId::ForbiddenQuote)},
        {Check, {"a'b|c;", mac, "", ""}, refusal(StringId::ForbiddenSemicolon)},
        // The MAC text is tested before the ID.
        {Check, {"a;b", "00|1a", "", ""}, refusal(StringId::ForbiddenQuote)},
        {DdnsReg, {"ok", mac, "me@x;y", ""}, refusal(StringId::ForbiddenSemicolon)},
        {DdnsReg, {"o-k", mac, "me@x/y", ""}, refusal(StringId::ForbiddenQuote)},
        {DdnsReg, {"o-k", mac, "", ""}, refusal(StringId::DdnsLettersAndDigitsOnly)},
        {MacReg, {"", "", "", ""}, refusal(StringId::CheckConnection)},
        {DdnsReg, {"ok", "", "", ""}, refusal(StringId::CheckConnection)},
        {MacReg, {"", mac + "|", "", ""}, refusal(StringId::ForbiddenQuote)},
        {Check,
         {id32, mac, "", ""},
         refusal(StringId::NetworkTextTooLong, StringId::NetworkLabelDdns, 31)},
        {Check, {id32.substr(1), mac, "", ""}, {}},
        {DdnsReg,
         {"ok", mac, std::string(65, 'e'), ""},
         refusal(StringId::NetworkTextTooLong, StringId::NetworkLabelEmail, 64)},
        {DdnsReg, {"ok", mac, std::string(64, 'e'), "가나다라마바사아자차"}, {}},
        {DdnsReg,
         {"ok", mac, "", "가나다라마바사아자차카"},
         refusal(StringId::NetworkTextTooLong, StringId::NetworkLabelCompany, 31)},
        {DdnsReg,
         {"ok", mac, "ก@x", ""},
         refusal(StringId::NetworkTextNotConvertible, StringId::NetworkLabelEmail)},
        {MacReg,
         {"", std::string(64, '0'), "", ""},
         refusal(StringId::NetworkTextTooLong, StringId::NetworkLabelMac, 63)},
    };
    for (const auto& c : cases) {
        net::DdnsWire wire;
        const R got = c.button == Check    ? net::checkDdnsCheck(c.input, kCp949, wire)
                      : c.button == MacReg ? net::checkMacRegistration(c.input, kCp949, wire)
                                           : net::checkDdnsRegistration(c.input, kCp949, wire);
        EXPECT_EQ(got, c.expected) << c.input.ddnsId << " / " << c.input.macText;
    }
}

TEST(NetworkRules, DdnsRegistrationRecordKeepsTheKoreanCompanyInUtf8) {
    net::DdnsWire wire;
    ASSERT_FALSE(
        net::checkDdnsRegistration({"home1", "00:1a", "me@x.kr", "(주)쿼벨"}, kCp949, wire));
    const qv::NetworkConfigRecord record = net::ddnsRegistrationRecord(wire);
    EXPECT_EQ(record.companyUtf8(), "(주)쿼벨");
    EXPECT_EQ(record.ddnsId(), "home1");
    EXPECT_EQ(record.macText(), "00:1a");
    EXPECT_EQ(record.email(), "me@x.kr");
    qv::NetworkConfigRecord onlyThose;
    onlyThose.setCompanyUtf8("(주)쿼벨");
    onlyThose.setDdnsId("home1");
    onlyThose.setMacText("00:1a");
    onlyThose.setEmail("me@x.kr");
    EXPECT_EQ(record, onlyThose);
}

TEST(NetworkRules, AnswersMapToTheirMessages) {
    EXPECT_EQ(net::ddnsCheckAnswer(101), StringId::DdnsIdAvailable);
    EXPECT_EQ(net::ddnsCheckAnswer(103), StringId::DdnsMacInUse);
    EXPECT_EQ(net::ddnsCheckAnswer(0), StringId::DdnsCheckFailed);
    EXPECT_EQ(net::macRegistrationAnswer(401), StringId::ProductAlreadyRegistered);
    EXPECT_EQ(net::macRegistrationAnswer(402), StringId::ProductRegistrationFailed);
    EXPECT_EQ(net::ddnsRegistrationAnswer(403), StringId::DdnsMacAlreadyRegistered);
    EXPECT_EQ(net::ddnsRegistrationAnswer(404), StringId::DdnsRegistrationFailed);
}

TEST(NetworkRules, PreviewWarnsWhenTheChangeCutsThisClientOff) {
    using W = net::Warning;
    const net::Settings office{
        {192, 168, 1, 10}, {255, 255, 255, 0}, {192, 168, 1, 1}, false, 12301, 12302, 80, false};
    const auto with = [&](net::Ipv4 address, net::Ipv4 mask, bool dhcp = false) {
        net::Settings s = office;
        s.address = address;
        s.netMask = mask;
        s.dhcp = dhcp;
        return s;
    };
    const net::LinkView direct{{192, 168, 1, 10}, {192, 168, 1, 77}};
    const net::LinkView forwarded{{203, 0, 113, 5}, {10, 0, 0, 2}};
    const net::Ipv4 mask24{255, 255, 255, 0};
    const struct {
        const char* name;
        net::Settings after;
        std::optional<net::LinkView> link;
        std::vector<W> warnings;
        std::optional<net::Ipv4> next;
    } cases[] = {
        {"same subnet, new address",
         with({192, 168, 1, 20}, mask24),
         direct,
         {W::AddressMoves},
         net::Ipv4{192, 168, 1, 20}},
        {"other subnet",
         with({10, 9, 9, 9}, mask24),
         direct,
         {W::AddressMoves, W::OutsideSubnet},
         net::Ipv4{10, 9, 9, 9}},
        {"narrower mask",
         with({192, 168, 1, 10}, {255, 255, 255, 192}),
         direct,
         {W::OutsideSubnet},
         {}},
        {"dhcp on", with({192, 168, 1, 10}, mask24, true), direct, {W::AddressByDhcp}, {}},
        {"port only, forwarded",
         [&] {
             auto s = office;
             s.webPort = 8080;
             return s;
         }(),
         forwarded,
         {},
         {}},
        {"forwarded, address moves",
         with({192, 168, 1, 11}, mask24),
         forwarded,
         {W::AddressMoves},
         {}},
        {"no link", with({10, 9, 9, 9}, mask24), std::nullopt, {}, {}},
    };
    for (const auto& c : cases) {
        const net::ChangePreview p =
            net::previewChange(office, c.after, office.address, c.link, qv::Language::English);
        EXPECT_FALSE(p.unchanged()) << c.name;
        EXPECT_EQ(p.warnings, c.warnings) << c.name;
        EXPECT_EQ(p.nextAddress, c.next) << c.name;
    }

    // No gateway is warned about whatever the appliance had before.
    net::Settings isolated = office;
    isolated.gateway = {};
    EXPECT_EQ(net::previewChange(office, isolated, office.address, direct).warnings,
              std::vector<W>{W::NoGateway});
    EXPECT_EQ(net::previewChange(isolated, office, office.address, direct).warnings.size(), 0u);

    const net::ChangePreview none = net::previewChange(office, office, office.address, direct);
    EXPECT_TRUE(none.unchanged());
    EXPECT_TRUE(none.warnings.empty());

    net::Settings after = with({10, 9, 9, 9}, mask24);
    after.upnp = true;
    const auto lines = net::previewLines(
        net::previewChange(office, after, office.address, direct, qv::Language::English), after,
        direct, qv::Language::English);
    const std::vector<std::string> expected{
        "These settings will change:",
        "IP Address: 192.168.1.10 -> 10.9.9.9",
        "UPNP: off -> on",
        "This client is connected to 192.168.1.10; after the reboot the appliance answers at "
        "10.9.9.9, so this connection will end.",
        "This computer (192.168.1.77) is not in the new subnet 10.9.9.9 / 255.255.255.0: it may "
        "not reach the appliance after the reboot.",
    };
    EXPECT_EQ(lines, expected);
}

TEST(NetworkRules, DottedAddressesParseStrictly) {
    EXPECT_EQ(net::parseDotted("127.0.0.2"), net::Ipv4({127, 0, 0, 2}));
    for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1..2.3", "1.2.3.4 ", "a.b.c.d",
                            "1.2.3.0004", "-1.2.3.4"})
        EXPECT_FALSE(net::parseDotted(bad)) << bad;
}

} // namespace
