// The real window against qvsim over loopback: after logging on, the product summary shows the
// appliance's own values; the administrator page changes the ID and password, the appliance
// confirms, and only the new pair logs on afterwards.

#include "app/CQVSettingDlg.h"
#include "core/access/AdminRules.h"
#include "core/network/InfoRules.h"
#include "pages/QtText.h"
#include "pages/access/CAdminDlg.h"
#include "pages/network/CInfoDlg.h"
#include "tests/support/WindowOnSim.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using qv::StringId;

namespace {

class InfoAdminEndToEnd : public qvtest::WindowOnSim {
protected:
    QString field(int id) { return in<QLineEdit>(window->page(Page::Summary), id)->text(); }
};

TEST_F(InfoAdminEndToEnd, SummaryShowsTheAppliancesValuesAndNewCredentialsLogOn) {
    ASSERT_TRUE(sim.started());
    const qv::sim::SimState seeded = simState();
    const qv::NetworkConfigRecord& record = seeded.record;
    ASSERT_FALSE(record.companyUtf8().empty());
    openWindow();
    ASSERT_TRUE(logOn(QString::fromStdString(seeded.adminId),
                      QString::fromStdString(seeded.adminPassword)));

    // The summary arrives on its own after the logon.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !field(CInfoDlg::kMacAddress).isEmpty(); }, kWaitMs));
    EXPECT_TRUE(window->page(Page::Summary)->isVisible());
    const qv::info::Limits limits = qv::info::limitsFromRecord(record, seeded.maxCenterIds);
    const qv::info::SummaryTexts texts = qv::info::summaryTexts(record, limits, 949);
    EXPECT_EQ(field(CInfoDlg::kDeviceName), QString::fromStdString(record.deviceName()));
    EXPECT_EQ(field(CInfoDlg::kSoftwareVersion), qv::fromUtf8(texts.softwareVersion));
    EXPECT_EQ(field(CInfoDlg::kMacAddress), qv::fromUtf8(qv::info::macText(record.mac())));
    EXPECT_EQ(field(CInfoDlg::kCompany), qv::fromUtf8(record.companyUtf8()));
    EXPECT_EQ(field(CInfoDlg::kDdnsHost),
              QString::fromStdString(record.ddnsId()) + QStringLiteral(".quorvel-ddns.net"));
    EXPECT_EQ(field(CInfoDlg::kEmail), QString::fromStdString(record.email()));
    EXPECT_EQ(field(CInfoDlg::kMaxCenterIds), QString::number(seeded.maxCenterIds));
    EXPECT_EQ(field(CInfoDlg::kMaxSchedules),
              record.ioScheduleEnabled() != 0 ? QString::number(limits.maxSchedules) : QString());
    EXPECT_EQ(field(CInfoDlg::kMaxStandby), QString::number(record.maxStandbyCount()));

    // Change ID/Password: the boxes start empty; the appliance confirms with message 163.
    follow(1002);
    ASSERT_EQ(store.PageIndex, 2);
    CPageDlg* admin = window->page(Page::Admin);
    for (int id : {CAdminDlg::kNewId, CAdminDlg::kNewPassword, CAdminDlg::kRetype})
        EXPECT_TRUE(in<QLineEdit>(admin, id)->text().isEmpty()) << id;
    qvtest::typeInto(in<QLineEdit>(admin, CAdminDlg::kNewId), QStringLiteral("chief"));
    qvtest::typeInto(in<QLineEdit>(admin, CAdminDlg::kNewPassword), QStringLiteral("N3w-Secret"));
    qvtest::typeInto(in<QLineEdit>(admin, CAdminDlg::kRetype), QStringLiteral("N3w-Secret"));
    QTest::mouseClick(in<QAbstractButton>(admin, CAdminDlg::kApply), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return prompt.notices().contains(qv::uiText(qv::StringId::AdminChanged)); },
        kWaitMs));
    const qv::sim::SimState changed = simState();
    EXPECT_EQ(changed.adminId, "chief");
    EXPECT_EQ(changed.adminPassword, "N3w-Secret");

    // Leaving and coming back empties the boxes.
    follow(1000);
    follow(1002);
    EXPECT_TRUE(in<QLineEdit>(admin, CAdminDlg::kNewId)->text().isEmpty());

    // A new logon: the old pair is refused, the new one is let in and the summary comes again.
    reboot();
    EXPECT_FALSE(logOn(QString::fromStdString(seeded.adminId),
                       QString::fromStdString(seeded.adminPassword)));
    EXPECT_EQ(store.PageIndex, 0);
    ASSERT_TRUE(logOn(QStringLiteral("chief"), QStringLiteral("N3w-Secret")));
    EXPECT_TRUE(window->page(Page::Summary)->isVisible());
    EXPECT_EQ(field(CInfoDlg::kMacAddress), qv::fromUtf8(qv::info::macText(record.mac())));
}

} // namespace
