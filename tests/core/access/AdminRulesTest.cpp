// The administrator change checks: their order, exact comparison of the retyped password, and
// what the request cannot carry (too long, or characters the code page has no form for).

#include "core/access/AdminRules.h"

#include <gtest/gtest.h>

#include <optional>

namespace admin = qv::admin;
using qv::Message;
using qv::StringId;

namespace {

TEST(AdminRules, ChecksRunInOrderAndTheFirstFailureWins) {
    const std::string id31(31, 'i');
    const std::string id32(32, 'i');
    const std::string pw31(31, 'p');
    const std::string pw32(32, 'p');
    const std::string hangul15 = [] {
        std::string s;
        for (int i = 0; i < 15; ++i)
            s += "가";
        return s;
    }();
    const struct {
        const char* what;
        std::string id, password, retype;
        int codePage;
        std::optional<StringId> refusal; // none: accepted
    } cases[] = {
        {"all empty: only the ID message", "", "", "", 949, StringId::AdminInputId},
        {"ID empty, passwords given", "", "pw", "pw", 949, StringId::AdminInputId},
        {"password empty", "admin", "", "", 949, StringId::AdminInputNewPassword},
        {"password empty, retype given", "admin", "", "pw", 949, StringId::AdminInputNewPassword},
        {"retype empty", "admin", "pw", "", 949, StringId::AdminPasswordsDiffer},
        {"letter case differs", "admin", "Secret", "secret", 949, StringId::AdminPasswordsDiffer},
        {"trailing blank differs", "admin", "pw", "pw ", 949, StringId::AdminPasswordsDiffer},
        {"Hangul differs", "admin", "비밀", "비빌", 949, StringId::AdminPasswordsDiffer},
        {"unconvertible texts never match through '?'", "admin", "비밀", "秘密", 1252,
         StringId::AdminPasswordsDiffer},
        {"mismatch comes before length", "admin", pw32, pw31, 949, StringId::AdminPasswordsDiffer},
        {"accepted", "newadmin", "s3cret", "s3cret", 949, {}},
        {"31-byte ID and password", id31, pw31, pw31, 1252, {}},
        {"32-byte ID", id32, "pw", "pw", 1252, StringId::AdminIdTooLong},
        {"32-byte password", "admin", pw32, pw32, 1252, StringId::AdminPasswordTooLong},
        {"15 Hangul and one letter are 31 bytes", hangul15 + "a", "pw", "pw", 949, {}},
        {"16 Hangul are 32 bytes", hangul15 + "가", "pw", "pw", 949, StringId::AdminIdTooLong},
        {"Hangul password, 31 bytes", "admin", hangul15 + "a", hangul15 + "a", 949, {}},
        {"Hangul password, 32 bytes", "admin", hangul15 + "가", hangul15 + "가", 949,
         StringId::AdminPasswordTooLong},
        {"Hangul ID under 1252", "관리자", "pw", "pw", 1252, StringId::IdNotConvertible},
        {"Hangul password under 1252", "admin", "비밀", "비밀", 1252,
         StringId::PasswordNotConvertible},
        {"ID checks before password checks", "관리자", pw32, pw32, 1252,
         StringId::IdNotConvertible},
        {"ID length before password text", id32, "비밀", "비밀", 1252, StringId::AdminIdTooLong},
    };
    for (const auto& c : cases) {
        const admin::Verdict verdict = admin::checkChange(c.id, c.password, c.retype, c.codePage);
        EXPECT_EQ(verdict.ok(), !c.refusal) << c.what;
        EXPECT_EQ(verdict.refusal,
                  c.refusal ? std::optional(Message{*c.refusal, {}}) : std::nullopt)
            << c.what;
    }
}

TEST(AdminRules, AcceptedTextsAreTheCodePagesBytesAsTyped) {
    const struct {
        std::string id, password;
        int codePage;
        std::string ansiId, ansiPassword;
    } cases[] = {
        {"newadmin", "Pa ss$_", 1252, "newadmin", "Pa ss$_"},
        {" lead and trail ", "x", 1252, " lead and trail ", "x"},
        {"관리자", "비밀1", 949, "\xB0\xFC\xB8\xAE\xC0\xDA",
         "\xBA\xF1\xB9\xD0"
         "1"},
        {"caf\xC3\xA9", "\xC3\xA9t\xC3\xA9", 1252, "caf\xE9", "\xE9t\xE9"},
    };
    for (const auto& c : cases) {
        const admin::Verdict verdict = admin::checkChange(c.id, c.password, c.password, c.codePage);
        ASSERT_TRUE(verdict.ok()) << c.id;
        EXPECT_EQ(verdict.id, c.ansiId);
        EXPECT_EQ(verdict.password, c.ansiPassword);
    }
}

} // namespace
