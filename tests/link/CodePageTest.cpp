#include "link/CodePage.h"

#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <thread>

using namespace qv;

namespace {

// "한국" in code page 949 and in UTF-8.
const std::string kKoreanAnsi = "\xC7\xD1\xB1\xB9";
const std::string kKoreanUtf8 = "\xED\x95\x9C\xEA\xB5\xAD";

TEST(CodePage, LanguageChoosesTheCodePage) {
    EXPECT_EQ(codePageForLocale("ko_KR.UTF-8"), 949);
    EXPECT_EQ(codePageForLocale("ko"), 949);
    EXPECT_EQ(codePageForLocale("en_US.UTF-8"), 1252);
    EXPECT_EQ(codePageForLocale("C"), 1252);
    EXPECT_EQ(codePageForLocale(""), 1252);

    qvtest::setEnvironment("QVSETTING_CODEPAGE", "949");
    EXPECT_EQ(systemCodePage(), 949);
    qvtest::setEnvironment("QVSETTING_CODEPAGE", std::nullopt);
}

// The address book's code page for an appliance wins over the environment's; a thread's own
// (qvctl over an inventory) wins over the process's and ends with its scope.
TEST(CodePage, ApplianceCodePageWinsAndIsPerThreadInAScope) {
    qvtest::setEnvironment("QVSETTING_CODEPAGE", "1252");
    setApplianceCodePage(949);
    EXPECT_EQ(ansiToUtf8(kKoreanAnsi), kKoreanUtf8);
    {
        const ApplianceCodePageScope scope(1252);
        EXPECT_EQ(systemCodePage(), 1252);
        int otherThread = 0;
        std::thread([&] { otherThread = systemCodePage(); }).join();
        EXPECT_EQ(otherThread, 949);
    }
    EXPECT_EQ(systemCodePage(), 949);
    setApplianceCodePage(0);
    EXPECT_EQ(systemCodePage(), 1252);
    qvtest::setEnvironment("QVSETTING_CODEPAGE", std::nullopt);
    EXPECT_TRUE(isSupportedCodePage(949));
    EXPECT_TRUE(isSupportedCodePage(kUtf8CodePage));
    EXPECT_FALSE(isSupportedCodePage(0));
}

TEST(CodePage, KoreanTextIsToldFromWesternText) {
    EXPECT_TRUE(readsAsKorean(kKoreanAnsi));
    EXPECT_TRUE(readsAsKorean("Quorvel " + kKoreanAnsi));
    EXPECT_FALSE(readsAsKorean("Quorvel"));
    EXPECT_FALSE(readsAsKorean("Caf\xE9 M\xFCller")); // 1252
    EXPECT_FALSE(readsAsKorean("\xC7"));             // a lead byte cut off
    EXPECT_FALSE(readsAsKorean(kKoreanUtf8));
}

TEST(CodePage, ConvertsBothWays) {
    bool ok = false;
    EXPECT_EQ(ansiToUtf8(kKoreanAnsi, 949, &ok), kKoreanUtf8);
    EXPECT_TRUE(ok);
    EXPECT_EQ(utf8ToAnsi(kKoreanUtf8, 949, &ok), kKoreanAnsi);
    EXPECT_TRUE(ok);
    EXPECT_EQ(ansiToUtf8("Caf\xE9", 1252, &ok), "Caf\xC3\xA9");
    EXPECT_TRUE(ok);
    EXPECT_EQ(utf8ToAnsi("", 949, &ok), "");
    EXPECT_TRUE(ok);
}

// Bytes that do not convert are replaced and reported; nothing crashes.
TEST(CodePage, InvalidInputIsReplacedAndReported) {
    bool ok = true;
    EXPECT_EQ(ansiToUtf8("a\xFF"
                         "b",
                         949, &ok),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_FALSE(ok);
    ok = true;
    EXPECT_EQ(ansiToUtf8("ab\xC7", 949, &ok), "ab\xEF\xBF\xBD"); // cut-off double byte
    EXPECT_FALSE(ok);
    ok = true;
    EXPECT_EQ(utf8ToAnsi(kKoreanUtf8, 1252, &ok), "??");
    EXPECT_FALSE(ok);
    ok = true;
    utf8ToAnsi("\xC3", 949, &ok); // broken UTF-8
    EXPECT_FALSE(ok);
}

TEST(CodePage, CutNeverSplitsADoubleByteCharacter) {
    const std::string three = kKoreanAnsi + "\xB0\xA1"; // 6 bytes, 3 characters
    EXPECT_EQ(cutAnsi(three, 6, 949), three);
    EXPECT_EQ(cutAnsi(three, 5, 949), kKoreanAnsi);
    EXPECT_EQ(cutAnsi(three, 1, 949), "");
    EXPECT_EQ(cutAnsi("a" + kKoreanAnsi, 2, 949), "a");
    EXPECT_EQ(cutAnsi(three, 5, 1252), three.substr(0, 5));
    EXPECT_EQ(cutAnsi("abc", 10, 949), "abc");
}

} // namespace
