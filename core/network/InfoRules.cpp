#include "core/network/InfoRules.h"

#include "link/CodePage.h"

#include <algorithm>
#include <cstdio>

namespace qv::info {
namespace {

std::string decimal(int64_t value) {
    return std::to_string(value);
}

// Length of the UTF-8 sequence that starts at `text[at]` when it is well formed (no overlong
// form, no surrogate, nothing above U+10FFFF); 0 when it is malformed; -1 when it is well formed
// so far but the text ends before it does.
int sequenceLength(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // overlong below U+0800
        if (lead == 0xED)
            high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90; // overlong below U+10000
        if (lead == 0xF4)
            high = 0x8F; // above U+10FFFF
    } else {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        const size_t next = at + static_cast<size_t>(i);
        if (next >= text.size())
            return -1;
        const unsigned char b = byte(next);
        const unsigned char min = i == 1 ? low : 0x80;
        const unsigned char max = i == 1 ? high : 0xBF;
        if (b < min || b > max)
            return 0;
    }
    return length;
}

} // namespace

Limits limitsFromRecord(const NetworkConfigRecord& record, int32_t maxCenterIds) {
    Limits limits;
    limits.maxCenterIds = maxCenterIds;
    limits.ioScheduleEnabled = record.ioScheduleEnabled();
    limits.maxSchedules = qv::limits::scheduleLimit(record.maxScheduleCount());
    limits.maxStandby = record.maxStandbyCount();
    return limits;
}

std::string softwareVersionAnsi(uint16_t version, std::string_view note) {
    char number[16];
    std::snprintf(number, sizeof number, "%d.%02d", version / 100, version % 100);
    std::string text = number;
    text += " (";
    text += note;
    text += ')';
    return text;
}

std::string macText(const std::array<uint8_t, 6>& mac) {
    char text[18];
    std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return text;
}

std::string ddnsHostAnsi(std::string_view ddnsId) {
    std::string host(ddnsId);
    host += kDdnsDomainSuffix;
    return host;
}

std::string companyText(std::string_view utf8) {
    // The window's fields hold Unicode, so the name shows as the appliance keeps it, also when
    // the ANSI code page has no form for it (a Korean name under code page 1252), rather than
    // as question marks.
    size_t at = 0;
    while (at < utf8.size()) {
        const int length = sequenceLength(utf8, at);
        if (length == 0)
            return {};
        if (length < 0)
            return std::string(utf8.substr(0, at)); // cut short by the field's width
        at += static_cast<size_t>(length);
    }
    return std::string(utf8);
}

SummaryTexts summaryTexts(const NetworkConfigRecord& record, const Limits& limits, int codePage) {
    const auto fromAnsi = [codePage](std::string_view ansi) { return ansiToUtf8(ansi, codePage); };
    SummaryTexts texts;
    texts.firmwareNumber = decimal(record.firmwareNumber());
    texts.deviceName = fromAnsi(record.deviceName());
    texts.softwareVersion =
        fromAnsi(softwareVersionAnsi(record.softwareVersion(), record.versionNote()));
    texts.macAddress = macText(record.mac());
    texts.company = companyText(record.companyUtf8());
    texts.ddnsHost = fromAnsi(ddnsHostAnsi(record.ddnsId()));
    texts.email = fromAnsi(record.email());
    texts.maxCenterIds = decimal(limits.maxCenterIds);
    texts.maxSchedules =
        limits.ioScheduleEnabled == 0 ? std::string() : decimal(limits.maxSchedules);
    texts.maxStandby = decimal(limits.maxStandby);
    return texts;
}

} // namespace qv::info
