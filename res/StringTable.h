#pragma once

#include "res/StringIds.h"

#include <string_view>

namespace qv {

// The program's texts are kept by string id, each in English and in Korean. The window and qvctl
// both read them from here, so a message reads the same in both.
enum class Language { English, Korean };

// The user-interface language: Korean when the locale (LC_ALL, LC_MESSAGES or LANG) starts
// with "ko", English otherwise.
Language systemLanguage();

// The UTF-8 text of string `id` in `language`.
std::string_view uiString(StringId id, Language language);
inline std::string_view uiString(StringId id) {
    return uiString(id, systemLanguage());
}

} // namespace qv
