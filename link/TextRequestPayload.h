#pragma once

#include "link/WireRecord.h"

namespace qv {

// Payload of the logon, administrator change, DDNS check, MAC registration and NTP requests.
class TextRequestPayload : public WireRecord<100> {
public:
    static constexpr size_t kFirstOffset = 4;   // 4 reserved zero bytes come first
    static constexpr size_t kFirstWidth = 32;   // ID, DDNS ID, MAC text or NTP server
    static constexpr size_t kSecondOffset = 36; //
    static constexpr size_t kSecondWidth = 64;  // password, or the MAC text of a DDNS check

    std::string firstText() const { return text(kFirstOffset, kFirstWidth); }
    void setFirstText(std::string_view v) { setText(kFirstOffset, kFirstWidth, v); }
    std::string secondText() const { return text(kSecondOffset, kSecondWidth); }
    void setSecondText(std::string_view v) { setText(kSecondOffset, kSecondWidth, v); }
};

} // namespace qv
