#pragma once

#include <algorithm>
#include <string_view>

namespace qv {

// How deeply arrays and objects nest in the JSON `text`, counted outside strings before a parser
// builds anything from it: the files read here (the backup, the address book) come from disk and
// a thousand brackets must not reach the parser's recursion.
inline int jsonNesting(std::string_view text) {
    int depth = 0;
    int deepest = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

} // namespace qv
