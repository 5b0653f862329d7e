#include "app/CMyCommandLineInfo.h"

void CMyCommandLineInfo::ParseParam(std::string_view param, bool flag, bool /*last*/) {
    if (!flag || param.empty())
        return;
    if (m_flagCount == 0)
        m_serverAddress = std::string(param);
    ++m_flagCount;
}

CMyCommandLineInfo CMyCommandLineInfo::parse(int argc, const char* const* argv) {
    CMyCommandLineInfo info;
    for (int i = 1; i < argc; ++i) {
        const std::string_view text(argv[i]);
        const bool flag = !text.empty() && (text.front() == '/' || text.front() == '-');
        info.ParseParam(flag ? text.substr(1) : text, flag, i == argc - 1);
    }
    return info;
}
