#include "core/schedule/ServerTime.h"

#include <cstdio>
#include <ctime>

namespace qv {

std::string formatServerTime(int32_t secondsSince1970) {
    const std::time_t seconds = static_cast<std::time_t>(static_cast<int64_t>(secondsSince1970));
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
        // Windows' C runtime converts no time before 1970. The calendar repeats every 400 years
        // (146097 days, whole weeks too), so such a time is converted 400 years on instead.
        constexpr std::time_t kFourCenturies = 146097LL * 86400;
        const std::time_t later = seconds + kFourCenturies;
        if (seconds >= 0 || localtime_r(&later, &local) == nullptr)
            return {};
        local.tm_year -= 400;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

} // namespace qv
