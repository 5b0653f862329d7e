#pragma once

#include "link/ApplianceLimits.h"
#include "link/WireRecord.h"

namespace qv {

// One operator account that the relay server admits. Texts are in the system's ANSI code page.
class CenterIdEntry : public WireRecord<130> {
public:
    static constexpr size_t kIdWidth = 32;       // at most 30 bytes of ID are accepted
    static constexpr size_t kPasswordWidth = 32; // at most 15 bytes of password are accepted
    static constexpr size_t kNameWidth = 32;

    std::string id() const { return text(0, kIdWidth); }
    void setId(std::string_view v) { setText(0, kIdWidth, v); }
    std::string password() const { return text(32, kPasswordWidth); }
    void setPassword(std::string_view v) { setText(32, kPasswordWidth, v); }
    std::string name() const { return text(64, kNameWidth); }
    void setName(std::string_view v) { setText(64, kNameWidth, v); }
    uint16_t group() const { return u16(96); }
    void setGroup(uint16_t v) { setU16(96, v); }
    // The text "1" for a super user, "0" otherwise.
    std::string superUser() const { return text(98, 29); }
    void setSuperUser(std::string_view v) { setText(98, 29, v); }
    bool logDeletionProhibited() const { return u8(127) == 1; }
    void setLogDeletionProhibited(bool v) { setU8(127, v ? 1 : 0); }
    bool fileTransferProhibited() const { return u8(128) == 1; }
    void setFileTransferProhibited(bool v) { setU8(128, v ? 1 : 0); }
    // Byte 129 is reserved and never written.
};

// Its slots; the count travels in the frame header and is kept beside the table.
class CenterIdTable : public WireTable<CenterIdEntry, limits::kCenterIdSlots> {};

} // namespace qv
