// The string table over its whole list: every name has both texts, found by its id, with the same
// placeholders in both languages; and the language follows the locale.

#include "res/StringTable.h"

#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using qv::Language;
using qv::StringId;

struct Listed {
    const char* name;
    StringId id;
    std::string_view english;
    std::string_view korean;
};

// The list as the table is generated from it.
constexpr Listed kListed[] = {
#define QV_STRING(name, id, english, korean) {#name, StringId::name, english, korean},
#include "res/StringList.h"
#undef QV_STRING
};

// The "%1".."%9" placeholders of `text`, sorted.
std::vector<std::string> placeholders(std::string_view text) {
    std::vector<std::string> found;
    for (size_t at = text.find('%'); at != std::string_view::npos; at = text.find('%', at + 1))
        if (at + 1 < text.size() && text[at + 1] >= '1' && text[at + 1] <= '9')
            found.emplace_back(text.substr(at, 2));
    std::sort(found.begin(), found.end());
    return found;
}

bool hasHangul(std::string_view utf8) {
    // Hangul syllables (U+AC00..U+D7A3) start with the UTF-8 lead bytes 0xEA..0xED.
    return std::any_of(utf8.begin(), utf8.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0xEA && byte <= 0xED;
    });
}

// Ids stay unique and sorted by a static_assert of the table itself.
TEST(StringTable, EveryListedStringInBothLanguages) {
    for (const Listed& s : kListed) {
        SCOPED_TRACE(s.name);
        EXPECT_FALSE(s.english.empty());
        EXPECT_FALSE(s.korean.empty());
        EXPECT_EQ(qv::uiString(s.id, Language::English), s.english);
        EXPECT_EQ(qv::uiString(s.id, Language::Korean), s.korean);
        EXPECT_EQ(placeholders(s.english), placeholders(s.korean));
        // Korean in the English column is one of the appliance's fixed texts, which read the
        // same in both languages.
        if (hasHangul(s.english)) {
            EXPECT_EQ(s.english, s.korean);
        }
    }
    // Values that name no string have no text.
    for (const int missing : {0, 137, -1, 100000})
        EXPECT_TRUE(qv::uiString(static_cast<StringId>(missing), Language::Korean).empty())
            << missing;
}

TEST(StringTable, TextsAsTheApplianceShowsThem) {
    EXPECT_EQ(qv::uiString(StringId::LogonRefused, Language::English),
              "Login error. Please check admin ID and password.");
    EXPECT_EQ(qv::uiString(StringId::DdnsMacInUse, Language::English),
              "The MAC address is used by another. ");
    EXPECT_EQ(qv::uiString(StringId::ScheduleSelectRelay, Language::English),
              "Select IO's relay point, please. ");
    EXPECT_EQ(qv::uiString(StringId::WebPortDefault, Language::English), "(Default :      80)");
    EXPECT_EQ(qv::uiString(StringId::ConnectFailedBefore, Language::English), "Server ");
    EXPECT_EQ(qv::uiString(StringId::ConnectFailedAfter, Language::English), " connection failed.");
    EXPECT_EQ(qv::uiString(StringId::ConnectFailedBefore, Language::Korean), "서버 ");
    EXPECT_EQ(qv::uiString(StringId::ConnectFailedAfter, Language::Korean),
              " 에 연결할 수 없습니다.");
    EXPECT_EQ(qv::uiString(StringId::Sunday, Language::Korean), "일");
    EXPECT_EQ(qv::uiString(StringId::Saturday, Language::Korean), "토");
    EXPECT_EQ(qv::uiString(StringId::NetworkRebootQuestion, Language::English),
              "If you change network configuration, server will reboot. \r\n Will you continue?");
}

TEST(StringTable, LanguageFollowsTheLocale) {
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        qv::Language expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, "ko_KR.UTF-8", qv::Language::Korean},
        {nullptr, nullptr, "en_US.UTF-8", qv::Language::English},
        {nullptr, nullptr, nullptr, qv::Language::English},
        {"C", nullptr, "ko_KR.UTF-8", qv::Language::English},
        {"", nullptr, "ko_KR.UTF-8", qv::Language::Korean},
        {nullptr, "ko_KR.EUC-KR", "en_US.UTF-8", qv::Language::Korean},
        {"ko", nullptr, nullptr, qv::Language::Korean},
    };
    const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::string saved[3];
    bool had[3];
    for (int i = 0; i < 3; ++i) {
        const char* v = std::getenv(names[i]);
        had[i] = v != nullptr;
        saved[i] = v ? v : "";
    }
    for (const Case& c : cases) {
        const char* values[] = {c.lcAll, c.lcMessages, c.lang};
        for (int i = 0; i < 3; ++i)
            qvtest::setEnvironment(names[i], values[i] ? std::optional<std::string>(values[i])
                                                       : std::nullopt);
        EXPECT_EQ(qv::systemLanguage(), c.expected)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lang ? c.lang : "-");
    }
    for (int i = 0; i < 3; ++i)
        qvtest::setEnvironment(names[i], had[i] ? std::optional(saved[i]) : std::nullopt);
}

} // namespace
