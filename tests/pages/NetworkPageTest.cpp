// The network page driven through its controls: the record as loaded (DHCP 1 against 2), the
// check boxes, Save & Reboot's preview, question and frame byte for byte, the refusals, and the
// DDNS frames with a Korean company.

#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "link/Frame.h"
#include "pages/ControlIds.h"
#include "pages/DigitsValidator.h"
#include "pages/IpAddressEdit.h"
#include "pages/QtText.h"
#include "pages/network/CNetworkDlg.h"
#include "tests/support/PageFixture.h"
#include "tests/support/ScriptedAppliance.h"
#include "tests/support/ScriptedPrompt.h"
#include "tests/support/Typing.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using qv::StringId;
using Page = CNetworkDlg;

namespace {

class NetworkPage : public qvtest::PageFixture<CNetworkDlg> {
protected:
    void SetUp() override { open(); }

    template <class T> T* in(int id) { return control<T>(id); }
    // What a screen reader does with a check box: its toggle action, no mouse and no key.
    void toggleAsScreenReader(int id) {
        QAccessible::queryAccessibleInterface(in<QCheckBox>(id))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::toggleAction());
    }
    QString addressText(int id) { return in<IpAddressEdit>(id)->text(); }

    static qv::NetworkConfigRecord office(uint8_t dhcp) {
        qv::NetworkConfigRecord r;
        r.setDhcp(dhcp);
        r.setIpAddress({127, 0, 0, 1});
        r.setNetMask({255, 0, 0, 0});
        r.setGateway({127, 0, 0, 254});
        r.setLinkPort(12301);
        r.setDataPort(12302);
        r.setWebPort(80);
        r.setMac({0, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e});
        r.setCompanyUtf8("(주)쿼벨");
        r.setDdnsId("home1");
        return r;
    }
    static std::vector<uint8_t> frame(qv::Command cmd, int32_t value,
                                      const std::vector<uint8_t>& payload) {
        return qv::encodeFrame(qv::Frame{cmd, value, payload, true});
    }
};

TEST_F(NetworkPage, DhcpOneShowsZeroAddressesDisabledAnyOtherByteIsStatic) {
    for (const uint8_t dhcp : {1, 2}) {
        page->load(office(dhcp));
        const bool byDhcp = dhcp == 1;
        EXPECT_EQ(in<QCheckBox>(Page::kDhcp)->isChecked(), byDhcp);
        for (const int id : {Page::kAddress, Page::kNetMask, Page::kGateway})
            EXPECT_EQ(in<IpAddressEdit>(id)->isEnabled(), !byDhcp) << id;
        EXPECT_EQ(addressText(Page::kAddress),
                  byDhcp ? QStringLiteral("0.0.0.0") : QStringLiteral("127.0.0.1"));
    }
    EXPECT_EQ(in<QLineEdit>(Page::kMac)->text(), QStringLiteral("00:1a:2b:3c:4d:5e"));
    EXPECT_EQ(in<QLineEdit>(Page::kCompany)->text(), QStringLiteral("(주)쿼벨"));
    EXPECT_EQ(in<QLineEdit>(Page::kConfigPort)->text(), QStringLiteral("12300"));

    // Unchecking DHCP gives the controls back without the 0.0.0.0 placeholders; checking UPNP
    // warns.
    page->load(office(1));
    click(Page::kDhcp);
    EXPECT_TRUE(in<IpAddressEdit>(Page::kAddress)->isEnabled());
    EXPECT_EQ(in<IpAddressEdit>(Page::kAddress)->typedAddress(), std::nullopt);
    click(Page::kUpnp);
    click(Page::kUpnp);
    EXPECT_EQ(prompt.notices(), QStringList{qv::uiText(StringId::UpnpWarning)});
}

// A value typed and not sent (or answered No) is marked and leaving the page asks, No first;
// discarding shows the appliance's record again; a value that went out counts as applied.
TEST_F(NetworkPage, TypedValuesNotSentAreMarkedAndLeavingAsks) {
    ASSERT_TRUE(appliance.connect(store));
    page->load(office(0));
    auto* marker = page->findChild<QLabel*>(QStringLiteral("unappliedMarker"));
    ASSERT_NE(marker, nullptr);
    EXPECT_TRUE(marker->isHidden());
    EXPECT_TRUE(page->confirmLeave());
    EXPECT_TRUE(prompt.questions().isEmpty());

    type(Page::kWebPort, QStringLiteral("8080"));
    EXPECT_FALSE(marker->isHidden());
    prompt.answers = {false};
    EXPECT_FALSE(page->confirmLeave());
    EXPECT_EQ(prompt.questions(), QStringList{qv::uiText(StringId::NetworkDiscardOnLeave)});
    EXPECT_EQ(prompt.shown.back().preselected, qv::DefaultAnswer::No);
    EXPECT_EQ(in<QLineEdit>(Page::kWebPort)->text(), QStringLiteral("8080"));
    prompt.answers = {true};
    EXPECT_TRUE(page->confirmLeave());
    EXPECT_EQ(in<QLineEdit>(Page::kWebPort)->text(), QStringLiteral("80"));
    EXPECT_TRUE(marker->isHidden());

    type(Page::kLinkPort, QStringLiteral("12311"));
    prompt.answers = {false};
    click(Page::kSaveAndReboot);
    EXPECT_FALSE(marker->isHidden());
    type(Page::kLinkPort, QStringLiteral("12301"));
    EXPECT_TRUE(marker->isHidden());
    type(Page::kNtpServer, QStringLiteral("pool.ntp.org"));
    EXPECT_FALSE(marker->isHidden());
    click(Page::kNtpRegistration);
    EXPECT_TRUE(marker->isHidden());
}

TEST_F(NetworkPage, SaveAndRebootPreviewsAsksSendsTheRecordAndClosesTheLink) {
    ASSERT_TRUE(appliance.connect(store));
    page->load(office(0));
    QSignalSpy rebooting(page.get(), &CNetworkDlg::applianceRebooting);

    // Nothing changed: said so, nothing sent.
    click(Page::kSaveAndReboot);
    EXPECT_EQ(prompt.notices(), QStringList{qv::uiText(StringId::NetworkUnchanged)});
    // A port above 65535 is refused rather than sent modulo 65536.
    prompt.clear();
    type(Page::kDataPort, QStringLiteral("70000"));
    click(Page::kSaveAndReboot);
    ASSERT_EQ(prompt.notices().size(), 1);
    EXPECT_TRUE(prompt.notices().first().startsWith(QStringLiteral("Quorvel Data Port: ")));
    EXPECT_FALSE(appliance.hasData(std::chrono::milliseconds(100)));

    // New address typed field by field, link port 0 and an empty web port stand for defaults.
    prompt.clear();
    qvtest::typeInto(in<IpAddressEdit>(Page::kAddress)->field(3), QStringLiteral("2"));
    type(Page::kLinkPort, QStringLiteral("0"));
    type(Page::kDataPort, QStringLiteral("13002"));
    type(Page::kWebPort, QString());
    prompt.answers = {false, true};
    click(Page::kSaveAndReboot);
    ASSERT_EQ(prompt.questions().size(), 1);
    const QString question = prompt.questions().first();
    EXPECT_TRUE(question.startsWith(
        QStringLiteral("These settings will change:\nIP Address: 127.0.0.1 -> 127.0.0.12\n")))
        << question.toStdString();
    EXPECT_TRUE(question.contains(QStringLiteral("Quorvel Data Port: 12302 -> 13002")));
    EXPECT_TRUE(question.contains(QStringLiteral("so this connection will end.")));
    EXPECT_TRUE(question.endsWith(qv::uiText(StringId::NetworkRebootQuestion)));
    EXPECT_EQ(prompt.shown.back().preselected, qv::DefaultAnswer::No);
    EXPECT_FALSE(appliance.hasData(std::chrono::milliseconds(100)));
    EXPECT_EQ(rebooting.count(), 0);

    click(Page::kSaveAndReboot);
    std::vector<uint8_t> payload(316, 0);
    const std::pair<size_t, uint8_t> set[] = {
        {4, 0x0D},  {5, 0x30}, {6, 0xCA},  {7, 0x32},  {8, 80},
        {160, 127}, {163, 12}, {164, 127}, {167, 254}, {168, 255},
    };
    for (const auto& [offset, byte] : set)
        payload[offset] = byte;
    const auto expected = frame(qv::Command::CMD_SET_NETWORK_MSG, 0, payload);
    EXPECT_EQ(appliance.read(expected.size()), expected);
    EXPECT_TRUE(appliance.clientClosed());
    EXPECT_FALSE(store.isConnected());
    ASSERT_EQ(rebooting.count(), 1);
    EXPECT_EQ(rebooting.first().at(0).toString(), QStringLiteral("127.0.0.12"));
    EXPECT_EQ(rebooting.first().at(1).toInt(), appliance.port());
}

TEST_F(NetworkPage, LeavingDhcpByAScreenReaderWaitsForEachAddressAndRefusesZero) {
    ASSERT_TRUE(appliance.connect(store));
    qv::NetworkConfigRecord record = office(1);
    record.setUpnp(true);
    page->load(record); // an appliance's record is no change of the operator's: no warning
    toggleAsScreenReader(Page::kDhcp);
    toggleAsScreenReader(Page::kUpnp);
    toggleAsScreenReader(Page::kUpnp);
    EXPECT_EQ(prompt.notices(), QStringList{qv::uiText(StringId::UpnpWarning)});
    const auto save = [&] {
        prompt.clear();
        click(Page::kSaveAndReboot);
        return prompt.shown.empty() ? QString() : prompt.shown.front().text;
    };
    EXPECT_EQ(save(), QStringLiteral("IP Address: type all four numbers of the address. Nothing "
                                     "was sent."));
    in<IpAddressEdit>(Page::kAddress)->setAddress({});
    in<IpAddressEdit>(Page::kNetMask)->setAddress({255, 0, 0, 0});
    EXPECT_TRUE(save().startsWith(QStringLiteral("Gateway: type all four numbers")));
    in<IpAddressEdit>(Page::kGateway)->setAddress({});
    EXPECT_TRUE(save().startsWith(QStringLiteral("IP Address: 0.0.0.0 is not an address")));
    in<IpAddressEdit>(Page::kAddress)->setAddress({127, 0, 0, 1});
    EXPECT_TRUE(save().contains(QStringLiteral("Gateway 0.0.0.0: the appliance will answer only "
                                               "inside its subnet 127.0.0.1 / 255.0.0.0.")));
    EXPECT_FALSE(appliance.hasData(std::chrono::milliseconds(100)));
}

TEST_F(NetworkPage, DisconnectedButtonsSayNothingAndChecksComeFirst) {
    click(Page::kMacRegistration); // before any record: no MAC text
    EXPECT_EQ(prompt.notices(), QStringList{qv::uiText(StringId::CheckConnection)});
    page->load(office(0));
    prompt.clear();
    type(Page::kWebPort, QStringLiteral("8080"));
    for (const int button : {Page::kSaveAndReboot, Page::kDdnsCheck, Page::kMacRegistration,
                             Page::kDdnsRegistration, Page::kNtpRegistration})
        click(button);
    EXPECT_TRUE(prompt.shown.empty());
    type(Page::kDdnsId, QString());
    click(Page::kDdnsCheck);
    EXPECT_EQ(prompt.notices(), QStringList{qv::uiText(StringId::DdnsInputId)});
}

TEST_F(NetworkPage, DdnsRegistrationSendsTheKoreanCompanyInUtf8) {
    ASSERT_TRUE(appliance.connect(store));
    page->load(office(0));
    type(Page::kEmail, QStringLiteral("me@x.kr"));
    type(Page::kCompany, QStringLiteral("쿼벨상사"));
    click(Page::kDdnsRegistration);
    EXPECT_TRUE(prompt.shown.empty());
    std::vector<uint8_t> payload(316, 0);
    const std::string id = "home1", mac = "00:1a:2b:3c:4d:5e", email = "me@x.kr",
                      company = "쿼벨상사";
    std::copy(id.begin(), id.end(), payload.begin() + 122);
    std::copy(mac.begin(), mac.end(), payload.begin() + 26);
    std::copy(email.begin(), email.end(), payload.begin() + 172);
    std::copy(company.begin(), company.end(), payload.begin() + 90);
    const auto expected = frame(qv::Command::CMD_REG_DDNS_MSG, 100, payload);
    EXPECT_EQ(appliance.read(expected.size()), expected);
}

// What the number fields let through: ports and times digits only, an address's numbers 0 to
// 255 without a leading zero; anything else is dropped as it is typed.
TEST(DigitsValidator, NumberFieldsTakeOnlyWhatTheyCanHold) {
    QObject owner;
    const struct {
        const QValidator* validator;
        std::vector<const char*> acceptable, invalid; // "\u0663": an Arabic-Indic three
    } rules[] = {
        {DigitsValidator::octet(&owner), {"", "0", "25", "255"}, {"256", "00", "07", "1000", "1."}},
        {new DigitsValidator(4, &owner), {"0930"}, {"12345", "-1", "\u0663"}}};
    for (const auto& rule : rules)
        for (const bool good : {true, false})
            for (const char* typed : good ? rule.acceptable : rule.invalid) {
                QString text = QString::fromUtf8(typed);
                int pos = 0;
                EXPECT_EQ(rule.validator->validate(text, pos),
                          good ? QValidator::Acceptable : QValidator::Invalid)
                    << typed;
            }
}

} // namespace
