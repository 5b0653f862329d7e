// The administrator page driven through its controls: the checks and their messages, what
// reaches the appliance byte for byte, nothing sent while disconnected, captions in English and
// Korean.

#include "core/access/AdminRules.h"
#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "link/Frame.h"
#include "link/LinkEvent.h"
#include "link/SocketIo.h"
#include "link/TextRequestPayload.h"
#include "pages/ControlIds.h"
#include "pages/QtText.h"
#include "pages/access/CAdminDlg.h"
#include "tests/support/PageFixture.h"
#include "tests/support/ScriptedPrompt.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "tests/support/Typing.h"

#include "tests/support/ScriptedAppliance.h"

#include <gtest/gtest.h>

#include <poll.h>

namespace admin = qv::admin;
using qv::StringId;

namespace {

using qvtest::typeInto;

class AdminPage : public qvtest::PageFixture<CAdminDlg> {
protected:
    void SetUp() override { open(560, 360); }
    void TearDown() override {
        PageFixture::TearDown();
        qunsetenv("QVSETTING_CODEPAGE");
    }

    void enter(const QString& id, const QString& password, const QString& retype) {
        type(CAdminDlg::kNewId, id);
        type(CAdminDlg::kNewPassword, password);
        type(CAdminDlg::kRetype, retype);
    }
    void apply() { click(CAdminDlg::kApply); }

    // The wire bytes of request 3 laid out by hand: header 3 / 100, then the 100-byte text
    // payload with the ID at byte 4 and the password at byte 36, scrambled.
    static std::vector<uint8_t> changeRequest(const std::string& id, const std::string& password) {
        std::vector<uint8_t> payload(100, 0);
        std::copy(id.begin(), id.end(), payload.begin() + 4);
        std::copy(password.begin(), password.end(), payload.begin() + 36);
        return qv::encodeFrame(qv::Frame{qv::CMD_SET_ADMIN_MSG, 100, payload, true});
    }
};

TEST_F(AdminPage, RefusalsShowTheirMessageSendNothingAndKeepTheBoxes) {
    qputenv("QVSETTING_CODEPAGE", "1252");
    connectPeer();
    const QString idEmpty = QStringLiteral("관리자 아이디를 입력하세요.");
    const struct {
        const char* id;
        const char* password;
        const char* retype;
        QString message;
    } cases[] = {
        {"", "", "", idEmpty},
        {"", "secret", "secret", idEmpty},
        {"root", "", "", qv::uiText(StringId::AdminInputNewPassword)},
        {"root", "secret", "", qv::uiText(StringId::AdminPasswordsDiffer)},
        {"root", "Secret", "secret", qv::uiText(StringId::AdminPasswordsDiffer)},
        {"abcdefghijklmnopqrstuvwxyz012345", "pw", "pw", qv::uiText(StringId::AdminIdTooLong)},
        {"root", "abcdefghijklmnopqrstuvwxyz012345", "abcdefghijklmnopqrstuvwxyz012345",
         qv::uiText(StringId::AdminPasswordTooLong)},
        {"관리자", "pw", "pw", qv::uiText(StringId::IdNotConvertible)},
        {"root", "비밀", "비밀", qv::uiText(StringId::PasswordNotConvertible)},
    };
    for (const auto& c : cases) {
        prompt.clear();
        enter(QString::fromUtf8(c.id), QString::fromUtf8(c.password), QString::fromUtf8(c.retype));
        apply();
        ASSERT_EQ(prompt.notices().size(), 1) << c.id << "/" << c.password;
        EXPECT_EQ(prompt.notices().first(), c.message);
        EXPECT_EQ(edit(CAdminDlg::kNewId)->text(), QString::fromUtf8(c.id));
        EXPECT_EQ(edit(CAdminDlg::kNewPassword)->text(), QString::fromUtf8(c.password));
        EXPECT_EQ(edit(CAdminDlg::kRetype)->text(), QString::fromUtf8(c.retype));
    }
    EXPECT_FALSE(peerHasData(200));

    // All 31 bytes go out; the answer is the dispatcher's to report, so the page shows nothing.
    const QString id31 = QStringLiteral("abcdefghijklmnopqrstuvwxyz01234");
    prompt.clear();
    enter(id31, QStringLiteral("Pass word 31 bytes long ......."),
          QStringLiteral("Pass word 31 bytes long ......."));
    apply();
    EXPECT_TRUE(prompt.notices().isEmpty());
    const auto expected = changeRequest(id31.toStdString(), "Pass word 31 bytes long .......");
    EXPECT_EQ(readPeer(expected.size()), expected);
    EXPECT_EQ(edit(CAdminDlg::kNewId)->text(), id31);
    EXPECT_FALSE(edit(CAdminDlg::kRetype)->text().isEmpty());
}

TEST_F(AdminPage, KoreanIdAndPasswordTravelInCodePage949) {
    qputenv("QVSETTING_CODEPAGE", "949");
    connectPeer();
    enter(QStringLiteral("관리자"), QStringLiteral("비밀1"), QStringLiteral("비밀1"));
    apply();
    EXPECT_TRUE(prompt.notices().isEmpty());
    const auto expected = changeRequest("\xB0\xFC\xB8\xAE\xC0\xDA", "\xBA\xF1\xB9\xD0"
                                                                    "1");
    EXPECT_EQ(readPeer(expected.size()), expected);
}

TEST_F(AdminPage, DisconnectedApplySendsNothingAndSaysNothing) {
    enter(QStringLiteral("root"), QStringLiteral("pw"), QStringLiteral("pw"));
    apply();
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(edit(CAdminDlg::kNewId)->text(), QStringLiteral("root"));
    // The checks still speak while disconnected.
    type(CAdminDlg::kRetype, QStringLiteral("PW"));
    apply();
    ASSERT_EQ(prompt.notices().size(), 1);
    EXPECT_EQ(prompt.notices().first(), qv::uiText(StringId::AdminPasswordsDiffer));
}

TEST_F(AdminPage, EnterDoesNotApplyAndClearEditsEmptiesTheBoxes) {
    connectPeer();
    enter(QStringLiteral("root"), QStringLiteral("pw"), QStringLiteral("pw"));
    QTest::keyClick(edit(CAdminDlg::kRetype), Qt::Key_Return);
    EXPECT_FALSE(peerHasData(200));
    EXPECT_TRUE(prompt.shown.empty());
    page->clearEdits();
    for (int id : {CAdminDlg::kNewId, CAdminDlg::kNewPassword, CAdminDlg::kRetype})
        EXPECT_TRUE(edit(id)->text().isEmpty()) << id;
}

TEST(AdminPageLanguage, CaptionsFollowTheLanguage) {
    const QByteArray savedLang = qgetenv("LANG");
    const QByteArray savedAll = qgetenv("LC_ALL");
    qunsetenv("LC_ALL");
    const struct {
        const char* lang;
        const char* title;
        const char* group;
        const char* captions[4]; // Apply, then the three boxes
        const char* caution;
    } languages[] = {
        {"en_US.UTF-8",
         "Change Admin Password",
         "Change Administrator ID and Password",
         {"Apply", "New Admin ID", "New Password", "Retype New Password"},
         "# Caution: If you leave ID and Password as default value, it will cause security "
         "problems.\nPlease be sure to change the ID and password."},
        {"ko_KR.UTF-8",
         "관리자 비밀번호 변경",
         "관리자 ID 및 Password 변경",
         {"변  경", "새 관리자 아이디", "새 비밀번호", "새 비밀번호 확인"},
         "# 주의: ID와 비번을 초기값으로 방치할 경우 보안 위험을 초래할 수 있으므로 "
         "변경하십시오."},
    };
    for (const auto& language : languages) {
        qputenv("LANG", language.lang);
        qv::CGlobalData store;
        qvtest::ScriptedPrompt prompt;
        CAdminDlg page(store, prompt);
        EXPECT_EQ(page.title(), QString::fromUtf8(language.title));
        auto* group = page.findChild<QGroupBox*>();
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->title(), QString::fromUtf8(language.group));
        auto* apply = qv::findControl<QAbstractButton>(&page, CAdminDlg::kApply);
        ASSERT_NE(apply, nullptr);
        EXPECT_EQ(apply->text(), QString::fromUtf8(language.captions[0]));
        const int boxes[] = {CAdminDlg::kNewId, CAdminDlg::kNewPassword, CAdminDlg::kRetype};
        for (size_t i = 0; i < 3; ++i) {
            auto* edit = qv::findControl<QLineEdit>(&page, boxes[i]);
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->accessibleName(), QString::fromUtf8(language.captions[i + 1]));
            EXPECT_EQ(edit->echoMode(), i == 0 ? QLineEdit::Normal : QLineEdit::Password);
        }
        auto* caution = page.findChild<QLabel*>(QStringLiteral("caution"));
        ASSERT_NE(caution, nullptr);
        EXPECT_EQ(caution->text(), QString::fromUtf8(language.caution));

        // The fixed empty-ID message is Korean in both languages.
        page.show();
        QTest::mouseClick(apply, Qt::LeftButton);
        ASSERT_EQ(prompt.notices().size(), 1);
        EXPECT_EQ(prompt.notices().first(), QStringLiteral("관리자 아이디를 입력하세요."));
    }
    if (savedLang.isNull())
        qunsetenv("LANG");
    else
        qputenv("LANG", savedLang);
    if (!savedAll.isNull())
        qputenv("LC_ALL", savedAll);
}

} // namespace
