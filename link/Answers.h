#pragma once

#include "link/Commands.h"
#include "link/LinkEvent.h"

#include <cstdint>

// What an answer's value means, said once for every consumer: the window's dispatcher, qvctl
// and the backup's restore read an answer the same way.
namespace qv::answer {

// Whether the value of `event` is the appliance's verdict on a change (success, or a refusal).
// The other confirmations carry nothing in their value (the automatic-update setting, the NTP
// server, the uploads): their arrival is the confirmation, whatever the value.
constexpr bool isVerdict(ReplyEvent event) {
    switch (event) {
    case ReplyEvent::AdminChangeAnswered:
    case ReplyEvent::CenterIdsApplied:
    case ReplyEvent::WolApplied:
    case ReplyEvent::SchedulesApplied:
    case ReplyEvent::BlockIpsApplied:
    case ReplyEvent::BlacklistCleared:
        return true;
    default:
        return false;
    }
}

// True when `value` confirms a change answered by `event`.
constexpr bool confirmsChange(ReplyEvent event, int32_t value) {
    return !isVerdict(event) || value == result::kSuccess;
}

// The value of the reply to a reboot request. The same reply also carries notices that the
// appliance sends of its own accord; they are not the reboot's answer.
enum class RebootAnswer {
    Restarting,                  // 101: the appliance reboots; the session ends
    RestartingWithCenterIdLimit, // 1 to 99: reboots, and takes that many center IDs from now on
    SchedulePrivilegeNotice,     // 1001 to 5499: the schedule privilege changed
    StandbyLimitNotice,          // 6001 to 12000: a new standby limit, the value less 6000
    Unknown,                     // anything else: nothing happens
};

constexpr RebootAnswer rebootAnswer(int32_t value) {
    if (value == result::kRebootAccepted)
        return RebootAnswer::Restarting;
    if (result::kRebootNewCenterIdLimit.holds(value))
        return RebootAnswer::RestartingWithCenterIdLimit;
    if (result::kRebootSchedulePrivilegeChanged.holds(value))
        return RebootAnswer::SchedulePrivilegeNotice;
    if (result::kRebootNewStandbyLimit.holds(value))
        return RebootAnswer::StandbyLimitNotice;
    return RebootAnswer::Unknown;
}

// A notice rides on the reboot reply but answers no reboot request.
constexpr bool isNotice(RebootAnswer answer) {
    return answer == RebootAnswer::SchedulePrivilegeNotice ||
           answer == RebootAnswer::StandbyLimitNotice;
}

} // namespace qv::answer
