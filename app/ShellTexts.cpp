#include "app/ShellTexts.h"

#include "res/Message.h"

#include <array>
#include <cstdio>
#include <ctime>
#include <sstream>
#include <string_view>
#include <vector>

namespace qv {

std::string versionLine(const char* buildDate) {
    static constexpr std::array<std::string_view, 12> kMonths{
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::istringstream words(buildDate ? buildDate : "");
    std::string month;
    long day = 0;
    long year = 0;
    words >> month >> day >> year;
    int monthNumber = 0;
    for (size_t i = 0; i < kMonths.size(); ++i)
        if (month == kMonths[i])
            monthNumber = static_cast<int>(i) + 1;
    char date[32];
    std::snprintf(date, sizeof date, "%04ld.%02d.%02ld", year, monthNumber, day);
    return format(Message{StringId::AboutVersionLine, {date}});
}

} // namespace qv
