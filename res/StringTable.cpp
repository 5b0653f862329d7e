#include "res/StringTable.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace qv {
namespace {

struct StringEntry {
    StringId id;
    std::string_view english;
    std::string_view korean;
};

// The table StringList.h describes, sorted by id.
constexpr std::array kStrings = std::to_array<StringEntry>({
#define QV_STRING(name, id, english, korean) {StringId::name, english, korean},
#include "res/StringList.h"
#undef QV_STRING
});

constexpr bool sortedById() {
    for (size_t i = 1; i < kStrings.size(); ++i)
        if (kStrings[i - 1].id >= kStrings[i].id)
            return false;
    return true;
}
static_assert(sortedById(), "the string table must stay sorted by id, without duplicates");

bool isKoreanLocale(const char* value) {
    return value != nullptr && std::strncmp(value, "ko", 2) == 0;
}

} // namespace

Language systemLanguage() {
    // POSIX precedence: the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty
    // names the language of messages.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return isKoreanLocale(value) ? Language::Korean : Language::English;
    }
    return Language::English;
}

std::string_view uiString(StringId id, Language language) {
    const auto it = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                                     [](const StringEntry& e, StringId key) { return e.id < key; });
    if (it == kStrings.end() || it->id != id)
        return {};
    return language == Language::Korean ? it->korean : it->english;
}

} // namespace qv
