#pragma once

namespace qv {

// The names of the program's texts (StringList.h). A value is the text's id in the string table;
// ids never change, because support notes and logs quote them.
enum class StringId : int {
#define QV_STRING(name, id, english, korean) name = id,
#include "res/StringList.h"
#undef QV_STRING
};

} // namespace qv
