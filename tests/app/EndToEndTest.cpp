// The window against the simulated appliance, in-process on a free loopback port.

#include "pages/network/CInfoDlg.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/WindowOnSim.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace qvtest {
namespace {

class AppEndToEnd : public WindowOnSim {
protected:
    QLineEdit* logonField(int id) { return in<QLineEdit>(window->logonPage(), id); }
};

TEST_F(AppEndToEnd, LogonFetchesTheSummaryAndRebootReturnsToLogon) {
    openWindow();
    ASSERT_TRUE(logOn());
    EXPECT_TRUE(window->page(Page::Summary)->isVisible());
    ASSERT_TRUE(waitUntil([&] { return summaryPage(*window)->record().has_value(); }));
    EXPECT_FALSE(summaryPage(*window)->record()->companyUtf8().empty());
    EXPECT_GE(store.maxScheduleCount, 10);
    EXPECT_EQ(in<QPushButton>(window.get(), 1010)->isVisible(), store.ioScheduleEnabled == 1);
    EXPECT_TRUE(prompt.shown.empty());

    // Reboot: the appliance answers and goes away; the empty logon page comes back.
    reboot();
    EXPECT_EQ(prompt.questions().size(), 1);
    EXPECT_TRUE(prompt.notices().isEmpty());
    EXPECT_TRUE(logonField(CLogonDlg::kAdminId)->text().isEmpty());
    EXPECT_EQ(logonField(CLogonDlg::kServerAddress)->text(), simAddress());
    // ... and waits for the appliance to answer again where it was.
    const QString status = in<QLabel>(window->logonPage(), CLogonDlg::kReturnStatus)->text();
    EXPECT_TRUE(status.startsWith(QStringLiteral("Waiting for the appliance at ") + simAddress()))
        << status.toStdString();
}

TEST_F(AppEndToEnd, WrongPasswordIsRefusedInBothLanguages) {
    for (bool korean : {false, true}) {
        LanguageScope language(korean);
        prompt.shown.clear();
        openWindow();
        EXPECT_FALSE(logOn(QStringLiteral("admin"), QStringLiteral("nimda")));
        ASSERT_FALSE(prompt.notices().isEmpty());
        EXPECT_EQ(prompt.notices().front(),
                  korean
                      ? QStringLiteral("로그인 오류입니다. 관리자 아이디와 비밀번호를 확인하세요.")
                      : QStringLiteral("Login error. Please check admin ID and password."));
        EXPECT_EQ(store.PageIndex, 0);
        // The ID stays for another try; the password is forgotten once the answer came.
        EXPECT_EQ(logonField(CLogonDlg::kAdminId)->text(), QStringLiteral("admin"));
        EXPECT_TRUE(logonField(CLogonDlg::kPassword)->text().isEmpty());
    }
}

} // namespace
} // namespace qvtest
