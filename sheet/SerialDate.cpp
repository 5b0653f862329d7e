#include "sheet/SerialDate.h"

#include <charconv>
#include <cstdint>

namespace qv::sheet {
namespace {

// Days since 1970-01-01 in the proleptic Gregorian calendar.
int64_t daysFromCivil(int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<int64_t>(dayOfEra) - 719468;
}

bool readNumber(std::string_view& text, size_t digits, unsigned& value) {
    if (text.size() < digits)
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + digits, value);
    if (ec != std::errc() || end != text.data() + digits)
        return false;
    text.remove_prefix(digits);
    return true;
}

bool skip(std::string_view& text, char c) {
    if (text.empty() || text.front() != c)
        return false;
    text.remove_prefix(1);
    return true;
}

// "HH:MM[:SS[.fff]]" as a fraction of a day.
std::optional<double> dayFraction(std::string_view text) {
    unsigned hour = 0;
    unsigned minute = 0;
    unsigned second = 0;
    if (!readNumber(text, 2, hour) || !skip(text, ':') || !readNumber(text, 2, minute))
        return std::nullopt;
    double seconds = 0;
    if (skip(text, ':')) {
        if (!readNumber(text, 2, second))
            return std::nullopt;
        seconds = second;
        if (!text.empty() && text.front() == '.') {
            double fraction = 0;
            const auto [end, ec] =
                std::from_chars(text.data(), text.data() + text.size(), fraction);
            if (ec != std::errc())
                return std::nullopt;
            seconds += fraction;
            text.remove_prefix(static_cast<size_t>(end - text.data()));
        }
    }
    skip(text, 'Z');
    if (!text.empty() || hour > 24 || minute > 59 || seconds >= 61)
        return std::nullopt;
    return (hour * 3600.0 + minute * 60.0 + seconds) / 86400.0;
}

} // namespace

std::optional<double> serialFromIsoText(std::string_view text, bool date1904) {
    if (text.size() >= 3 && text[2] == ':')
        return dayFraction(text);
    unsigned year = 0;
    unsigned month = 0;
    unsigned day = 0;
    if (!readNumber(text, 4, year) || !skip(text, '-') || !readNumber(text, 2, month) ||
        !skip(text, '-') || !readNumber(text, 2, day) || month < 1 || month > 12 || day < 1 ||
        day > 31)
        return std::nullopt;
    double time = 0;
    if (!text.empty()) {
        if (text.front() != 'T' && text.front() != ' ')
            return std::nullopt;
        const auto fraction = dayFraction(text.substr(1));
        if (!fraction)
            return std::nullopt;
        time = *fraction;
    }
    const int64_t days = daysFromCivil(year, month, day);
    double serial = 0;
    if (date1904) {
        serial = static_cast<double>(days - daysFromCivil(1904, 1, 1));
    } else {
        serial = static_cast<double>(days - daysFromCivil(1899, 12, 30));
        // Before March 1900 the 1900 system is one day behind: it counts a 29 February 1900.
        if (year < 1900 || (year == 1900 && month < 3))
            serial -= 1;
    }
    return serial + time;
}

} // namespace qv::sheet
