// The real window against qvsim over loopback: after logging on, the product summary shows the
// appliance's own values; the administrator page changes the ID and password, the appliance
// confirms, and only the new pair logs on afterwards.

#include "CGlobalData.h"
#include "CLogonDlg.h"
#include "CQVSettingDlg.h"
#include "ControlIds.h"
#include "QtText.h"
#include "ScriptedPrompt.h"
#include "SimServer.h"
#include "SimState.h"
#include "access/AdminRules.h"
#include "access/CAdminDlg.h"
#include "network/CInfoDlg.h"
#include "network/InfoRules.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include "RunningSim.h"
#include "Typing.h"

#include <gtest/gtest.h>

namespace {

constexpr int kWaitMs = 10000;
constexpr int kLogonRefused = 162;

class InfoAdminEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { qputenv("QVSETTING_CODEPAGE", "949"); }
    void TearDown() override {
        window.reset();
        qunsetenv("QVSETTING_CODEPAGE");
    }

    template <class T> T* in(QWidget* root, int id) {
        T* widget = qv::findControl<T>(root, id);
        EXPECT_NE(widget, nullptr) << "control " << id;
        return widget;
    }
    QString field(int id) { return in<QLineEdit>(window->page(1), id)->text(); }
    void follow(int linkId) {
        QTest::mouseClick(in<QAbstractButton>(window.get(), linkId), Qt::LeftButton);
    }
    void openWindow() {
        window =
            std::make_unique<CQVSettingDlg>(store, prompt, QString::fromStdString(sim.address()));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->logonPage()->isVisible(); }, kWaitMs));
    }
    // One logon attempt with `id` and `password`: true when the summary page comes, false when
    // the appliance refuses (message 162). Tries again while the appliance is still rebooting.
    bool logOn(const QString& id, const QString& password) {
        CLogonDlg* logon = window->logonPage();
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < kWaitMs) {
            const auto refusals = prompt.notices().count(qv::uiText(kLogonRefused));
            QLineEdit* idBox = in<QLineEdit>(logon, 1001);
            QLineEdit* passwordBox = in<QLineEdit>(logon, 1002);
            idBox->clear();
            passwordBox->clear();
            qvtest::typeInto(idBox, id);
            qvtest::typeInto(passwordBox, password);
            QTest::mouseClick(in<QAbstractButton>(logon, 1003), Qt::LeftButton);
            if (QTest::qWaitFor(
                    [&] {
                        return store.PageIndex == 1 ||
                               prompt.notices().count(qv::uiText(kLogonRefused)) > refusals;
                    },
                    2000))
                return store.PageIndex == 1;
        }
        return false;
    }
    // Ends the link by rebooting the appliance; the logon page comes back.
    void reboot() {
        prompt.answers.push_back(true); // "Are you sure to reboot?"
        follow(1008);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return store.PageIndex == 0 && !store.isConnected(); }, kWaitMs));
    }

    qv::simtest::RunningSim sim;
    qv::CGlobalData store;
    qvtest::ScriptedPrompt prompt;
    std::unique_ptr<CQVSettingDlg> window;
};

TEST_F(InfoAdminEndToEnd, SummaryShowsTheAppliancesValuesAndNewCredentialsLogOn) {
    ASSERT_TRUE(sim.started());
    const qv::sim::SimState seeded = sim.server().snapshot();
    const qv::NetworkConfigRecord& record = seeded.record;
    ASSERT_FALSE(record.companyUtf8().empty());
    openWindow();
    ASSERT_TRUE(logOn(QString::fromStdString(seeded.adminId),
                      QString::fromStdString(seeded.adminPassword)));

    // The summary arrives on its own after the logon.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !field(1016).isEmpty(); }, kWaitMs));
    EXPECT_TRUE(window->page(1)->isVisible());
    const qv::info::Limits limits = qv::info::limitsFromRecord(record, seeded.maxCenterIds);
    const qv::info::SummaryTexts texts = qv::info::summaryTexts(record, limits, 949);
    EXPECT_EQ(field(1011), QString::fromStdString(record.deviceName()));
    EXPECT_EQ(field(1012), qv::fromUtf8(texts.softwareVersion));
    EXPECT_EQ(field(1016), qv::fromUtf8(qv::info::macText(record.mac())));
    EXPECT_EQ(field(1013), qv::fromUtf8(record.companyUtf8()));
    EXPECT_EQ(field(1014),
              QString::fromStdString(record.ddnsId()) + QStringLiteral(".quorvel-ddns.net"));
    EXPECT_EQ(field(1015), QString::fromStdString(record.email()));
    EXPECT_EQ(field(1017), QString::number(seeded.maxCenterIds));
    EXPECT_EQ(field(1018),
              record.ioScheduleEnabled() != 0 ? QString::number(limits.maxSchedules) : QString());
    EXPECT_EQ(field(1019), QString::number(record.maxStandbyCount()));

    // Change ID/Password: the boxes start empty; the appliance confirms with message 163.
    follow(1002);
    ASSERT_EQ(store.PageIndex, 2);
    CPageDlg* admin = window->page(2);
    for (int id : {1012, 1013, 1014})
        EXPECT_TRUE(in<QLineEdit>(admin, id)->text().isEmpty()) << id;
    qvtest::typeInto(in<QLineEdit>(admin, 1012), QStringLiteral("chief"));
    qvtest::typeInto(in<QLineEdit>(admin, 1013), QStringLiteral("N3w-Secret"));
    qvtest::typeInto(in<QLineEdit>(admin, 1014), QStringLiteral("N3w-Secret"));
    QTest::mouseClick(in<QAbstractButton>(admin, 1011), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return prompt.notices().contains(qv::uiText(qv::admin::kChanged)); }, kWaitMs));
    const qv::sim::SimState changed = sim.server().snapshot();
    EXPECT_EQ(changed.adminId, "chief");
    EXPECT_EQ(changed.adminPassword, "N3w-Secret");

    // Leaving and coming back empties the boxes.
    follow(1000);
    follow(1002);
    EXPECT_TRUE(in<QLineEdit>(admin, 1012)->text().isEmpty());

    // A new logon: the old pair is refused, the new one is let in and the summary comes again.
    reboot();
    EXPECT_FALSE(logOn(QString::fromStdString(seeded.adminId),
                       QString::fromStdString(seeded.adminPassword)));
    EXPECT_EQ(store.PageIndex, 0);
    ASSERT_TRUE(logOn(QStringLiteral("chief"), QStringLiteral("N3w-Secret")));
    EXPECT_TRUE(window->page(1)->isVisible());
    EXPECT_EQ(field(1016), qv::fromUtf8(qv::info::macText(record.mac())));
}

} // namespace
