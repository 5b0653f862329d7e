// The product summary page read through its controls: every field of a hand-made record in
// English and in Korean, the company name in UTF-8 under code pages 949 and 1252, and the limits
// taken from the store.

#include "link/CGlobalData.h"
#include "pages/ControlIds.h"
#include "pages/network/CInfoDlg.h"
#include "res/StringTable.h"
#include "tests/support/ScriptedPrompt.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Sets the language and the code page for one test and puts both back afterwards.
class Environment {
public:
    Environment(const char* lang, const char* codePage) {
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG", "QVSETTING_CODEPAGE"})
            m_saved.emplace_back(name, qgetenv(name));
        qunsetenv("LC_ALL");
        qunsetenv("LC_MESSAGES");
        qputenv("LANG", lang);
        qputenv("QVSETTING_CODEPAGE", codePage);
    }
    ~Environment() {
        for (const auto& [name, value] : m_saved)
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
    }

private:
    std::vector<std::pair<const char*, QByteArray>> m_saved;
};

qv::NetworkConfigRecord handMadeRecord() {
    qv::NetworkConfigRecord r;
    r.setFirmwareNumber(7);
    r.setSoftwareVersion(100);
    r.setVersionNote("build 12");
    r.setDeviceName("QV-MY2400");
    r.setCompanyUtf8("(주)쿼벨시스템");
    r.setDdnsId("");
    r.setEmail("ops@example.com");
    r.setMac({0, 26, 43, 60, 77, 94});
    r.setIoScheduleEnabled(1);
    r.setMaxScheduleCount(5000);
    r.setMaxStandbyCount(64);
    return r;
}

// Every field, in the order the page shows them.
constexpr CInfoDlg::ControlId kFields[] = {
    CInfoDlg::kFirmwareNumber, CInfoDlg::kDeviceName,   CInfoDlg::kSoftwareVersion,
    CInfoDlg::kMacAddress,     CInfoDlg::kCompany,      CInfoDlg::kDdnsHost,
    CInfoDlg::kEmail,          CInfoDlg::kMaxCenterIds, CInfoDlg::kMaxSchedules,
    CInfoDlg::kMaxStandby,
};

QString field(CInfoDlg& page, int id) {
    auto* edit = qv::findControl<QLineEdit>(&page, id);
    EXPECT_NE(edit, nullptr) << "control " << id;
    return edit ? edit->text() : QString();
}

TEST(InfoPage, ShowsEveryFieldInBothLanguagesAndCodePages) {
    const struct {
        const char* lang;
        const char* codePage;
    } environments[] = {
        {"en_US.UTF-8", "1252"},
        {"en_US.UTF-8", "949"},
        {"ko_KR.UTF-8", "949"},
        {"ko_KR.UTF-8", "1252"},
    };
    for (const auto& env : environments) {
        SCOPED_TRACE(std::string(env.lang) + " / " + env.codePage);
        Environment scope(env.lang, env.codePage);
        qv::CGlobalData store;
        qvtest::ScriptedPrompt prompt;
        CInfoDlg page(store, prompt);
        page.resize(560, 420);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));

        // Before the first summary every field is empty.
        for (const int id : kFields)
            EXPECT_TRUE(field(page, id).isEmpty()) << id;

        // The dispatcher's copy of the limits comes first, then the fill.
        store.maxCenterIdCount = 20;
        store.ioScheduleEnabled = 1;
        store.maxScheduleCount = 2040;
        store.maxStandbyCount = 64;
        page.fill(handMadeRecord());

        EXPECT_EQ(field(page, CInfoDlg::kFirmwareNumber), QStringLiteral("7"));
        EXPECT_EQ(field(page, CInfoDlg::kDeviceName), QStringLiteral("QV-MY2400"));
        EXPECT_EQ(field(page, CInfoDlg::kSoftwareVersion), QStringLiteral("1.00 (build 12)"));
        EXPECT_EQ(field(page, CInfoDlg::kMacAddress), QStringLiteral("00:1a:2b:3c:4d:5e"));
        EXPECT_EQ(field(page, CInfoDlg::kCompany), QStringLiteral("(주)쿼벨시스템"));
        EXPECT_EQ(field(page, CInfoDlg::kDdnsHost), QStringLiteral(".quorvel-ddns.net"));
        EXPECT_EQ(field(page, CInfoDlg::kEmail), QStringLiteral("ops@example.com"));
        EXPECT_EQ(field(page, CInfoDlg::kMaxCenterIds), QStringLiteral("20"));
        EXPECT_EQ(field(page, CInfoDlg::kMaxSchedules), QStringLiteral("2040"));
        EXPECT_EQ(field(page, CInfoDlg::kMaxStandby), QStringLiteral("64"));

        // The firmware number stays hidden, with its label; the rest shows, read-only, and the
        // labels are the template's in both languages.
        for (const int id : kFields) {
            auto* edit = qv::findControl<QLineEdit>(&page, id);
            ASSERT_NE(edit, nullptr);
            EXPECT_TRUE(edit->isReadOnly()) << id;
            EXPECT_EQ(edit->isVisible(), id != CInfoDlg::kFirmwareNumber) << id;
        }
        const auto labels = page.findChildren<QLabel*>();
        const auto labelOf = [&](int id) -> QLabel* {
            for (QLabel* label : labels)
                if (label->buddy() == qv::findControl<QLineEdit>(&page, id))
                    return label;
            return nullptr;
        };
        ASSERT_NE(labelOf(CInfoDlg::kFirmwareNumber), nullptr);
        EXPECT_FALSE(labelOf(CInfoDlg::kFirmwareNumber)->isVisible());
        const bool korean = std::string(env.lang) == "ko_KR.UTF-8";
        EXPECT_EQ(labelOf(CInfoDlg::kSoftwareVersion)->text(),
                  korean ? QStringLiteral("S/W 버전") : QStringLiteral("S/W Version"));
        EXPECT_EQ(labelOf(CInfoDlg::kMacAddress)->text(),
                  korean ? QStringLiteral("MAC 주소") : QStringLiteral("Mac Address"));
        EXPECT_EQ(labelOf(CInfoDlg::kMaxStandby)->text(),
                  korean ? QStringLiteral("최대 대기 수") : QStringLiteral("Max Standby"));
        auto* schedule = qv::findControl<QAbstractButton>(&page, CInfoDlg::kScheduleWindow);
        ASSERT_NE(schedule, nullptr);
        EXPECT_FALSE(schedule->isVisible());
        EXPECT_EQ(page.title(),
                  korean ? QStringLiteral("제품 요약") : QStringLiteral("Product Summary"));
    }
}

TEST(InfoPage, EachSummaryOverwritesEveryField) {
    Environment scope("en_US.UTF-8", "949");
    qv::CGlobalData store;
    qvtest::ScriptedPrompt prompt;
    CInfoDlg page(store, prompt);
    store.maxCenterIdCount = 100;
    store.ioScheduleEnabled = 1;
    store.maxScheduleCount = 10;
    page.fill(handMadeRecord());
    EXPECT_EQ(field(page, CInfoDlg::kMaxSchedules), QStringLiteral("10"));

    // A second appliance: no IO scheduler (the schedule field empties although the record
    // carries a limit), a DDNS ID, a MAC with letters, a company name in code page 949 bytes
    // instead of UTF-8 (shown empty rather than as garbage), a device name in 949.
    qv::NetworkConfigRecord r;
    r.setSoftwareVersion(7);
    r.setDdnsId("MyQV");
    r.setMac({0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF});
    r.setCompanyUtf8("\xC4\xF5\xBA\xA7");
    r.setDeviceName("\xB1\xE8");
    r.setMaxScheduleCount(500);
    store.maxCenterIdCount = 1;
    store.ioScheduleEnabled = 0;
    store.maxScheduleCount = 500;
    store.maxStandbyCount = 0;
    page.fill(r);
    EXPECT_EQ(field(page, CInfoDlg::kFirmwareNumber), QStringLiteral("0"));
    EXPECT_EQ(field(page, CInfoDlg::kDeviceName), QStringLiteral("김"));
    EXPECT_EQ(field(page, CInfoDlg::kSoftwareVersion), QStringLiteral("0.07 ()"));
    EXPECT_EQ(field(page, CInfoDlg::kMacAddress), QStringLiteral("aa:bb:cc:dd:ee:ff"));
    EXPECT_EQ(field(page, CInfoDlg::kCompany), QString());
    EXPECT_EQ(field(page, CInfoDlg::kDdnsHost), QStringLiteral("MyQV.quorvel-ddns.net"));
    EXPECT_EQ(field(page, CInfoDlg::kEmail), QString());
    EXPECT_EQ(field(page, CInfoDlg::kMaxCenterIds), QStringLiteral("1"));
    EXPECT_EQ(field(page, CInfoDlg::kMaxSchedules), QString());
    EXPECT_EQ(field(page, CInfoDlg::kMaxStandby), QStringLiteral("0"));
    ASSERT_TRUE(page.record().has_value());
    EXPECT_EQ(*page.record(), r);
}

} // namespace
